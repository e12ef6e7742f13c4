#pragma once
// KR::LLevelMeter: a level between 0 and 1 as a bar, a peak mark and a clip light that may
// latch until clicked. Parts: "activeOverlay" the bar, sized along the meter's long axis
// (a vertical meter's bar covers the unlit part, so it is height x (1 - level)); "peakLo"
// the peak mark, its skin position that of peak 0, and "peakHi" whose position marks peak
// 1 (hidden; without it no mark shows); "clipButton" the light, lit at a value of 0.5 or
// more. A missing part is skipped; SetClipLatching without a light gives kFail.
// Sends "NID_CLIPLIGHT_UNLATCHED" (no payload, UI thread) when a click puts a latched,
// lit light out. Takes no input of its own and never the focus.

#include "kr/core/Point.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LLevelMeter : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.LevelMeter";

    LLevelMeter(const RCPtr<LControl>& parent, const String& name);
    ~LLevelMeter() override;

    // Offers a notification to the meter's own table, then to the control's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    Result ReleaseInternalReferences() override;

    void OnValueChanged() override; // 2
    Result Initialize() override;   // 87
    Result PlaceParts() override;   // 90

    // The level and peak with no new clip.
    Result SetLevel(double level, double peak);
    // A clip count other than the last lights the light; the same one lets it go out
    // unless latching. 0.
    Result Update(double level, double peak, std::int32_t clipCount);
    Result SetClipLatching(bool latching);
    bool IsClipLightOn() const;
    std::int32_t GetClipCount() const { return mClipCount; }
    std::int32_t SetClipCount(std::int32_t count) { return mClipCount = count; }
    bool IsClipLatching() const { return mLatching; }

private:
    Result OnClipLightClicked(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification);
    bool IsVertical() const { return GetSize().y > GetSize().x; }

    RCPtr<LNotificationHandler<LLevelMeter>> mHandler;
    std::int32_t mClipCount = 0;
    bool mLatching = false;
    PointD mPeakLoPos;
    PointD mPeakHiPos;
    RCPtr<LControl> mPeakMark;
    RCPtr<LControl> mBar;
    RCPtr<LControl> mClipLight;
    bool mUpdating = false;
};

} // namespace KR
