#pragma once
// The editor's side of the keyboard's system-exclusive protocol (layout in
// KeyboardSysEx.h): the messages it sends, built whole with F0 and F7, and the replies
// it accepts, recognised by exact length and header. Pure functions over bytes; the MIDI
// manager does the sending, the waiting and the applying.
//
// Nothing built here carries a byte of 80 or more between F0 and F7: builders refuse
// (return an empty message for) what would need one, and every recogniser refuses a
// reply with one, so a malformed reply is ignored rather than half read.

#include "engine/KeyboardSysEx.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace KeyboardSysEx
{

using Bytes = std::vector<std::uint8_t>;

// Whether every byte between the first and the last is a data byte (00..7F).
bool HasOnlyDataBytesInside(std::span<const std::uint8_t> message);

// Whether the message opens with the device header (and so holds at least its 7 bytes).
bool HasDeviceHeader(std::span<const std::uint8_t> message);

// ---- Messages the editor sends --------------------------------------------------------

Bytes PrefixMessage();
Bytes IdentityRequest();
// Empty for a slot above kMaxSlot.
Bytes PresetRequest(std::uint8_t slot);
// `data` must hold exactly kPresetDataBytes data bytes; empty otherwise, and for a slot
// above kMaxSlot.
Bytes PresetDump(std::uint8_t slot, std::span<const std::uint8_t> data);
// Empty for an index of kGlobalCount or more.
Bytes GlobalRequest(std::uint8_t index);
// Empty for an index of kGlobalCount or more, or a value above kMaxGlobalWireValue.
Bytes GlobalSet(std::uint8_t index, std::uint16_t value);

// ---- Replies the editor accepts -------------------------------------------------------

// The 1338 data bytes of a preset reply: exactly kPresetMessageBytes bytes, the device
// header, command 63. The count and slot bytes (8..10) and the last byte are not read.
std::optional<std::span<const std::uint8_t>> PresetReplyData(std::span<const std::uint8_t> message);

struct GlobalReply
{
    std::uint8_t index = 0; // wire index, below kGlobalCount
    std::int32_t value = 0; // 0..16383
};

// A global reply: exactly kGlobalReplyBytes bytes, the device header, command 6C, and a
// wire index that names one of the kGlobalCount settings. Bytes 8..10 and 14 are not read.
std::optional<GlobalReply> ParseGlobalReply(std::span<const std::uint8_t> message);

using FirmwareDigits = std::array<std::uint8_t, kFirmwareDigitCount>;

// The firmware version of an identity reply: exactly kIdentityReplyBytes bytes,
// F0 7E xx 06 02 (any device id); its bytes 10..13.
std::optional<FirmwareDigits> ParseIdentityReply(std::span<const std::uint8_t> message);

// Each digit is taken as its byte minus '0' (a signed 8-bit number) and the four are
// compared in order with 1, 0, 4, 1: "1041" and above are usable, "1040" and below not.
bool IsFirmwareUsable(const FirmwareDigits& digits);

} // namespace KeyboardSysEx
