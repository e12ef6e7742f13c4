#include "kr/app/WindowSizing.h"

#include "kr/ui/OSWindow.h"

#include <algorithm>

namespace KR
{
namespace
{

bool Given(const LimitSpec& limit)
{
    return limit.relative != 0.0f || limit.absolute != 0.0;
}

bool Same(const LimitSpec& a, const LimitSpec& b)
{
    return a.reference == b.reference && a.relative == b.relative && a.absolute == b.absolute;
}

bool Referenced(const LimitSpec& limit)
{
    return limit.reference != kLimitToSelf;
}

} // namespace

bool IsFixedSizeWindow(const LLayoutDescriptor& layout)
{
    const bool minimumGiven = Given(layout.xMinSize) || Given(layout.yMinSize);
    if (minimumGiven && Same(layout.xMinSize, layout.xMaxSize) && Same(layout.yMinSize, layout.yMaxSize))
    {
        return true;
    }
    return Referenced(layout.xMinSize) && Referenced(layout.yMinSize) && Referenced(layout.xMaxSize) &&
           Referenced(layout.yMaxSize);
}

std::uint32_t MainWindowStyle(const LLayoutDescriptor& layout)
{
    std::uint32_t style = WindowStyle::kCaption | WindowStyle::kSysMenu | WindowStyle::kMinimizeBox;
    if (IsFixedSizeWindow(layout))
    {
        return style;
    }
    style |= WindowStyle::kThickFrame;
    const bool noMaximum = layout.xMaxSize.absolute == 0.0 && layout.yMaxSize.absolute == 0.0 &&
                           !Referenced(layout.xMaxSize) && !Referenced(layout.yMaxSize);
    return noMaximum ? style | WindowStyle::kMaximizeBox : style;
}

RectI KeepInsideArea(RectI rect, const RectI& area)
{
    if (rect.x + rect.width > area.x + area.width)
    {
        rect.x = area.x + area.width - rect.width;
    }
    if (rect.y + rect.height > area.y + area.height)
    {
        rect.y = area.y + area.height - rect.height;
    }
    rect.x = std::max(rect.x, area.x);
    rect.y = std::max(rect.y, area.y);
    return rect;
}

std::uint32_t RootWindowStyle(bool fixedSize, bool close, bool minimize, bool maximize)
{
    std::uint32_t style = WindowStyle::kPopup | WindowStyle::kCaption;
    if (close || minimize || maximize)
    {
        style |= WindowStyle::kSysMenu;
    }
    style |= maximize ? WindowStyle::kMaximizeBox : 0u;
    style |= minimize ? WindowStyle::kMinimizeBox : 0u;
    style |= fixedSize ? 0u : WindowStyle::kThickFrame;
    return style;
}

} // namespace KR
