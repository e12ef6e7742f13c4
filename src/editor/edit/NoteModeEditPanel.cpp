#include "editor/edit/NoteModeEditPanel.h"

#include "editor/edit/ControlUtilities.h"
#include "editor/edit/ScaleOperations.h"
#include "editor/edit/TableTextFormat.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using KR::RCPtr;
using KR::Result;

namespace
{

constexpr char kNoteModeSource[] = "UI\\QuillanCommon\\NoteModeEditPanel";
constexpr char kNoteModeRegisterAll[] = "LNoteModeEditPanel::RegisterForAllParameterNotifications";
constexpr std::int32_t kHighestCount = 8;
constexpr std::int32_t kScaleOff = 0;
// The scale list's items as scale numbers: Dorian is listed before Lydian, while the
// scale tables hold Lydian as 6 and Dorian as 7. Index 0 ("Off") has none.
constexpr std::int32_t kScaleOfListIndex[] = {-1, 0, 1, 2, 3, 4, 5, 7, 6, 8, 9};
constexpr std::int32_t kScaleListCount = static_cast<std::int32_t>(std::size(kScaleOfListIndex));

KR::String FieldName(std::uint32_t field)
{
    return KR::String(("note" + std::to_string(field)).c_str());
}

RCPtr<KR::LComboBox> ListOf(KR::LControl& page, const char16_t* name, const char* missing, int line)
{
    const RCPtr<KR::LControl>& labelled = page.FindChildControl(KR::String(name));
    if (!labelled)
    {
        // Its registration refuses the empty list.
        return nullptr;
    }
    RCPtr<KR::LComboBox> list(labelled->FindChildControl(KR::String(u"comboBox")));
    if (!list)
    {
        EditPanelDetail::ThrowMissingChild("LNoteModeEditPanel::Initialize", kNoteModeSource, missing, line);
    }
    return list;
}

void SetLabel(const RCPtr<KR::LControl>& label, const char16_t* key)
{
    if (label)
    {
        label->SetTextFromString(label->GetLocalizedString(KR::String(key)));
    }
}

} // namespace

Result LNoteModeEditPanel::Initialize()
{
    const Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    mNoteModeTypeSelector = ListOf(*this, u"noteModeType", "can not find noteModeType child comboBox", 34);
    mNoteScaleTypeSelector = ListOf(*this, u"noteScaleType", "can not find noteScaleType child comboBox", 41);
    mNoteSelectors.RemoveAll();
    for (std::uint32_t field = 1; field <= kFieldCount; ++field)
    {
        if (const RCPtr<KR::LControl>& note = FindChildControl(FieldName(field)))
        {
            // An incomplete field stays as an empty entry, which its registration refuses.
            mNoteSelectors.AddItem(
                FindControlByPath<KR::LNumericUpDown>(note, {u"noteSelector", u"numericUpDown"}));
        }
    }
    SetLabel(FieldLabel(1), u"START_NOTE_LABEL");
    RegisterForAllParameterNotifications();
    return result;
}

Result LNoteModeEditPanel::ReleaseInternalReferences()
{
    mNoteScaleTypeSelector = nullptr;
    mNoteModeTypeSelector = nullptr;
    mNoteSelectors.RemoveAll();
    return LOwnHandlerPanel::ReleaseInternalReferences();
}

void LNoteModeEditPanel::RegisterForAllParameterNotifications()
{
    if (!mNotificationHandler)
    {
        return;
    }
    RegisterOrThrow(&LNoteModeEditPanel::OnNoteScaleTypeChange, mNoteScaleTypeSelector,
                    u"NID_SELECTION_CHANGE", kNoteModeRegisterAll, kNoteModeSource, 321);
    RegisterOrThrow(&LNoteModeEditPanel::OnNoteModeTypeChange, mNoteModeTypeSelector, u"NID_SELECTION_CHANGE",
                    kNoteModeRegisterAll, kNoteModeSource, 322);
    SetNotificationForAllArrayItems(mNoteSelectors, mNotificationHandler,
                                    &LNoteModeEditPanel::OnNoteValueChange, u"NID_VALUE_CHANGE");
}

std::int32_t LNoteModeEditPanel::ModeIndex() const
{
    return mNoteModeTypeSelector ? mNoteModeTypeSelector->GetSelectedIndex() : -1;
}

std::int32_t LNoteModeEditPanel::ScaleIndex() const
{
    return mNoteScaleTypeSelector ? mNoteScaleTypeSelector->GetSelectedIndex() : -1;
}

std::int32_t LNoteModeEditPanel::Note(std::uint32_t k) const
{
    if (k >= mNoteSelectors.GetCount() || !mNoteSelectors[k])
    {
        return 0;
    }
    const KR::LNumericUpDown& box = *mNoteSelectors[k];
    return static_cast<std::int32_t>(std::trunc(box.InterpolateValue(box.GetValue())));
}

void LNoteModeEditPanel::SetNote(std::uint32_t k, signed char note)
{
    if (k < mNoteSelectors.GetCount() && mNoteSelectors[k])
    {
        mNoteSelectors[k]->SetValue(mNoteSelectors[k]->NormalizeValue(note));
    }
}

RCPtr<KR::LControl> LNoteModeEditPanel::FieldLabel(std::uint32_t field) const
{
    const RCPtr<KR::LControl>& note = FindChildControl(FieldName(field));
    return note ? note->FindChildControl(KR::String(u"controlNameLabel")) : nullptr;
}

void LNoteModeEditPanel::UpdateNoteFields(std::uint8_t count)
{
    for (std::uint32_t field = 2; field <= kFieldCount; ++field)
    {
        const RCPtr<KR::LControl>& note = FindChildControl(FieldName(field));
        if (!note)
        {
            continue;
        }
        note->SetVisible(field <= count);
        if (const RCPtr<KR::LControl>& label = note->FindChildControl(KR::String(u"controlNameLabel")))
        {
            if (field == count)
            {
                SetLabel(label, u"END_NOTE_LABEL");
            }
            else
            {
                label->SetTextFromString(FormatTableText(
                    label->GetLocalizedString(KR::String(u"MULTI_NOTE_LABEL")), {std::int64_t{field}}));
            }
        }
    }
}

KR::Array<signed char> LNoteModeEditPanel::BuildNoteModeBlock()
{
    KR::Array<signed char> block;
    block.SetCount(kBlockSize);
    for (std::uint32_t i = 0; i < kBlockSize; ++i)
    {
        block[i] = 0;
    }
    const std::int32_t mode = ModeIndex();
    block[0] = static_cast<signed char>(mode + kRangeCount);
    block[1] = static_cast<signed char>(Note(0));
    if (mode == 0)
    {
        block[2] = static_cast<signed char>(Note(1));
        return block;
    }
    for (std::uint32_t k = 0; k < kFieldCount; ++k)
    {
        block[k + 1] = static_cast<signed char>(Note(k));
    }
    // The field reading "LAST" holds the last note, which the block carries second.
    for (std::uint32_t k = 1; k < kFieldCount; ++k)
    {
        const RCPtr<KR::LControl> label = FieldLabel(k + 1);
        if (label && label->GetText() == label->GetLocalizedString(KR::String(u"END_NOTE_LABEL")))
        {
            block[2] = static_cast<signed char>(Note(k));
            for (std::uint32_t j = 1; j < k; ++j)
            {
                block[j + 2] = static_cast<signed char>(Note(j));
            }
            break;
        }
    }
    return block;
}

void LNoteModeEditPanel::ShowNoteModeBlock(KR::Array<signed char>& block)
{
    if (block.GetCount() != kBlockSize)
    {
        return;
    }
    // A count the mode list has no item for would leave the fields without a last note.
    const std::int32_t count = std::clamp<std::int32_t>(block[0], kRangeCount, kHighestCount);
    if (mNoteModeTypeSelector)
    {
        mNoteModeTypeSelector->SetSelectedIndex(count - kRangeCount);
    }
    UpdateNoteFields(static_cast<std::uint8_t>(ModeIndex() + kRangeCount));
    SetNote(0, block[1]);
    const std::int32_t mode = ModeIndex();
    if (mode == 0)
    {
        SetNote(1, block[2]);
        if (mNoteScaleTypeSelector)
        {
            mNoteScaleTypeSelector->SetSelectedIndex(kScaleOff);
        }
        return;
    }
    // The last note moves from byte 2 to its field's place.
    for (std::int32_t j = 2; j <= mode + 1 && j + 1 < static_cast<std::int32_t>(kBlockSize); ++j)
    {
        std::swap(block[j], block[j + 1]);
    }
    for (std::uint32_t k = 1; k < kFieldCount; ++k)
    {
        SetNote(k, block[k + 1]);
    }
    DetectNoteScale();
}

void LNoteModeEditPanel::DetectNoteScale()
{
    std::vector<double> notes;
    for (std::uint32_t k = 0; k < mNoteSelectors.GetCount(); ++k)
    {
        const RCPtr<KR::LNumericUpDown>& box = mNoteSelectors[k];
        notes.push_back(box ? box->InterpolateValue(box->GetValue()) : 0.0);
    }
    std::int32_t found = kScaleOff;
    for (std::int32_t index = 1; index < kScaleListCount && !notes.empty(); ++index)
    {
        const KR::Array<double> scale =
            GetScaleNoteNumbers(kScaleOfListIndex[index], notes[0], static_cast<std::uint32_t>(notes.size()));
        if (scale.GetCount() == notes.size() && std::equal(notes.begin(), notes.end(), &scale[0]))
        {
            found = index;
            break;
        }
    }
    if (mNoteScaleTypeSelector)
    {
        mNoteScaleTypeSelector->SetSelectedIndex(found);
    }
}

void LNoteModeEditPanel::ApplyNoteScale()
{
    UnregisterForAllButPanelNotifications();
    if (ModeIndex() != 0)
    {
        KR::RCPtrArray<KR::LControl> row;
        for (std::uint32_t k = 0; k < mNoteSelectors.GetCount(); ++k)
        {
            row.AddItem(RCPtr<KR::LControl>(mNoteSelectors[k]));
        }
        const std::int32_t scale = ScaleIndex();
        SetLabel(FieldLabel(1), scale == kScaleOff ? u"START_NOTE_LABEL" : u"KEY_LABEL");
        if (scale > kScaleOff && scale < kScaleListCount)
        {
            ApplyScaleToNoteSelectors(row, kScaleOfListIndex[scale]);
        }
    }
    RegisterForAllParameterNotifications();
    SendNotificationByName(u"NID_PARAMETERS_CHANGED");
}

Result LNoteModeEditPanel::OnNoteValueChange(const RCPtr<KR::LNotificationDistributor>& sender,
                                             const RCPtr<KR::LNotification>&)
{
    if (mNoteSelectors.GetCount() > 0 && IsSender(sender, RCPtr<KR::LControl>(mNoteSelectors[0])))
    {
        ApplyNoteScale();
    }
    else if (mNoteScaleTypeSelector)
    {
        // A note set by hand leaves the scale.
        mNoteScaleTypeSelector->SetSelectedIndex(kScaleOff);
    }
    SendNotificationByName(u"NID_PARAMETERS_CHANGED");
    return 1;
}

Result LNoteModeEditPanel::OnNoteModeTypeChange(const RCPtr<KR::LNotificationDistributor>& sender,
                                                const RCPtr<KR::LNotification>&)
{
    if (IsSender(sender, RCPtr<KR::LControl>(mNoteModeTypeSelector)))
    {
        UpdateNoteFields(static_cast<std::uint8_t>(ModeIndex() + kRangeCount));
    }
    SendNotificationByName(u"NID_PARAMETERS_CHANGED");
    return 1;
}

Result LNoteModeEditPanel::OnNoteScaleTypeChange(const RCPtr<KR::LNotificationDistributor>&,
                                                 const RCPtr<KR::LNotification>&)
{
    ApplyNoteScale();
    return 1;
}
