#pragma once
// One running editor per user: the mark is an exclusive lock on a file, held for the life
// of the process; beside it a Unix stream socket is where a second start hands its command
// line to the first. "The first instance is found" means: the lock is held by another
// process and its socket accepts.
//
//     const InstancePaths paths = GetInstancePaths("Tarsil_Vantor Preset EditorPrevent");
//     static InstanceLock lock;
//     if (!lock.Acquire(paths.lockPath) && paths.handOff &&
//         SendCommandLine(paths.socketPath, commandLine) != HandOffResult::kNoListener)
//         return -1;                                    // the first instance has it
//     ...
//     CommandLineListener listener;                     // in the first instance, UI thread
//     listener.Start(paths.socketPath, [](const std::string& text) { ... }, problem);
//
// The hand-off on the wire: u32 0x465, u32 n (1..65536), both little-endian, then n bytes
// of UTF-8 ending in a zero; the receiver answers one byte 1 once it has handled the text.
// The receiver reads through the message loop and never waits: a peer that stalls is
// dropped after a second, one that sends more or other than announced at once.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace KR::Platform
{

struct InstancePaths
{
    std::string lockPath;   // empty when no folder passed the checks
    std::string socketPath; // empty when there is no hand-off
    bool handOff = false;
    std::string problem; // why there is no hand-off (or no lock), for the log
};

// "$XDG_RUNTIME_DIR/<stem>.lock" and ".socket"; without XDG_RUNTIME_DIR a folder
// "kr-<uid>" in GLib's temporary folder, made 0700 and used only while it is the user's
// own with mode 0700. A socket path too long for a socket address gives no hand-off.
InstancePaths GetInstancePaths(const std::string& fileStem);

// The exclusive lock (flock) on the mark file; the kernel lets go of it when the process
// ends, however it ends.
class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process holds the lock now (also when it held it already). False when
    // another process holds it, or the file cannot be opened.
    bool Acquire(const std::string& path);
    bool IsHeld() const { return mDescriptor >= 0; }
    void Release();

private:
    int mDescriptor = -1;
};

enum class HandOffResult
{
    kNoListener, // nothing accepts at the socket: go on as a first instance
    kDelivered,  // the first instance answered that it has the text
    kFailed,     // a listener accepted, but the text was not confirmed within the time
};

inline constexpr std::uint32_t kHandOffMessageId = 0x465;
inline constexpr std::uint32_t kHandOffMaxBytes = 65536;
inline constexpr int kHandOffSenderTimeoutMs = 5000;
inline constexpr int kHandOffPeerTimeoutMs = 1000;

// Sends the text (without its zero; the zero is sent) and waits for the answer, at most
// timeoutMs from the start. An empty text or one over the limit sends nothing
// (kDelivered for an empty one, which the first instance need not see).
HandOffResult SendCommandLine(const std::string& socketPath, const std::string& utf8,
                              int timeoutMs = kHandOffSenderTimeoutMs);

// How far received bytes go: a hand-off still arriving, one complete (text filled in, its
// zero taken off), or one to refuse (wrong id, a size out of bounds, more bytes than
// announced, no final zero).
enum class HandOffCheck
{
    kIncomplete,
    kComplete,
    kRefused,
};
HandOffCheck CheckHandOff(const std::uint8_t* bytes, std::size_t count, std::string& text);

// The first instance's end of the socket, served by the default GLib main context (the
// message loops). UI thread only.
class CommandLineListener
{
public:
    using Receiver = std::function<void(const std::string& utf8)>;

    CommandLineListener();
    ~CommandLineListener();
    CommandLineListener(const CommandLineListener&) = delete;
    CommandLineListener& operator=(const CommandLineListener&) = delete;

    // Unlinks what is left at the path (the caller holds the lock, so it is stale) and
    // listens; false, with the reason, when the socket cannot be made.
    bool Start(const std::string& socketPath, Receiver receiver, std::string& problem);
    // Closes the socket and every connection, and unlinks the path.
    void Stop();
    bool IsListening() const;

private:
    struct State;
    std::unique_ptr<State> mState;
};

} // namespace KR::Platform
