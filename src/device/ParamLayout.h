#pragma once
// The layout of a preset: which control owns which of the 131 parameters, how
// long each value block is, where it sits in the 1338 data bytes, and what a
// fresh preset holds. Engine, MIDI transfer, preset files and edit panels all
// index parameters relative to the root module's first id, so this is the one
// place where that numbering is written down.

#include <cstddef>
#include <cstdint>
#include <span>

namespace ParamLayout
{

// The ten kinds of control module, in parameter order.
enum class ControlKind : std::uint8_t
{
    PresetName,
    KeybedZone,
    Wheel,
    VolumePedal,
    SustainPedal,
    Pad,
    PushButton,
    Fader,
    Encoder,
    TouchPadAxis,
};

inline constexpr int kKindCount = 10;

// One row per kind: its parameters are relative indices first .. first + count - 1,
// each with a value block of blockSize bytes.
struct KindRow
{
    ControlKind kind;
    std::int32_t first;
    std::int32_t count;
    std::uint32_t blockSize;
};

inline constexpr KindRow kRows[kKindCount] = {
    {ControlKind::PresetName, 0, 1, 6},    {ControlKind::KeybedZone, 1, 4, 9},
    {ControlKind::Wheel, 5, 2, 5},         {ControlKind::VolumePedal, 7, 1, 6},
    {ControlKind::SustainPedal, 8, 1, 6},  {ControlKind::Pad, 9, 16, 14},
    {ControlKind::PushButton, 25, 36, 17}, {ControlKind::Fader, 61, 36, 6},
    {ControlKind::Encoder, 97, 32, 6},     {ControlKind::TouchPadAxis, 129, 2, 15},
};

inline constexpr std::int32_t kParamCount = 131;
inline constexpr std::uint32_t kPresetDataSize = 1338;
inline constexpr std::uint32_t kMaxBlockSize = 17;

constexpr const KindRow& Row(ControlKind kind)
{
    return kRows[static_cast<int>(kind)];
}

// True for 0 <= relativeIndex < kParamCount.
constexpr bool IsParamIndex(std::int32_t relativeIndex)
{
    return static_cast<std::uint32_t>(relativeIndex) < static_cast<std::uint32_t>(kParamCount);
}

// The relative index of parameter id under a root whose first id is
// firstParamID; wraps instead of overflowing, so any id outside lands outside 0..130.
constexpr std::int32_t RelativeIndex(std::int32_t id, std::int32_t firstParamID)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) -
                                     static_cast<std::uint32_t>(firstParamID));
}

// The row that owns relativeIndex; nullptr outside 0..130.
const KindRow* RowOf(std::int32_t relativeIndex);

// Block size of the parameter at relativeIndex; 0 outside 0..130.
std::uint32_t BlockSize(std::int32_t relativeIndex);

// Byte offset of the parameter's block within the 1338 data bytes; for
// relativeIndex == kParamCount it is kPresetDataSize, the end; 0 outside 0..131.
std::uint32_t BlockOffset(std::int32_t relativeIndex);

// Writes the factory default block of control number `index` (its position
// within its kind, from 0) of `kind` into out and returns the bytes written.
// Returns 0 when out is too small, and for a touch-pad axis other than 0 or 1,
// which has no default. Bytes that depend on the index use its low 8 bits.
std::size_t WriteDefaultBlock(ControlKind kind, std::int32_t index, std::span<std::uint8_t> out);

} // namespace ParamLayout
