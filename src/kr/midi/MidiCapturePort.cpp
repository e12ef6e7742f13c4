#include "kr/midi/MidiCapturePort.h"

#include "kr/midi/MidiCaptureNotificationData.h"
#include "kr/midi/MidiComm.h"
#include "platform/midi/MidiInput.h"

namespace KR
{

LMidiCapturePort::LMidiCapturePort(const RCPtr<LMidiComm>& owner) : LMidiPort(owner)
{
}

LMidiCapturePort::~LMidiCapturePort()
{
    mStarted.store(false, std::memory_order_release);
    if (mDevice)
    {
        // Waits for a delivery in progress, which takes no lock this thread may hold.
        mDevice->Close();
    }
}

bool LMidiCapturePort::OpenDevice(std::string_view namePart, const Platform::MidiPortOptions& options,
                                  std::string& error)
{
    // The device never outlives this port (the destructor closes it first), so the
    // callback may refer to the port without holding it.
    mDevice = Platform::MidiInput::Open(
        namePart,
        [this](std::span<const std::uint8_t> bytes, std::uint32_t timeMs) { OnMessage(bytes, timeMs); },
        options, &error);
    if (!mDevice)
    {
        return false;
    }
    SetDeviceName(mDevice->Name(), namePart);
    return true;
}

void LMidiCapturePort::OnMessage(std::span<const std::uint8_t> bytes, std::uint32_t timeMs)
{
    // The name is set before the port starts and never changes after, so reading it
    // here needs no lock.
    if (bytes.empty() || !mStarted.load(std::memory_order_acquire))
    {
        return;
    }
    const std::uint32_t timeStamp = bytes.front() == 0xF0 ? 0 : timeMs;
    mOwner->HandOver(LMidiCaptureNotificationData::Create(bytes, GetName(), timeStamp));
}

RCPtr<LMidiPort> LMidiCapturePort::Unlist()
{
    return mOwner->TakeCapturePort(this);
}

} // namespace KR
