#include "engine/SysExMessages.h"

#include <algorithm>

namespace KeyboardSysEx
{
namespace
{

bool IsDataByte(std::uint8_t byte)
{
    return byte <= kMaxDataByte;
}

Bytes DeviceMessage(std::uint8_t command, std::initializer_list<std::span<const std::uint8_t>> parts)
{
    Bytes message(kDeviceHeader.begin(), kDeviceHeader.end());
    message.push_back(command);
    for (std::span<const std::uint8_t> part : parts)
    {
        message.insert(message.end(), part.begin(), part.end());
    }
    message.push_back(kSysExEnd);
    return message;
}

bool IsDeviceMessage(std::span<const std::uint8_t> message, std::uint8_t command, std::size_t size)
{
    return message.size() == size && HasDeviceHeader(message) && message[kCommandAt] == command &&
           HasOnlyDataBytesInside(message);
}

} // namespace

bool HasOnlyDataBytesInside(std::span<const std::uint8_t> message)
{
    if (message.size() < 2)
    {
        return true;
    }
    return std::all_of(message.begin() + 1, message.end() - 1, IsDataByte);
}

bool HasDeviceHeader(std::span<const std::uint8_t> message)
{
    return message.size() >= kDeviceHeader.size() &&
           std::equal(kDeviceHeader.begin(), kDeviceHeader.end(), message.begin());
}

Bytes PrefixMessage()
{
    return Bytes(kPrefixMessage.begin(), kPrefixMessage.end());
}

Bytes IdentityRequest()
{
    return Bytes(kIdentityRequest.begin(), kIdentityRequest.end());
}

Bytes PresetRequest(std::uint8_t slot)
{
    if (slot > kMaxSlot)
    {
        return {};
    }
    const std::array<std::uint8_t, 1> body = {slot};
    return DeviceMessage(kPresetRequest, {body});
}

Bytes PresetDump(std::uint8_t slot, std::span<const std::uint8_t> data)
{
    if (slot > kMaxSlot || data.size() != kPresetDataBytes ||
        !std::all_of(data.begin(), data.end(), IsDataByte))
    {
        return {};
    }
    const std::array<std::uint8_t, 3> head = {kPresetCount[0], kPresetCount[1], slot};
    return DeviceMessage(kPresetDump, {head, data});
}

Bytes GlobalRequest(std::uint8_t index)
{
    if (index >= kGlobalCount)
    {
        return {};
    }
    const std::array<std::uint8_t, 2> body = {0x00, index};
    return DeviceMessage(kGlobalRequest, {kGlobalRequestCount, body});
}

Bytes GlobalSet(std::uint8_t index, std::uint16_t value)
{
    if (index >= kGlobalCount || value > kMaxGlobalWireValue)
    {
        return {};
    }
    const std::array<std::uint8_t, 4> body = {0x00, index, static_cast<std::uint8_t>(value / 128),
                                              static_cast<std::uint8_t>(value % 128)};
    return DeviceMessage(kGlobalSet, {kGlobalValueCount, body});
}

std::optional<std::span<const std::uint8_t>> PresetReplyData(std::span<const std::uint8_t> message)
{
    if (!IsDeviceMessage(message, kPresetReply, kPresetMessageBytes))
    {
        return std::nullopt;
    }
    return message.subspan(kPresetDataAt, kPresetDataBytes);
}

std::optional<GlobalReply> ParseGlobalReply(std::span<const std::uint8_t> message)
{
    if (!IsDeviceMessage(message, kGlobalReply, kGlobalReplyBytes) || message[kGlobalIndexAt] >= kGlobalCount)
    {
        return std::nullopt;
    }
    return GlobalReply{message[kGlobalIndexAt], message[kGlobalValueAt] * 128 +
                                                    static_cast<std::int32_t>(message[kGlobalValueAt + 1])};
}

std::optional<FirmwareDigits> ParseIdentityReply(std::span<const std::uint8_t> message)
{
    if (message.size() != kIdentityReplyBytes || message[0] != kSysExStart ||
        message[1] != kUniversalNonRealTime || message[3] != kGeneralInformation ||
        message[4] != kIdentityReplyCode || !HasOnlyDataBytesInside(message))
    {
        return std::nullopt;
    }
    FirmwareDigits digits;
    std::copy_n(message.begin() + kFirmwareDigitsAt, digits.size(), digits.begin());
    return digits;
}

bool IsFirmwareUsable(const FirmwareDigits& digits)
{
    for (std::size_t i = 0; i < digits.size(); ++i)
    {
        const auto digit = static_cast<std::int8_t>(digits[i] - '0');
        const auto first = static_cast<std::int8_t>(kFirstUsableFirmware[i] - '0');
        if (digit != first)
        {
            return digit > first;
        }
    }
    return true;
}

} // namespace KeyboardSysEx
