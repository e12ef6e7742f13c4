#include "editor/edit/ButtonControlEditPanel.h"

#include "editor/edit/ButtonModeRecord.h"
#include "editor/edit/ControlUtilities.h"
#include "kr/controls/Label.h"

#include <string>

using KR::RCPtr;
using KR::Result;
using namespace ButtonModeRecord;

namespace
{

constexpr char kSource[] = "UI\\QuillanCommon\\ButtonControlEditPanel";

// Other-list items skip the RPN/NRPN codes and the codes of the modes with pages of
// their own: item i is code i below 4, i + 4 up to item 12, i + 9 from item 13 on.
constexpr std::int32_t kFirstSkippedOtherItem = 4;
constexpr std::int32_t kFirstLateOtherItem = 13;
constexpr std::int32_t kEarlyOtherCodeOffset = 4;
constexpr std::int32_t kLateOtherCodeOffset = 9;
constexpr std::int32_t kLastEarlyOtherCode = kPitchBend;
// The MMC list offers commands 1..11 and the reset; "Other" comes after them.
constexpr std::int32_t kMmcListed = 12;
constexpr std::int32_t kMmcResetItem = 11;

[[noreturn]] void ThrowMissing(const char* operation, const std::string& detail, int line)
{
    EditPanelDetail::ThrowMissingChild(operation, kSource, detail.c_str(), line);
}

template <typename T>
RCPtr<T> Need(const RCPtr<T>& control, const std::string& detail, int line)
{
    if (!control)
    {
        ThrowMissing("LButtonControlEditPanel::Initialize", detail, line);
    }
    return control;
}

RCPtr<KR::LNumericUpDown> Field(const RCPtr<KR::LControl>& page, std::initializer_list<const char16_t*> path)
{
    return FindControlByPath<KR::LNumericUpDown>(page, path);
}

RCPtr<KR::LComboBox> List(const RCPtr<KR::LControl>& page, const char16_t* selector)
{
    return FindControlByPath<KR::LComboBox>(page, {selector, u"comboBox"});
}

RCPtr<KR::LNumericUpDown> CcNumberField(const RCPtr<KR::LControl>& page)
{
    return Field(page, {u"cc", u"ccSelector", u"numericUpDown"});
}

void SetRange(const RCPtr<KR::LNumericUpDown>& field)
{
    if (field)
    {
        field->SetValueScaling(0.0, 127.0, 0);
    }
}

// The cycle length a record's flags give: 0 two values, 1 three, 2 four.
std::int32_t CycleType(const KR::Array<signed char>& record)
{
    if (record[kNoSecondValue] == 1 && record[kNoThirdValue] == 1)
    {
        return 0;
    }
    return record[kNoSecondValue] == 0 && record[kNoThirdValue] == 1 ? 1 : 2;
}

// The label of one of a cycle page's value fields; null when it or its field is missing,
// and then `missing` names the child that is.
RCPtr<KR::LLabel> FieldLabel(const RCPtr<KR::LControl>& page, const char16_t* field, std::string& missing)
{
    const RCPtr<KR::LControl> selector = page->FindChildControl(KR::String(field));
    const RCPtr<KR::LLabel> label = FindControlByPath<KR::LLabel>(selector, {u"controlNameLabel"});
    missing = "couldn't find child " +
              std::string(selector ? "controlNameLabel" : KR::String(field).ToUtf8().GetPtr());
    return label;
}

// Labels a cycle page's four value fields from their ids, each tested as it is found.
void LabelCycleFields(const RCPtr<KR::LControl>& page, const char16_t* const (&fields)[4],
                      const char16_t* const (&ids)[4], const int (&lines)[4], const char* firstDetail)
{
    for (int i = 0; i < 4; ++i)
    {
        std::string missing;
        const RCPtr<KR::LLabel> label = FieldLabel(page, fields[i], missing);
        if (!label)
        {
            ThrowMissing("LButtonControlEditPanel::Initialize", i == 0 && firstDetail ? firstDetail : missing,
                         lines[i]);
        }
        label->SetTextFromString(label->GetLocalizedString(KR::String(ids[i])));
    }
}

void MarkNoMoreValues(KR::Array<signed char>& record)
{
    record[kNoSecondValue] = 1;
    record[kSecondValue] = 0;
    record[kNoThirdValue] = 1;
    record[kThirdValue] = 0;
}

} // namespace

Result LButtonControlEditPanel::Initialize()
{
    const Result result = InitializeOwnHandler();
    mOnOffFollowsLatching = false;
    if (KR::Failed(result))
    {
        return result;
    }
    mTabControl = Need(RCPtr<KR::LTabControl>(FindChildControl(KR::String(u"tabControl"))),
                       "Couldn't find child tabControl", 53);
    FindCcPages();
    FindMmcNoteAndRpnPages();
    FindProgramPages();
    FindOtherPage();
    SetRanges();
    // One channel list per page, by page index: a record is built with the channel of the
    // page in front.
    const std::uint32_t pages = mTabControl->GetPageCount();
    for (std::uint32_t i = 0; i < pages; ++i)
    {
        mChannelSelectors.AddItem(FindControlByPath<KR::LComboBox>(
            mTabControl->GetPage(static_cast<std::int32_t>(i)), {u"midiChannel", u"comboBox"}));
    }
    mKeptChannels.assign(pages, 0);
    RegisterForAllParameterNotifications();
    return result;
}

void LButtonControlEditPanel::FindCcPages()
{
    const RCPtr<KR::LControl> absolute = mTabControl->GetPageByName(KR::String(u"ccAbsolutePage"));
    mCcNumberFields.AddItem(CcNumberField(absolute));
    mValueFieldsA.AddItem(Field(absolute, {u"pressedReleasedSelectors", u"pressed", u"numericUpDown"}));
    mValueFieldsB.AddItem(Field(absolute, {u"pressedReleasedSelectors", u"released", u"numericUpDown"}));

    const RCPtr<KR::LControl> cycle =
        Need(mTabControl->GetPageByName(KR::String(u"ccCyclePage")), "Failed to find cc Cycle page", 64);
    mCcNumberFields.AddItem(CcNumberField(cycle));
    mValueFieldsA.AddItem(Field(cycle, {u"ccValue1", u"numericUpDown"}));
    mValueFieldsB.AddItem(Field(cycle, {u"ccValue2", u"numericUpDown"}));
    mCcValue3Field = Field(cycle, {u"ccValue3", u"numericUpDown"});
    mCcValue4Field = Field(cycle, {u"ccValue4", u"numericUpDown"});
    mCcCycleTypeSelector = Need(List(cycle, u"cycleType"), "couldn't find child cycleType", 75);
    LabelCycleFields(cycle, {u"ccValue1", u"ccValue2", u"ccValue3", u"ccValue4"},
                     {u"VALUE1_LABEL", u"VALUE2_LABEL", u"VALUE3_LABEL", u"VALUE4_LABEL"}, {78, 82, 86, 90},
                     "couldn't find child ccValue1 child Label");

    const RCPtr<KR::LControl> incDec = mTabControl->GetPageByName(KR::String(u"ccIncDecPage"));
    mCcIncDecTypeSelector = Need(List(incDec, u"incDec"), "couldn't find incDecType comboBox", 96);
    mCcNumberFields.AddItem(CcNumberField(incDec));
    mValueFieldsA.AddItem(Field(incDec, {u"minMaxSelectors", u"min", u"numericUpDown"}));
    mValueFieldsB.AddItem(Field(incDec, {u"minMaxSelectors", u"max", u"numericUpDown"}));
}

void LButtonControlEditPanel::FindMmcNoteAndRpnPages()
{
    const RCPtr<KR::LControl> mmc = Need(mTabControl->GetPageByName(KR::String(u"mmcPage")),
                                         "Couldn't find mmcPage (Tabbed Control Page)", 103);
    mMmcSelector = Need(List(mmc, u"mmc"), "couldn't find child mmc", 105);

    const RCPtr<KR::LControl> note = Need(mTabControl->GetPageByName(KR::String(u"notePage")),
                                          "Couldn't find notePage (Tabbed Control Page)", 109);
    mLatchingButton =
        Need(FindControlByPath<KR::LButton>(note, {u"latching", u"button"}), "Couldn't find latiching", 112);
    // Every click flips latching on and off.
    mLatchingButton->SetAutoValueSet(true);
    mNoteField =
        Need(Field(note, {u"note", u"noteSelector", u"numericUpDown"}), "couldn't find child note", 116);
    SetRange(mNoteField);
    mOnValueField =
        Need(Field(note, {u"onOffSelectors", u"on", u"numericUpDown"}), "couldn't find child on", 121);
    SetRange(mOnValueField);
    mOffValueField =
        Need(Field(note, {u"onOffSelectors", u"off", u"numericUpDown"}), "couldn't find child off", 125);
    SetRange(mOffValueField);

    const RCPtr<KR::LControl> nrpnRpn = mTabControl->GetPageByName(KR::String(u"nrpnRpnPage"));
    mNrpnRpnTypeSelector = List(nrpnRpn, u"NrpnRpn");
    mNrpnRpnLsbField = Field(nrpnRpn, {u"msbLSBSelectors", u"lsb", u"numericUpDown"});
    mNrpnRpnMsbField = Field(nrpnRpn, {u"msbLSBSelectors", u"msb", u"numericUpDown"});
    mNrpnRpnValueField = Field(nrpnRpn, {u"value", u"numericUpDown"});
    // The LSB field is tested before the MSB field.
    Need(mNrpnRpnTypeSelector, "Failed to find child: type ", 135);
    Need(mNrpnRpnLsbField, "Failed to find child: LSB", 137);
    Need(mNrpnRpnMsbField, "Failed to find child: MSB", 136);
    Need(mNrpnRpnValueField, "Failed to find child: value ", 138);
    SetRange(mNrpnRpnLsbField);
    SetRange(mNrpnRpnMsbField);
    SetRange(mNrpnRpnValueField);
}

void LButtonControlEditPanel::FindProgramPages()
{
    const RCPtr<KR::LControl> cycle = Need(mTabControl->GetPageByName(KR::String(u"programCyclePage")),
                                           "couldn't find child programCyclePage", 146);
    mProgramFields.AddItem(Field(cycle, {u"program1", u"numericUpDown"}));
    mProgram2Fields.AddItem(Field(cycle, {u"program2", u"numericUpDown"}));
    mProgram3Field = Need(Field(cycle, {u"program3", u"numericUpDown"}), "couldn't find child program3", 151);
    SetRange(mProgram3Field);
    mProgram4Field = Need(Field(cycle, {u"program4", u"numericUpDown"}), "couldn't find child program4", 155);
    SetRange(mProgram4Field);
    mProgramCycleTypeSelector = Need(List(cycle, u"cycleType"), "couldn't find child cycleType", 159);
    LabelCycleFields(cycle, {u"program1", u"program2", u"program3", u"program4"},
                     {u"PROGRAM1_LABEL", u"PROGRAM2_LABEL", u"PROGRAM3_LABEL", u"PROGRAM4_LABEL"},
                     {163, 167, 171, 175}, nullptr);

    const RCPtr<KR::LControl> incDec = mTabControl->GetPageByName(KR::String(u"programIncDecPage"));
    mProgramMinField =
        Need(Field(incDec, {u"minMaxSelectors", u"min", u"numericUpDown"}), "couldn't find child min", 183);
    SetRange(mProgramMinField);
    mProgramMaxField =
        Need(Field(incDec, {u"minMaxSelectors", u"max", u"numericUpDown"}), "couldn't find child max", 187);
    SetRange(mProgramMaxField);
    mProgramIncDecTypeSelector = Need(List(incDec, u"incDecType"), "couldn't find incDecType comboBox", 192);

    const RCPtr<KR::LControl> program = mTabControl->GetPageByName(KR::String(u"programPage"));
    mProgramFields.AddItem(Field(program, {u"program", u"numericUpDown"}));
    mProgramLsbField = Field(program, {u"msbLSBSelectors", u"lsb", u"numericUpDown"});
    SetRange(mProgramLsbField);
    mProgramMsbField = Field(program, {u"msbLSBSelectors", u"msb", u"numericUpDown"});
    SetRange(mProgramMsbField);
}

void LButtonControlEditPanel::FindOtherPage()
{
    const RCPtr<KR::LControl> other =
        Need(mTabControl->GetPageByName(KR::String(u"otherPage")), "can not find child otherPage", 204);
    mOtherTypeSelector = Need(List(other, u"type"), "couldn't find child type", 207);
    mOtherValueField = Need(Field(other, {u"value", u"numericUpDown"}), "can not find child value", 210);
    SetRange(mOtherValueField);
}

void LButtonControlEditPanel::SetRanges()
{
    SetValueScalingForAllArrayItems(mCcNumberFields, 0.0, 127.0);
    SetValueScalingForAllArrayItems(mValueFieldsA, 0.0, 127.0);
    SetValueScalingForAllArrayItems(mValueFieldsB, 0.0, 127.0);
    SetRange(mCcValue3Field);
    SetRange(mCcValue4Field);
    SetValueScalingForAllArrayItems(mProgramFields, 0.0, 127.0);
    SetValueScalingForAllArrayItems(mProgram2Fields, 0.0, 127.0);
}

Result LButtonControlEditPanel::ReleaseInternalReferences()
{
    mTabControl = nullptr;
    mChannelSelectors.RemoveAll();
    mNoteField = mOnValueField = mOffValueField = nullptr;
    mLatchingButton = nullptr;
    mMmcSelector = nullptr;
    mCcNumberFields.RemoveAll();
    mValueFieldsA.RemoveAll();
    mValueFieldsB.RemoveAll();
    mCcValue3Field = mCcValue4Field = nullptr;
    mProgramFields.RemoveAll();
    mProgram2Fields.RemoveAll();
    mProgram3Field = mProgram4Field = nullptr;
    mCcIncDecTypeSelector = mProgramIncDecTypeSelector = nullptr;
    mProgramLsbField = mProgramMsbField = mProgramMinField = mProgramMaxField = nullptr;
    mNrpnRpnMsbField = mNrpnRpnLsbField = mNrpnRpnValueField = nullptr;
    mNrpnRpnTypeSelector = mOtherTypeSelector = nullptr;
    mOtherValueField = nullptr;
    mCcCycleTypeSelector = mProgramCycleTypeSelector = nullptr;
    return LOwnHandlerPanel::ReleaseInternalReferences();
}

void LButtonControlEditPanel::SetOnOffFollowsLatching(bool follows)
{
    mOnOffFollowsLatching = follows;
}

void LButtonControlEditPanel::ShowModeRecord(KR::Array<signed char>& record)
{
    if (record.GetCount() != kSize || !mTabControl)
    {
        return;
    }
    // Filling the fields must not report itself as the user's change.
    UnregisterForAllButPanelNotifications();
    NormalizeModeRecord(record);
    ForgetKeptBytes();

    const signed char channel = record[kChannel];
    for (std::uint32_t i = 0; i < mChannelSelectors.GetCount(); ++i)
    {
        mKeptChannels[i] = SelectOrClear(mChannelSelectors[i], channel) ? 0 : channel;
    }
    KR::String page;
    const CycleUpdate relabel = ShowPageFields(record, page);
    // The page first: the relabelling of a cycle page reports a change, and what is built
    // then must be this record, not one from the page shown before.
    mTabControl->SelectPage(page);
    if (relabel)
    {
        (this->*relabel)();
    }

    RegisterForAllParameterNotifications();
}

void LButtonControlEditPanel::ForgetKeptBytes()
{
    // A byte kept for the control shown before is that control's own: another control's
    // record, or a page this record does not use, must never build it. A list it left
    // without a choice builds item 0 again, as a fresh editor's does, and the MMC list
    // loses the "Other" it stood behind.
    mKeptOtherCode = 0;
    mKeptMmcCommand = kMmcReset;
    if (mMmcSelector && mMmcSelector->GetItemCount() > kMmcListed)
    {
        mMmcSelector->SetItemCount(kMmcListed);
    }
    for (const RCPtr<KR::LComboBox>* list : {&mMmcSelector, &mOtherTypeSelector})
    {
        if (SelectedIndexOf(*list) < 0)
        {
            SelectOrClear(*list, 0);
        }
    }
}

LButtonControlEditPanel::CycleUpdate
LButtonControlEditPanel::ShowPageFields(const KR::Array<signed char>& record, KR::String& page)
{
    CycleUpdate relabel = nullptr;
    const std::int32_t code = record[kNumberOrType];
    if (record[kMessageKind] == 0)
    {
        page = u"ccAbsolutePage";
        ShowNumberInAll(mCcNumberFields, record[kNumberOrType]);
        ShowNumber(NumberBoxAt(mValueFieldsA, 0), record[kLastValue]);
        ShowNumber(NumberBoxAt(mValueFieldsB, 0), record[kFirstValue]);
    }
    else if (code == kCcCycle)
    {
        page = u"ccCyclePage";
        ShowNumberInAll(mCcNumberFields, record[kParam]);
        ShowNumber(NumberBoxAt(mValueFieldsA, 1), record[kFirstValue]);
        ShowCycle(record, mCcCycleTypeSelector, NumberBoxAt(mValueFieldsB, 1), mCcValue3Field,
                  mCcValue4Field);
        relabel = &LButtonControlEditPanel::UpdateCCCycleTypeVisibleParameters;
    }
    else if (code == kProgramChange)
    {
        page = u"programPage";
        ShowNumber(NumberBoxAt(mProgramFields, 1), record[kParam]);
        ShowNumber(mProgramLsbField, record[kFirstValue]);
        ShowNumber(mProgramMsbField, record[kLastValue]);
    }
    else if (code == kNote || code == kNoteLatching)
    {
        page = u"notePage";
        const double latching = code == kNoteLatching ? 1.0 : 0.0;
        if (mLatchingButton)
        {
            mLatchingButton->SetValue(latching);
        }
        FollowLatching(latching == 1.0);
        ShowNumber(mOffValueField, record[kFirstValue]);
        ShowNumber(mOnValueField, record[kLastValue]);
        ShowNumber(mNoteField, record[kParam]);
    }
    else if (code == kCcDecrement || code == kCcIncrement)
    {
        page = u"ccIncDecPage";
        SelectOrClear(mCcIncDecTypeSelector, code == kCcDecrement ? 1 : 0);
        ShowNumberInAll(mCcNumberFields, record[kParam]);
        ShowNumber(NumberBoxAt(mValueFieldsA, 2), record[kFirstValue]);
        ShowNumber(NumberBoxAt(mValueFieldsB, 2), record[kLastValue]);
    }
    else if (code == kProgramCycle)
    {
        page = u"programCyclePage";
        ShowNumber(NumberBoxAt(mProgramFields, 0), record[kFirstValue]);
        ShowCycle(record, mProgramCycleTypeSelector, NumberBoxAt(mProgram2Fields, 0), mProgram3Field,
                  mProgram4Field);
        relabel = &LButtonControlEditPanel::UpdateProgramCycleTypeVisibleParameters;
    }
    else if (code == kProgramDecrement || code == kProgramIncrement)
    {
        page = u"programIncDecPage";
        SelectOrClear(mProgramIncDecTypeSelector, code == kProgramDecrement ? 1 : 0);
        ShowNumber(mProgramMinField, record[kFirstValue]);
        ShowNumber(mProgramMaxField, record[kLastValue]);
    }
    else if (code == kMmc)
    {
        page = u"mmcPage";
        const std::int32_t command = record[kFirstValue];
        if (mMmcSelector)
        {
            mMmcSelector->SetItemCount(kMmcListed);
        }
        if (command >= 1 && command <= kMmcResetItem)
        {
            SelectOrClear(mMmcSelector, command - 1);
        }
        else if (command == kMmcReset)
        {
            SelectOrClear(mMmcSelector, kMmcResetItem);
        }
        else if (mMmcSelector)
        {
            // A command the list does not offer: "Other" stands for it and keeps it.
            mMmcSelector->AddItem(mMmcSelector->GetLocalizedString(KR::String(u"ITEM.12")));
            SelectOrClear(mMmcSelector, kMmcListed);
            mKeptMmcCommand = static_cast<signed char>(command);
        }
    }
    else if (code < kFirstNrpnRpn || code > kLastNrpnRpn)
    {
        page = u"otherPage";
        std::int32_t item = code - kEarlyOtherCodeOffset;
        if (code < kFirstNrpnRpn)
        {
            item = code;
        }
        else if (code > kLastEarlyOtherCode)
        {
            item = code - kLateOtherCodeOffset;
        }
        mKeptOtherCode = SelectOrClear(mOtherTypeSelector, item) ? 0 : static_cast<signed char>(code);
        ShowNumber(mOtherValueField, record[kFirstValue]);
    }
    else
    {
        page = u"nrpnRpnPage";
        SelectOrClear(mNrpnRpnTypeSelector, code - kFirstNrpnRpn);
        ShowNumber(mNrpnRpnMsbField, record[kLastValue]);
        ShowNumber(mNrpnRpnLsbField, record[kFirstValue]);
        ShowNumber(mNrpnRpnValueField, record[kParam]);
    }
    return relabel;
}

void LButtonControlEditPanel::ShowCycle(const KR::Array<signed char>& record,
                                        const RCPtr<KR::LComboBox>& type,
                                        const RCPtr<KR::LNumericUpDown>& second,
                                        const RCPtr<KR::LNumericUpDown>& third,
                                        const RCPtr<KR::LNumericUpDown>& fourth)
{
    const std::int32_t length = CycleType(record);
    if (length == 0)
    {
        ShowNumber(second, record[kLastValue]);
    }
    else if (length == 1)
    {
        ShowNumber(second, record[kSecondValue]);
        ShowNumber(third, record[kLastValue]);
    }
    else
    {
        ShowNumber(second, record[kSecondValue]);
        ShowNumber(third, record[kThirdValue]);
        ShowNumber(fourth, record[kLastValue]);
    }
    SelectOrClear(type, length);
}

KR::Array<signed char> LButtonControlEditPanel::BuildModeRecord()
{
    KR::Array<signed char> record;
    const std::int32_t index = mTabControl ? mTabControl->GetSelectedIndex() : -1;
    if (index < 0)
    {
        // No mode is in front: there is nothing to build, and nothing must be sent.
        return record;
    }
    const KR::String page = mTabControl->GetSelectedName();
    record.SetCount(kSize);
    for (std::uint32_t i = 0; i < kSize; ++i)
    {
        record[i] = 0;
    }
    const auto page_is = [&page](const char16_t* name) { return page == KR::String(name); };
    const std::uint32_t at = static_cast<std::uint32_t>(index);
    if (at < mChannelSelectors.GetCount())
    {
        const std::int32_t channel = SelectedIndexOf(mChannelSelectors[at]);
        record[kChannel] = channel >= 0 ? static_cast<signed char>(channel) : mKeptChannels[at];
    }
    record[kMessageKind] = 1;
    if (page_is(u"notePage"))
    {
        const bool latching = mLatchingButton && mLatchingButton->GetValue() != 0.0;
        record[kNumberOrType] = static_cast<signed char>(latching ? kNoteLatching : kNote);
        record[kParam] = NumberByte(mNoteField);
        record[kFirstValue] = NumberByte(mOffValueField);
        record[kLastValue] = NumberByte(mOnValueField);
    }
    else if (page_is(u"ccAbsolutePage"))
    {
        record[kMessageKind] = 0;
        record[kNumberOrType] = NumberByte(NumberBoxAt(mCcNumberFields, 0));
        record[kLastValue] = NumberByte(NumberBoxAt(mValueFieldsA, 0));
        record[kFirstValue] = NumberByte(NumberBoxAt(mValueFieldsB, 0));
    }
    else if (page_is(u"ccIncDecPage"))
    {
        record[kNumberOrType] = static_cast<signed char>(
            SelectedIndexOf(mCcIncDecTypeSelector) == 0 ? kCcIncrement : kCcDecrement);
        record[kParam] = NumberByte(NumberBoxAt(mCcNumberFields, 2));
        record[kFirstValue] = NumberByte(NumberBoxAt(mValueFieldsA, 2));
        record[kLastValue] = NumberByte(NumberBoxAt(mValueFieldsB, 2));
        MarkNoMoreValues(record);
    }
    else if (page_is(u"ccCyclePage"))
    {
        record[kNumberOrType] = kCcCycle;
        record[kParam] = NumberByte(NumberBoxAt(mCcNumberFields, 1));
        record[kFirstValue] = NumberByte(NumberBoxAt(mValueFieldsA, 1));
        BuildCycle(record, mCcCycleTypeSelector, NumberBoxAt(mValueFieldsB, 1), mCcValue3Field,
                   mCcValue4Field);
    }
    else if (page_is(u"programPage"))
    {
        record[kNumberOrType] = kProgramChange;
        record[kParam] = NumberByte(NumberBoxAt(mProgramFields, 1));
        record[kFirstValue] = NumberByte(mProgramLsbField);
        record[kLastValue] = NumberByte(mProgramMsbField);
    }
    else if (page_is(u"programIncDecPage"))
    {
        record[kNumberOrType] = static_cast<signed char>(
            SelectedIndexOf(mProgramIncDecTypeSelector) == 1 ? kProgramDecrement : kProgramIncrement);
        record[kFirstValue] = NumberByte(mProgramMinField);
        record[kLastValue] = NumberByte(mProgramMaxField);
        MarkNoMoreValues(record);
    }
    else if (page_is(u"programCyclePage"))
    {
        record[kNumberOrType] = kProgramCycle;
        record[kFirstValue] = NumberByte(NumberBoxAt(mProgramFields, 0));
        BuildCycle(record, mProgramCycleTypeSelector, NumberBoxAt(mProgram2Fields, 0), mProgram3Field,
                   mProgram4Field);
    }
    else if (page_is(u"mmcPage"))
    {
        record[kNumberOrType] = kMmc;
        const std::int32_t item = SelectedIndexOf(mMmcSelector);
        if (item == kMmcResetItem)
        {
            record[kFirstValue] = kMmcReset;
        }
        else if (item == kMmcListed)
        {
            record[kFirstValue] = mKeptMmcCommand;
        }
        else
        {
            record[kFirstValue] = static_cast<signed char>(item + 1);
        }
    }
    else if (page_is(u"nrpnRpnPage"))
    {
        record[kNumberOrType] =
            static_cast<signed char>(SelectedIndexOf(mNrpnRpnTypeSelector) + kFirstNrpnRpn);
        record[kParam] = NumberByte(mNrpnRpnValueField);
        record[kFirstValue] = NumberByte(mNrpnRpnLsbField);
        record[kLastValue] = NumberByte(mNrpnRpnMsbField);
    }
    else if (page_is(u"otherPage"))
    {
        const std::int32_t item = SelectedIndexOf(mOtherTypeSelector);
        std::int32_t code = item;
        if (item < 0)
        {
            code = mKeptOtherCode;
        }
        else if (item >= kFirstLateOtherItem)
        {
            code = item + kLateOtherCodeOffset;
        }
        else if (item >= kFirstSkippedOtherItem)
        {
            code = item + kEarlyOtherCodeOffset;
        }
        record[kNumberOrType] = static_cast<signed char>(code);
        record[kFirstValue] = NumberByte(mOtherValueField);
    }
    else
    {
        record[kMessageKind] = 0;
    }
    return record;
}

void LButtonControlEditPanel::BuildCycle(KR::Array<signed char>& record, const RCPtr<KR::LComboBox>& type,
                                         const RCPtr<KR::LNumericUpDown>& second,
                                         const RCPtr<KR::LNumericUpDown>& third,
                                         const RCPtr<KR::LNumericUpDown>& fourth) const
{
    switch (SelectedIndexOf(type))
    {
    case 0:
        record[kLastValue] = NumberByte(second);
        MarkNoMoreValues(record);
        break;
    case 1:
        record[kSecondValue] = NumberByte(second);
        record[kLastValue] = NumberByte(third);
        record[kNoSecondValue] = 0;
        record[kNoThirdValue] = 1;
        record[kThirdValue] = 0;
        break;
    default:
        record[kSecondValue] = NumberByte(second);
        record[kThirdValue] = NumberByte(third);
        record[kLastValue] = NumberByte(fourth);
        record[kNoSecondValue] = 0;
        record[kNoThirdValue] = 0;
        break;
    }
}

void LButtonControlEditPanel::UpdateCCCycleTypeVisibleParameters()
{
    static const char16_t* const fields[3] = {u"ccValue2", u"ccValue3", u"ccValue4"};
    static const char16_t* const ids[3] = {u"VALUE2_LABEL", u"VALUE3_LABEL", u"VALUE4_LABEL"};
    UpdateCycleFields(u"ccCyclePage", fields, ids, mCcCycleTypeSelector,
                      "LButtonControlEditPanel::UpdateCCCycleTypeVisibleParameters", true);
}

void LButtonControlEditPanel::UpdateProgramCycleTypeVisibleParameters()
{
    static const char16_t* const fields[3] = {u"program2", u"program3", u"program4"};
    static const char16_t* const ids[3] = {u"PROGRAM2_LABEL", u"PROGRAM3_LABEL", u"PROGRAM4_LABEL"};
    UpdateCycleFields(u"programCyclePage", fields, ids, mProgramCycleTypeSelector,
                      "LButtonControlEditPanel::UpdateProgramCycleTypeVisibleParameters", false);
}

void LButtonControlEditPanel::UpdateCycleFields(const char16_t* pageName, const char16_t* const fields[3],
                                                const char16_t* const labelIds[3],
                                                const RCPtr<KR::LComboBox>& type, const char* operation,
                                                bool tellLines)
{
    // The string ids are crossed on purpose: "VALUE2_LABEL" reads "LAST", so the last
    // field shown is always labelled "LAST" and the ones before it "VALUE 2", "VALUE 3".
    const RCPtr<KR::LControl> page = mTabControl ? mTabControl->GetPageByName(KR::String(pageName)) : nullptr;
    if (!page)
    {
        if (tellLines)
        {
            ThrowMissing(operation, "Failed to find cc Cycle page", 532);
        }
        return;
    }
    RCPtr<KR::LControl> selectors[3];
    RCPtr<KR::LLabel> labels[3];
    if (tellLines && !FindControlByPath<KR::LLabel>(page, {u"ccValue1", u"controlNameLabel"}))
    {
        ThrowMissing(operation, "couldn't find child ccValue1 child Label", 536);
    }
    for (int i = 0; i < 3; ++i)
    {
        std::string missing;
        labels[i] = FieldLabel(page, fields[i], missing);
        if (!labels[i])
        {
            if (!tellLines)
            {
                return;
            }
            ThrowMissing(operation, missing, 540 + 4 * i);
        }
        selectors[i] = page->FindChildControl(KR::String(fields[i]));
    }
    const auto label = [&labels, labelIds](int field, int id)
    { labels[field]->SetTextFromString(labels[field]->GetLocalizedString(KR::String(labelIds[id]))); };
    switch (SelectedIndexOf(type))
    {
    case 0:
        selectors[1]->SetVisible(false);
        selectors[2]->SetVisible(false);
        selectors[0]->SetVisible(true);
        label(0, 0);
        break;
    case 1:
        selectors[1]->SetVisible(true);
        selectors[2]->SetVisible(false);
        selectors[0]->SetVisible(true);
        label(0, 1);
        label(1, 0);
        break;
    case 2:
        selectors[1]->SetVisible(true);
        selectors[2]->SetVisible(true);
        selectors[0]->SetVisible(true);
        label(0, 1);
        label(1, 2);
        label(2, 0);
        break;
    default:
        break;
    }
    SendNotificationByName(u"NID_PARAMETERS_CHANGED");
}

void LButtonControlEditPanel::RegisterForAllParameterNotifications()
{
    const auto changed = &LButtonControlEditPanel::OnControlChanged;
    const auto sender = [](const auto& control) { return RCPtr<KR::LNotificationDistributor>(control); };
    const auto on = [this](Handlers::Handler handler, const RCPtr<KR::LNotificationDistributor>& from,
                           const char16_t* name, int line)
    {
        RegisterOrThrow(handler, from, name, "LButtonControlEditPanel::RegisterForAllParameterNotifications",
                        kSource, line);
    };
    constexpr const char16_t* value = u"NID_VALUE_CHANGE";
    constexpr const char16_t* selection = u"NID_SELECTION_CHANGE";
    on(changed, sender(mProgramMinField), value, 249);
    on(changed, sender(mNoteField), value, 250);
    on(changed, sender(mLatchingButton), u"NID_LEFT_CLICK", 252);
    on(changed, sender(mLatchingButton), value, 254);
    on(changed, sender(mTabControl), u"NID_TAB_SELECTED", 257);
    on(changed, sender(mOnValueField), value, 258);
    on(changed, sender(mOffValueField), value, 259);
    on(changed, sender(mProgram3Field), value, 260);
    on(changed, sender(mProgram4Field), value, 261);
    on(changed, sender(mProgramMaxField), value, 262);
    on(changed, sender(mProgramLsbField), value, 263);
    on(changed, sender(mProgramMsbField), value, 264);
    on(changed, sender(mOtherValueField), value, 265);
    on(changed, sender(mNrpnRpnLsbField), value, 267);
    on(changed, sender(mNrpnRpnMsbField), value, 268);
    on(changed, sender(mNrpnRpnValueField), value, 269);
    on(changed, sender(mMmcSelector), selection, 272);
    on(changed, sender(mOtherTypeSelector), selection, 273);
    on(changed, sender(mNrpnRpnTypeSelector), selection, 274);
    on(&LButtonControlEditPanel::OnProgramCycleTypeChanged, sender(mProgramCycleTypeSelector), selection,
       276);
    on(&LButtonControlEditPanel::OnCCCycleTypeChanged, sender(mCcCycleTypeSelector), selection, 277);
    on(changed, sender(mCcIncDecTypeSelector), selection, 280);
    on(changed, sender(mProgramIncDecTypeSelector), selection, 281);
    SetNotificationForAllArrayItems(mChannelSelectors, mNotificationHandler, changed, selection);
    SetNotificationForAllArrayItems(mCcNumberFields, mNotificationHandler, changed, value);
    SetNotificationForAllArrayItems(mValueFieldsA, mNotificationHandler, changed, value);
    SetNotificationForAllArrayItems(mValueFieldsB, mNotificationHandler, changed, value);
    on(changed, sender(mCcValue3Field), value, 288);
    on(changed, sender(mCcValue4Field), value, 289);
    SetNotificationForAllArrayItems(mProgramFields, mNotificationHandler, changed, value);
    SetNotificationForAllArrayItems(mProgram2Fields, mNotificationHandler, changed, value);
}

void LButtonControlEditPanel::FollowLatching(bool latching)
{
    const RCPtr<KR::LControl> notePage =
        mTabControl ? mTabControl->GetPageByName(KR::String(u"notePage")) : nullptr;
    if (mOnOffFollowsLatching && notePage)
    {
        if (const RCPtr<KR::LControl> onOff = notePage->FindChildControl(KR::String(u"onOffSelectors")))
        {
            onOff->SetVisible(latching);
        }
    }
}

Result LButtonControlEditPanel::OnControlChanged(const RCPtr<KR::LNotificationDistributor>& sender,
                                                 const RCPtr<KR::LNotification>&)
{
    // The user's own click shows the pair at once: the panel does not show its own write
    // again when the model echoes it.
    if (mLatchingButton && IsSender(sender, RCPtr<KR::LControl>(mLatchingButton)))
    {
        FollowLatching(mLatchingButton->GetValue() >= 0.5);
    }
    SendNotificationByName(u"NID_PARAMETERS_CHANGED");
    return 1;
}

Result LButtonControlEditPanel::OnCCCycleTypeChanged(const RCPtr<KR::LNotificationDistributor>&,
                                                     const RCPtr<KR::LNotification>&)
{
    UpdateCCCycleTypeVisibleParameters();
    return 1;
}

Result LButtonControlEditPanel::OnProgramCycleTypeChanged(const RCPtr<KR::LNotificationDistributor>&,
                                                          const RCPtr<KR::LNotification>&)
{
    UpdateProgramCycleTypeVisibleParameters();
    return 1;
}
