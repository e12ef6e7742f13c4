#pragma once
// KR::LScrollView: a control whose contents (its children) may be larger than itself. It
// keeps the contents' size (the client extent), shows up to two bars and a corner piece,
// which are parts of its skin ("hBar", "vBar", "corner"; bars only when they are
// IScrollbar controls), and scrolls by moving its scroll offset. A bar's value drives the
// offset and the offset drives the bar back, without a second round trip. The extent is
// set by code or, with the create parameters "AUTO_CLIENT_EXTENT_X" / "_Y", measured from
// the children that are not docked on that axis.
//
// Bars are shown and hidden by a zero-size placement of the corner (or of the bar without
// one), never by their visible flag: with a corner the skin lays the bars out against it.
//
// Sends "NID_CLIENT_EXTENT_CHANGE" (no payload, UI thread) when the extent changes.
// Input: the vertical wheel scrolls the vertical bar (the horizontal one with Alt when both
// show, or when only that one shows), the horizontal wheel the horizontal bar; Shift takes
// a page. A wheel with no bar shown climbs on. With drag-scrolling on, a left drag pans
// the contents (drag mode 6).
//
// The panel, the dialog, the list boxes and the text box derive from it.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class IScrollbar;

class LScrollView : public LControl
{
public:
    static constexpr std::int32_t kHorizontal = 0;
    static constexpr std::int32_t kVertical = 1;
    // Auto client extent bits.
    static constexpr std::int32_t kAutoWidth = 1;
    static constexpr std::int32_t kAutoHeight = 2;

    LScrollView(const RCPtr<LControl>& parent, const String& name);
    LScrollView(const RCPtr<IRootWindowServices>& rootWindow, const String& name);
    ~LScrollView() override;

    Result ReleaseInternalReferences() override;
    // The bars' table first, then the control's own: the class's table before its base's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // ---- slots it overrides, in the control's order -----------------------------------------
    void UpdateClientRect() override;                                                          // 4
    void CheckClientRect() override;                                                           // 5
    void ScrollContent(const PointD& oldOffset, const PointD& newOffset) override;             // 6
    void OnChildRectChanged(const RCPtr<LControl>& child) override;                            // 7
    void SetScrollOffset(const PointD& offset) override;                                       // 11
    void GetSizeLimits(const LControl* forControl, PointD& minimum, PointD& maximum) override; // 26
    RectD GetClientArea() override;                                                            // 27
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;            // 36
    void OnChildRemoved(std::int32_t index) override;                                          // 39
    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override;          // 50
    Result OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;                     // 64
    Result OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel) override;                   // 65
    Result Initialize() override;                                                              // 87
    Result ReadCreateParams() override;                                                        // 88
    RectD GetClientRect() override;                                                            // 93

    // ---- its own slots --------------------------------------------------------------------------
    virtual void OnClientExtentChanged();       // 94
    virtual void OnScrollClientRectChanged() {} // 95: the client rectangle changed with the bars
    virtual void OnScrollBarAvailabilityChanged(std::int32_t) {
    } // 96: a bar's shown state left its axis' possibility

    // 1 when both sizes are within 2.220446049250313e-15 of the stored ones; else stores
    // them, tells slot 94, sends "NID_CLIENT_EXTENT_CHANGE" and returns 0.
    Result SetClientExtent(double width, double height);
    PointD GetClientExtent() const { return mClientExtent; }
    // The auto client extent bits, then what is added to the measured children's extent.
    Result SetScrollOptions(std::int32_t autoClientExtent, std::int32_t extraWidth, std::int32_t extraHeight);
    // The room the bars take: the corner's width and height, or the bars' own.
    PointD GetScrollBarExtent() const;
    // 1 without automatic extent; else SetClientExtent's result (0 for unknown bits).
    Result UpdateAutoClientExtent();
    Result UpdateScrollLayout();
    void UpdateScrollBars();
    // Shows or hides the bar of the axis by placing the corner (or the bar) at its
    // thickness or at 0.
    void ShowScrollBar(std::int32_t axis, bool shown);
    bool IsScrollBarShown(std::int32_t axis) const;

    // Line mode: the axis scrolls in whole lines of `size` units (a size of 0 or less
    // scrolls by units, like line mode off).
    void SetLineMode(std::int32_t axis, bool on);
    void SetLineSize(std::int32_t axis, std::int32_t size);
    void SetDragScroll(bool on) { mDragScroll = on; }
    void SetMinimumContentSize(const PointD& size) { mMinimumContent = size; }
    const RCPtr<LControl>& GetScrollBar(std::int32_t axis) const { return axis == kVertical ? mVBar : mHBar; }
    // Rebuilds the retained contents' bounds after the extent changed.
    void UpdateContentsCache();

private:
    Result OnBarValueChange(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    void FindParts();
    void TakeBarThickness(bool registerBars);
    bool UsesLines(std::int32_t axis) const { return mLineMode[axis] != 0 && mLineSize[axis] > 0; }
    double Thickness(std::int32_t axis) const { return axis == kVertical ? mVBarThickness : mHBarThickness; }
    bool CanHaveBar(std::int32_t axis) const;
    PointD MeasureChildren();
    static IScrollbar* AsBar(const RCPtr<LControl>& control);

    RCPtr<LNotificationHandler<LScrollView>> mBarHandler;
    bool mUpdatingBars = false;
    bool mScrollingSelf = false;
    bool mFrameChanging = false;
    bool mBarsRegistered = false;
    RCPtr<LControl> mHBar;
    RCPtr<LControl> mVBar;
    RCPtr<LControl> mCorner;
    PointD mClientExtent;
    double mVBarThickness = 0.0;
    double mHBarThickness = 0.0;
    std::int32_t mLineMode[2] = {0, 0};
    std::int32_t mLineSize[2] = {0, 0};
    std::int32_t mAutoClientExtent = 0;
    std::int32_t mExtraWidth = 0;
    std::int32_t mExtraHeight = 0;
    bool mDragScroll = false;
    PointD mMinimumContent;
};

} // namespace KR
