#pragma once
// KR::LScrollbar: the skinned scroll bar; its value (0..1) is the scroll position. Parts,
// each optional (what is missing is not served): "dec" and "inc" (buttons, auto-repeating
// one line step toward 0 or 1), "channel" (the track; a press pages, its looks are 0
// normal, 1 clicked, shown on the paged strip only, 2 disabled) and "thumb" (a button
// inside "channel", dragged along the axis). With both arrows the axis follows them:
// horizontal when "inc" lies further right of "dec" than below it.
// Sends "NID_VALUE_CHANGE" (LValueParam, UI thread) through the base while the value
// changes, also during a thumb drag. A value set from outside during a drag is held and
// applied when the drag ends. Takes its parent's and its own sibling keys (arrows on its
// axis, Page Up and Down when vertical, Home, End) while it is shown.

#include "kr/controls/Button.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/Scrollbar.h"

#include <cstdint>

namespace KR
{

class LScrollbar : public LControl, public IScrollbar
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ScrollBar";
    static constexpr std::int32_t kChannelNormalLook = 0;
    static constexpr std::int32_t kChannelClickedLook = 1;
    static constexpr std::uint32_t kAllKeys = 0xFF;

    LScrollbar(const RCPtr<LControl>& parent, const String& name);
    ~LScrollbar() override;

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    double SetValue(double value) override;                                             // 1
    Result SetValueScaling(double minimum, double maximum, std::int32_t mode) override; // 3
    Result OnParentSizeChanged(const RCPtr<LControl>& child) override;                  // 82
    Result Initialize() override;                                                       // 87
    Result PlaceParts() override;                                                       // 90

    // IScrollbar: the fields the scroll view writes, then Recompute (UpdateThumb).
    void SetLineStep(double step) override { mLineStep = step; }
    double GetLineStep() const override { return mLineStep; }
    void SetPageStep(double step) override { mPageStep = step; }
    double GetPageStep() const override { return mPageStep; }
    void SetThumbSize(double fraction) override { mVisibleFraction = fraction; }
    double GetThumbSize() const override { return mVisibleFraction; }
    void Recompute() override { UpdateThumb(); }
    // The sibling-key table, for the keys its owner passes on as well.
    bool TakeKey(const KeyCode& key) override;

    // Measures the track from the channel's active look, then sizes and places the thumb.
    void OnLookChanged();
    // The thumb's length from the visible fraction, never below its cross size; then placed.
    void UpdateThumb();
    // The thumb where the value puts it; nothing while it is dragged.
    void PlaceThumb();
    // SetValue even during a drag.
    double SetValueNow(double value);
    // Which sibling keys the bar takes (the low 8 bits); kInvalidArg for higher bits.
    Result SetKeyMask(std::uint32_t mask);
    // For a point in the channel's client coordinates: 1 on the track before the thumb,
    // 2 after it, 0 elsewhere.
    std::int32_t HitChannel(const PointD& point) const;

    bool IsVertical() const { return mVertical; }
    bool IsDragging() const { return mDragging; }
    std::int32_t GetPagingMode() const { return mPagingMode; }
    double GetThumbLength() const { return mThumbLength; }
    std::uint32_t GetKeyMask() const { return mKeyMask; }

protected:
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

private:
    Result OnArrow(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>& notification);
    Result OnChannelPress(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);
    Result OnChannelHover(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);
    Result OnThumbMove(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification);
    Result OnThumbDrag(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification);
    Result OnSiblingKeyOffered(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);

    std::int32_t Axis() const { return mVertical ? 1 : 0; }
    // The thumb's span on the axis, in the channel's client coordinates.
    double ThumbStart() const;
    // Sets the absolute parts of the thumb's position or size spec on the axis.
    void SetThumbSpec(bool position, double value);
    // The pointer in the channel's client coordinates.
    PointD PointerInChannel() const;
    // The clicked look on the paged strip while the pointer is over it; else look 0 alone.
    void UpdateChannelLook();
    void ResetChannelLook();
    void Page();
    void StopPaging();

    RCPtr<LNotificationHandler<LScrollbar>> mHandler;
    bool mVertical = true;
    RCPtr<LControl> mChannel;
    RCPtr<LButton> mThumb;
    double mLineStep = 0.02;
    double mPageStep = 0.2;
    double mVisibleFraction = 0.1;
    double mMinThumbLength = 10.0;
    double mThumbLength = 0.0;
    double mTrackStart = 0.0;
    double mTrackEnd = 0.0;
    double mChannelOrigin = 0.0;
    PointD mChannelClientOrigin;
    bool mDragging = false;
    PointI mGrabOffset{};
    std::int32_t mPagingMode = 0;
    double mPagingInterval = 0.2;
    double mPagingDelay = 0.4;
    double mLastPagingTick = 0.0;
    double mPagingCountdown = 0.0;
    double mPendingValue = -1.0;
    bool mApplyPendingValue = true;
    std::uint32_t mKeyMask = 0;
};

} // namespace KR
