#include "kr/system/DebugLog.h"

#include "platform/system/UdpSender.h"

#include <iostream>
#include <utility>

namespace KR
{

namespace
{

constexpr std::string_view kLaunchedText = "*** APPLICATION Launched on ";
constexpr std::string_view kLaunchedEnd = "***\n";

void WriteToStandardError(std::string_view piece)
{
    std::cerr.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    std::cerr.flush();
}

} // namespace

DebugLog::DebugLog()
    : mDebuggerOutput(&WriteToStandardError), mNarrow(mLock, [this](std::string_view piece) { Emit(piece); }),
      mWide(mLock, [this](std::string_view piece) { Emit(piece); }), mCurrentNarrow(&mNarrow),
      mCurrentWide(&mWide)
{
}

DebugLog::~DebugLog()
{
    const MutexLocker lock(mLock);
    mCurrentNarrow->flush();
    mCurrentWide->flush();
    mWide.flush();
    mNarrow.flush();
}

void DebugLog::SetTarget(const char* host, std::int32_t port)
{
    const MutexLocker lock(mLock);
    if (host != nullptr)
    {
        mHost = host;
    }
    mPort = port;
}

std::string DebugLog::GetHost() const
{
    const MutexLocker lock(mLock);
    return mHost;
}

std::int32_t DebugLog::GetPort() const
{
    const MutexLocker lock(mLock);
    return mPort;
}

void DebugLog::SetDebuggerOutput(Output output)
{
    const MutexLocker lock(mLock);
    mDebuggerOutput = output ? std::move(output) : Output(&WriteToStandardError);
}

void DebugLog::SendDatagram(const char* host, std::int32_t port, const char* text)
{
    const MutexLocker lock(mLock);
    SendDatagramLocked(host, port, text ? std::string_view(text) : std::string_view());
}

bool DebugLog::HasSocket() const
{
    const MutexLocker lock(mLock);
    return mSender && mSender->IsOpen();
}

std::ostream& DebugLog::GetLogStream()
{
    const MutexLocker lock(mLock);
    return *mCurrentNarrow;
}

WideDebugStream& DebugLog::GetWideLogStream()
{
    const MutexLocker lock(mLock);
    return *mCurrentWide;
}

void DebugLog::Write(std::string_view text)
{
    auto writer = Narrow();
    writer.GetStream().write(text.data(), static_cast<std::streamsize>(text.size()));
}

void DebugLog::Write(std::u16string_view text)
{
    auto writer = Wide();
    writer << text;
}

void DebugLog::Emit(std::string_view piece)
{
    if (mPort < 1)
    {
        if (!piece.empty())
        {
            mDebuggerOutput(piece);
        }
        return;
    }
    // An empty piece still sets up the sink, so the collector learns of the program at
    // its first flush.
    SendDatagramLocked(mHost.empty() ? nullptr : mHost.c_str(), mPort, piece);
}

void DebugLog::SendDatagramLocked(const char* host, std::int32_t port, std::string_view text)
{
    if (!mSender)
    {
        mSender = std::make_unique<Platform::UdpSender>();
    }
    if (!mSender->IsOpen() && mSender->Open(host, port))
    {
        mSender->Send(kLaunchedText);
        mSender->Send(mSender->GetAddressText());
        mSender->Send(kLaunchedEnd);
    }
    if (!text.empty())
    {
        mSender->Send(text);
    }
}

void CreateDebugConsole(DebugLog& log, std::ostream& console)
{
    const MutexLocker lock(log.mLock);
    std::ostream* target = &console;
    log.mConsoleWide = std::make_unique<WideDebugStream>(
        log.mLock,
        [target](std::string_view piece)
        {
            target->write(piece.data(), static_cast<std::streamsize>(piece.size()));
            target->flush();
        });
    log.mCurrentNarrow = &console;
    log.mCurrentWide = log.mConsoleWide.get();
}

void CreateDebugConsole(DebugLog& log)
{
    CreateDebugConsole(log, std::cerr);
}

} // namespace KR
