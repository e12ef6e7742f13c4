#pragma once
// What the push-button and pad panels of the picture share: the control's number, the
// read-out of its mode record, and a preview of one of its four colours that the user
// steps through with Shift-clicks. The preview shows the colour the model holds, not the
// block that just arrived: a block passed up by the edit panel may not be stored yet.

#include "editor/edit/RootModuleEngineAccess.h"
#include "editor/picture/ButtonControlViewPanel.h"
#include "editor/picture/PicturePanel.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/NotificationParams.h"

#include <cstdint>

struct ColorPreviewSite
{
    const char* initializeOperation; // "LButtonPanel::Initialize"
    const char* numberOperation;     // "LButtonPanel::SetFirstParamID"
    const char* source;
    std::uint32_t blockSize;
    bool registersBeforeReadOut; // the pad's order: colour, button, then read-out
    int missingColorLine;
    int missingReadOutLine;
    int refusedClickLine;
    const char16_t* numberLabel;
    const char* missingNumberLabel;
    int missingNumberLabelLine;
    std::uint32_t numbersPerBank; // 0: numbered through, not per bank
};

template <typename Self, typename Model>
class LColorPreviewPanel : public LPicturePanel<Self, Model>
{
public:
    // Bytes 1..4 of the block are the four colours.
    static constexpr std::uint32_t kFirstColorByte = 1;
    static constexpr std::int32_t kColorCount = 4;

    LColorPreviewPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LPicturePanel<Self, Model>(parent, name)
    {
        this->mOwnParamCount = 1;
    }

    KR::Result Initialize() override
    {
        const KR::Result result = this->InitializePanel();
        if (KR::Failed(result))
        {
            return result;
        }
        const ColorPreviewSite& site = GetSite();
        mIndicator = this->FindChildControl(KR::String(u"color"));
        if (!mIndicator)
        {
            PicturePanelDetail::ThrowMissingChild("child: color not found", site.initializeOperation,
                                                  site.source, site.missingColorLine);
        }
        if (site.registersBeforeReadOut)
        {
            ListenToClicks(site);
            mColorIndex = -1;
            FindReadOut(site);
        }
        else
        {
            FindReadOut(site);
            ListenToClicks(site);
            mColorIndex = -1;
        }
        return result;
    }

    KR::Result ReleaseInternalReferences() override
    {
        mIndicator = nullptr;
        mReadOut = nullptr;
        return LPicturePanel<Self, Model>::ReleaseInternalReferences();
    }

    // Also numbers the label, once; throws when the skin gave the panel no label.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index) override
    {
        Model::SetFirstParamID(parent, firstParamID, index);
        const ColorPreviewSite& site = GetSite();
        const KR::RCPtr<KR::LControl>& label = this->FindChildControl(KR::String(site.numberLabel));
        if (!label)
        {
            PicturePanelDetail::ThrowMissingChild(site.missingNumberLabel, site.numberOperation, site.source,
                                                  site.missingNumberLabelLine);
        }
        const auto number = static_cast<std::uint32_t>(index);
        PicturePanelDetail::FormatNumberLabel(
            *label, (site.numbersPerBank != 0 ? number % site.numbersPerBank : number) + 1u);
    }

    // The colour preview is refreshed whatever arrives; the record is shown only from a
    // block of this control of the exact length (0), else 0x80004005.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool /*fromDevice*/) override
    {
        UpdateColorPreview();
        std::uint32_t count = 0;
        const std::uint8_t* bytes = value.GetBytes(count);
        if (descriptor.id != this->GetFirstParamID() || count != GetSite().blockSize || !bytes || !mReadOut)
        {
            return KR::kFail;
        }
        // The record is byte 0 and bytes 5..13; 1..4 are the colours.
        KR::Array<signed char> record{static_cast<signed char>(bytes[0])};
        for (std::uint32_t i = kFirstColorByte + kColorCount; i < kFirstColorByte + kColorCount + 9; ++i)
        {
            record.AddItem(static_cast<signed char>(bytes[i]));
        }
        mReadOut->ShowModeRecord(record);
        return KR::kOk;
    }

    // Shows the colour the index picks from the model's block (the first colour before any
    // Shift-click). Without an engine, or with a block of another length, or a colour the
    // indicator has no look for, the indicator stays as it is.
    virtual void UpdateColorPreview()
    {
        const KR::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
        if (!engine || !mIndicator)
        {
            return;
        }
        KR::Variant value;
        engine->GetParamValue(KR::ParamDescriptor(this->GetFirstParamID()), value);
        std::uint32_t count = 0;
        const std::uint8_t* bytes = value.GetBytes(count);
        if (!bytes || count != GetSite().blockSize)
        {
            return;
        }
        const std::int32_t which = mColorIndex >= 0 && mColorIndex < kColorCount ? mColorIndex : 0;
        const std::int32_t look = static_cast<signed char>(bytes[kFirstColorByte + which]);
        if (look >= 0 && static_cast<std::uint32_t>(look) < mIndicator->GetLookCount())
        {
            mIndicator->SelectLook(look);
        }
    }

    std::int32_t GetColorIndex() const { return mColorIndex; }
    const KR::RCPtr<LButtonControlViewPanel>& GetReadOut() const { return mReadOut; }

protected:
    virtual const ColorPreviewSite& GetSite() const = 0;

private:
    void FindReadOut(const ColorPreviewSite& site)
    {
        mReadOut = KR::RCPtr<LButtonControlViewPanel>(this->FindChildControl(KR::String(u"viewPanel")));
        if (!mReadOut)
        {
            PicturePanelDetail::ThrowMissingChild("child: viewPanel not found", site.initializeOperation,
                                                  site.source, site.missingReadOutLine);
        }
    }

    void ListenToClicks(const ColorPreviewSite& site)
    {
        PicturePanelDetail::ThrowIfFailed(this->Listen(&LColorPreviewPanel::OnButtonClicked,
                                                       this->FindChildControl(KR::String(u"button")),
                                                       u"NID_LEFT_CLICK"),
                                          site.initializeOperation, site.source, site.refusedClickLine);
    }

    // A Shift-click steps to the next of the four colours; the group opens the edit panel
    // on any click.
    KR::Result OnButtonClicked(const KR::RCPtr<KR::LNotificationDistributor>&,
                               const KR::RCPtr<KR::LNotification>& notification)
    {
        const KR::RCPtr<KR::LMouseButtonParam> click =
            notification ? KR::RCPtr<KR::LMouseButtonParam>(notification->GetData()) : nullptr;
        if (click && (click->modifiers & KR::ModifierFlag::kShift) != 0)
        {
            mColorIndex = mColorIndex + 1 > kColorCount - 1 ? 0 : mColorIndex + 1;
            UpdateColorPreview();
        }
        return 1;
    }

    KR::RCPtr<KR::LControl> mIndicator;
    KR::RCPtr<LButtonControlViewPanel> mReadOut;
    std::int32_t mColorIndex = -1;
};
