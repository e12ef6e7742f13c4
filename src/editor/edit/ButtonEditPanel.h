#pragma once
// The push buttons' edit panel: the button's number and bank, and three tab pages: the
// MIDI-mode editor ("MIDI"), four button colours and the HID colour ("COLORS"), a key
// stroke and a modifier combination ("HID"). A push button's block is 17 bytes:
//
//     0       record byte 0 (channel)        5..13  record bytes 1..9
//     1..4    colours 1..4 (0 Off .. 7 White) 14    HID colour
//     15      key code 0..85, 87 for no key ("Off", item 0; item n is code n - 1)
//     16      modifier combination 0..28 (the item index)
//
// The first 14 bytes are laid out as the pad's block.

#include "device/ControlModules.h"
#include "editor/edit/ButtonRecordEditPanel.h"
#include "kr/controls/Label.h"

class LButtonEditPanel : public LButtonRecordEditPanel<IPushButton>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.ButtonEditPanel";
    static constexpr std::uint32_t kBlockSize = 17;
    static constexpr std::uint32_t kButtonCount = 36;
    static constexpr std::uint32_t kButtonsPerBank = 9;
    // The key byte of "Off", the key list's first item.
    static constexpr signed char kNoKey = 87;

    LButtonEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LButtonRecordEditPanel(parent, name)
    {
    }

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // "BUTTON n" and "BANK b" for a button index below 36 (n = index mod 9 + 1,
    // b = index div 9 + 1); any other index changes neither.
    virtual void SetButtonLabelText(std::int32_t index);

    // Shows a 17-byte block of the bound button on the three pages and passes it on to the
    // parent module (the picture shows it too). 0x80004005 for another id or a block of
    // another size, and nothing is shown or passed on.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
    KR::Array<signed char> BuildBlock(const KR::Array<signed char>& record) const override;
    void OnBound(std::int32_t index) override { SetButtonLabelText(index); }

private:
    KR::RCPtr<KR::LLabel> mButtonName;
    ShownByteList mColors[ButtonRecordEditPanelDetail::kColorCount];
    ShownByteList mKey;
    ShownByteList mModifierKey;
    ShownByteList mAsciiColor;
};
