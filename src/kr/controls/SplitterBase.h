#pragma once
// KR::LSplitterBase: a bar the user drags to share room between panes, along Y
// (LSplitterH) or X (LSplitterV). The splitter's position is placed against a sibling, the
// anchor; its size spec reaches to the split, and the panes refer to the splitter by name,
// so dragging changes the absolute part of the splitter's size spec and the layout moves
// the panes. The split stays where the anchor and every sibling tied to the splitter keep
// within their minimum and maximum sizes, during the drag and again after each layout.
// Without an anchor it does not move. Looks: 0 normal, 1 hover, 2 pressed, 3-5 the same
// focused, 6 disabled. Sends nothing of its own; takes the left drag.

#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LSplitterBase : public LControl
{
public:
    static constexpr std::int32_t kNormalLook = 0;
    static constexpr std::int32_t kHoverLook = 1;
    static constexpr std::int32_t kPressedLook = 2;
    static constexpr std::int32_t kFocusedLooks = 3;
    static constexpr std::int32_t kDisabledLook = 6;
    // The range's far bound before anything narrows it.
    static constexpr double kUnbounded = 4503599627370496.0; // 2^52

    // vertical: 1 for a bar that moves along X, 0 for one that moves along Y.
    LSplitterBase(const RCPtr<LControl>& parent, const String& name, std::int32_t vertical);

    Result OnUpdateLayout(std::int32_t parentWidth, std::int32_t parentHeight) override;
    Result ReleaseInternalReferences() override;

    void OnDragStart() override;                                                    // 18
    Result OnDragMove(const RCPtr<LPointWithModifiersParam>& point) override;       // 20
    void OnDragEnd() override;                                                      // 22
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result Initialize() override;                                                   // 87

    // The start and extent of the positions the split may take: (dragMin, dragMax - dragMin).
    PointD GetDragRange() const { return PointD{mDragMin, mDragMax - mDragMin}; }
    std::int32_t GetAxis() const { return mVertical; }

private:
    // The anchor and tied siblings narrow [mDragMin, mDragMax] around `position`, the
    // splitter's size spec standing at `size`; `measured` takes each sibling's size as the
    // layout measures it for the splitter instead of its current one.
    void ComputeRange(double position, double size, bool measured);
    void ChooseLook();
    double AxisOf(const PointD& point) const { return mVertical != 0 ? point.x : point.y; }

    std::int32_t mVertical;
    double mDragMin = 0.0;
    double mDragMax = kUnbounded;
    double mSavedAbsolute = 0.0;
    float mSavedRelative = 0.0f;
    RCPtr<LControl> mAnchor;
    double mStartPosition = 0.0;
    double mStartSize = 0.0;
};

} // namespace KR
