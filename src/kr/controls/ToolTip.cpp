#include "kr/controls/ToolTip.h"

#include "kr/core/Point.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/RootWindowServices.h"

#include <cmath>

namespace KR
{

namespace
{
// One for all tooltips: when a visible one was last hidden. Until one has been, none
// shows at once.
bool gHidden = false;
std::uint32_t gLastHideTime = 0;

std::uint32_t NowMs()
{
    return IFrameworkApp::GetInstance().GetMilliseconds();
}
} // namespace

void LToolTip::ForgetLastHide()
{
    gHidden = false;
    gLastHideTime = 0;
}

Result LToolTip::ReadCreateParams()
{
    SetNotFocusable(true);
    return kOk;
}

Result LToolTip::PlaceParts()
{
    SetVisible(false);
    return kOk;
}

Result LToolTip::Show()
{
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        LimitSpec minimum;
        LimitSpec maximum;
        if (const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor())
        {
            layout->GetSizeLimits(0, minimum, maximum);
        }
        maximum = LimitSpec{};
        maximum.absolute = window->GetClientSize().x - 8.0;
        SetSizeLimits(0, minimum, maximum);
    }
    const std::uint32_t now = NowMs();
    mStateTime = now;
    if (gHidden && now - gLastHideTime < kQuickShowMs)
    {
        Appear();
    }
    else
    {
        mState = kWaiting;
        SetVisible(false);
    }
    // A second Show while one is pending holds no second idle request.
    if (!mIdleHeld)
    {
        mIdleHeld = true;
        BeginIdleProcessing();
    }
    return kOk;
}

void LToolTip::Appear()
{
    mState = kShown;
    Place();
    SetVisible(true);
}

Result LToolTip::Hide()
{
    const RCPtr<LControl> self(this);
    if (mState != kIdle)
    {
        mState = kIdle;
    }
    if (mIdleHeld)
    {
        mIdleHeld = false;
        EndIdleProcessing();
    }
    if (IsShown(false))
    {
        gHidden = true;
        gLastHideTime = NowMs();
    }
    if (const RCPtr<LControl>& parent = GetParent())
    {
        return parent->DeferChildRemoval(self);
    }
    SetVisible(false);
    return kOk;
}

void LToolTip::Place()
{
    const RCPtr<LControl>& parent = GetParent();
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!parent || !window)
    {
        return;
    }
    const PointI pointer = window->GetMousePosition();
    const PointI area = window->GetClientSize();
    const PointI size = RoundPointToInt(GetSize());
    std::int64_t x = pointer.x;
    std::int64_t y = std::int64_t{pointer.y} + 20;
    if (area.x < x + size.x)
    {
        x = area.x - size.x;
    }
    if (area.y < y + size.y)
    {
        y = area.y - size.y;
    }
    const PointI origin = RoundPointToInt(parent->GetAbsolutePosition());
    DockedPositionSpec xPosition;
    DockedPositionSpec yPosition;
    SizeSpec xSize;
    SizeSpec ySize;
    if (const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor())
    {
        layout->GetPlacement(0, xPosition, xSize);
        layout->GetPlacement(1, yPosition, ySize);
    }
    else
    {
        xSize.absolute = GetSize().x;
        ySize.absolute = GetSize().y;
    }
    xPosition.absolute = static_cast<double>(std::max<std::int64_t>(x, 0) - origin.x);
    yPosition.absolute = static_cast<double>(std::max<std::int64_t>(y, 0) - origin.y);
    SetPlacements(xPosition, xSize, yPosition, ySize);
}

Result LToolTip::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    const Result result = LControl::OnIdle(sender, notification);
    const std::uint32_t now = NowMs();
    if (mState == kWaiting && now - mStateTime > kDelayMs)
    {
        mStateTime = now;
        Appear();
    }
    else if (mState == kShown && now - mStateTime > kLifeMs)
    {
        Hide();
    }
    return result;
}

} // namespace KR
