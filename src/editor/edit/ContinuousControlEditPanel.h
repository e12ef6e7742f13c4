#pragma once
// What the encoder, fader, volume pedal and wheel edit panels share: a frame around the
// block editor ("moveableTypePanel") that is also the device model's node of the control
// being edited. The group panel binds it with SetFirstParamID when the user picks a
// control; the control's block then arrives through SetParamValueLocal and is shown, and
// every edit the user makes is built and handed to the root control (the main control,
// taken as the model's root) with the panel's parameter id.
//
//     class LFaderEditPanel : public LContinuousControlEditPanel<IFader> { ... };

#include "editor/edit/BlockEditPanel.h"
#include "editor/edit/MoveableControlEditPanel.h"
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
} // namespace EditPanelDetail

template <typename Model>
class LContinuousControlEditPanel
    : public LBlockEditPanel<LContinuousControlEditPanel<Model>, Model, HandlerOffer::Always>
{
    using Frame = LBlockEditPanel<LContinuousControlEditPanel<Model>, Model, HandlerOffer::Always>;

public:
    using Frame::Frame;

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

    // The block of the panel's parameter: shown in the editor (silently) and passed on to
    // the parent module, which shows it on the picture. 0x80004005 for another id or a
    // value that is not a block of this panel's length; nothing is shown then.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool /*fromDevice*/) override
    {
        KR::Array<signed char> block;
        if (!this->ReadOwnBlock(descriptor, value, GetBlockSize(), block) || !mMoveableTypePanel)
        {
            return KR::kFail;
        }
        this->ShowOwnBlock(block, [&] { mMoveableTypePanel->ShowMoveableBlock(ToEditorBlock(block)); });
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

private:
    KR::Result OnParametersChanged(const KR::RCPtr<KR::LNotificationDistributor>&,
                                   const KR::RCPtr<KR::LNotification>&)
    {
        if (this->IsBound() && mMoveableTypePanel)
        {
            this->HandBlockOn(FromEditorBlock(mMoveableTypePanel->BuildMoveableBlock()));
        }
        return 1;
    }

    KR::RCPtr<LMoveableControlEditPanel> mMoveableTypePanel;
    KR::RCPtr<KR::LLabel> mNameLabel;
};
