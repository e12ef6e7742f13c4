// libFuzzer entry over the recognisers of the keyboard's replies: whatever a reply
// holds, what is accepted is in range and reads the way the editor's own messages write it.

#include "engine/SysExMessages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{

using namespace KeyboardSysEx;

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "reply invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> message(data, size);
    const bool clean = HasOnlyDataBytesInside(message);

    if (const auto preset = PresetReplyData(message))
    {
        if (!clean || preset->size() != kPresetDataBytes || preset->data() != data + kPresetDataAt)
        {
            Broken("an accepted preset reply that is not 1338 data bytes of the message");
        }
        // The data of a reply must make a dump the keyboard takes back.
        const Bytes dump = PresetDump(0, *preset);
        if (dump.size() != kPresetMessageBytes ||
            !std::equal(preset->begin(), preset->end(), dump.begin() + kPresetDataAt))
        {
            Broken("the data of an accepted preset reply do not make a dump");
        }
    }
    if (const auto global = ParseGlobalReply(message))
    {
        if (!clean || global->index >= kGlobalCount || global->value < 0 ||
            global->value > kMaxGlobalWireValue)
        {
            Broken("an accepted global reply out of range");
        }
        // Index and value sit where a set of the same setting puts them.
        const Bytes set = GlobalSet(global->index, static_cast<std::uint16_t>(global->value));
        if (set.size() != kGlobalSetBytes ||
            !std::equal(set.begin() + kGlobalIndexAt, set.end() - 1, message.begin() + kGlobalIndexAt))
        {
            Broken("an accepted global reply reads other than a set writes");
        }
    }
    if (const auto digits = ParseIdentityReply(message))
    {
        if (!clean || !std::equal(digits->begin(), digits->end(), data + kFirmwareDigitsAt))
        {
            Broken("an accepted identity reply whose digits are not its bytes");
        }
        IsFirmwareUsable(*digits);
    }
    return 0;
}
