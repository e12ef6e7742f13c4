#include "editor/app/MidiNoteSelector.h"

#include "editor/app/TableTextAtRank.h"
#include "kr/core/Exception.h"
#include "kr/ui/NotificationParams.h"

#include <string>

using KR::RCPtr;
using KR::Result;

namespace
{

constexpr char kNoteSelectorOperation[] = "LMidiNoteSelector::Initialize";
constexpr char kNoteSelectorSource[] = "UI\\PresetEditorCommon\\MidiNoteSelector";
constexpr double kHighestNote = 127.0;
constexpr std::uint32_t kNotesPerOctave = 12;

} // namespace

Result LMidiNoteSelector::Initialize()
{
    const Result result = KR::LPanel::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    mHandler = KR::LNotificationHandler<LMidiNoteSelector>::Create(this);
    if (!mHandler)
    {
        return result;
    }
    mNoteNameLabel = RCPtr<KR::LLabel>(FindChildControl(KR::String(u"noteNameLabel")));
    mOctaveNameLabel = RCPtr<KR::LLabel>(FindChildControl(KR::String(u"octaveNameLabel")));
    mNumericUpDown = RCPtr<KR::LNumericUpDown>(FindChildControl(KR::String(u"numericUpDown")));
    // The range and the labels are set through the up/down: without one there is nothing
    // to select with, and a skin from a file may lack it.
    if (!mNumericUpDown)
    {
        KR::Throw<std::runtime_error>(
            KR::ErrorText<std::runtime_error>({"Null Pointer", "Cannot find child numericUpDown"},
                                              kNoteSelectorOperation, kNoteSelectorSource, 27));
    }
    mNumericUpDown->SetValueScaling(0.0, kHighestNote, 0);
    UpdateNoteLabels();
    if (const Result registered =
            mHandler->Register(&LMidiNoteSelector::OnUpDownValueChanged,
                               RCPtr<KR::LNotificationDistributor>(mNumericUpDown), u"NID_VALUE_CHANGE");
        KR::Failed(registered))
    {
        KR::ThrowFailedResult(registered, std::string(" : ") + kNoteSelectorOperation + " : " +
                                              kNoteSelectorSource + " : Line 31");
    }
    return KR::kOk;
}

Result LMidiNoteSelector::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mNoteNameLabel = nullptr;
    mOctaveNameLabel = nullptr;
    mNumericUpDown = nullptr;
    return KR::LPanel::ReleaseInternalReferences();
}

Result LMidiNoteSelector::Receive(const RCPtr<KR::LNotificationDistributor>& sender,
                                  const RCPtr<KR::LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        if (const Result handled = mHandler->HandleNotification(sender, notification); handled != 0)
        {
            return handled;
        }
    }
    return KR::LPanel::Receive(sender, notification);
}

Result LMidiNoteSelector::UnregisterForNotification(const RCPtr<KR::LNotificationDistributor>& sender,
                                                    KR::NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return KR::LPanel::UnregisterForNotification(sender, name);
}

void LMidiNoteSelector::SetLabelFromTable(const RCPtr<KR::LStringTable>& table, std::uint32_t index,
                                          const RCPtr<KR::LLabel>& label)
{
    if (!table || !label)
    {
        return;
    }
    if (const KR::String* text = TableTextAtRank(*table, index))
    {
        label->SetText(*text);
    }
}

void LMidiNoteSelector::UpdateNoteLabels()
{
    if (!mNumericUpDown)
    {
        return;
    }
    // Unsigned on purpose: a value below 0 (a range set from outside) lands past both
    // tables and leaves the labels alone.
    const auto note = static_cast<std::uint32_t>(
        static_cast<std::int32_t>(mNumericUpDown->InterpolateValue(mNumericUpDown->GetValue())));
    const std::uint32_t octave = note / kNotesPerOctave;
    const std::uint32_t pitch = note - kNotesPerOctave * octave;
    SetLabelFromTable(mNoteNameLabel ? mNoteNameLabel->GetStringTable() : nullptr, pitch, mNoteNameLabel);
    SetLabelFromTable(mOctaveNameLabel ? mOctaveNameLabel->GetStringTable() : nullptr, octave,
                      mOctaveNameLabel);
}

Result LMidiNoteSelector::OnUpDownValueChanged(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                               const RCPtr<KR::LNotification>& notification)
{
    if (notification && notification->GetDataAs<KR::LValueParam>())
    {
        UpdateNoteLabels();
    }
    return 1;
}
