#include "support/engine/FakeKeyboardPorts.h"

#include "support/engine/SysExTestSupport.h"

#include "support/Wait.h"

#include <algorithm>
#include <chrono>

namespace support
{

KR::Result FakeMidiComm::OpenCapturePort(const KR::String& /*name*/, KR::RCPtr<KR::LRefCountedObject>& port)
{
    mKeyboard.WaitForAPartnerOpen();
    if (!mKeyboard.inputPresent)
    {
        port = nullptr;
        return KR::kFail;
    }
    if (!mCapture)
    {
        mCapture = KR::RCPtr<KR::LRefCountedObject>(new FakePort(false));
    }
    port = mCapture;
    return KR::kOk;
}

KR::Result FakeMidiComm::OpenRenderPort(const KR::String& /*name*/, KR::RCPtr<KR::LRefCountedObject>& port)
{
    mKeyboard.WaitForAPartnerOpen();
    if (!mKeyboard.outputPresent)
    {
        port = nullptr;
        return KR::kFail;
    }
    if (!mRender)
    {
        mRender = KR::RCPtr<KR::LRefCountedObject>(new FakePort(true));
    }
    port = mRender;
    return KR::kOk;
}

void FakeKeyboard::WaitForAPartnerOpen()
{
    // Only the first two opens pair up: those that open the ports. Later ones find them open.
    if (!opensWaitForAPartner || ++mOpensBegun > 2)
    {
        return;
    }
    // Long enough for a thread to start on a loaded machine, short enough that an open
    // made alone costs a test little.
    if (!KR::TestSupport::WaitUntil([&] { return mOpensBegun >= 2; }, std::chrono::seconds(2)))
    {
        ++lonelyOpens;
    }
}

KR::Result FakeMidiComm::SendMidi(const KR::RCPtr<KR::LRefCountedObject>& port,
                                  const KR::IArray<signed char>& bytes)
{
    const KR::RCPtr<FakePort> fake(port);
    if (!fake || !fake->IsOutput() || bytes.GetCount() == 0)
    {
        return KR::kInvalidArg;
    }
    Bytes piece(bytes.GetCount());
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.GetData()), piece.size(), piece.begin());
    bool leaves = true;
    const KR::Result sent = mKeyboard.RecordPiece(piece, leaves);
    if (KR::Failed(sent) || !leaves)
    {
        return sent; // a piece that stays queued never reaches the keyboard
    }
    if (piece.front() == KeyboardSysEx::kSysExStart)
    {
        mPending.clear();
    }
    mPending.insert(mPending.end(), piece.begin(), piece.end());
    if (mPending.back() == KeyboardSysEx::kSysExEnd)
    {
        mKeyboard.RecordMessage(KR::RCPtr<FakeMidiComm>(this), mPending);
        mPending.clear();
    }
    return sent;
}

KR::Result FakeMidiComm::WaitUntilSent(const KR::RCPtr<KR::LRefCountedObject>& port)
{
    const KR::RCPtr<FakePort> fake(port);
    return fake && fake->IsOutput() ? mKeyboard.CheckSent() : KR::kInvalidArg;
}

FakeKeyboard::FakeKeyboard() : mThread([this] { DeliveryLoop(); })
{
}

FakeKeyboard::~FakeKeyboard()
{
    {
        std::lock_guard lock(mMutex);
        mStop = true;
    }
    mWake.notify_all();
    mThread.join();
}

KR::LMidiManager::Options FakeKeyboard::ManagerOptions(std::uint32_t replyWaitMs)
{
    KR::LMidiManager::Options options;
    options.makeComm = [this]
    {
        KR::RCPtr<FakeMidiComm> comm(new FakeMidiComm(*this));
        std::lock_guard lock(mMutex);
        mComms.push_back(comm);
        return KR::RCPtr<KR::LMidiCommInterface>(comm);
    };
    options.pause = [this](std::uint32_t ms)
    {
        std::unique_lock lock(mMutex);
        mWire.push_back(WireEvent{true, {}, ms});
        WaitUntilDrained(lock);
    };
    options.replyWaitMs = replyWaitMs;
    return options;
}

void FakeKeyboard::SetResponder(Responder responder)
{
    std::lock_guard lock(mMutex);
    mResponder = std::move(responder);
}

KR::Result FakeKeyboard::RecordPiece(const Bytes& piece, bool& leaves)
{
    std::lock_guard lock(mMutex);
    const int number = mPiecesSent++;
    if (failSendsFrom >= 0 && number >= failSendsFrom)
    {
        return KR::kFail;
    }
    leaves = stuckFromPiece < 0 || number < stuckFromPiece;
    mWire.push_back(WireEvent{false, piece, 0});
    return static_cast<KR::Result>(piece.size());
}

KR::Result FakeKeyboard::CheckSent()
{
    std::lock_guard lock(mMutex);
    mSentChecks.push_back(mPiecesSent);
    return stuckFromPiece >= 0 && mPiecesSent > stuckFromPiece ? KR::kFail : KR::kOk;
}

int FakeKeyboard::PiecesSent() const
{
    std::lock_guard lock(mMutex);
    return mPiecesSent;
}

std::vector<int> FakeKeyboard::SentChecks() const
{
    std::lock_guard lock(mMutex);
    return mSentChecks;
}

void FakeKeyboard::RecordMessage(const KR::RCPtr<FakeMidiComm>& comm, const Bytes& message)
{
    Responder responder;
    {
        std::lock_guard lock(mMutex);
        mMessages.push_back(Hex(message));
        responder = mResponder;
    }
    if (responder)
    {
        for (const Bytes& reply : responder(message))
        {
            Queue(comm, reply);
        }
    }
}

void FakeKeyboard::Queue(const KR::RCPtr<FakeMidiComm>& comm, const Bytes& message)
{
    {
        std::lock_guard lock(mMutex);
        mDeliveries.push_back(Delivery{comm, message});
    }
    mWake.notify_all();
}

void FakeKeyboard::Deliver(const Bytes& message, KR::RCPtr<FakeMidiComm> comm)
{
    if (!comm)
    {
        std::lock_guard lock(mMutex);
        if (!mComms.empty())
        {
            comm = mComms.back();
        }
    }
    Queue(comm, message);
    std::unique_lock lock(mMutex);
    WaitUntilDrained(lock);
}

void FakeKeyboard::WaitUntilDrained(std::unique_lock<std::mutex>& lock)
{
    mDrained.wait(lock, [this] { return mDeliveries.empty() && !mDelivering; });
}

void FakeKeyboard::DeliveryLoop()
{
    std::unique_lock lock(mMutex);
    for (;;)
    {
        mWake.wait(lock, [this] { return mStop || !mDeliveries.empty(); });
        if (mDeliveries.empty())
        {
            return;
        }
        Delivery delivery = std::move(mDeliveries.front());
        mDeliveries.pop_front();
        mDelivering = true;
        lock.unlock();
        if (delivery.comm)
        {
            delivery.comm->SendNotificationByName(
                KR::kNidMidiDataCaptured,
                KR::LMidiCaptureNotificationData::Create(delivery.message, u"fake", 0));
        }
        delivery.comm = nullptr;
        lock.lock();
        mDelivering = false;
        mDrained.notify_all();
    }
}

std::vector<FakeKeyboard::WireEvent> FakeKeyboard::Wire() const
{
    std::lock_guard lock(mMutex);
    return mWire;
}

std::vector<std::string> FakeKeyboard::Messages() const
{
    std::lock_guard lock(mMutex);
    return mMessages;
}

std::vector<KR::RCPtr<FakeMidiComm>> FakeKeyboard::Comms() const
{
    std::lock_guard lock(mMutex);
    return mComms;
}

Bytes FakeKeyboard::IdentityReply(const char* digits)
{
    Bytes reply = ParseHex("F0 7E 00 06 02 00 01 05 31 05");
    reply.insert(reply.end(), digits, digits + 4);
    reply.push_back(KeyboardSysEx::kSysExEnd);
    return reply;
}

} // namespace support
