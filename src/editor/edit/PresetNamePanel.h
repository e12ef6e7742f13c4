#pragma once
// The preset's six-character name, always on screen at the top left of the device view.
// The device view hands this panel to the model as the preset name's node, so the name
// the model holds arrives through SetParamValueLocal; every change the user types is
// turned into the name's six bytes and handed to the root control (the main control).
//
// The keyboard shows upper case only and has its own codes for two characters: a blank
// is stored as '"' (0x22) and an apostrophe as '`' (0x60); a 0 byte ends the name.
//
//     KR::Array<signed char> block = LPresetNamePanel::NameToBlock(u"ab c"); // 41 42 22 43 00 00
//     KR::String name = LPresetNamePanel::BlockToName(bytes, count);            // "AB C"

#include "device/ControlModules.h"
#include "editor/edit/OwnHandlerPanel.h"
#include "kr/controls/TextBox.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <cstdint>

class LPresetNamePanel : public LOwnHandlerPanel<LPresetNamePanel, HandlerOffer::Always>, public IPresetName
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.DeviceView.PresetNameEditPanel";
    static constexpr std::uint32_t kBlockSize = 6;
    // What the keyboard can show of a name: blank, letters, digits and - . / = [ \ ] '.
    static constexpr char16_t kAllowedCharacters[] =
        u" abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-./=[\\]'";

    LPresetNamePanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // The text typed into the box changed: its six bytes go to the root control.
    virtual KR::Result OnTextChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                     const KR::RCPtr<KR::LNotification>& notification);

    // Shows the name block of the panel's parameter (of any length; it is read up to its
    // first 0 byte) without sending it back. 0x80004005 for another id.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

    const KR::RCPtr<KR::LTextBox>& GetTextBox() const { return mTextBox; }

    // The name's block: the first six characters in upper case with the keyboard's codes,
    // 0 after the end.
    static KR::Array<signed char> NameToBlock(const KR::String& name);
    // The name a block holds, read up to `count` bytes or its first 0 byte.
    static KR::String BlockToName(const std::uint8_t* bytes, std::uint32_t count);

private:
    KR::Result RegisterForTextChanges();

    KR::RCPtr<KR::LTextBox> mTextBox;
};
