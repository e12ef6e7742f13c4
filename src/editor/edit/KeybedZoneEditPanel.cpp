#include "editor/edit/KeybedZoneEditPanel.h"

#include "editor/edit/ControlUtilities.h"
#include "editor/edit/TableTextFormat.h"

#include <cmath>

using KR::RCPtr;
using KR::Result;
using namespace EditPanelDetail;

namespace
{

constexpr char kInitialize[] = "LKeybedZoneEditPanel::Initialize";
constexpr char kZoneSource[] = "UI\\QuillanCommon\\KeybedZoneEditPanel";
// One text for every labelled selector the panel cannot find.
constexpr char kMissingSelector[] = "couldn't find child comboboxType";
constexpr std::int32_t kOctaveOffset = 5;
constexpr std::int32_t kTransposeOffset = 12;

void Missing(const char* detail, int line)
{
    ThrowMissingChild(kInitialize, kZoneSource, detail, line);
}

double Scaled(const RCPtr<KR::LControl>& control)
{
    return control ? control->InterpolateValue(control->GetValue()) : 0.0;
}

// The scaled value (plus an offset) as a block byte, truncated toward zero.
signed char ByteOf(const RCPtr<KR::LControl>& control, std::int32_t offset = 0)
{
    return static_cast<signed char>(static_cast<std::int32_t>(std::trunc(Scaled(control) + offset)));
}

void ShowScaled(const RCPtr<KR::LControl>& control, double value)
{
    if (control)
    {
        control->SetScaledValue(value);
    }
}

} // namespace

LKeybedZoneEditPanel::LKeybedZoneEditPanel(const RCPtr<KR::LControl>& parent, const KR::String& name)
    : LBlockEditPanel(parent, name)
{
}

Result LKeybedZoneEditPanel::Initialize()
{
    const Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    const RCPtr<KR::LControl> self(this);
    const auto changed = &LKeybedZoneEditPanel::OnZoneControlChanged;
    const auto listen =
        [this](Handlers::Handler handler, const auto& control, KR::NotificationName name, int line)
    { RegisterOrThrow(handler, control, name, kInitialize, kZoneSource, line); };

    mZoneName = RCPtr<KR::LLabel>(FindChildControl(KR::String(u"zoneName")));
    if (!mZoneName)
    {
        Missing("couldn't find child zoneName", 35);
    }
    mZoneEnabledToggleButton = RCPtr<KR::LButton>(FindChildControl(KR::String(u"zoneEnabledToggleButton")));
    if (!mZoneEnabledToggleButton)
    {
        Missing("couldn't find child zoneEnabledToggleButton", 38);
    }
    listen(changed, mZoneEnabledToggleButton, u"NID_VALUE_CHANGE", 39);
    listen(&LKeybedZoneEditPanel::OnZoneEnabledClicked, mZoneEnabledToggleButton, u"NID_LEFT_CLICK", 40);

    mMidiChannel = FindControlByPath<KR::LComboBox>(self, {u"midiChannel", u"comboBox"});
    if (!mMidiChannel)
    {
        Missing(kMissingSelector, 43);
    }
    listen(changed, mMidiChannel, u"NID_SELECTION_CHANGE", 44);

    // Each number box: where it sits, the field it goes to, the lines of its failures.
    const struct
    {
        std::initializer_list<const char16_t*> path;
        RCPtr<KR::LNumericUpDown>* box;
        int missingLine;
    } boxes[] = {
        {{u"octave", u"numericUpDown"}, &mOctave, 47},
        {{u"transpose", u"numericUpDown"}, &mTranspose, 51},
        {{u"msbLSBSelectors", u"lsb", u"numericUpDown"}, &mLsb, 55},
        {{u"msbLSBSelectors", u"msb", u"numericUpDown"}, &mMsb, 59},
        {{u"startEndNoteSelector", u"startNote", u"noteSelector", u"numericUpDown"}, &mStartNote, 63},
        {{u"startEndNoteSelector", u"endNote", u"noteSelector", u"numericUpDown"}, &mEndNote, 75},
        {{u"program", u"numericUpDown"}, &mProgram, 84},
    };
    for (const auto& entry : boxes)
    {
        *entry.box = FindControlByPath<KR::LNumericUpDown>(self, entry.path);
        if (!*entry.box)
        {
            Missing(kMissingSelector, entry.missingLine);
        }
        listen(changed, *entry.box, u"NID_VALUE_CHANGE", entry.missingLine + 1);
        if (entry.box == &mStartNote || entry.box == &mEndNote)
        {
            // The selectors' own captions: "FIRST" and "LAST".
            const bool start = entry.box == &mStartNote;
            const RCPtr<KR::LControl>& selectors = FindChildControl(KR::String(u"startEndNoteSelector"));
            if (!selectors)
            {
                Missing("Cannot find child startEndNoteSelector", 67);
            }
            const RCPtr<KR::LControl>& selector =
                selectors->FindChildControl(KR::String(start ? u"startNote" : u"endNote"));
            if (!selector)
            {
                Missing(start ? "Cannot find child startNote" : "Cannot find child endNote", start ? 70 : 79);
            }
            // A skin without the caption keeps the selector uncaptioned.
            if (const RCPtr<KR::LControl>& caption =
                    selector->FindChildControl(KR::String(u"controlNameLabel")))
            {
                caption->SetTextFromString(
                    caption->GetLocalizedString(KR::String(start ? u"START_NOTE_LABEL" : u"END_NOTE_LABEL")));
            }
        }
    }

    mOctave->SetValueScaling(-kOctaveOffset, kOctaveOffset, 0);
    mTranspose->SetValueScaling(-kTransposeOffset, kTransposeOffset, 0);
    mLsb->SetValueScaling(0.0, 127.0, 0);
    mMsb->SetValueScaling(0.0, 127.0, 0);
    mProgram->SetValueScaling(0.0, 127.0, 0);
    return result;
}

Result LKeybedZoneEditPanel::ReleaseInternalReferences()
{
    mZoneName = nullptr;
    mZoneEnabledToggleButton = nullptr;
    mProgram = nullptr;
    mMsb = nullptr;
    mLsb = nullptr;
    mTranspose = nullptr;
    mOctave = nullptr;
    mEndNote = nullptr;
    mStartNote = nullptr;
    mMidiChannel = nullptr;
    return LBlockEditPanel::ReleaseInternalReferences();
}

KR::Array<signed char> LKeybedZoneEditPanel::BuildZoneBlock()
{
    KR::Array<signed char> block;
    block.SetCount(kBlockSize);
    // The toggle has no range: its byte is its normalised value.
    block[0] = static_cast<signed char>(
        mZoneEnabledToggleButton ? static_cast<std::int32_t>(mZoneEnabledToggleButton->GetValue()) : 0);
    const std::int32_t channel = mMidiChannel ? mMidiChannel->GetSelectedIndex() : -1;
    block[1] = static_cast<signed char>(channel < 0 && mChannelKept ? mKeptChannel : channel);
    block[2] = ByteOf(mProgram);
    block[3] = ByteOf(mMsb);
    block[4] = ByteOf(mLsb);
    block[5] = ByteOf(mStartNote);
    block[6] = ByteOf(mEndNote);
    block[7] = ByteOf(mOctave, kOctaveOffset);
    block[8] = ByteOf(mTranspose, kTransposeOffset);
    return block;
}

void LKeybedZoneEditPanel::SetZoneLabelText(std::int32_t zoneNumber)
{
    if (mZoneName)
    {
        mZoneName->SetTextFromString(
            FormatTableText(mZoneName->GetLocalizedString(KR::String(u"LABEL")), {std::int64_t{zoneNumber}}));
    }
}

std::int32_t LKeybedZoneEditPanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                      const KR::Variant& value, bool /*fromDevice*/)
{
    // Copied first: the handlers below hand blocks on, which may replace the value.
    KR::Array<signed char> block;
    if (!ReadOwnBlock(descriptor, value, kBlockSize, block))
    {
        return KR::kFail;
    }
    const KR::Variant shown = value;
    ShowOwnBlock(block, [&] { ShowZoneBlock(block); });
    IKeybedZone::SetParamValue(descriptor, shown);
    return KR::kOk;
}

void LKeybedZoneEditPanel::ShowZoneBlock(const KR::Array<signed char>& block)
{
    // A block whose keys the panel would correct (a key above the keybed's last, the first
    // above the last) is shown as it stands: a correction made while showing could not
    // reach the model (the main control takes it for an echo of the value it applies), so
    // the picture would show one zone and the editor another until some unrelated edit
    // wrote the correction unasked. The user's own change of a key corrects it.
    const bool showing = mShowing;
    mShowing = true;
    if (mZoneEnabledToggleButton)
    {
        mZoneEnabledToggleButton->SetValue(block[0]);
    }
    if (mMidiChannel)
    {
        // Kept before selecting: the selection's own report builds the block.
        const bool listed = block[1] >= 0 && block[1] < mMidiChannel->GetItemCount();
        mChannelKept = !listed;
        mKeptChannel = listed ? 0 : block[1];
        if (listed)
        {
            mMidiChannel->SetSelectedIndex(block[1]);
        }
        else
        {
            mMidiChannel->ClearShownItem();
        }
    }
    ShowScaled(mProgram, block[2]);
    ShowScaled(mMsb, block[3]);
    ShowScaled(mLsb, block[4]);
    ShowScaled(mEndNote, block[6]);
    ShowScaled(mStartNote, block[5]);
    ShowScaled(mOctave, block[7] - kOctaveOffset);
    ShowScaled(mTranspose, block[8] - kTransposeOffset);
    mShowing = showing;
}

void LKeybedZoneEditPanel::SendZoneBlock()
{
    HandBlockOn(BuildZoneBlock());
}

Result LKeybedZoneEditPanel::OnZoneEnabledClicked(const RCPtr<KR::LNotificationDistributor>& sender,
                                                  const RCPtr<KR::LNotification>&)
{
    if (IsSender(sender, mZoneEnabledToggleButton))
    {
        mZoneEnabledToggleButton->SetValue(mZoneEnabledToggleButton->GetValue() == 0.0 ? 1.0 : 0.0);
    }
    return 1;
}

Result LKeybedZoneEditPanel::OnZoneControlChanged(const RCPtr<KR::LNotificationDistributor>& sender,
                                                  const RCPtr<KR::LNotification>&)
{
    const bool start = IsSender(sender, mStartNote);
    if (!mShowing && (start || IsSender(sender, mEndNote)) && mStartNote && mEndNote)
    {
        const RCPtr<KR::LNumericUpDown>& key = start ? mStartNote : mEndNote;
        if (Scaled(key) > kHighestKey)
        {
            key->SetScaledValue(kHighestKey);
        }
        if (Scaled(mStartNote) > Scaled(mEndNote))
        {
            mEndNote->SetScaledValue(Scaled(mEndNote));
            mStartNote->SetScaledValue(Scaled(mEndNote));
        }
    }
    SendZoneBlock();
    return 1;
}
