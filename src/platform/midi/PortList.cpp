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
    return MidiPortLister(kListingClientName, api).InputPorts();
}

std::vector<std::string> ListOutputPorts(MidiApi api)
{
    return MidiPortLister(kListingClientName, api).OutputPorts();
}

MidiPortLister::MidiPortLister(std::string clientName, MidiApi api)
    : clientName_(std::move(clientName)), api_(api), ignoreErrors_([](const std::string&) {})
{
}

MidiPortLister::~MidiPortLister() = default;

std::vector<std::string> MidiPortLister::InputPorts()
{
    std::lock_guard lock(mutex_);
    if (!input_)
    {
        input_ = Detail::CreateRtMidiIn(api_, clientName_, &ignoreErrors_, nullptr);
    }
    return input_ ? Detail::PortNames(*input_) : std::vector<std::string>{};
}

std::vector<std::string> MidiPortLister::OutputPorts()
{
    std::lock_guard lock(mutex_);
    if (!output_)
    {
        output_ = Detail::CreateRtMidiOut(api_, clientName_, &ignoreErrors_, nullptr);
    }
    return output_ ? Detail::PortNames(*output_) : std::vector<std::string>{};
}

void MidiPortLister::Release()
{
    std::lock_guard lock(mutex_);
    input_.reset();
    output_.reset();
}

} // namespace KR::Platform
