#pragma once
// What the encoder, fader, volume pedal and wheel edit panels share: a frame around the
// block editor ("moveableTypePanel") that is also the device model's node of the control
// being edited. The group panel binds it with SetFirstParamID when the user picks a
// control; the control's block then arrives through SetParamValueLocal and is shown, and
// every edit the user makes is built and handed to the root control (the main control,
// taken as the model's root) with the panel's parameter id.
//
//     class LFaderEditPanel : public LContinuousControlEditPanel<IFader> { ... };

#include "device/RootModuleInterface.h"
#include "editor/edit/MoveableControlEditPanel.h"
#include "editor/edit/OwnHandlerPanel.h"
#include "kr/controls/Label.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <cstdint>

// The control's own name label, where a class keeps one: its child name and the
// missing child's error detail and line (the operation and source are the class's).
struct NameLabelSite
{
    const char16_t* child;
    const char* missingDetail;
    int missingLine;
};

// "NAME n" and "BANK b" of controls numbered in banks: both labels are found anew each time.
struct BankLabelSite
{
    const char* operation; // "LEncoderEditPanel::SetEncoderLabelText"
    const char* source;
    const char16_t* nameChild;
    const char* missingName;
    int nameLine;
    const char* missingBank;
    int bankLine;
    std::uint32_t perBank;
    std::uint32_t count;
};

namespace EditPanelDetail
{
// Index `count` and above change nothing.
void SetBankLabels(KR::LControl& panel, const BankLabelSite& site, std::uint32_t index);
// Asks the installed engine for the current value of the one parameter.
void RequestValue(std::int32_t id);
// The bytes of a value, or null and 0.
const std::uint8_t* BytesOf(const KR::Variant& value, std::uint32_t& count);
// Hands an edited block of parameter `id` to the main control at the root of `panel`'s
// tree (the model's root); nothing when the root is not one.
void HandToMainControl(const KR::LControl& panel, std::int32_t id, const KR::Array<signed char>& block);
} // namespace EditPanelDetail

template <typename Model>
class LContinuousControlEditPanel
    : public LOwnHandlerPanel<LContinuousControlEditPanel<Model>, HandlerOffer::Always>,
      public Model
{
    using Frame = LOwnHandlerPanel<LContinuousControlEditPanel<Model>, HandlerOffer::Always>;

public:
    LContinuousControlEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : Frame(parent, name)
    {
    }

    KR::Result Initialize() override
    {
        const KR::Result result = this->InitializeOwnHandler();
        if (KR::Failed(result))
        {
            return result;
        }
        const EditPanelErrorSite& site = GetErrorSite();
        mMoveableTypePanel =
            KR::RCPtr<LMoveableControlEditPanel>(this->FindChildControl(KR::String(u"moveableTypePanel")));
        if (!mMoveableTypePanel)
        {
            EditPanelDetail::ThrowMissingChild(
                site.operation, site.source, "Cannot find child: moveableTypePanel", site.missingEditorLine);
        }
        this->RegisterOrThrow(&LContinuousControlEditPanel::OnParametersChanged, mMoveableTypePanel,
                              u"NID_PARAMETERS_CHANGED", site.operation, site.source,
                              site.refusedRegistrationLine);
        if (const NameLabelSite* name = GetNameLabelSite())
        {
            mNameLabel = KR::RCPtr<KR::LLabel>(this->FindChildControl(KR::String(name->child)));
            if (!mNameLabel)
            {
                EditPanelDetail::ThrowMissingChild(site.operation, site.source, name->missingDetail,
                                                   name->missingLine);
            }
        }
        return KR::kOk;
    }

    KR::Result ReleaseInternalReferences() override
    {
        mMoveableTypePanel = nullptr;
        mNameLabel = nullptr;
        return Frame::ReleaseInternalReferences();
    }

    // Binds the panel to the control the user picked: names it and asks the engine for
    // its block, which arrives later through SetParamValueLocal.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index) override
    {
        Model::SetFirstParamID(parent, firstParamID, index);
        mBound = true;
        ShowControlName(index);
        EditPanelDetail::RequestValue(firstParamID);
    }

    // The block of the panel's parameter: shown in the editor (silently) and passed on to
    // the parent module, which shows it on the picture. 0x80004005 for another id or a
    // value that is not a block of this panel's length; nothing is shown then.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool /*fromDevice*/) override
    {
        std::uint32_t count = 0;
        const std::uint8_t* bytes = EditPanelDetail::BytesOf(value, count);
        if (descriptor.id != Model::GetFirstParamID() || count != GetBlockSize() || !bytes ||
            !mMoveableTypePanel)
        {
            return KR::kFail;
        }
        KR::Array<signed char> block;
        for (std::uint32_t i = 0; i < count; ++i)
        {
            block.AddItem(static_cast<signed char>(bytes[i]));
        }
        mMoveableTypePanel->ShowMoveableBlock(ToEditorBlock(block));
        Model::SetParamValue(descriptor, value);
        return KR::kOk;
    }

    const KR::RCPtr<LMoveableControlEditPanel>& GetMoveableTypePanel() const { return mMoveableTypePanel; }

protected:
    virtual const EditPanelErrorSite& GetErrorSite() const = 0;
    // The length of the control's block in the model.
    virtual std::uint32_t GetBlockSize() const { return LMoveableControlEditPanel::kBlockSize; }
    // The model's block as the editor's six bytes, and back.
    virtual KR::Array<signed char> ToEditorBlock(const KR::Array<signed char>& block) const { return block; }
    virtual KR::Array<signed char> FromEditorBlock(const KR::Array<signed char>& block) const
    {
        return block;
    }
    // Where the class keeps a name label; null for none.
    virtual const NameLabelSite* GetNameLabelSite() const { return nullptr; }
    const KR::RCPtr<KR::LLabel>& GetNameLabel() const { return mNameLabel; }
    virtual void ShowControlName(std::int32_t /*index*/) {}

private:
    KR::Result OnParametersChanged(const KR::RCPtr<KR::LNotificationDistributor>&,
                                   const KR::RCPtr<KR::LNotification>&)
    {
        // Unbound, the panel's id would be the preset name's.
        if (!mBound || !mMoveableTypePanel)
        {
            return 1;
        }
        EditPanelDetail::HandToMainControl(*this, Model::GetFirstParamID(),
                                           FromEditorBlock(mMoveableTypePanel->BuildMoveableBlock()));
        return 1;
    }

    KR::RCPtr<LMoveableControlEditPanel> mMoveableTypePanel;
    KR::RCPtr<KR::LLabel> mNameLabel;
    bool mBound = false;
};
