#include "platform/midi/RtMidiSupport.h"

#include "platform/midi/AlsaSequencer.h"

namespace KR::Platform::Detail
{
namespace
{

RtMidi::Api ToRtMidiApi(MidiApi api)
{
    return ResolveMidiApi(api) == MidiApi::kJack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

void ForwardError(RtMidiError::Type, const std::string& text, void* userData)
{
    LogMidiMessage("MIDI: RtMidi reports: " + text);
    (*static_cast<RtMidiErrorHandler*>(userData))(text);
}

template <typename Port>
std::unique_ptr<Port> Create(MidiApi api, const std::string& clientName, RtMidiErrorHandler* handler,
                             std::string* error)
{
    const bool onAlsa = ToRtMidiApi(api) == RtMidi::LINUX_ALSA;
    if (onAlsa && !TheAlsaSequencer().IsReachable(error))
    {
        return nullptr;
    }
    const AlsaLibMessagesToLog alsaLibMessages;
    try
    {
        auto port = std::make_unique<Port>(ToRtMidiApi(api), clientName);
        port->setErrorCallback(&ForwardError, handler);
        return port;
    }
    catch (const RtMidiError& e)
    {
        // The sequencer went away since it was seen, or refuses another client.
        if (onAlsa)
        {
            TheAlsaSequencer().Forget();
        }
        LogMidiMessage("MIDI: RtMidi reports: " + e.getMessage());
        if (error != nullptr)
        {
            *error = e.getMessage();
        }
        return nullptr;
    }
}

} // namespace

std::unique_ptr<RtMidiIn> CreateRtMidiIn(MidiApi api, const std::string& clientName,
                                         RtMidiErrorHandler* handler, std::string* error)
{
    return Create<RtMidiIn>(api, clientName, handler, error);
}

std::unique_ptr<RtMidiOut> CreateRtMidiOut(MidiApi api, const std::string& clientName,
                                           RtMidiErrorHandler* handler, std::string* error)
{
    return Create<RtMidiOut>(api, clientName, handler, error);
}

std::vector<std::string> PortNames(RtMidi& midi)
{
    std::vector<std::string> names;
    const unsigned int count = midi.getPortCount();
    names.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
    {
        names.push_back(midi.getPortName(i));
    }
    return names;
}

} // namespace KR::Platform::Detail
