#include "kr/controls/LevelMeter.h"

#include "kr/controls/OwnHandlerTable.h"
#include "kr/controls/PartPlacement.h"

namespace KR
{

namespace
{
constexpr const char16_t* kNidLeftClick = u"NID_LEFT_CLICK";
} // namespace

LLevelMeter::LLevelMeter(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LLevelMeter::~LLevelMeter() = default;

Result LLevelMeter::Receive(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification)
{
    return ReceiveThroughOwnTable(*this, mHandler, sender, notification);
}

Result LLevelMeter::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                              NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

Result LLevelMeter::ReleaseInternalReferences()
{
    mPeakMark = nullptr;
    mBar = nullptr;
    mClipLight = nullptr;
    return LControl::ReleaseInternalReferences();
}

// ---- creation ------------------------------------------------------------------------------

Result LLevelMeter::Initialize()
{
    const Result result = LControl::Initialize();
    mHandler = LNotificationHandler<LLevelMeter>::Create(this);
    mPeakMark = FindChildControl(String(u"peakLo"));
    mBar = FindChildControl(String(u"activeOverlay"));
    // The parts show the meter's tooltip.
    for (const RCPtr<LControl>& part : {mPeakMark, mBar})
    {
        if (part)
        {
            part->SetUseParentToolTip(true);
        }
    }
    mClipLight = FindChildControl(String(u"clipButton"));
    return result;
}

Result LLevelMeter::PlaceParts()
{
    if (mPeakMark)
    {
        mPeakMark->SetVisible(false);
        mPeakMark->SetNotFocusable(true);
        mPeakLoPos = mPeakMark->GetPosition();
        if (const RCPtr<LControl>& peakHi = FindChildControl(String(u"peakHi")))
        {
            peakHi->SetVisible(false);
            peakHi->SetNotFocusable(true);
            mPeakHiPos = peakHi->GetPosition();
        }
        else
        {
            // One end alone gives no scale for the mark.
            mPeakMark = nullptr;
        }
    }
    if (mBar)
    {
        mBar->SetVisible(false);
        mBar->SetNotFocusable(true);
    }
    if (mClipLight)
    {
        mClipLight->SetNotFocusable(true);
    }
    SetNotFocusable(true);
    OnValueChanged();
    return kOk;
}

// ---- state to parts ------------------------------------------------------------------------

void LLevelMeter::OnValueChanged()
{
    if (!mUpdating)
    {
        Update(GetValue(), 0.0, mClipCount);
    }
}

Result LLevelMeter::SetLevel(double level, double peak)
{
    return Update(level, peak, mClipCount);
}

Result LLevelMeter::Update(double level, double peak, std::int32_t clipCount)
{
    if (mClipLight)
    {
        if (clipCount != mClipCount)
        {
            mClipLight->SetValue(1.0);
        }
        else if (!mLatching)
        {
            mClipLight->SetValue(0.0);
        }
    }
    mClipCount = clipCount;
    mUpdating = true;
    SetValue(level);
    mUpdating = false;

    const bool vertical = IsVertical();
    const std::int32_t axis = vertical ? 1 : 0;
    if (mBar)
    {
        const double length =
            RoundHalfAwayFromZero(vertical ? GetSize().y * (1.0 - level) : GetSize().x * level);
        if (length < 1.0)
        {
            mBar->SetVisible(false);
        }
        else
        {
            mBar->SetVisible(true);
            SetPartAbsoluteSize(*mBar, axis, length);
        }
    }
    if (mPeakMark)
    {
        const double span = vertical ? mPeakHiPos.y - mPeakLoPos.y : mPeakHiPos.x - mPeakLoPos.x;
        const double offset = RoundHalfAwayFromZero(span * peak);
        if (offset == 0.0)
        {
            mPeakMark->SetVisible(false);
        }
        else
        {
            // Measured from the mark's own place at peak 0, so that peak 1 lands on "peakHi".
            mPeakMark->SetVisible(true);
            SetPartPositionOffset(*mPeakMark, axis, (vertical ? mPeakLoPos.y : mPeakLoPos.x) + offset);
        }
    }
    return kOk;
}

// ---- the clip light ------------------------------------------------------------------------

Result LLevelMeter::SetClipLatching(bool latching)
{
    if (!mClipLight)
    {
        return kFail;
    }
    mClipLight->SetValue(0.0);
    if (latching == mLatching)
    {
        return kOk;
    }
    mLatching = latching;
    if (latching)
    {
        mHandler->Register(&LLevelMeter::OnClipLightClicked, mClipLight, kNidLeftClick);
    }
    else
    {
        mHandler->Unregister(mClipLight, kNidLeftClick);
        UnregisterForNotification(mClipLight, kNidLeftClick);
    }
    return kOk;
}

bool LLevelMeter::IsClipLightOn() const
{
    return mClipLight && mClipLight->GetValue() >= 0.5;
}

Result LLevelMeter::OnClipLightClicked(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    if (IsClipLightOn())
    {
        mClipLight->SetValue(0.0);
        SendNotificationByName(u"NID_CLIPLIGHT_UNLATCHED");
    }
    return 1;
}

} // namespace KR
