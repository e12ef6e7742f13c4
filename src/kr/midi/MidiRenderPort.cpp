#include "kr/midi/MidiRenderPort.h"

#include "kr/midi/MidiComm.h"
#include "kr/thread/ThreadLog.h"
#include "platform/midi/MidiMessageAssembler.h"
#include "platform/midi/MidiOutput.h"

#include <algorithm>
#include <array>

namespace KR
{
namespace
{

bool IsSysExBytes(std::uint8_t first)
{
    return first == 0xF0 || first == 0xF7 || first < 0x80;
}

} // namespace

LMidiRenderPort::LMidiRenderPort(const RCPtr<LMidiComm>& owner) : LMidiPort(owner)
{
}

LMidiRenderPort::~LMidiRenderPort()
{
    // The last holder has let go, so nobody is left to be told that the close gave up
    // (what was sent had not left when the MIDI system stopped answering; it still goes if
    // the system runs again): the log says so instead.
    if (mDevice && !mDevice->Close())
    {
        LogThreadProblem("KR::LMidiRenderPort: closing \"" + mDevice->Name() +
                         "\" gave up: " + mDevice->LastError());
    }
}

bool LMidiRenderPort::OpenDevice(std::string_view namePart, const Platform::MidiPortOptions& options,
                                 std::string& error)
{
    mDevice = Platform::MidiOutput::Open(namePart, options, &error);
    if (!mDevice)
    {
        return false;
    }
    SetDeviceName(mDevice->Name(), namePart);
    return true;
}

Result LMidiRenderPort::Send(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
    {
        return kInvalidArg;
    }
    const std::uint8_t status = bytes.front();
    if (IsSysExBytes(status))
    {
        // The platform layer copies the bytes (or joins the pieces of a message) before
        // it returns, so the caller's storage is free again either way.
        return mDevice->Send(bytes) ? static_cast<Result>(bytes.size()) : kFail;
    }
    // A short message goes out whole: data bytes the caller left out are 0.
    const std::size_t length = Platform::MidiMessageLength(status);
    std::array<std::uint8_t, 3> message{};
    std::copy_n(bytes.begin(), std::min(length, bytes.size()), message.begin());
    if (!mDevice->Send(std::span<const std::uint8_t>(message.data(), length)))
    {
        return kFail;
    }
    return status < 0xF0 ? kOk : static_cast<Result>(length);
}

Result LMidiRenderPort::WaitUntilSent()
{
    if (mDevice->WaitUntilSent())
    {
        return kOk;
    }
    LogThreadProblem("KR::LMidiRenderPort: what was sent through \"" + mDevice->Name() +
                     "\" did not leave: " + mDevice->LastError());
    return kFail;
}

RCPtr<LMidiPort> LMidiRenderPort::Unlist()
{
    return mOwner->TakeRenderPort(this);
}

} // namespace KR
