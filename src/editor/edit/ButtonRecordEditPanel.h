#pragma once
// What the push-button, pad and sustain pedal edit panels share: the MIDI-mode editor
// (LButtonControlEditPanel) whose 10-byte record each panel keeps inside its control's
// value block, and the panel's place in the device model as that control's node. The
// group panel binds the panel with SetFirstParamID when the user picks a control; the
// control's block then arrives through SetParamValueLocal and is spread over the pages,
// and every change on any page builds the whole block again from the current state of
// all pages and hands it to the root control (the main control, taken as the model's
// root) with the panel's parameter id. Nothing is written before the panel is bound: an
// unbound panel's id 0 is the preset name's.
//
//     class LPadEditPanel : public LButtonRecordEditPanel<IPad> { ... };

#include "editor/edit/BlockEditPanel.h"
#include "editor/edit/ButtonControlEditPanel.h"
#include "editor/edit/ButtonModeRecord.h"
#include "editor/edit/ControlUtilities.h"
#include "editor/edit/ShownByteList.h"
#include "kr/controls/ComboBox.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"
#include "kr/ui/TabControl.h"

#include <cstdint>

namespace ButtonRecordEditPanelDetail
{
// The 10-byte record from block byte 0 and the nine bytes from `from` on.
KR::Array<signed char> RecordOf(const KR::Array<signed char>& block, std::uint32_t from);
// Where the record's bytes 1..9 stand in a push button's or a pad's block: after the
// channel (byte 0) and the four colours (bytes 1..4).
constexpr std::uint32_t kColoredRecordFrom = 5;
constexpr std::uint32_t kColorCount = 4;
// One colour selector of a colour page: its name and the lines of its error texts.
struct ColorSite
{
    const char16_t* selector;
    const char* missing;
    int missingLine;
    int registrationLine;
};
// The first 14 bytes of a push button's block, which are a pad's whole block: record byte
// 0, the four colours, record bytes 1..9.
KR::Array<signed char> ColoredBlock(const KR::Array<signed char>& record,
                                    const ShownByteList (&colors)[kColorCount]);
// Shows block bytes 1..4 in the four colour lists.
void ShowColors(const KR::Array<signed char>& block, ShownByteList (&colors)[kColorCount]);
// The colour labels below `panel`, named after their selectors whatever order the skin
// gives them: "color<n>" the text "NUMBERED_COLOR_LABEL" with n, "asciiColor" the text
// "ASCII_COLOR_LABEL".
void NameColorLabels(KR::LControl& panel);
} // namespace ButtonRecordEditPanelDetail

template <typename Model>
class LButtonRecordEditPanel
    : public LBlockEditPanel<LButtonRecordEditPanel<Model>, Model, HandlerOffer::Always>
{
    using Frame = LBlockEditPanel<LButtonRecordEditPanel<Model>, Model, HandlerOffer::Always>;

public:
    using Frame::Frame;

    KR::Result ReleaseInternalReferences() override
    {
        mButtonTypePanel = nullptr;
        return Frame::ReleaseInternalReferences();
    }

    const KR::RCPtr<LButtonControlEditPanel>& GetButtonTypePanel() const { return mButtonTypePanel; }

protected:
    // Keeps the mode editor and listens to its changes; a missing editor throws `missing`
    // at `missingLine`, a refused registration at `registrationLine`.
    void TakeButtonTypePanel(const KR::RCPtr<KR::LControl>& control, const char* missing, int missingLine,
                             int registrationLine)
    {
        const EditPanelErrorSite& site = GetErrorSite();
        mButtonTypePanel = KR::RCPtr<LButtonControlEditPanel>(control);
        if (!mButtonTypePanel)
        {
            EditPanelDetail::ThrowMissingChild(site.operation, site.source, missing, missingLine);
        }
        Listen(KR::RCPtr<KR::LNotificationDistributor>(mButtonTypePanel), u"NID_PARAMETERS_CHANGED",
               registrationLine);
    }

    // The "comboBox" of the selector `selector` on `page`, listened to for its selection.
    ShownByteList TakeList(const KR::RCPtr<KR::LControl>& page, const char16_t* selector, const char* missing,
                           int missingLine, int registrationLine)
    {
        const EditPanelErrorSite& site = GetErrorSite();
        const KR::RCPtr<KR::LComboBox> list = FindControlByPath<KR::LComboBox>(page, {selector, u"comboBox"});
        if (!list)
        {
            EditPanelDetail::ThrowMissingChild(site.operation, site.source, missing, missingLine);
        }
        Listen(KR::RCPtr<KR::LNotificationDistributor>(list), u"NID_SELECTION_CHANGE", registrationLine);
        return ShownByteList(list);
    }

    // The four colour lists of a colour page, in selector order.
    void TakeColorLists(
        const KR::RCPtr<KR::LControl>& page,
        const ButtonRecordEditPanelDetail::ColorSite (&sites)[ButtonRecordEditPanelDetail::kColorCount],
        ShownByteList (&colors)[ButtonRecordEditPanelDetail::kColorCount])
    {
        for (std::uint32_t i = 0; i < ButtonRecordEditPanelDetail::kColorCount; ++i)
        {
            colors[i] = TakeList(page, sites[i].selector, sites[i].missing, sites[i].missingLine,
                                 sites[i].registrationLine);
        }
    }

    // The page of the tab control; a missing page throws `missing` at `line`.
    KR::RCPtr<KR::LControl> TakePage(const KR::RCPtr<KR::LTabControl>& tabs, const char16_t* page,
                                     const char* missing, int line)
    {
        const KR::RCPtr<KR::LControl> found = tabs ? tabs->GetPageByName(KR::String(page)) : nullptr;
        if (!found)
        {
            const EditPanelErrorSite& site = GetErrorSite();
            EditPanelDetail::ThrowMissingChild(site.operation, site.source, missing, line);
        }
        return found;
    }

    // Shows the editor's part of a block (the record, repaired by the editor).
    void ShowRecord(KR::Array<signed char> record)
    {
        if (mButtonTypePanel)
        {
            mButtonTypePanel->ShowModeRecord(record);
        }
    }

    // The operation and source of the class's error texts (the line fields are unused).
    virtual const EditPanelErrorSite& GetErrorSite() const = 0;
    // The block from the editor's 10-byte record and the panel's own lists.
    virtual KR::Array<signed char> BuildBlock(const KR::Array<signed char>& record) const = 0;
    // Whether the block built from the record carries all of it.
    virtual bool HoldsRecord(const KR::Array<signed char>& /*record*/) const { return true; }

private:
    void Listen(const KR::RCPtr<KR::LNotificationDistributor>& sender, const char16_t* name, int line)
    {
        const EditPanelErrorSite& site = GetErrorSite();
        this->RegisterOrThrow(&LButtonRecordEditPanel::OnParametersChanged, sender, name, site.operation,
                              site.source, line);
    }

    KR::Result OnParametersChanged(const KR::RCPtr<KR::LNotificationDistributor>&,
                                   const KR::RCPtr<KR::LNotification>&)
    {
        if (!this->IsBound() || !mButtonTypePanel)
        {
            return 1;
        }
        // No page in front gives no record: nothing is sent.
        const KR::Array<signed char> record = mButtonTypePanel->BuildModeRecord();
        if (record.GetCount() != ButtonModeRecord::kSize)
        {
            return 1;
        }
        this->HandBlockOn(BuildBlock(record), HoldsRecord(record));
        return 1;
    }

    KR::RCPtr<LButtonControlEditPanel> mButtonTypePanel;
};
