#pragma once
// Small helpers the control core's sources (Control*.cpp) and the framework's own controls
// share: the millisecond clock, one axis of a point, mouse buttons, docking and the last
// control a key visited. Each source once kept its own copy; a library compiled in
// batches (cmake/KR.cmake) needs one.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/ui/Control.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>
#include <cstdint>

namespace KR::ControlHelpers
{

inline std::uint32_t Now()
{
    return IFrameworkApp::GetInstance().GetMilliseconds();
}

// A difference of the wrapping millisecond clock.
inline std::int32_t Since(std::uint32_t now, std::uint32_t then)
{
    return static_cast<std::int32_t>(now - then);
}

// Axis 0 is x, any other y.
inline double& AxisOf(PointD& point, std::int32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

inline double AxisOf(const PointD& point, std::int32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

// Never undefined when the bounds cross: the lower one wins, as for an empty range.
inline double Limit(double value, double lower, double upper)
{
    return std::max(std::min(value, upper), lower);
}

inline bool IsButton(std::uint32_t button)
{
    return button == MouseButton::kLeft || button == MouseButton::kMiddle || button == MouseButton::kRight;
}

// 0 for the left button, 1 for the middle one, 2 for any other.
inline int ButtonIndex(std::uint32_t button)
{
    return button == MouseButton::kLeft ? 0 : (button == MouseButton::kMiddle ? 1 : 2);
}

// How many axes the control's layout docks it on: 0, 1 or 2.
inline int DockedAxes(const LControl& control)
{
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    return layout ? int{layout->xDocked} + int{layout->yDocked} : 0;
}

inline bool DockedOn(const LControl& control, std::int32_t axis)
{
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    return layout && (axis == 0 ? layout->xDocked : layout->yDocked);
}

// The control the key came from: the last one it visited.
inline RCPtr<LControl> LastVisited(const LKeyParam& key)
{
    const std::uint32_t count = key.controls.GetCount();
    return count > 0 ? key.controls.GetAt(count - 1) : nullptr;
}

} // namespace KR::ControlHelpers
