#pragma once
// The MIDI manager's port seam without JACK: a keyboard played by the test, reached
// through recording MIDI communication objects. Every piece sent and every pause taken
// goes into one wire log in order; whole messages are handed to the test's responder,
// whose replies come back as "NID_MIDI_DATA_CAPTURED" on a delivery thread of the fake's
// own, as the real MIDI object sends them on its worker thread. Replies are handled
// within the pause that follows the piece which completed the request, as the keyboard's
// answer would arrive within those 10 ms, so what a test sees does not depend on timing.
//
//     support::FakeKeyboard keyboard;
//     keyboard.SetResponder([](const Bytes& message) { return ...replies...; });
//     RCPtr<LMidiManager> midi = LMidiManager::Create(keyboard.ManagerOptions());

#include "engine/KeyboardSysEx.h"
#include "engine/MidiManager.h"
#include "kr/core/IArray.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/midi/MidiCaptureNotificationData.h"
#include "kr/midi/MidiCommInterface.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace support
{

using Bytes = std::vector<std::uint8_t>;

class FakeKeyboard;

// One port handed out by a FakeMidiComm.
class FakePort final : public KR::LRefCountedObject
{
public:
    explicit FakePort(bool output) : mOutput(output) {}
    bool IsOutput() const { return mOutput; }

private:
    const bool mOutput;
};

class FakeMidiComm final : public KR::LMidiCommInterface
{
public:
    explicit FakeMidiComm(FakeKeyboard& keyboard) : mKeyboard(keyboard) {}

    KR::Result OpenCapturePort(const KR::String& name, KR::RCPtr<KR::LRefCountedObject>& port) override;
    KR::Result OpenRenderPort(const KR::String& name, KR::RCPtr<KR::LRefCountedObject>& port) override;
    // Like the real one: the byte count on success, so that a caller taking it for the
    // result would be caught.
    KR::Result SendMidi(const KR::RCPtr<KR::LRefCountedObject>& port,
                        const KR::IArray<signed char>& bytes) override;
    // kFail once a piece that stays queued (FakeKeyboard::stuckFromPiece) was sent.
    KR::Result WaitUntilSent(const KR::RCPtr<KR::LRefCountedObject>& port) override;

private:
    FakeKeyboard& mKeyboard;
    KR::RCPtr<KR::LRefCountedObject> mCapture;
    KR::RCPtr<KR::LRefCountedObject> mRender;
    Bytes mPending; // the message being assembled from pieces
};

class FakeKeyboard
{
public:
    // One entry of the wire log: a piece sent, or a pause taken after one.
    struct WireEvent
    {
        bool pause = false;
        Bytes bytes;
        std::uint32_t ms = 0;
    };
    using Responder = std::function<std::vector<Bytes>(const Bytes& message)>;

    FakeKeyboard();
    ~FakeKeyboard();
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    // Options for a manager that talks to this keyboard, with a reply wait of
    // `replyWaitMs` (short, where a test waits for tries to run out).
    KR::LMidiManager::Options ManagerOptions(std::uint32_t replyWaitMs = KR::LMidiManager::kReplyWaitMs);

    // Answers each whole message received; no replies by default.
    void SetResponder(Responder responder);
    // Whether the ports can be opened.
    std::atomic<bool> inputPresent{true};
    std::atomic<bool> outputPresent{true};
    // Sends fail from this piece on (counted from 0 over the keyboard's life); -1: never.
    std::atomic<int> failSendsFrom{-1};
    // Pieces from this one on (counted as failSendsFrom counts) are taken but never leave,
    // as on a JACK server that stalled or went away: they are on the wire log but never
    // reach the keyboard, and the port's wait until sent reports that they did not leave.
    // -1: every piece leaves.
    std::atomic<int> stuckFromPiece{-1};
    // When set, each of the first two opens waits (bounded) until the other has begun,
    // as a port waits for its connection to come up; `lonelyOpens` counts those whose
    // wait ran out because the other did not come while it lasted.
    std::atomic<bool> opensWaitForAPartner{false};
    std::atomic<int> lonelyOpens{0};

    // Delivers `message` as captured through `comm` (the newest one when null), on the
    // delivery thread, and waits until it has been handled.
    void Deliver(const Bytes& message, KR::RCPtr<FakeMidiComm> comm = nullptr);

    std::vector<WireEvent> Wire() const;
    // The whole messages received, in order, as hex text.
    std::vector<std::string> Messages() const;
    std::vector<KR::RCPtr<FakeMidiComm>> Comms() const;
    // The pieces sent (or refused) so far.
    int PiecesSent() const;
    // For each wait until sent asked for, how many pieces had been sent by then.
    std::vector<int> SentChecks() const;

    // A firmware that answers the identity request with these digits.
    static Bytes IdentityReply(const char* digits);

private:
    friend class FakeMidiComm;

    // `leaves` false for a piece that stays queued (stuckFromPiece).
    KR::Result RecordPiece(const Bytes& piece, bool& leaves);
    KR::Result CheckSent();
    void RecordMessage(const KR::RCPtr<FakeMidiComm>& comm, const Bytes& message);
    // Under mMutex: waits until every queued reply has been handled.
    void WaitUntilDrained(std::unique_lock<std::mutex>& lock);
    void Queue(const KR::RCPtr<FakeMidiComm>& comm, const Bytes& message);
    void DeliveryLoop();
    void WaitForAPartnerOpen();
    std::atomic<int> mOpensBegun{0};

    mutable std::mutex mMutex;
    std::condition_variable mWake;
    std::condition_variable mDrained;
    std::vector<WireEvent> mWire;
    std::vector<std::string> mMessages;
    std::vector<KR::RCPtr<FakeMidiComm>> mComms;
    Responder mResponder;
    int mPiecesSent = 0;
    std::vector<int> mSentChecks;
    struct Delivery
    {
        KR::RCPtr<FakeMidiComm> comm;
        Bytes message;
    };
    std::deque<Delivery> mDeliveries;
    bool mDelivering = false;
    bool mStop = false;
    std::thread mThread;
};

} // namespace support
