#pragma once
// The keyboard's system-exclusive messages, byte by byte: what the editor sends, what
// the keyboard answers. All the simulated keyboard knows of the protocol is here, in
// one self-contained header, so the editor's side and the tests can share the numbers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace KeyboardProtocol
{

using Bytes = std::vector<std::uint8_t>;

// F0, the maker 00 01 05, the device 7F 31 05. Every device message opens with it; the
// byte behind it is the command, an ASCII letter.
inline constexpr std::array<std::uint8_t, 7> kDeviceHeader = {0xF0, 0x00, 0x01, 0x05, 0x7F, 0x31, 0x05};
inline constexpr std::size_t kCommandAt = 7;

inline constexpr std::uint8_t kPresetDump = 0x61;    // 'a', editor to keyboard
inline constexpr std::uint8_t kPresetRequest = 0x62; // 'b', editor to keyboard
inline constexpr std::uint8_t kPresetReply = 0x63;   // 'c', keyboard to editor
inline constexpr std::uint8_t kGlobalSet = 0x6A;     // 'j', editor to keyboard
inline constexpr std::uint8_t kGlobalRequest = 0x6B; // 'k', editor to keyboard
inline constexpr std::uint8_t kGlobalReply = 0x6C;   // 'l', keyboard to editor
inline constexpr std::uint8_t kPrefix = 0x6D;        // 'm', sent before every other message

inline constexpr std::uint8_t kSysExEnd = 0xF7;

// Preset dump and reply: header, command, the count 0A 3B (1339 = 0x0A * 128 + 0x3B:
// the slot byte and the data), the slot, 1338 data bytes, F7.
inline constexpr std::size_t kPresetDataBytes = 1338;
inline constexpr std::size_t kPresetMessageBytes = 1350;
inline constexpr std::size_t kPresetSlotAt = 10;
inline constexpr std::size_t kPresetDataAt = 11;
inline constexpr std::array<std::uint8_t, 2> kPresetCount = {0x0A, 0x3B};

inline constexpr std::size_t kPresetRequestBytes = 10; // header, 62, slot, F7
inline constexpr std::size_t kPresetRequestSlotAt = 8;

// Global settings: request header, 6B 00 02 00 ii F7; set and reply header, 6A / 6C,
// 00 04 00 ii hh ll F7, the value being hh * 128 + ll.
inline constexpr std::size_t kGlobalRequestBytes = 13;
inline constexpr std::size_t kGlobalSetBytes = 15;
inline constexpr std::size_t kGlobalReplyBytes = 15;
inline constexpr std::size_t kGlobalIndexAt = 11;
inline constexpr std::size_t kGlobalValueAt = 12; // high 7 bits, then low 7 bits

// The 16 global settings, in wire-index order, spelled as the keyboard's editor spells them.
inline constexpr std::array<std::string_view, 16> kGlobalNames = {
    "Global_Channel",     "XYPAD_VELOCITY", "XYPAD_FRACTION",  "XYPAD_REBOUND",
    "MACKIE_HUI_ENABLED", "KEY_OCTAVE",     "KEY_TRANSPOSE",   "KEY_SENSITIVITY",
    "PAD_OCTAVE",         "PAD_TRANSPOSE",  "PAD_SENSITIVITY", "CURVE_ACCELLERATION",
    "XY_SENSITIVITY",     "GLOBAL_PROGRAM", "GLOBAL_BANK_MSB", "GLOBAL_BANK_LSB",
};

inline constexpr std::array<std::uint8_t, 12> kPrefixMessage = {0xF0, 0x00, 0x01, 0x05, 0x7F, 0x31,
                                                                0x05, 0x6D, 0x00, 0x01, 0x01, 0xF7};

// The MIDI standard's universal identity request to all devices (7F), and the 15-byte
// reply the keyboard gives: F0 7E id 06 02, five bytes the editor does not read, the
// firmware version as four ASCII digits, F7. Digits "1041" and above are usable.
inline constexpr std::array<std::uint8_t, 6> kIdentityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
inline constexpr std::size_t kIdentityReplyBytes = 15;
inline constexpr std::size_t kIdentityDeviceAt = 2;
inline constexpr std::size_t kFirmwareDigitsAt = 10;
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
    return DeviceMessage(kGlobalRequest, std::array<std::uint8_t, 4>{0x00, 0x02, 0x00, index});
}

// A set (kGlobalSet) or a reply (kGlobalReply) of one global setting.
inline Bytes GlobalMessage(std::uint8_t command, std::uint8_t index, std::uint16_t value)
{
    return DeviceMessage(command, std::array<std::uint8_t, 6>{0x00, 0x04, 0x00, index,
                                                              static_cast<std::uint8_t>(value / 128),
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
