#include "libs/devicecontrol/KeyboardPorts.h"

#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "platform/midi/PortNameMatch.h"
#include "platform/midi/RtMidiSupport.h"

namespace DeviceControl
{
namespace
{

const std::string kInputProbeName = "KR Device Control In";
const std::string kOutputProbeName = "KR Device Control Out";

std::optional<std::string> FindPort(RtMidi& midi, std::string_view part)
{
    const std::vector<std::string> names = KR::Platform::Detail::PortNames(midi);
    const std::optional<std::size_t> index = KR::Platform::FindPortByNamePart(names, part);
    if (!index)
    {
        return std::nullopt;
    }
    return names[*index];
}

} // namespace

KeyboardPorts::KeyboardPorts() : ignoreErrors_([](const std::string&) {})
{
}

KeyboardPorts::~KeyboardPorts() = default;

std::optional<KeyboardPortNames> KeyboardPorts::Find()
{
    const std::lock_guard guard(lock_);
    using KR::Platform::MidiApi;
    if (!input_)
    {
        input_ = KR::Platform::Detail::CreateRtMidiIn(MidiApi::kFromEnvironment, kInputProbeName,
                                                      &ignoreErrors_, nullptr);
    }
    if (!output_)
    {
        output_ = KR::Platform::Detail::CreateRtMidiOut(MidiApi::kFromEnvironment, kOutputProbeName,
                                                        &ignoreErrors_, nullptr);
    }
    if (!input_ || !output_)
    {
        return std::nullopt;
    }
    std::optional<std::string> input = FindPort(*input_, DCCI_KEYBOARD_INPUT_PORT);
    std::optional<std::string> output = FindPort(*output_, DCCI_KEYBOARD_OUTPUT_PORT);
    if (!input || !output)
    {
        return std::nullopt;
    }
    return KeyboardPortNames{std::move(*input), std::move(*output)};
}

void KeyboardPorts::Release()
{
    const std::lock_guard guard(lock_);
    input_.reset();
    output_.reset();
}

} // namespace DeviceControl
