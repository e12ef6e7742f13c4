// What a control that scrolls by copying keeps of its drawn contents: the stale parts of
// them, which invalidations and moving children add to and drawing takes away, and the
// rectangles invalidations are clipped to.

#include "kr/ui/Control.h"

#include <cmath>
#include <vector>

namespace KR
{

namespace
{

// Half up on each value, clamped to the 32-bit range first.
std::int32_t HalfUp(double value)
{
    return RoundToInt32(std::floor(value + 0.5));
}

} // namespace

RectD LControl::GetParentRectInControl()
{
    if (mParent)
    {
        const PointD scroll = mParent->GetScrollOffset();
        const PointD origin = mParent->GetClientOrigin();
        const PointD at{mPosition.x - scroll.x + origin.x, mPosition.y - scroll.y + origin.y};
        return RectD{-at.x, -at.y, mParent->mSize.x, mParent->mSize.y};
    }
    if (mRootWindow)
    {
        const PointI client = mRootWindow->GetClientSize();
        return RectD{-mPosition.x, -mPosition.y, IntToDouble(client.x), IntToDouble(client.y)};
    }
    return RectD{0.0, 0.0, mSize.x, mSize.y};
}

PointD LControl::GetRootToControlOffset() const
{
    const PointD corner = GetAbsolutePosition();
    return PointD{-corner.x, -corner.y};
}

void LControl::SetRetainedArea(const RectI& area)
{
    mRetainedArea.SetRect(EdgesFromRect(area));
}

bool LControl::MarkStale(const RectD& rect)
{
    if (!mRetainedArea.IntersectsRectF(rect, PointD{}))
    {
        return false;
    }
    const std::int32_t left = HalfUp(rect.x);
    const std::int32_t top = HalfUp(rect.y);
    const std::int64_t right = std::int64_t{left} + HalfUp(rect.width);
    const std::int64_t bottom = std::int64_t{top} + HalfUp(rect.height);
    mRetainedRegion.AddRect(EdgesI{left, top, RoundToInt32(static_cast<double>(right)),
                                   RoundToInt32(static_cast<double>(bottom))});
    return true;
}

void LControl::AddStaleRect(const RectD& rect, bool invalidate)
{
    MarkStale(rect);
    RectD inside;
    if (invalidate && IntersectRects(rect, RectD{0.0, 0.0, mSize.x, mSize.y}, inside))
    {
        Invalidate(inside, true);
    }
}

void LControl::TakeStaleRects(const RectI& clientRect, LRegion& out)
{
    out.Clear();
    const std::int64_t right = std::int64_t{clientRect.x} + clientRect.width;
    const std::int64_t bottom = std::int64_t{clientRect.y} + clientRect.height;
    std::vector<EdgesI> taken;
    for (const RegionNode* node = mRetainedRegion.GetFirst(); node; node = node->next)
    {
        const EdgesI& r = node->rect;
        if (r.left < right && r.top < bottom && r.right > clientRect.x && r.bottom > clientRect.y)
        {
            taken.push_back(r);
        }
    }
    for (const EdgesI& r : taken)
    {
        out.AddRect(r);
        mRetainedRegion.SubtractRect(r);
    }
    mRetainedRegion.Coalesce();
    out.Coalesce();
    const PointI origin = RoundPointToInt(PointD{mRetainedOrigin.x, mRetainedOrigin.y});
    out.Offset(-origin.x, -origin.y);
}

void LControl::RefreshRetainedContents()
{
    mRetainedRegion = mRetainedArea;
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
}

void LControl::UpdateClientRect()
{
    mClientRect = GetClientArea();
    mFrameChangeInProgress = true;
}

void LControl::CheckClientRect()
{
    mFrameChangeInProgress = false;
    if (!mScrollsByCopying)
    {
        return;
    }
    const RectD now = GetClientArea();
    if (SizeDiffers(now.width, mClientRect.width) || SizeDiffers(now.height, mClientRect.height))
    {
        RefreshRetainedContents();
    }
}

void LControl::OnChildRectChanged(const RCPtr<LControl>& child)
{
    if (!mScrollsByCopying || !child || ((mScrolling || mFrameChangeInProgress) && !child->IsDocked()))
    {
        return;
    }
    const PointI at = RoundPointToInt(child->GetPosition());
    const RectD rect{IntToDouble(at.x), IntToDouble(at.y), child->GetSize().x, child->GetSize().y};
    MarkStale(rect);
    Invalidate(rect, true);
}

void LControl::ScrollContent(const PointD& oldOffset, const PointD& newOffset)
{
    if (!mScrollsByCopying || !mBackBuffer)
    {
        return;
    }
    // The kept pixels move against the scroll; what they uncover is drawn anew.
    const PointI step = RoundPointToInt(PointD{newOffset.x - oldOffset.x, newOffset.y - oldOffset.y});
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        if (const RCPtr<LRenderer> renderer = window->GetRenderer())
        {
            renderer->ScrollImage(mBackBuffer, PointI{-step.x, -step.y});
        }
    }
    // The stale parts stay where they are in the content; the buffer now starts at the
    // scrolled client rectangle.
    mRetainedOrigin = GetClientRect();
    Invalidate(GetClientArea(), true);
}

bool LControl::IsTextClipped()
{
    const RCPtr<LLook>& look = GetActiveLook(-1);
    if (!look)
    {
        return false;
    }
    const RCPtr<LFontText>& text = look->GetFontText();
    if (!text || text->GetLineRects().empty())
    {
        return !mText.IsEmpty();
    }
    float widest = 0.0f;
    for (const RectT<float>& line : text->GetLineRects())
    {
        widest = std::max(widest, line.width);
    }
    return widest > static_cast<float>(look->GetTextRect().width);
}

} // namespace KR
