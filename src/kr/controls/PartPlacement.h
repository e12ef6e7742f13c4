#pragma once
// Placing a control's skin parts from code along one axis (0 X, 1 Y): the other specs of
// the part stay as the skin gave them.

#include "kr/ui/Control.h"
#include "kr/ui/LayoutDescriptor.h"

#include <cstdint>

namespace KR
{

// A part made in code has no specs yet: it is first placed where it stands.
inline void GetPartPlacement(LControl& part, std::int32_t axis, DockedPositionSpec& position, SizeSpec& size)
{
    if (!part.GetLayoutDescriptor())
    {
        DockedPositionSpec x;
        DockedPositionSpec y;
        SizeSpec width;
        SizeSpec height;
        x.absolute = part.GetPosition().x;
        y.absolute = part.GetPosition().y;
        width.absolute = part.GetSize().x;
        height.absolute = part.GetSize().y;
        part.SetPlacements(x, width, y, height);
    }
    part.GetLayoutDescriptor()->GetPlacement(axis, position, size);
}

// The part's size on `axis` becomes `length` units, measured against nothing.
inline void SetPartAbsoluteSize(LControl& part, std::int32_t axis, double length)
{
    DockedPositionSpec position;
    SizeSpec size;
    GetPartPlacement(part, axis, position, size);
    size.reference = kSizeToSelf;
    size.referenceName = String();
    size.relative = 0.0f;
    size.absolute = length;
    part.SetPlacement(axis, position, size);
}

// The absolute part of the part's position on `axis` becomes `offset`.
inline void SetPartPositionOffset(LControl& part, std::int32_t axis, double offset)
{
    DockedPositionSpec position;
    SizeSpec size;
    GetPartPlacement(part, axis, position, size);
    position.absolute = offset;
    part.SetPlacement(axis, position, size);
}

} // namespace KR
