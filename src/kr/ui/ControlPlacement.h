#pragma once
// The first placement pass of a control's layout and the comparisons by which the
// placement setters tell whether their specs held. The minimum and maximum passes are
// LControl's (ApplyMinimumSize, ApplyMaximumSize): they read the control's children.
//
// All quantities are doubles in the parent's coordinates; results lie on whole units.

#include "kr/core/Point.h"
#include "kr/core/Rect.h"
#include "kr/core/Types.h"
#include "kr/ui/LayoutDescriptor.h"

namespace KR
{

class LControl;

// What a root control is placed against: the screen's rectangle, its window's client size,
// and the client area's origin on the screen (where a named reference sits).
struct RootPlacementFrame
{
    RectD screen;
    PointD clientSize;
    PointD clientOrigin;
};

// Position and size from the position and size specs of both axes, against `parent` (or,
// without one, against `root`), then rounded by RoundRectEdges. kInvalidArg without a
// descriptor.
Result ResolveControlPlacement(const LLayoutDescriptor* layout, const LControl* parent,
                               const RootPlacementFrame& root, RectD& rect);

// The far edges are rounded first and the size taken from them: x 10.5 width 20.2 gives
// x 11 width 20 (right edge 31).
void RoundRectEdges(RectD& rect);

// Whether the stored spec still equals the given one. Numbers compare exactly (a NaN never
// equals); reference names count only where the kind names a control.
bool PositionSpecsEqual(const DockedPositionSpec& a, const DockedPositionSpec& b);
bool SizeSpecsEqual(const SizeSpec& a, const SizeSpec& b);
bool LimitSpecsEqual(const LimitSpec& a, const LimitSpec& b);

} // namespace KR
