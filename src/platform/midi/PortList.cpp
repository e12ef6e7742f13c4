#include "platform/midi/PortList.h"

#include "platform/midi/RtMidiSupport.h"

namespace KR::Platform
{
namespace
{

const std::string kListingClientName = "KR MIDI List";

} // namespace

std::vector<std::string> ListInputPorts(MidiApi api)
{
    Detail::RtMidiErrorHandler ignore = [](const std::string&) {};
    auto midi = Detail::CreateRtMidiIn(api, kListingClientName, &ignore, nullptr);
    return midi ? Detail::PortNames(*midi) : std::vector<std::string>{};
}

std::vector<std::string> ListOutputPorts(MidiApi api)
{
    Detail::RtMidiErrorHandler ignore = [](const std::string&) {};
    auto midi = Detail::CreateRtMidiOut(api, kListingClientName, &ignore, nullptr);
    return midi ? Detail::PortNames(*midi) : std::vector<std::string>{};
}

} // namespace KR::Platform
