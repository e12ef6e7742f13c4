#pragma once
// The framework's log: one process-wide object (GetDebugLog) holding a narrow and a
// wide debug stream, the two current log streams that writers use, and the UDP target.
//
// Pieces go to the debugger output (standard error unless replaced) while the port is
// below 1; with a port of 1 or more they go as UDP datagrams to the host. The first
// output to the UDP target sets up its socket and announces the program with three
// datagrams: "*** APPLICATION Launched on ", the destination's address, "***\n". The
// destination is fixed then; later targets only switch between the debugger output and
// that socket.
//
// Writers on several threads use Write, or a writer that holds the log for one message:
//
//     KR::GetDebugLog().Narrow() << "MIDI port opened: " << name << '\n';
//     KR::GetDebugLog().Wide() << u"Skin " << skinName << u" loaded\n";
//
// Each message goes out when its writer ends; messages of different threads never mix,
// and one of at most 1023 bytes arrives as one piece.

#include "kr/system/DebugStream.h"
#include "kr/thread/Mutex.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace KR
{

namespace Platform
{
class UdpSender;
}

// Holds the log's lock for one message written to one stream; flushes it when it ends.
template <typename Stream>
class LogWriter
{
public:
    LogWriter(std::unique_lock<Mutex> lock, Stream& stream) : mLock(std::move(lock)), mStream(stream) {}
    ~LogWriter() { mStream.flush(); }
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    template <typename T>
    LogWriter& operator<<(const T& value)
    {
        mStream << value;
        return *this;
    }
    LogWriter& operator<<(std::ostream& (*manipulator)(std::ostream&))
    {
        manipulator(mStream);
        return *this;
    }

    Stream& GetStream() { return mStream; }

private:
    std::unique_lock<Mutex> mLock;
    Stream& mStream;
};

class DebugLog
{
public:
    using Output = std::function<void(std::string_view piece)>;

    // Empty host, port -1, debugger output to standard error.
    DebugLog();
    // Sends what the streams still hold.
    ~DebugLog();
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    // Stores the host when host is not null (an empty text stores an empty host) and
    // always the port.
    void SetTarget(const char* host, std::int32_t port);
    std::string GetHost() const;
    std::int32_t GetPort() const;

    // Where pieces go while the port is below 1. Null restores standard error.
    void SetDebuggerOutput(Output output);

    // The UDP sink: sets up the socket on first use (announcing the program), then sends
    // text, when it is not empty, as one datagram. Failures are silent.
    void SendDatagram(const char* host, std::int32_t port, const char* text);
    // Whether the UDP sink has made its socket.
    bool HasSocket() const;

    // The debug streams themselves.
    DebugStream& GetNarrowStream() { return mNarrow; }
    WideDebugStream& GetWideStream() { return mWide; }

    // The current log streams: the debug streams, or the console's after
    // CreateDebugConsole. Writing to them directly is for one thread at a time; writers on
    // several threads use the writers below.
    std::ostream& GetLogStream();
    WideDebugStream& GetWideLogStream();

    // A writer on the current log stream that holds the log until it ends.
    LogWriter<std::ostream> Narrow()
    {
        std::unique_lock<Mutex> lock(mLock);
        return LogWriter<std::ostream>(std::move(lock), *mCurrentNarrow);
    }
    LogWriter<WideDebugStream> Wide()
    {
        std::unique_lock<Mutex> lock(mLock);
        return LogWriter<WideDebugStream>(std::move(lock), *mCurrentWide);
    }

    // One message on the current narrow or wide log stream, flushed.
    void Write(std::string_view text);
    void Write(std::u16string_view text);

private:
    friend void CreateDebugConsole(DebugLog& log, std::ostream& console);

    // Where the debug streams' pieces go; called with the lock held.
    void Emit(std::string_view piece);
    void SendDatagramLocked(const char* host, std::int32_t port, std::string_view text);

    // The lock comes first: the streams use it until they are gone.
    mutable Mutex mLock;
    std::string mHost;
    std::int32_t mPort = -1;
    Output mDebuggerOutput;
    std::unique_ptr<Platform::UdpSender> mSender;
    DebugStream mNarrow;
    WideDebugStream mWide;
    std::unique_ptr<WideDebugStream> mConsoleWide;
    std::ostream* mCurrentNarrow;
    WideDebugStream* mCurrentWide;
};

// The process-wide log, built before the program's main code and gone after it.
DebugLog& GetDebugLog();

// Points the log's current streams at the console (standard error, or the stream given,
// which must outlive the log): writers then reach the console, while the debug streams
// themselves still go to the debugger output or the UDP target.
void CreateDebugConsole(DebugLog& log, std::ostream& console);
void CreateDebugConsole(DebugLog& log);

} // namespace KR
