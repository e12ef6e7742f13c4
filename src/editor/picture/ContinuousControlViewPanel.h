#pragma once
// What the encoder, fader, volume pedal and wheel panels of the picture share: the
// control's node in the model, showing its block in the message read-out ("viewPanel")
// beneath it. A click on the control's "button" is the group's business, not the panel's.

#include "editor/picture/MoveableControlViewPanel.h"
#include "editor/picture/PicturePanel.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <cstdint>

// The fixed parts of a class's error text for a missing read-out.
struct ViewPanelErrorSite
{
    const char* operation; // "LFaderPanel::Initialize"
    const char* source;    // "UI\\QuillanCommon\\FaderPanel"
    int missingReadOutLine;
};

template <typename Self, typename Model>
class LContinuousControlViewPanel : public LPicturePanel<Self, Model>
{
public:
    static constexpr std::uint32_t kMoveableBlockSize = 6;

    LContinuousControlViewPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LPicturePanel<Self, Model>(parent, name)
    {
        // The panel stands for exactly one parameter of the model.
        this->mOwnParamCount = 1;
    }

    KR::Result Initialize() override
    {
        const KR::Result result = this->InitializePanel();
        if (KR::Failed(result))
        {
            return result;
        }
        mReadOut = KR::RCPtr<LMoveableControlViewPanel>(this->FindChildControl(KR::String(u"viewPanel")));
        if (!mReadOut)
        {
            const ViewPanelErrorSite& site = GetErrorSite();
            PicturePanelDetail::ThrowMissingChild("cannot find child viewPanel", site.operation, site.source,
                                                  site.missingReadOutLine);
        }
        return result;
    }

    KR::Result ReleaseInternalReferences() override
    {
        mReadOut = nullptr;
        return LPicturePanel<Self, Model>::ReleaseInternalReferences();
    }

    // The control's block, shown in the read-out: 0, or 0x80004005 for another id or a
    // block not of the control's length (nothing shown then).
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool /*fromDevice*/) override
    {
        std::uint32_t count = 0;
        const std::uint8_t* bytes = value.GetBytes(count);
        if (descriptor.id != this->GetFirstParamID() || count != GetBlockSize() || !bytes || !mReadOut)
        {
            return KR::kFail;
        }
        KR::Array<signed char> block;
        for (std::uint32_t i = 0; i < count; ++i)
        {
            block.AddItem(static_cast<signed char>(bytes[i]));
        }
        mReadOut->ShowMoveableBlock(ToMoveableBlock(block));
        return KR::kOk;
    }

    const KR::RCPtr<LMoveableControlViewPanel>& GetReadOut() const { return mReadOut; }

protected:
    virtual const ViewPanelErrorSite& GetErrorSite() const = 0;
    virtual std::uint32_t GetBlockSize() const { return kMoveableBlockSize; }
    // The control's block as the read-out's six message bytes.
    virtual KR::Array<signed char> ToMoveableBlock(const KR::Array<signed char>& block) const
    {
        return block;
    }

private:
    KR::RCPtr<LMoveableControlViewPanel> mReadOut;
};
