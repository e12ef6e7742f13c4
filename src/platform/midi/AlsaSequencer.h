#pragma once
// Whether the ALSA sequencer is there, and where this layer's messages about it (and
// alsa-lib's own) go. Internal to this folder.

#include <sys/stat.h>

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace KR::Platform::Detail
{

// To the sink SetMidiLogSink installed, if any.
void LogMidiMessage(std::string_view message);

// alsa-lib's error messages on this thread go to the MIDI log while it lasts, worded as
// alsa-lib words them (else alsa-lib prints them on standard error). alsa-lib's handler of
// this kind is per thread, so other users of alsa-lib in the process keep theirs, and a
// second copy of this layer in the process does not meet this one.
class AlsaLibMessagesToLog
{
public:
    AlsaLibMessagesToLog();
    ~AlsaLibMessagesToLog();
    AlsaLibMessagesToLog(const AlsaLibMessagesToLog&) = delete;
    AlsaLibMessagesToLog& operator=(const AlsaLibMessagesToLog&) = delete;

private:
    void (*previous_)(); // alsa-lib's type for it, kept out of this header
};

// Whether the ALSA sequencer can be opened, asked of alsa-lib only when the sequencer's
// device node has changed since the last answer (appeared, gone, replaced, its owner or
// permissions changed). The keyboard's polls make MIDI clients again and again, and
// without a sequencer each would fail anew and print why; so a machine without one is
// asked once, while a sequencer that appears later (its kernel module is loaded when a
// USB MIDI device is plugged in) is found by the next poll. The MIDI log hears once of
// each new reason the sequencer cannot be opened, and when it can be again.
class AlsaSequencerWatch
{
public:
    // `devicePath`: the node alsa-lib's sequencer opens ("default" is the "hw" sequencer,
    // /dev/snd/seq, in every configuration alsa-lib ships).
    explicit AlsaSequencerWatch(std::string devicePath);

    // True when the sequencer opens now; else false, with the reason in `error`.
    bool IsReachable(std::string* error);

    // A client made after a yes failed all the same: the next call asks alsa-lib again.
    void Forget();

private:
    struct NodeState
    {
        int statError = 0;
        dev_t device = 0;
        ino_t inode = 0;
        timespec changed{}; // the status change time: owner, mode, ACL, links
        bool operator==(const NodeState& other) const;
    };

    NodeState ReadNode() const;

    const std::string devicePath_;
    std::mutex mutex_;
    std::optional<NodeState> answeredFor_;
    bool reachable_ = false;
    std::string reason_; // empty while reachable
};

// The watch this layer's ports consult, on /dev/snd/seq.
AlsaSequencerWatch& TheAlsaSequencer();

} // namespace KR::Platform::Detail
