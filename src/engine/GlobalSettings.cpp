#include "engine/GlobalSettings.h"

#include "engine/KeyboardSysEx.h"

#include <array>

namespace KR::GlobalSettings
{
namespace
{

using KeyboardSysEx::kGlobalCount;
using KeyboardSysEx::kGlobalNames;

struct Range
{
    std::int32_t lowest;
    std::int32_t highest;
};

// An empty range (lowest above highest) lets nothing through.
constexpr Range kNothing = {1, 0};

constexpr std::array<Range, kGlobalCount> kRanges = {{
    {0, 16},  // Global_Channel
    kNothing, // XYPAD_VELOCITY
    kNothing, // XYPAD_FRACTION
    kNothing, // XYPAD_REBOUND
    {0, 1},   // MACKIE_HUI_ENABLED
    {2, 9},   // KEY_OCTAVE
    {0, 24},  // KEY_TRANSPOSE
    {0, 6},   // KEY_SENSITIVITY
    {0, 10},  // PAD_OCTAVE
    {0, 25},  // PAD_TRANSPOSE
    {0, 9},   // PAD_SENSITIVITY
    {0, 3},   // CURVE_ACCELLERATION
    {0, 9},   // XY_SENSITIVITY
    {0, 127}, // GLOBAL_PROGRAM
    {0, 127}, // GLOBAL_BANK_MSB
    {0, 127}, // GLOBAL_BANK_LSB
}};

// The names are ASCII, so a wide name equals one exactly when it has the same units.
bool IsNamed(const String& name, std::string_view ascii)
{
    const String::View wide = name.GetView();
    if (wide.size() != ascii.size())
    {
        return false;
    }
    for (std::size_t i = 0; i < ascii.size(); ++i)
    {
        if (wide[i] != static_cast<char16_t>(ascii[i]))
        {
            return false;
        }
    }
    return true;
}

} // namespace

StringArray GetNames()
{
    StringArray names;
    for (std::string_view name : kGlobalNames)
    {
        names.AddItem(String(name.data()));
    }
    return names;
}

std::int32_t GetIndex(const String& name)
{
    for (std::size_t i = 0; i < kGlobalCount; ++i)
    {
        if (IsNamed(name, kGlobalNames[i]))
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

String GetName(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= kGlobalCount)
    {
        return String();
    }
    // The table's views are whole string literals, so their data ends with a NUL.
    return String(kGlobalNames[static_cast<std::size_t>(index)].data());
}

bool IsValueInRange(const String& name, std::int32_t value)
{
    const std::int32_t index = GetIndex(name);
    if (index < 0)
    {
        return false;
    }
    const Range& range = kRanges[static_cast<std::size_t>(index)];
    return value >= range.lowest && value <= range.highest;
}

String GetNameOfReply(std::span<const std::uint8_t> reply)
{
    if (reply.size() <= KeyboardSysEx::kGlobalIndexAt + 1)
    {
        return String();
    }
    return GetName(reply[KeyboardSysEx::kGlobalIndexAt]);
}

} // namespace KR::GlobalSettings
