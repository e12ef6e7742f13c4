#include "kr/ui/LayoutDescriptor.h"

namespace KR
{

RCPtr<LLayoutDescriptor> LLayoutDescriptor::Create()
{
    return RCPtr<LLayoutDescriptor>(new LLayoutDescriptor());
}

RCPtr<LLayoutDescriptor> LLayoutDescriptor::Clone() const
{
    // The copy constructor copies every field; the strings share their buffers until one
    // side writes, which gives that side its own characters. The count starts afresh.
    return RCPtr<LLayoutDescriptor>(new LLayoutDescriptor(*this));
}

namespace
{

bool IsAxis(std::int32_t axis)
{
    return axis == 0 || axis == 1;
}

} // namespace

Result LLayoutDescriptor::GetPlacement(std::int32_t axis, DockedPositionSpec& position, SizeSpec& size) const
{
    if (!IsAxis(axis))
    {
        return kInvalidArg;
    }
    static_cast<PositionSpec&>(position) = axis == 0 ? xPosition : yPosition;
    position.docked = axis == 0 ? xDocked : yDocked;
    size = axis == 0 ? xSize : ySize;
    return kOk;
}

Result LLayoutDescriptor::SetPlacement(std::int32_t axis, const DockedPositionSpec& position,
                                       const SizeSpec& size)
{
    if (!IsAxis(axis))
    {
        return kInvalidArg;
    }
    (axis == 0 ? xPosition : yPosition) = position;
    (axis == 0 ? xDocked : yDocked) = position.docked;
    (axis == 0 ? xSize : ySize) = size;
    return kOk;
}

Result LLayoutDescriptor::GetSizeLimits(std::int32_t axis, LimitSpec& minimum, LimitSpec& maximum) const
{
    if (!IsAxis(axis))
    {
        return kInvalidArg;
    }
    minimum = axis == 0 ? xMinSize : yMinSize;
    maximum = axis == 0 ? xMaxSize : yMaxSize;
    return kOk;
}

Result LLayoutDescriptor::SetSizeLimits(std::int32_t axis, const LimitSpec& minimum, const LimitSpec& maximum)
{
    if (!IsAxis(axis))
    {
        return kInvalidArg;
    }
    (axis == 0 ? xMinSize : yMinSize) = minimum;
    (axis == 0 ? xMaxSize : yMaxSize) = maximum;
    return kOk;
}

Result LLayoutDescriptor::SetTextOverflowX(std::int32_t mode)
{
    if (mode < 0)
    {
        return kInvalidArg;
    }
    textOverflowX = mode;
    return kOk;
}

} // namespace KR
