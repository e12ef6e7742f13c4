#include "editor/edit/ScaleOperations.h"

#include <array>

namespace
{

constexpr std::int32_t kSevenNoteScales = 9;
constexpr std::int32_t kChromaticUp = 9;
constexpr std::int32_t kChromaticDown = 10;

constexpr std::array<std::array<std::int32_t, 7>, kSevenNoteScales> kSteps = {{
    {0, 2, 4, 5, 7, 9, 11}, // major
    {0, 2, 3, 5, 7, 8, 10}, // natural minor
    {0, 1, 3, 5, 7, 8, 10}, // Phrygian
    {0, 2, 3, 5, 7, 9, 11}, // melodic minor
    {0, 2, 3, 5, 7, 8, 11}, // harmonic minor
    {0, 2, 4, 5, 7, 9, 10}, // Mixolydian
    {0, 2, 4, 6, 7, 9, 11}, // Lydian
    {0, 2, 3, 5, 7, 9, 10}, // Dorian
    {0, 1, 3, 5, 6, 8, 10}, // Locrian
}};

// The octave term is kept in a byte, as the keyboard's note tables keep it: a count far
// beyond any row of boxes wraps instead of growing.
double OctaveTerm(std::uint32_t turns)
{
    return static_cast<double>(static_cast<std::uint8_t>(12U * turns));
}

} // namespace

KR::Array<double> GetScaleNoteNumbers(std::int32_t scale, double root, std::uint32_t count)
{
    KR::Array<double> notes;
    if (scale < 0 || scale > kChromaticDown)
    {
        return notes;
    }
    for (std::uint32_t i = 0; i < count; ++i)
    {
        if (scale < kSevenNoteScales)
        {
            const auto& steps = kSteps[static_cast<std::size_t>(scale)];
            notes.AddItem(root + steps[i % 7] + OctaveTerm(i / 7));
        }
        else
        {
            const auto step = static_cast<double>(i % 12);
            notes.AddItem(root + (scale == kChromaticUp ? step : -step) + OctaveTerm(i / 12));
        }
    }
    return notes;
}

KR::Result ApplyScaleToNoteSelectors(const KR::RCPtrArray<KR::LControl>& controls, std::int32_t scale)
{
    const std::uint32_t count = controls.GetCount();
    if (count == 0 || !controls[0])
    {
        return KR::kOk;
    }
    const double root = controls[0]->InterpolateValue(controls[0]->GetValue());
    const KR::Array<double> notes = GetScaleNoteNumbers(scale, root, count);
    if (notes.GetCount() != count)
    {
        return KR::kOk;
    }
    for (std::uint32_t i = 0; i < count; ++i)
    {
        if (const KR::RCPtr<KR::LControl>& control = controls[i])
        {
            control->SetValue(control->NormalizeValue(notes[i]));
        }
    }
    return KR::kOk;
}
