#pragma once
// The window style of a top-level window, from the size limits of its control's layout:
// a window whose skin fixes its size gets no sizing frame and no maximize box. The style
// bits are KR::WindowStyle's (kr/ui/OSWindow.h).

#include "kr/core/Rect.h"
#include "kr/ui/LayoutDescriptor.h"

#include <cstdint>

namespace KR
{

// Fixed when a minimum is given and the minimum equals the maximum on both axes in
// reference, relative factor and absolute value, or when all four limits refer to a named
// control; else sizable.
bool IsFixedSizeWindow(const LLayoutDescriptor& layout);

// Caption, system menu and minimize box; a sizable window adds the sizing frame, and the
// maximize box when it has no maximum at all.
std::uint32_t MainWindowStyle(const LLayoutDescriptor& layout);

// A popup with a caption; the system menu when any box is asked for, then the boxes; the
// sizing frame when sizable.
std::uint32_t RootWindowStyle(bool fixedSize, bool close, bool minimize, bool maximize);

// The rectangle moved inside the area: past the right or bottom edge it moves back, then
// before the left or top edge it moves forward, so that one larger than the area keeps its
// caption on the screen.
RectI KeepInsideArea(RectI rect, const RectI& area);

} // namespace KR
