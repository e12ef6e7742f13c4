#pragma once
// The notes of a scale from a root, and a row of note controls set to them. The note-mode
// editor fills its eight note boxes this way; the scale numbers are the tables' own:
//
//      0 major           3 melodic minor    6 Lydian     9 chromatic up (12 steps)
//      1 natural minor   4 harmonic minor   7 Dorian    10 chromatic down (12 steps)
//      2 Phrygian        5 Mixolydian       8 Locrian
//
//     KR::Array<double> notes = GetScaleNoteNumbers(0, 60.0, 8);   // 60 62 64 65 67 69 71 72
//     ApplyScaleToNoteSelectors(boxes, 7);                          // boxes[0] keeps its note

#include "kr/core/Array.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/Types.h"
#include "kr/ui/Control.h"

#include <cstdint>

// `count` notes from `root`, one scale step each, an octave higher after every full turn
// of the table (the descending table too). Not clamped to 0..127; an unknown scale
// number gives no notes.
KR::Array<double> GetScaleNoteNumbers(std::int32_t scale, double root, std::uint32_t count);

// The first control's note (its scaled value) is the root; every control gets its note of
// the scale, clamped into its own range. Nothing changes for an empty row, a row that
// starts with an empty entry or an unknown scale number. Always 0.
KR::Result ApplyScaleToNoteSelectors(const KR::RCPtrArray<KR::LControl>& controls, std::int32_t scale);
