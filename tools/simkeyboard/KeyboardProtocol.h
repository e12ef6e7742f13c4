#pragma once
// The keyboard's system-exclusive messages as the simulated keyboard builds and
// recognises them. The numbers come from engine/KeyboardSysEx.h, which holds nothing
// but constants, so the simulator shares them with the editor without depending on the
// framework; the builders here are the simulator's own.

#include "engine/KeyboardSysEx.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace KeyboardProtocol
{

using Bytes = std::vector<std::uint8_t>;

// The numbers of the wire format, shared with the editor.
using KeyboardSysEx::kCommandAt;
using KeyboardSysEx::kDeviceHeader;
using KeyboardSysEx::kFirmwareDigitsAt;
using KeyboardSysEx::kGlobalIndexAt;
using KeyboardSysEx::kGlobalNames;
using KeyboardSysEx::kGlobalReply;
using KeyboardSysEx::kGlobalReplyBytes;
using KeyboardSysEx::kGlobalRequest;
using KeyboardSysEx::kGlobalRequestBytes;
using KeyboardSysEx::kGlobalSet;
using KeyboardSysEx::kGlobalSetBytes;
using KeyboardSysEx::kGlobalValueAt;
using KeyboardSysEx::kIdentityDeviceAt;
using KeyboardSysEx::kIdentityReplyBytes;
using KeyboardSysEx::kIdentityRequest;
using KeyboardSysEx::kPrefix;
using KeyboardSysEx::kPrefixMessage;
using KeyboardSysEx::kPresetCount;
using KeyboardSysEx::kPresetDataAt;
using KeyboardSysEx::kPresetDataBytes;
using KeyboardSysEx::kPresetDump;
using KeyboardSysEx::kPresetMessageBytes;
using KeyboardSysEx::kPresetReply;
using KeyboardSysEx::kPresetRequest;
using KeyboardSysEx::kPresetRequestBytes;
using KeyboardSysEx::kPresetRequestSlotAt;
using KeyboardSysEx::kPresetSlotAt;
using KeyboardSysEx::kSysExEnd;

// Bytes 5..9 of the identity reply, which the editor does not read.
inline constexpr std::array<std::uint8_t, 5> kIdentityReplyMiddle = {0x00, 0x01, 0x05, 0x31, 0x05};

inline bool HasDeviceHeader(std::span<const std::uint8_t> message)
{
    if (message.size() < kDeviceHeader.size())
    {
        return false;
    }
    for (std::size_t i = 0; i < kDeviceHeader.size(); ++i)
    {
        if (message[i] != kDeviceHeader[i])
        {
            return false;
        }
    }
    return true;
}

// True for a device message of exactly `size` bytes carrying `command` and ending in F7.
inline bool IsDeviceMessage(std::span<const std::uint8_t> message, std::uint8_t command, std::size_t size)
{
    return message.size() == size && HasDeviceHeader(message) && message[kCommandAt] == command &&
           message.back() == kSysExEnd;
}

inline Bytes DeviceMessage(std::uint8_t command, std::span<const std::uint8_t> body)
{
    Bytes message(kDeviceHeader.begin(), kDeviceHeader.end());
    message.push_back(command);
    message.insert(message.end(), body.begin(), body.end());
    message.push_back(kSysExEnd);
    return message;
}

inline Bytes PresetRequest(std::uint8_t slot)
{
    return DeviceMessage(kPresetRequest, std::array{slot});
}

// A dump (kPresetDump) or a reply (kPresetReply); `data` holds kPresetDataBytes bytes.
inline Bytes PresetMessage(std::uint8_t command, std::uint8_t slot, std::span<const std::uint8_t> data)
{
    Bytes body = {kPresetCount[0], kPresetCount[1], slot};
    body.insert(body.end(), data.begin(), data.end());
    return DeviceMessage(command, body);
}

inline Bytes GlobalRequest(std::uint8_t index)
{
    return DeviceMessage(kGlobalRequest,
                         std::array<std::uint8_t, 4>{KeyboardSysEx::kGlobalRequestCount[0],
                                                     KeyboardSysEx::kGlobalRequestCount[1], 0x00, index});
}

// A set (kGlobalSet) or a reply (kGlobalReply) of one global setting.
inline Bytes GlobalMessage(std::uint8_t command, std::uint8_t index, std::uint16_t value)
{
    return DeviceMessage(command, std::array<std::uint8_t, 6>{KeyboardSysEx::kGlobalValueCount[0],
                                                              KeyboardSysEx::kGlobalValueCount[1], 0x00,
                                                              index, static_cast<std::uint8_t>(value / 128),
                                                              static_cast<std::uint8_t>(value % 128)});
}

inline bool IsIdentityRequest(std::span<const std::uint8_t> message)
{
    return message.size() == kIdentityRequest.size() && message[0] == 0xF0 && message[1] == 0x7E &&
           message[3] == 0x06 && message[4] == 0x01 && message[5] == kSysExEnd;
}

// `digits` holds four ASCII digits.
inline Bytes IdentityReply(std::uint8_t deviceId, std::string_view digits)
{
    Bytes message;
    message.reserve(kIdentityReplyBytes);
    for (std::uint8_t byte :
         {std::uint8_t{0xF0}, std::uint8_t{0x7E}, deviceId, std::uint8_t{0x06}, std::uint8_t{0x02}})
    {
        message.push_back(byte);
    }
    for (std::uint8_t byte : kIdentityReplyMiddle)
    {
        message.push_back(byte);
    }
    for (char digit : digits.substr(0, 4))
    {
        message.push_back(static_cast<std::uint8_t>(digit));
    }
    message.push_back(kSysExEnd);
    return message;
}

} // namespace KeyboardProtocol
