#pragma once
// The keyboard's system-exclusive wire format: the bytes and positions that the editor
// (SysExMessages.h, the MIDI manager) and the simulated keyboard (tools/simkeyboard)
// both speak. Constants and the standard library only, so the simulator shares this one
// source of the numbers without depending on the framework.
//
// Every device message opens with the device header F0 00 01 05 7F 31 05 (F0, maker
// 00 01 05, device 7F 31 05); the byte behind it is the command, an ASCII letter. In
// the commands a, j, k and m the two bytes behind the command are a count, high 7 bits
// first: the number of bytes that follow them up to the closing F7.
//
//     prefix (m)          F0 00 01 05 7F 31 05 6D 00 01 01 F7            before every other message
//     preset request (b)  F0 00 01 05 7F 31 05 62 ss F7
//     preset dump (a)     F0 00 01 05 7F 31 05 61 0A 3B ss <1338 bytes> F7
//     preset reply (c)    F0 00 01 05 7F 31 05 63 0A 3B ss <1338 bytes> F7
//     global request (k)  F0 00 01 05 7F 31 05 6B 00 02 00 ii F7
//     global set (j)      F0 00 01 05 7F 31 05 6A 00 04 00 ii hh ll F7    value = hh * 128 + ll
//     global reply (l)    F0 00 01 05 7F 31 05 6C 00 04 00 ii hh ll F7
//     identity request    F0 7E 7F 06 01 F7                               MIDI universal, to all
//     identity reply      F0 7E id 06 02 <5 bytes> d1 d2 d3 d4 F7         firmware as ASCII digits

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace KeyboardSysEx
{

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
// Between F0 and F7 only data bytes (00..7F) may stand.
inline constexpr std::uint8_t kMaxDataByte = 0x7F;

inline constexpr std::array<std::uint8_t, 7> kDeviceHeader = {0xF0, 0x00, 0x01, 0x05, 0x7F, 0x31, 0x05};
inline constexpr std::size_t kCommandAt = 7;

inline constexpr std::uint8_t kPresetDump = 0x61;    // 'a', editor to keyboard
inline constexpr std::uint8_t kPresetRequest = 0x62; // 'b', editor to keyboard
inline constexpr std::uint8_t kPresetReply = 0x63;   // 'c', keyboard to editor
inline constexpr std::uint8_t kGlobalSet = 0x6A;     // 'j', editor to keyboard
inline constexpr std::uint8_t kGlobalRequest = 0x6B; // 'k', editor to keyboard
inline constexpr std::uint8_t kGlobalReply = 0x6C;   // 'l', keyboard to editor
inline constexpr std::uint8_t kPrefix = 0x6D;        // 'm', sent before every other message

inline constexpr std::array<std::uint8_t, 12> kPrefixMessage = {0xF0, 0x00, 0x01, 0x05, 0x7F, 0x31,
                                                                0x05, 0x6D, 0x00, 0x01, 0x01, 0xF7};

// Preset slots are one data byte.
inline constexpr std::uint8_t kMaxSlot = 0x7F;

// Preset dump and reply. The count 0A 3B is 1339 = 0x0A * 128 + 0x3B: the slot byte and
// the data.
inline constexpr std::size_t kPresetDataBytes = 1338;
inline constexpr std::size_t kPresetMessageBytes = 1350;
inline constexpr std::array<std::uint8_t, 2> kPresetCount = {0x0A, 0x3B};
inline constexpr std::size_t kPresetSlotAt = 10;
inline constexpr std::size_t kPresetDataAt = 11;

inline constexpr std::size_t kPresetRequestBytes = 10;
inline constexpr std::size_t kPresetRequestSlotAt = 8;

// Global settings. The index travels as 00 ii, the value as two 7-bit bytes.
inline constexpr std::array<std::uint8_t, 2> kGlobalRequestCount = {0x00, 0x02};
inline constexpr std::array<std::uint8_t, 2> kGlobalValueCount = {0x00, 0x04}; // set and reply
inline constexpr std::size_t kGlobalRequestBytes = 13;
inline constexpr std::size_t kGlobalSetBytes = 15;
inline constexpr std::size_t kGlobalReplyBytes = 15;
inline constexpr std::size_t kGlobalIndexAt = 11;
inline constexpr std::size_t kGlobalValueAt = 12; // high 7 bits, then low 7 bits
// The largest value two 7-bit bytes carry.
inline constexpr std::uint16_t kMaxGlobalWireValue = 0x3FFF;

// The 16 global settings; a setting's wire index is its position here. Spelled as the
// keyboard's own software spells them, "CURVE_ACCELLERATION" and "Global_Channel"
// included.
inline constexpr std::array<std::string_view, 16> kGlobalNames = {
    "Global_Channel",     "XYPAD_VELOCITY", "XYPAD_FRACTION",  "XYPAD_REBOUND",
    "MACKIE_HUI_ENABLED", "KEY_OCTAVE",     "KEY_TRANSPOSE",   "KEY_SENSITIVITY",
    "PAD_OCTAVE",         "PAD_TRANSPOSE",  "PAD_SENSITIVITY", "CURVE_ACCELLERATION",
    "XY_SENSITIVITY",     "GLOBAL_PROGRAM", "GLOBAL_BANK_MSB", "GLOBAL_BANK_LSB",
};
inline constexpr std::size_t kGlobalCount = kGlobalNames.size();

// The MIDI standard's universal identity request, to all devices (7F), and the layout
// of the identity reply.
inline constexpr std::array<std::uint8_t, 6> kIdentityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
inline constexpr std::uint8_t kUniversalNonRealTime = 0x7E;
inline constexpr std::uint8_t kGeneralInformation = 0x06;
inline constexpr std::uint8_t kIdentityReplyCode = 0x02;
inline constexpr std::size_t kIdentityReplyBytes = 15;
inline constexpr std::size_t kIdentityDeviceAt = 2;
inline constexpr std::size_t kFirmwareDigitsAt = 10;
inline constexpr std::size_t kFirmwareDigitCount = 4;
// The oldest firmware the editor works with; older versions are refused.
inline constexpr std::string_view kFirstUsableFirmware = "1041";

} // namespace KeyboardSysEx
