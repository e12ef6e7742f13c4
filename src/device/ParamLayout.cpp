#include "device/ParamLayout.h"

#include <algorithm>
#include <array>

namespace ParamLayout
{
namespace
{

constexpr bool RowsTileTheParameters()
{
    std::int32_t next = 0;
    for (const KindRow& row : kRows)
    {
        if (row.first != next || row.count <= 0 || row.blockSize > kMaxBlockSize)
        {
            return false;
        }
        next += row.count;
    }
    return next == kParamCount;
}

constexpr std::uint32_t TotalBlockBytes()
{
    std::uint32_t total = 0;
    for (const KindRow& row : kRows)
    {
        total += static_cast<std::uint32_t>(row.count) * row.blockSize;
    }
    return total;
}

static_assert(RowsTileTheParameters(), "the kinds must cover 0..130 in order without a gap");
static_assert(TotalBlockBytes() == kPresetDataSize, "the blocks must fill the preset's data bytes");

// Byte offset of each kind's first block, and the end.
constexpr std::array<std::uint32_t, kKindCount + 1> kRowOffsets = []
{
    std::array<std::uint32_t, kKindCount + 1> offsets{};
    for (int k = 0; k < kKindCount; ++k)
    {
        offsets[k + 1] = offsets[k] + static_cast<std::uint32_t>(kRows[k].count) * kRows[k].blockSize;
    }
    return offsets;
}();

constexpr std::uint8_t kPresetName[] = {0x50, 0x52, 0x45, 0x53, 0x45, 0x54};
constexpr std::uint8_t kKeybedZone[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x0C};
constexpr std::uint8_t kFirstWheel[] = {0x00, 0x01, 0x10, 0x00, 0x7F};
constexpr std::uint8_t kOtherWheel[] = {0x00, 0x00, 0x00, 0x00, 0x7F};
constexpr std::uint8_t kVolumePedal[] = {0x00, 0x00, 0x07, 0x00, 0x00, 0x7F};
constexpr std::uint8_t kSustainPedal[] = {0x00, 0x00, 0x40, 0x00, 0x00, 0x7F};
constexpr std::uint8_t kPad[] = {0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13,
                                 0x24, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr std::uint8_t kPushButton[] = {0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x00};
constexpr std::uint8_t kFader[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x7F};
constexpr std::uint8_t kEncoder[] = {0x00, 0x00, 0x28, 0x00, 0x00, 0x7F};
constexpr std::uint8_t kTouchPadAxisX[] = {0x00, 0x00, 0x70, 0x00, 0x00, 0x7F, 0x08, 0x3C,
                                           0x48, 0x3E, 0x40, 0x41, 0x43, 0x45, 0x47};
constexpr std::uint8_t kTouchPadAxisY[] = {0x00, 0x00, 0x71, 0x00, 0x00, 0x7F, 0x08, 0x45,
                                           0x51, 0x47, 0x48, 0x4A, 0x4C, 0x4D, 0x4F};

// A template block and the one byte (if any) that carries the control's index.
struct DefaultTemplate
{
    std::span<const std::uint8_t> bytes;
    int indexByte = -1;
};

DefaultTemplate TemplateOf(ControlKind kind, std::int32_t index)
{
    switch (kind)
    {
    case ControlKind::PresetName:
        return {kPresetName};
    case ControlKind::KeybedZone:
        return {kKeybedZone, 1};
    case ControlKind::Wheel:
        return {index == 0 ? std::span<const std::uint8_t>(kFirstWheel) : kOtherWheel};
    case ControlKind::VolumePedal:
        return {kVolumePedal};
    case ControlKind::SustainPedal:
        return {kSustainPedal};
    case ControlKind::Pad:
        return {kPad, 7};
    case ControlKind::PushButton:
        return {kPushButton, 7};
    case ControlKind::Fader:
        return {kFader, 2};
    case ControlKind::Encoder:
        return {kEncoder, 2};
    case ControlKind::TouchPadAxis:
        if (index == 0)
        {
            return {kTouchPadAxisX};
        }
        if (index == 1)
        {
            return {kTouchPadAxisY};
        }
        return {};
    }
    return {};
}

} // namespace

const KindRow* RowOf(std::int32_t relativeIndex)
{
    if (!IsParamIndex(relativeIndex))
    {
        return nullptr;
    }
    for (const KindRow& row : kRows)
    {
        if (relativeIndex < row.first + row.count)
        {
            return &row;
        }
    }
    return nullptr;
}

std::uint32_t BlockSize(std::int32_t relativeIndex)
{
    const KindRow* row = RowOf(relativeIndex);
    return row ? row->blockSize : 0;
}

std::uint32_t BlockOffset(std::int32_t relativeIndex)
{
    if (relativeIndex == kParamCount)
    {
        return kPresetDataSize;
    }
    const KindRow* row = RowOf(relativeIndex);
    if (!row)
    {
        return 0;
    }
    return kRowOffsets[static_cast<int>(row->kind)] +
           static_cast<std::uint32_t>(relativeIndex - row->first) * row->blockSize;
}

std::size_t WriteDefaultBlock(ControlKind kind, std::int32_t index, std::span<std::uint8_t> out)
{
    const DefaultTemplate block = TemplateOf(kind, index);
    if (block.bytes.empty() || out.size() < block.bytes.size())
    {
        return 0;
    }
    std::copy(block.bytes.begin(), block.bytes.end(), out.begin());
    if (block.indexByte >= 0)
    {
        // Index-dependent bytes are the template's base plus the index, modulo 256.
        out[block.indexByte] = static_cast<std::uint8_t>(block.bytes[block.indexByte] + (index & 0xFF));
    }
    return block.bytes.size();
}

} // namespace ParamLayout
