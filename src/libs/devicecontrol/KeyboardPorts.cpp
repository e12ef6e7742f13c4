#include "libs/devicecontrol/KeyboardPorts.h"

#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "platform/midi/PortList.h"

#include <unistd.h>

namespace DeviceControl
{

std::optional<KeyboardPortNames> FindKeyboardPorts()
{
    // One client for both directions, apart from the program's own port clients.
    static const KR::Platform::MidiPortOptions options{KR::Platform::MidiApi::kFromEnvironment,
                                                       std::string(program_invocation_short_name) +
                                                           " Device Control " + std::to_string(getpid())};
    std::optional<std::string> input = KR::Platform::FindInputPort(DCCI_KEYBOARD_INPUT_PORT, options);
    std::optional<std::string> output = KR::Platform::FindOutputPort(DCCI_KEYBOARD_OUTPUT_PORT, options);
    if (!input || !output)
    {
        return std::nullopt;
    }
    return KeyboardPortNames{std::move(*input), std::move(*output)};
}

} // namespace DeviceControl
