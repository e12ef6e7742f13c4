#include "platform/midi/PortList.h"

#include "platform/midi/JackMidi.h"
#include "platform/midi/PortNameMatch.h"
#include "platform/midi/RtMidiSupport.h"

#include <mutex>

namespace KR::Platform
{
namespace
{

// On ALSA a listing needs a client of its own per direction, kept for the process's
// life; when the system cannot be reached it is made anew on a later call, once the
// sequencer can be opened (Detail::AlsaSequencerWatch).
class AlsaLister
{
public:
    std::vector<std::string> Ports(bool input)
    {
        std::lock_guard lock(mutex_);
        if (input && !input_)
        {
            input_ = Detail::CreateRtMidiIn(MidiApi::kAlsa, Detail::DefaultClientName("List In"), &ignore_,
                                            nullptr);
        }
        if (!input && !output_)
        {
            output_ = Detail::CreateRtMidiOut(MidiApi::kAlsa, Detail::DefaultClientName("List Out"), &ignore_,
                                              nullptr);
        }
        RtMidi* midi = input ? static_cast<RtMidi*>(input_.get()) : output_.get();
        return midi != nullptr ? Detail::PortNames(*midi) : std::vector<std::string>{};
    }

private:
    std::mutex mutex_;
    // A listing has no caller to report a problem to: it finds no ports instead (the MIDI
    // log hears of it).
    Detail::RtMidiErrorHandler ignore_ = [](const std::string&) {};
    std::unique_ptr<RtMidiIn> input_;
    std::unique_ptr<RtMidiOut> output_;
};

std::vector<std::string> ListPorts(const MidiPortOptions& options, bool input)
{
    if (ResolveMidiApi(options.api) == MidiApi::kJack)
    {
        // An input connects to the ports that send, so it lists JACK's output ports.
        return Detail::ListJackPorts(
            options.clientName.empty() ? Detail::DefaultClientName(input ? "In" : "Out") : options.clientName,
            input);
    }
    static AlsaLister lister;
    return lister.Ports(input);
}

std::optional<std::string> FindPort(std::string_view name, const MidiPortOptions& options, bool input)
{
    const std::vector<std::string> names = ListPorts(options, input);
    const auto found = FindPortByName(names, name, input ? PortDirection::kInput : PortDirection::kOutput);
    return found ? std::optional<std::string>(names[*found]) : std::nullopt;
}

} // namespace

std::vector<std::string> ListInputPorts(MidiApi api)
{
    return ListPorts({api, {}}, true);
}

std::vector<std::string> ListOutputPorts(MidiApi api)
{
    return ListPorts({api, {}}, false);
}

std::uint64_t GetPortsFingerprint(MidiApi api)
{
    // FNV-1a over both listings; a zero byte ends each name and a marker each direction,
    // so that no two different listings run together into the same bytes.
    std::uint64_t hash = 14695981039346656037ull;
    const auto add = [&hash](unsigned char byte)
    {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (const bool input : {true, false})
    {
        for (const std::string& name : ListPorts({api, {}}, input))
        {
            for (const char c : name)
            {
                add(static_cast<unsigned char>(c));
            }
            add(0);
        }
        add(0xFF);
    }
    return hash;
}

std::optional<std::string> FindInputPort(std::string_view name, const MidiPortOptions& options)
{
    return FindPort(name, options, true);
}

std::optional<std::string> FindOutputPort(std::string_view name, const MidiPortOptions& options)
{
    return FindPort(name, options, false);
}

} // namespace KR::Platform
