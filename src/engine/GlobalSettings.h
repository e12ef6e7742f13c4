#pragma once
// The keyboard's 16 global settings, which live in the keyboard and not in a preset: their
// names, their wire indices (a name's position in the table, KeyboardSysEx::kGlobalNames)
// and the values the editor lets through before it sends a set message. The global
// settings dialog reads and writes them one by one through the MIDI manager.
//
//     index   name                    values let through
//     0       "Global_Channel"        0..16
//     1-3     "XYPAD_VELOCITY", "XYPAD_FRACTION", "XYPAD_REBOUND"
//                                     none: they can be requested, never set
//     4       "MACKIE_HUI_ENABLED"    0..1
//     5       "KEY_OCTAVE"            2..9
//     6       "KEY_TRANSPOSE"         0..24
//     7       "KEY_SENSITIVITY"       0..6
//     8       "PAD_OCTAVE"            0..10
//     9       "PAD_TRANSPOSE"         0..25
//     10      "PAD_SENSITIVITY"       0..9
//     11      "CURVE_ACCELLERATION"   0..3
//     12      "XY_SENSITIVITY"        0..9
//     13-15   "GLOBAL_PROGRAM", "GLOBAL_BANK_MSB", "GLOBAL_BANK_LSB"
//                                     0..127
//
// No setting takes a negative value: one would not fit the message's two 7-bit bytes.
// Names compare exactly, letter case included.

#include "kr/core/StringArrayT.h"
#include "kr/core/StringT.h"

#include <cstdint>
#include <span>

namespace KR::GlobalSettings
{

// The 16 names in wire-index order, built anew on each call.
StringArray GetNames();

// The wire index of `name`, or -1 when no setting is called so.
std::int32_t GetIndex(const String& name);

// The name of wire index `index`; empty outside 0..15.
String GetName(std::int32_t index);

// Whether `value` may be sent for `name`; false for every unknown name.
bool IsValueInRange(const String& name, std::int32_t value);

// The name of the setting a global reply is about (its byte 11); empty when the reply
// holds 12 bytes or fewer, or names no setting.
String GetNameOfReply(std::span<const std::uint8_t> reply);

} // namespace KR::GlobalSettings
