#pragma once
// An edit panel that is also the device model's node of one control: the group panel binds
// it with SetFirstParamID when the user picks the control, the control's value block then
// arrives through SetParamValueLocal, and every edit is handed to the root control (the
// main control, taken as the model's root) as the whole block, built again from what the
// panel shows. Nothing is handed on before the panel is bound (an unbound panel's id 0 is
// the preset name's), nor before the bound control's own block was shown: until then the
// panel still shows the previous control's block, which an edit would write into the new
// control.
//
//     class LZoneEditPanel : public LBlockEditPanel<LZoneEditPanel, IKeybedZone, HandlerOffer::OnceCreated>
//     {
//         std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
//                                         bool) override
//         {
//             KR::Array<signed char> block;
//             if (!ReadOwnBlock(descriptor, value, 9, block)) return KR::kFail;
//             ShowOwnBlock(block, [&] { ... show block ... });
//             SetParamValue(descriptor, value);    // the picture, also for an echo
//         }
//         KR::Result OnChange(...) { HandBlockOn(BuildZoneBlock()); return 1; }
//     };

#include "device/ParameterizedModule.h"
#include "editor/edit/OwnHandlerPanel.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <cstdint>

namespace EditPanelDetail
{
// Asks the installed engine for the current value of the one parameter.
void RequestValue(std::int32_t id);
// The value's bytes as signed block bytes; false for a value that is not a block of `size`.
bool ReadBlock(const KR::Variant& value, std::uint32_t size, KR::Array<signed char>& block);
// Hands an edited block of parameter `id` to the main control at the root of `panel`'s
// tree (the model's root); nothing when the root is not one.
void HandToMainControl(const KR::LControl& panel, std::int32_t id, const KR::Array<signed char>& block);
} // namespace EditPanelDetail

template <typename Owner, typename Model, HandlerOffer Offer>
class LBlockEditPanel : public LOwnHandlerPanel<Owner, Offer>, public Model
{
    using Frame = LOwnHandlerPanel<Owner, Offer>;

public:
    LBlockEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name) : Frame(parent, name) {}

    // Binds the panel to the control the user picked: names it, asks the engine for its
    // block (which arrives later through SetParamValueLocal), then OnBound.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index) override
    {
        Model::SetFirstParamID(parent, firstParamID, index);
        mBound = true;
        mShowsOwnBlock = false;
        ShowControlName(index);
        EditPanelDetail::RequestValue(firstParamID);
        OnBound(index);
    }

protected:
    // Labels naming the control, set before its value is asked for.
    virtual void ShowControlName(std::int32_t /*index*/) {}
    // After the value was asked for.
    virtual void OnBound(std::int32_t /*index*/) {}

    // The block of a value of the panel's own parameter; false for another id or a value
    // that is not a block of `size`, and `block` is then left as it was.
    bool ReadOwnBlock(const KR::ParamDescriptor& descriptor, const KR::Variant& value, std::uint32_t size,
                      KR::Array<signed char>& block) const
    {
        return descriptor.id == Model::GetFirstParamID() && EditPanelDetail::ReadBlock(value, size, block);
    }

    bool IsBound() const { return mBound; }

    // Shows the bound control's `block` through `show`, unless the panel shows exactly that
    // block already (the model's echo of the panel's own write, or the same value again):
    // showing it again would run the panel's repairs and detections over the user's choices
    // (a scale chosen over notes held at 127 would be read back as no scale).
    template <typename Show>
    void ShowOwnBlock(const KR::Array<signed char>& block, Show&& show)
    {
        if (mShowsOwnBlock && block == mShownBlock)
        {
            return;
        }
        // Edits made while the block is shown go out as before (the main control drops
        // them as echoes of the value it is applying).
        mShowsOwnBlock = true;
        show();
        mShownBlock = block;
    }

    // Hands the block to the main control as the panel's parameter; nothing while unbound
    // or before the bound control's block was shown. `holdsAllShown` false: the block
    // cannot carry everything the panel shows (a pedal's cycle of more than two values),
    // so its echo is shown again and the panel shows what the model holds.
    void HandBlockOn(const KR::Array<signed char>& block, bool holdsAllShown = true)
    {
        if (mBound && mShowsOwnBlock)
        {
            mShownBlock = holdsAllShown ? block : KR::Array<signed char>();
            EditPanelDetail::HandToMainControl(*this, Model::GetFirstParamID(), block);
        }
    }

private:
    bool mBound = false;
    // Whether a block of the bound control was shown since binding, and the block the
    // panel shows (the last one shown or handed on).
    bool mShowsOwnBlock = false;
    KR::Array<signed char> mShownBlock;
};
