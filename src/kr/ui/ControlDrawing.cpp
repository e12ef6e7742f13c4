// Drawing a control tree through the renderer's state stack, and finding the control
// under a point by walking the same tree the other way.

#include "kr/render/AutoClip.h"
#include "kr/ui/Control.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/Look.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace KR
{

namespace
{

// Sizes at or below this are nothing: the double epsilon.
constexpr double kNoSize = 2.220446049250313e-16;

bool HasArea(const LControl& control)
{
    return control.IsShown(false) && control.GetSize().x > 0.0 && control.GetSize().y > 0.0;
}

using ControlHelpers::DockedAxes;

void CollectDeferred(LControl& control, RCPtrArray<LControl>& deferred)
{
    LControl::ChildControlList& children = control.GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        const RCPtr<LControl>& child = children.GetAt(i, kInsertionOrder);
        if (!child->ClipsToParent() && HasArea(*child))
        {
            deferred.AddItem(child);
        }
        if (child->GetUnclippedCount() > 0)
        {
            CollectDeferred(*child, deferred);
        }
    }
}

void MultiplyOpacity(LRenderer& renderer, float factor)
{
    // Times 1 leaves every opacity as it is, NaN included.
    if (factor == 1.0f)
    {
        return;
    }
    if (const RCPtr<LRenderContextInfo>& context = renderer.GetCurrentContext())
    {
        context->state.scaleFactor *= factor;
    }
}

RectD StateRect(const LRenderer& renderer)
{
    const RenderState* state = renderer.GetCurrentState();
    return state ? state->clip : RenderState::kNoClip;
}

PointD StateOrigin(const LRenderer& renderer)
{
    const RenderState* state = renderer.GetCurrentState();
    return state ? state->offset : PointD{};
}

// Whether the region rectangle, in window pixels, holds `rect`, given in the coordinates
// whose origin is at `origin`.
bool Holds(const EdgesI& edges, const PointD& origin, const RectD& rect)
{
    return IntToDouble(edges.left) - origin.x <= rect.x && IntToDouble(edges.top) - origin.y <= rect.y &&
           IntToDouble(edges.right) - origin.x >= rect.Right() &&
           IntToDouble(edges.bottom) - origin.y >= rect.Bottom();
}

// Whether the content hooks can draw once under the clip in force: the rectangles of a
// region do not overlap, so one that holds the whole clip is the only one that reaches
// it. A full repaint holds every control this way.
bool OneInvalidRectHoldsTheClip(const LRenderer& renderer, const LRegion& invalid, const PointD& size)
{
    const RenderState* state = renderer.GetCurrentState();
    const RegionNode* first = invalid.GetFirst();
    if (!state || !first)
    {
        return false;
    }
    const RectD& clip = state->clip;
    return Holds(first->rect, state->offset, clip) && clip.x >= 0.0 && clip.y >= 0.0 &&
           clip.Right() <= size.x && clip.Bottom() <= size.y;
}

// Widened to 64 bits so that "no answer" ranks below every control.
constexpr std::int64_t kNoAnswerRank = std::numeric_limits<std::int64_t>::min();

} // namespace

bool LControl::HasLook() const
{
    for (std::uint32_t i = 0; i < mLooks.GetCount(); ++i)
    {
        if (HasLookAt(i))
        {
            return true;
        }
    }
    return false;
}

void LControl::PrefetchForDrawing(std::int32_t stage) const
{
    if (stage == 0)
    {
        // The first line holds the table and the count; the drawing fields follow mLayout.
        __builtin_prefetch(this);
        const char* fields = reinterpret_cast<const char*>(&mLayout);
        for (std::int32_t line = 0; line < 4; ++line)
        {
            __builtin_prefetch(fields + 64 * line);
        }
        return;
    }
    if (stage == 1)
    {
        if (mLayout)
        {
            __builtin_prefetch(mLayout.Get());
        }
        if (mLooks.GetCount() > 0)
        {
            __builtin_prefetch(mLooks.GetData());
        }
        if (!mLookWeights.empty())
        {
            __builtin_prefetch(mLookWeights.data());
        }
        mChildList.PrefetchForDrawing();
        return;
    }
    const std::uint32_t looks =
        std::min<std::uint32_t>(mLooks.GetCount(), static_cast<std::uint32_t>(mLookWeights.size()));
    for (std::uint32_t i = 0; i < looks; ++i)
    {
        if (mLookWeights[i] > 0.0f && mLooks.ElementAt(i))
        {
            mLooks.ElementAt(i)->PrefetchForDrawing();
        }
    }
    PrefetchChildrenForDrawing(0, 2, 0);
}

void LControl::PrefetchChildrenForDrawing(std::uint32_t first, std::uint32_t last, std::int32_t stage) const
{
    for (std::uint32_t i = first; i < last; ++i)
    {
        if (const LControl* child = mChildList.PeekForPrefetch(i))
        {
            child->PrefetchForDrawing(stage);
        }
    }
}

std::int32_t LControl::GetDrawingRank() const
{
    std::int32_t rank = std::numeric_limits<std::int32_t>::min();
    for (const LControl* control = this; control; control = control->mParent.Get())
    {
        if (!control->ClipsToParent() && control->mLayout && control->mLayout->zOrder > rank)
        {
            rank = control->mLayout->zOrder;
        }
    }
    return rank;
}

Result LControl::Draw(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                      RCPtrArray<LControl>& deferred, bool unclippedPass)
{
    if (ClipsToParent() == unclippedPass)
    {
        return kInvalidArg;
    }
    // A control without area still hands on its unclipped descendants (step 4 below).
    if (!VisibleFlag())
    {
        return kOk;
    }
    // The normal pass stands in the parent's client coordinates; the deferred pass in the
    // window's, where the root window draws it.
    RectD rect = unclippedPass ? RectD{0.0, 0.0, mSize.x, mSize.y} : GetFrame();
    if (unclippedPass)
    {
        const PointD absolute = GetAbsolutePosition();
        const PointD origin = StateOrigin(*renderer);
        rect.x = absolute.x - origin.x;
        rect.y = absolute.y - origin.y;
    }
    if (rect.width <= kNoSize || rect.height <= kNoSize)
    {
        if (mUnclippedCount > 0)
        {
            CollectDeferred(*this, deferred);
        }
        return kOk;
    }
    const RectI whole = RoundRectToInt(rect);
    const RectD snapped{IntToDouble(whole.x), IntToDouble(whole.y), IntToDouble(whole.width),
                        IntToDouble(whole.height)};
    // Outside the clip in force nothing of it can show: a partial repaint passes most
    // controls here without pushing a state for them.
    RectD showing;
    if (!IntersectRects(StateRect(*renderer), snapped, showing))
    {
        if (mUnclippedCount > 0)
        {
            CollectDeferred(*this, deferred);
        }
        return kOk;
    }
    CAutoBoundsClip own(renderer, snapped, snapped);
    MultiplyOpacity(*renderer, mOpacity);

    RectD visible;
    if (!IntersectRects(StateRect(*renderer), RectD{0.0, 0.0, mSize.x, mSize.y}, visible))
    {
        if (mUnclippedCount > 0)
        {
            CollectDeferred(*this, deferred);
        }
        return kOk;
    }

    if (mScrollsByCopying)
    {
        LRegion stale;
        TakeStaleRects(RoundRectToInt(GetLookRect(-1)), stale);
        if (mBackBuffer)
        {
            ClearInBackBuffer(renderer, stale);
        }
    }

    // The next stages of the first children (PrefetchForDrawing), while the looks draw.
    if (mChildList.GetCount() > 0)
    {
        PrefetchChildrenForDrawing(0, 2, 1);
        PrefetchChildrenForDrawing(2, 3, 0);
    }

    // The looks that draw and their weights, found once for the three passes below.
    struct DrawnLook
    {
        float weight;
        LLook* look;
    };
    std::array<DrawnLook, 4> fixedLooks{};
    std::vector<DrawnLook> moreLooks;
    std::uint32_t drawnCount = 0;
    const std::uint32_t lookCount = mLooks.GetCount();
    for (std::uint32_t i = 0; i < lookCount; ++i)
    {
        const float weight = i < mLookWeights.size() ? mLookWeights[i] : 0.0f;
        if (!(weight > 0.0f))
        {
            continue;
        }
        // LookAt makes a look the skin names on its first use.
        LLook* look = mLooks.ElementAt(i).Get();
        if (!look && !(look = LookAt(i).Get()))
        {
            continue;
        }
        if (drawnCount == fixedLooks.size())
        {
            moreLooks.assign(fixedLooks.begin(), fixedLooks.end());
        }
        if (drawnCount < fixedLooks.size())
        {
            fixedLooks[drawnCount] = DrawnLook{weight, look};
        }
        else
        {
            moreLooks.push_back(DrawnLook{weight, look});
        }
        ++drawnCount;
    }
    const DrawnLook* drawnLooks = moreLooks.empty() ? fixedLooks.data() : moreLooks.data();
    const auto eachLook = [&](auto&& draw)
    {
        for (std::uint32_t i = 0; i < drawnCount; ++i)
        {
            const DrawnLook& drawn = drawnLooks[i];
            // A weight of 1 leaves the state as it is, so nothing needs saving for it.
            if (drawn.weight == 1.0f)
            {
                draw(*drawn.look);
                continue;
            }
            CAutoSaveState scope(renderer);
            MultiplyOpacity(*renderer, drawn.weight);
            draw(*drawn.look);
        }
    };
    eachLook([&](LLook& look) { look.DrawClientPart(*renderer, invalid); });
    eachLook([&](LLook& look) { look.DrawNonClientParts(*renderer, invalid); });
    // The children leave the state as they found it: the answer holds for the overlay too.
    const bool held = OneInvalidRectHoldsTheClip(*renderer, invalid, mSize);
    if (held)
    {
        DrawContent(renderer);
    }
    else
    {
        DrawPerInvalidRect(renderer, invalid, &LControl::DrawContent);
    }
    eachLook(
        [&](LLook& look)
        {
            const PointD scroll = mScrollsLookText ? mScrollOffset : PointD{};
            look.DrawLabelText(*renderer, invalid, scroll);
            if (mChildList.GetCount() > 0)
            {
                DrawAllChildren(renderer, invalid, deferred);
            }
        });
    // Without any look the children still show, once, as under one look of weight 1.
    if (drawnCount == 0 && mChildList.GetCount() > 0 && !HasLook())
    {
        DrawAllChildren(renderer, invalid, deferred);
    }
    if (held)
    {
        DrawOverlay(renderer);
    }
    else
    {
        DrawPerInvalidRect(renderer, invalid, &LControl::DrawOverlay);
    }

    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        LControl& child = mChildList.InDrawingOrder(i);
        if (!child.ClipsToParent() && HasArea(child))
        {
            deferred.AddItem(RCPtr<LControl>(&child));
        }
    }
    return kOk;
}

void LControl::DrawPerInvalidRect(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                                  Result (LControl::*hook)(const RCPtr<LRenderer>&))
{
    const RenderState* state = renderer->GetCurrentState();
    const PointD origin = state ? state->offset : PointD{};
    const RectD stateClip = state ? state->clip : RenderState::kNoClip;
    for (const RegionNode* node = invalid.GetFirst(); node; node = node->next)
    {
        const RectI area = RectFromEdges(node->rect);
        RectD local{IntToDouble(area.x) - origin.x, IntToDouble(area.y) - origin.y, IntToDouble(area.width),
                    IntToDouble(area.height)};
        if (IntersectRects(local, stateClip, local) && local.width > kNoSize && local.height > kNoSize)
        {
            // Bounds at the control's own corner: the hook draws in its own coordinates.
            CAutoBoundsClipWhenNeeded scope(renderer, RectD{0.0, 0.0, mSize.x, mSize.y}, local);
            (this->*hook)(renderer);
        }
    }
}

void LControl::DrawAllChildren(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                               RCPtrArray<LControl>& deferred)
{
    const RectD client = GetClientArea();
    if (!mBackBuffer)
    {
        DrawChildren(renderer, invalid, deferred, client, 0, 2);
        return;
    }
    // The buffer's origin is the client area's corner; the invalid area follows it there.
    const PointD origin = StateOrigin(*renderer);
    const PointI corner = RoundPointToInt(PointD{origin.x + client.x, origin.y + client.y});
    LRegion inBuffer(invalid);
    inBuffer.Offset(-corner.x, -corner.y);
    const RectD area = IntRectToDouble(mBackBufferRect);
    renderer->RenderStart(mBackBuffer);
    {
        CAutoBoundsClip clip(renderer, RectD{0.0, 0.0, area.Right(), area.Bottom()}, area);
        DrawChildren(renderer, inBuffer, deferred, RectD{0.0, 0.0, client.width, client.height}, 0,
                     mDockedOutsideBuffer ? 0 : 2);
    }
    renderer->RenderFinish(mBackBuffer);
    RectD target = client;
    SnapRectToWholeUnits(target);
    renderer->DrawImage(mBackBuffer, RoundPointToInt(PointD{target.x, target.y}), mBackBufferRect);
    if (mDockedOutsideBuffer)
    {
        DrawChildren(renderer, invalid, deferred, client, 1, 2);
    }
}

void LControl::ClearInBackBuffer(const RCPtr<LRenderer>& renderer, const LRegion& stale)
{
    if (stale.IsEmpty())
    {
        return;
    }
    const RectD area = IntRectToDouble(mBackBufferRect);
    renderer->RenderStart(mBackBuffer);
    {
        CAutoBoundsClip clip(renderer, RectD{0.0, 0.0, area.Right(), area.Bottom()}, area);
        for (const RegionNode* node = stale.GetFirst(); node; node = node->next)
        {
            renderer->FillRect(RectFromEdges(node->rect), ColorF{}, false);
        }
    }
    renderer->RenderFinish(mBackBuffer);
}

void LControl::SetBackBuffer(const RCPtr<LRenderContextInfo>& buffer, const RectI& rect, bool dockedOutside)
{
    mBackBuffer = buffer;
    mBackBufferRect = rect;
    mDockedOutsideBuffer = dockedOutside;
}

void LControl::DrawChildren(const RCPtr<LRenderer>& renderer, const LRegion& invalid,
                            RCPtrArray<LControl>& deferred, const RectD& client, std::int32_t first,
                            std::int32_t last)
{
    // With the scroll offset the bounds start where the scrolled content does; the clip
    // stays on the client area.
    const RectD scrolled{client.x - mScrollOffset.x, client.y - mScrollOffset.y,
                         client.width + mScrollOffset.x, client.height + mScrollOffset.y};
    PrefetchChildrenForDrawing(0, 1, 2);
    std::uint32_t next = 0;
    const auto inGroup = [&](const LControl& child, std::int32_t axes)
    { return child.ClipsToParent() && DockedAxes(child) == axes; };
    // The count is read anew for every child: a child's drawing may change this list.
    // Groups before the first were drawn elsewhere: their children are passed over.
    while (next < mChildList.GetCount() && mChildList.InDrawingOrder(next).ClipsToParent() &&
           DockedAxes(mChildList.InDrawingOrder(next)) < first)
    {
        ++next;
    }
    for (std::int32_t axes = first; axes <= last; ++axes)
    {
        // A group without children pushes no clip.
        if (next >= mChildList.GetCount() || !inGroup(mChildList.InDrawingOrder(next), axes))
        {
            continue;
        }
        const RectD bounds = axes < 2 ? scrolled : client;
        CAutoBoundsClipWhenNeeded scope(renderer, bounds, client);
        const RectD area = StateRect(*renderer);
        const bool drawable = area.width > 0.0 && area.height > 0.0;
        for (; next < mChildList.GetCount(); ++next)
        {
            // Three children ahead their fields, two ahead what those point to, one ahead
            // their looks: each child's drawing hides the loading of the next ones.
            for (std::uint32_t ahead = 1; ahead <= 3; ++ahead)
            {
                if (const LControl* coming = mChildList.PeekInDrawingOrder(next + ahead))
                {
                    coming->PrefetchForDrawing(3 - static_cast<std::int32_t>(ahead));
                }
            }
            // Counted: the child's drawing may take it out of this list.
            const RCPtr<LControl> child(&mChildList.InDrawingOrder(next));
            if (!inGroup(*child, axes))
            {
                break;
            }
            if (drawable)
            {
                child->Draw(renderer, invalid, deferred, false);
            }
            else if (child->GetUnclippedCount() > 0)
            {
                CollectDeferred(*child, deferred);
            }
        }
    }
}

RCPtr<LControl> LControl::HitTest(const PointI& point, PointI& localPoint, bool visibleOnly)
{
    if (!HasArea(*this) || (!ContainsPoint(point) && mUnclippedCount <= 0))
    {
        return nullptr;
    }
    RCPtr<LControl> kept;
    std::int64_t keptRank = kNoAnswerRank;
    // Without any look the children are searched once, under the control's whole area.
    const bool lookless = !HasLook();
    for (std::uint32_t i = 0; i < (lookless ? 1u : mLooks.GetCount()); ++i)
    {
        if (!lookless && GetLookWeight(static_cast<std::int32_t>(i)) <= 0.0f)
        {
            continue;
        }
        const RectI look = RoundRectToInt(lookless ? RectD{0.0, 0.0, mSize.x, mSize.y}
                                                   : GetLookRect(static_cast<std::int32_t>(i)));
        const PointI scroll = RoundPointToInt(mScrollOffset);
        for (std::uint32_t n = mChildList.GetCount(); n-- > 0;)
        {
            const RCPtr<LControl> child = mChildList.GetAt(n, kDrawingOrder);
            const PointI corner = RoundPointToInt(child->GetPosition());
            const PointI inChild{point.x - look.x + scroll.x - corner.x,
                                 point.y - look.y + scroll.y - corner.y};
            PointI found{};
            RCPtr<LControl> answer = child->HitTest(inChild, found, visibleOnly);
            if (answer)
            {
                const std::int64_t rank = answer->GetDrawingRank();
                if (rank > keptRank)
                {
                    kept = std::move(answer);
                    keptRank = rank;
                    localPoint = found;
                }
            }
        }
    }
    if (ContainsPoint(point) && !IsPointInLooks(point) && !mExcludedFromHitTest &&
        GetDrawingRank() > keptRank)
    {
        localPoint = point;
        return RCPtr<LControl>(this);
    }
    return kept;
}

} // namespace KR
