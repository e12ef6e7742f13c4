#include "platform/midi/MidiOutput.h"

#include "platform/midi/JackMidi.h"
#include "platform/midi/MidiMessageAssembler.h"
#include "platform/midi/PortNameMatch.h"
#include "platform/midi/RtMidiSupport.h"
#include "platform/midi/SysExJoiner.h"

#include <optional>
#include <vector>

namespace KR::Platform
{
namespace
{

const std::string kOwnOutputPortName = "out";

} // namespace

struct MidiOutput::Impl
{
    MidiApi api = MidiApi::kAlsa;
    // Runs inside the RtMidi calls this object makes, all under the port's mutex.
    Detail::RtMidiErrorHandler errorHandler = [this](const std::string& text)
    {
        lastError = text;
        ++errorCount;
    };
    std::unique_ptr<RtMidiOut> midi;
    std::unique_ptr<Detail::JackMidiPort> jack;
    SysExJoiner joiner;
    std::string lastError;
    int errorCount = 0;
};

MidiOutput::MidiOutput(std::unique_ptr<Impl> impl, std::string name)
    : impl_(std::move(impl)), name_(std::move(name))
{
}

MidiOutput::~MidiOutput()
{
    Close();
}

std::unique_ptr<MidiOutput> MidiOutput::Open(std::string_view namePart, const MidiPortOptions& options,
                                             std::string* error)
{
    return OpenPort(namePart, false, options, error);
}

std::unique_ptr<MidiOutput> MidiOutput::CreateVirtual(const std::string& portName,
                                                      const MidiPortOptions& options, std::string* error)
{
    return OpenPort(portName, true, options, error);
}

std::unique_ptr<MidiOutput> MidiOutput::OpenPort(std::string_view name, bool isVirtual,
                                                 const MidiPortOptions& options, std::string* error)
{
    auto impl = std::make_unique<Impl>();
    impl->api = ResolveMidiApi(options.api);
    const bool onJack = impl->api == MidiApi::kJack;
    const std::string clientName =
        options.clientName.empty() ? Detail::DefaultClientName("Out") : options.clientName;
    if (!onJack)
    {
        impl->midi = Detail::CreateRtMidiOut(impl->api, clientName, &impl->errorHandler, error);
        if (!impl->midi)
        {
            return nullptr;
        }
    }
    std::string portName(name);
    std::optional<unsigned int> index;
    if (!isVirtual)
    {
        const std::vector<std::string> names =
            onJack ? Detail::ListJackPorts(clientName, false) : Detail::PortNames(*impl->midi);
        const auto found = FindPortByName(names, name, PortDirection::kOutput);
        if (!found)
        {
            if (error != nullptr)
            {
                *error = "no MIDI output port goes by \"" + portName + "\"";
            }
            return nullptr;
        }
        index = static_cast<unsigned int>(*found);
        portName = names[*found];
    }
    if (onJack)
    {
        impl->jack =
            isVirtual
                ? Detail::JackMidiPort::CreateVirtual(clientName, false, portName, nullptr, nullptr, error)
                : Detail::JackMidiPort::Connect(clientName, false, portName, nullptr, nullptr, error);
        return impl->jack ? std::unique_ptr<MidiOutput>(new MidiOutput(std::move(impl), portName)) : nullptr;
    }
    const int errorsBefore = impl->errorCount;
    if (isVirtual)
    {
        impl->midi->openVirtualPort(portName);
    }
    else
    {
        impl->midi->openPort(*index, kOwnOutputPortName);
    }
    // RtMidi counts only connections to other ports as open, not ports of our own.
    if ((!isVirtual && !impl->midi->isPortOpen()) || impl->errorCount != errorsBefore)
    {
        if (error != nullptr)
        {
            *error = impl->lastError.empty() ? "the MIDI system did not open \"" + portName + "\""
                                             : impl->lastError;
        }
        return nullptr;
    }
    return std::unique_ptr<MidiOutput>(new MidiOutput(std::move(impl), portName));
}

bool MidiOutput::Send(std::span<const std::uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    if (!impl_->midi && !impl_->jack)
    {
        impl_->lastError = "the port is closed";
        return false;
    }
    if (bytes.empty())
    {
        impl_->lastError = "nothing to send";
        return false;
    }
    const std::uint8_t first = bytes[0];
    if (first == 0xF0 || first == 0xF7 || first < 0x80)
    {
        return SendSysEx(bytes);
    }
    const std::size_t length = MidiMessageLength(first);
    if (bytes.size() < length)
    {
        impl_->lastError = "a short message lacks its data bytes";
        return false;
    }
    if (first < 0xF8)
    {
        // Any status byte but a real-time one ends a system-exclusive message on the
        // wire, so pieces held for one can no longer be completed.
        impl_->joiner.Clear();
    }
    return SendWhole(bytes.first(length));
}

bool MidiOutput::SendSysEx(std::span<const std::uint8_t> bytes)
{
    if (impl_->api == MidiApi::kJack)
    {
        // A JACK event may hold any bytes: each piece goes out as it comes, keeping the
        // caller's pacing on the wire, and receivers (our MidiInput among them) join them.
        return SendWhole(bytes);
    }
    // RtMidi's ALSA output runs every send through ALSA's MIDI event encoder, which must
    // see a message whole: a piece without F7 is refused as incomplete and leaves the
    // encoder mid-message, corrupting what follows. So pieces are joined here and the
    // message leaves with its last piece. The caller's pauses still happen between its
    // calls; the USB-MIDI driver below ALSA paces the bytes to the device itself.
    // (Writing sequencer system-exclusive events of our own would need a second
    // sequencer client beside RtMidi's, whose short messages could then overtake them.)
    bool sent = true;
    const bool accepted = impl_->joiner.Add(bytes, [&](std::span<const std::uint8_t> message)
                                            { sent = SendWhole(message) && sent; });
    if (!accepted)
    {
        impl_->lastError = "system-exclusive bytes that continue no message, or a message over 64 KiB";
    }
    return accepted && sent;
}

bool MidiOutput::SendWhole(std::span<const std::uint8_t> message)
{
    if (impl_->jack)
    {
        return impl_->jack->Write(message, &impl_->lastError);
    }
    const int errorsBefore = impl_->errorCount;
    impl_->midi->sendMessage(message.data(), message.size());
    return impl_->errorCount == errorsBefore;
}

bool MidiOutput::WaitUntilSent()
{
    std::lock_guard lock(mutex_);
    // RtMidi's sends hand the bytes to ALSA before they return.
    return !impl_->jack || impl_->jack->WaitUntilSent(&impl_->lastError);
}

bool MidiOutput::Close()
{
    std::lock_guard lock(mutex_);
    // On JACK the port waits here (as long as the server may keep a request waiting) until
    // what is still queued has gone out, so the last send is not lost.
    bool sent = true;
    if (impl_->jack)
    {
        sent = impl_->jack->Close(&impl_->lastError);
        impl_->jack.reset();
    }
    impl_->midi.reset();
    return sent;
}

std::string MidiOutput::LastError() const
{
    std::lock_guard lock(mutex_);
    return impl_->lastError;
}

} // namespace KR::Platform
