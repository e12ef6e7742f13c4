#pragma once
// The 10-byte record that says what a push button, a pad or the sustain pedal sends. The
// edit panels keep it inside their value blocks; the mode editor and the picture's
// read-out translate it.
//
//     0 channel (0 Global, 1..16, 17..20 zones, 21 Omni)
//     1 kind: 0 control change with an absolute value, 1 every other mode
//     2 controller number (kind 0) or the type code (kind 1, ButtonModeCode)
//     3 note, controller, program or RPN/NRPN data value; else 0
//     4 first (or only, or low) value
//     5 1 when there is no second value (increment/decrement and cycles)
//     6 second value of a cycle
//     7 1 when there is no third value (increment/decrement and cycles)
//     8 third value of a cycle
//     9 last (or high) value

#include "kr/core/Array.h"

#include <cstdint>

namespace ButtonModeRecord
{

constexpr std::uint32_t kSize = 10;

enum Byte : std::uint32_t
{
    kChannel = 0,
    kMessageKind = 1,
    kNumberOrType = 2,
    kParam = 3,
    kFirstValue = 4,
    kNoSecondValue = 5,
    kSecondValue = 6,
    kNoThirdValue = 7,
    kThirdValue = 8,
    kLastValue = 9,
};

// Type codes of byte 2 when the kind is 1. Codes 0..3, 8..16 and 22..24 are the other
// messages; 4..7 are RPN/NRPN.
enum Code : std::int32_t
{
    kFirstNrpnRpn = 4,
    kLastNrpnRpn = 7,
    kPitchBend = 0x10,
    kProgramChange = 0x11,
    kCcCycle = 0x12,
    kNote = 0x13,
    kNoteLatching = 0x14,
    kMmc = 0x15,
    kCcDecrement = 0x19,
    kCcIncrement = 0x1A,
    kProgramDecrement = 0x1B,
    kProgramIncrement = 0x1C,
    kProgramCycle = 0x1D,
};

// MMC command numbers: list items 0..10 are commands 1..11, item 11 is the reset.
constexpr std::int32_t kMmcReset = 13;

} // namespace ButtonModeRecord

// Repairs a record in place before it is shown: an increment/decrement record that
// carries a second or third value is a cycle. Changes nothing unless the record has
// exactly 10 bytes and its kind is above 0.
void NormalizeModeRecord(KR::Array<signed char>& record);
