#pragma once
// The editor of a continuous control's message block (encoders, faders, the volume pedal,
// the wheels, the touch pad's axes). The block is six bytes:
//
//     0 channel (0 Global, 1..16, 17..20 zones, 21 Omni)
//     1 kind: 0 control change, 1 RPN/NRPN or another message
//     2 controller number, RPN/NRPN code 4..7, or the other message's code
//     3 1 for a relative control change
//     4 minimum, relative encoding or parameter LSB
//     5 maximum or parameter MSB
//
// Four tab pages show it: "ccAbsolutePage", "ccRelativePage", "nrpnRpnPage" and
// "otherPage". The editor never touches the model: it sends "NID_PARAMETERS_CHANGED" from
// itself for every user change and every tab switch, and the embedding panel builds the
// block and decides where it goes. Showing a block sends nothing.
//
//     editor->ShowMoveableBlock(block);      // silent
//     ... user edits ...                     // "NID_PARAMETERS_CHANGED" from the editor
//     KR::Array<signed char> edited = editor->BuildMoveableBlock();

#include "editor/edit/OwnHandlerPanel.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/Array.h"
#include "kr/core/RCPtrArray.h"
#include "kr/ui/TabControl.h"

class LMoveableControlEditPanel
    : public LOwnHandlerPanel<LMoveableControlEditPanel, HandlerOffer::OnceCreated>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.EditPanel.MoveableTypePanel";
    static constexpr std::uint32_t kBlockSize = 6;
    // The other-message list offers this many items: the table's further ones are not
    // messages a continuous control sends.
    static constexpr std::int32_t kOtherItemCount = 13;

    using LOwnHandlerPanel::LOwnHandlerPanel;

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // Puts a block on its page and brings that page to the front without reporting a
    // change; afterwards every user change is reported. A block of another size is
    // ignored and changes nothing.
    virtual void ShowMoveableBlock(const KR::Array<signed char>& block);
    // A new block from the page in front; six zero bytes when no page is selected.
    virtual KR::Array<signed char> BuildMoveableBlock();
    // Registers the change handler with every child the user can change; a refused
    // registration throws.
    virtual void RegisterForAllParameterNotifications();

    const KR::RCPtr<KR::LTabControl>& GetTypeTabControl() const { return mTypeTabControl; }

private:
    KR::Result OnParameterChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                  const KR::RCPtr<KR::LNotification>& notification);

    // The list's selection as a block byte: what a shown byte left without a selection
    // keeps building that byte (the writers refuse 0x80 and above).
    static signed char SelectedByte(const KR::RCPtr<KR::LComboBox>& list, signed char kept);
    // Drops the bytes kept for the block shown before.
    void ForgetKeptBytes();

    KR::RCPtr<KR::LTabControl> mTypeTabControl;
    KR::RCPtrArray<KR::LComboBox> mMidiChannelSelectors;
    KR::RCPtrArray<KR::LNumericUpDown> mMinSelectors;
    KR::RCPtrArray<KR::LNumericUpDown> mMaxSelectors;
    KR::RCPtrArray<KR::LNumericUpDown> mCcSelectors;
    KR::RCPtr<KR::LNumericUpDown> mLsbSelector;
    KR::RCPtr<KR::LNumericUpDown> mMsbSelector;
    KR::RCPtr<KR::LComboBox> mNrpnRpnSelector;
    KR::RCPtr<KR::LComboBox> mRelativeTypeSelector;
    KR::RCPtr<KR::LComboBox> mOtherTypeSelector;

    // Bytes shown into lists that have no item for them, built back while no item is
    // chosen: channel per page, relative encoding, RPN/NRPN code offset, other code.
    signed char mKeptChannel[4] = {0, 0, 0, 0};
    signed char mKeptRelativeType = 0;
    signed char mKeptNrpnRpn = 0;
    signed char mKeptOtherCode = 0;
};
