#include "kr/render/Region.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace KR
{
namespace
{

constexpr std::uint32_t kPoolSize = 512;

// The process-wide node pool: one block and a ring of its free indices. Everything in it
// is trivially destructible, so regions that outlive static destruction still find it.
struct NodePool
{
    bool made = false;
    std::uint32_t head = 0;
    std::uint32_t count = 0;
    std::array<std::uint16_t, kPoolSize> freeIndices{};
    std::array<RegionNode, kPoolSize> nodes{};
};

NodePool gPool;

RegionNode* AllocateNode(const EdgesI& rect, RegionNode* next)
{
    NodePool& pool = gPool;
    if (!pool.made)
    {
        for (std::uint32_t i = 0; i < kPoolSize; ++i)
        {
            pool.freeIndices[i] = static_cast<std::uint16_t>(i);
        }
        pool.count = kPoolSize;
        pool.made = true;
    }
    RegionNode* node = nullptr;
    if (pool.count > 0)
    {
        node = &pool.nodes[pool.freeIndices[pool.head]];
        pool.head = (pool.head + 1) % kPoolSize;
        --pool.count;
    }
    else
    {
        node = new RegionNode;
    }
    node->rect = rect;
    node->next = next;
    return node;
}

void ReleaseNode(RegionNode* node)
{
    NodePool& pool = gPool;
    const RegionNode* first = pool.nodes.data();
    if (node >= first && node < first + kPoolSize)
    {
        // A pooled node always finds room: the ring holds exactly the pool's free indices.
        pool.freeIndices[(pool.head + pool.count) % kPoolSize] = static_cast<std::uint16_t>(node - first);
        ++pool.count;
    }
    else
    {
        delete node;
    }
}

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

bool Overlaps(const EdgesI& a, const EdgesI& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool IsEmptyRect(const EdgesI& r)
{
    return !(r.right > r.left && r.bottom > r.top);
}

} // namespace

EdgesI EdgesFromRect(const RectI& rect)
{
    return EdgesI{rect.x, rect.y, ClampToInt32(std::int64_t{rect.x} + rect.width),
                  ClampToInt32(std::int64_t{rect.y} + rect.height)};
}

RectI RectFromEdges(const EdgesI& edges)
{
    return RectI{edges.left, edges.top, ClampToInt32(std::int64_t{edges.right} - edges.left),
                 ClampToInt32(std::int64_t{edges.bottom} - edges.top)};
}

LRegion::LRegion(const LRegion& other)
{
    CopyFrom(other);
}

void LRegion::CopyFrom(const LRegion& other)
{
    RegionNode** tail = &mHead;
    for (const RegionNode* node = other.mHead; node; node = node->next)
    {
        *tail = AllocateNode(node->rect, nullptr);
        tail = &(*tail)->next;
    }
}

LRegion& LRegion::operator=(const LRegion& other)
{
    if (this != &other)
    {
        Clear();
        CopyFrom(other);
    }
    return *this;
}

LRegion& LRegion::operator=(LRegion&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        mHead = std::exchange(other.mHead, nullptr);
    }
    return *this;
}

void LRegion::PushFront(const EdgesI& rect)
{
    mHead = AllocateNode(rect, mHead);
}

void LRegion::AddRect(const EdgesI& rect)
{
    if (IsEmptyRect(rect))
    {
        return;
    }
    SubtractRect(rect);
    PushFront(rect);
}

void LRegion::SetRect(const EdgesI& rect)
{
    Clear();
    AddRect(rect);
}

void LRegion::Clear()
{
    while (mHead)
    {
        RegionNode* next = mHead->next;
        ReleaseNode(mHead);
        mHead = next;
    }
}

bool LRegion::GetBounds(EdgesI& bounds) const
{
    bounds = EdgesI{};
    if (!mHead)
    {
        return false;
    }
    bounds = mHead->rect;
    for (const RegionNode* node = mHead->next; node; node = node->next)
    {
        bounds.left = std::min(bounds.left, node->rect.left);
        bounds.top = std::min(bounds.top, node->rect.top);
        bounds.right = std::max(bounds.right, node->rect.right);
        bounds.bottom = std::max(bounds.bottom, node->rect.bottom);
    }
    return true;
}

std::uint32_t LRegion::GetRectCount() const
{
    std::uint32_t count = 0;
    for (const RegionNode* node = mHead; node; node = node->next)
    {
        ++count;
    }
    return count;
}

void LRegion::Offset(std::int32_t dx, std::int32_t dy)
{
    if (dx == 0 && dy == 0)
    {
        return;
    }
    for (RegionNode* node = mHead; node; node = node->next)
    {
        node->rect.left = ClampToInt32(std::int64_t{node->rect.left} + dx);
        node->rect.right = ClampToInt32(std::int64_t{node->rect.right} + dx);
        node->rect.top = ClampToInt32(std::int64_t{node->rect.top} + dy);
        node->rect.bottom = ClampToInt32(std::int64_t{node->rect.bottom} + dy);
    }
}

void LRegion::AppendRegion(const LRegion& other)
{
    // Copied first, so appending a region to itself doubles it instead of running on.
    std::vector<EdgesI> copies;
    for (const RegionNode* node = other.mHead; node; node = node->next)
    {
        copies.push_back(node->rect);
    }
    for (const EdgesI& rect : copies)
    {
        PushFront(rect);
    }
}

void LRegion::SubtractRect(const EdgesI& cut, LRegion* cutOut)
{
    // `link` is the pointer that leads to the node under inspection; pieces go to the
    // front and are not visited again.
    RegionNode** link = &mHead;
    while (*link)
    {
        RegionNode* node = *link;
        if (!Overlaps(node->rect, cut))
        {
            link = &node->next;
            continue;
        }
        EdgesI& n = node->rect;
        const auto pushPiece = [&](const EdgesI& piece)
        {
            const bool atHead = link == &mHead;
            PushFront(piece);
            if (atHead)
            {
                link = &mHead->next;
            }
        };
        if (n.top < cut.top)
        {
            pushPiece(EdgesI{n.left, n.top, n.right, cut.top});
            n.top = cut.top;
        }
        if (n.bottom > cut.bottom)
        {
            pushPiece(EdgesI{n.left, cut.bottom, n.right, n.bottom});
            n.bottom = cut.bottom;
        }
        if (n.left < cut.left)
        {
            pushPiece(EdgesI{n.left, n.top, cut.left, n.bottom});
            n.left = cut.left;
        }
        if (n.right > cut.right)
        {
            pushPiece(EdgesI{cut.right, n.top, n.right, n.bottom});
            n.right = cut.right;
        }
        *link = node->next;
        if (cutOut)
        {
            node->next = cutOut->mHead;
            cutOut->mHead = node;
        }
        else
        {
            ReleaseNode(node);
        }
    }
}

void LRegion::SubtractRegion(const LRegion& other, LRegion* cutOut)
{
    if (&other == this)
    {
        LRegion copy(other);
        SubtractRegion(copy, cutOut);
        return;
    }
    for (const RegionNode* node = other.mHead; node; node = node->next)
    {
        SubtractRect(node->rect, cutOut);
    }
}

void LRegion::Intersect(const LRegion& other)
{
    LRegion inside;
    SubtractRegion(other, &inside);
    *this = std::move(inside);
}

bool LRegion::IntersectsRect(const EdgesI& rect) const
{
    for (const RegionNode* node = mHead; node; node = node->next)
    {
        if (Overlaps(node->rect, rect))
        {
            return true;
        }
    }
    return false;
}

bool LRegion::IntersectsRectF(const RectD& rect, const PointD& offset) const
{
    constexpr double kMaxEdge = 2147483647.0;
    double left = rect.x + offset.x;
    double top = rect.y + offset.y;
    double right = left + rect.width;
    double bottom = top + rect.height;
    left = left < 0.0 ? 0.0 : left;
    top = top < 0.0 ? 0.0 : top;
    right = right > kMaxEdge ? kMaxEdge : right;
    bottom = bottom > kMaxEdge ? kMaxEdge : bottom;
    // Written as "not greater" so that a NaN edge counts as empty instead of reaching the
    // rounding, where it would become the most negative edge.
    if (!(right - left > kWholeUnitEpsilon) || !(bottom - top > kWholeUnitEpsilon))
    {
        return false;
    }
    return IntersectsRect(
        EdgesI{RoundToInt32(left), RoundToInt32(top), RoundToInt32(right), RoundToInt32(bottom)});
}

void LRegion::Coalesce()
{
    if (!mHead || !mHead->next)
    {
        return;
    }
    std::vector<EdgesI> nodes;
    std::vector<std::int32_t> edges;
    for (const RegionNode* node = mHead; node; node = node->next)
    {
        nodes.push_back(node->rect);
        edges.push_back(node->rect.top);
        edges.push_back(node->rect.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::sort(nodes.begin(), nodes.end(),
              [](const EdgesI& a, const EdgesI& b)
              { return a.left < b.left || (a.left == b.left && a.top < b.top); });

    std::vector<EdgesI> result;
    // Indices into `result` of the rectangles that end at the top of the current band,
    // the only ones a piece of this band may extend downwards.
    std::vector<std::size_t> open;
    std::vector<std::size_t> nextOpen;
    for (std::size_t band = 0; band + 1 < edges.size(); ++band)
    {
        const std::int32_t top = edges[band];
        const std::int32_t bottom = edges[band + 1];
        nextOpen.clear();
        bool inRun = false;
        EdgesI run{};
        const auto closeRun = [&]
        {
            const auto same = std::find_if(
                open.begin(), open.end(),
                [&](std::size_t i) { return result[i].left == run.left && result[i].right == run.right; });
            if (same != open.end())
            {
                result[*same].bottom = bottom;
                nextOpen.push_back(*same);
            }
            else
            {
                result.push_back(run);
                nextOpen.push_back(result.size() - 1);
            }
        };
        // Nodes are sorted by left, so the pieces of the band come left to right and runs
        // of touching or overlapping pieces merge as they come.
        for (const EdgesI& node : nodes)
        {
            if (node.top > top || node.bottom < bottom)
            {
                continue;
            }
            if (inRun && node.left <= run.right)
            {
                run.right = std::max(run.right, node.right);
                continue;
            }
            if (inRun)
            {
                closeRun();
            }
            run = EdgesI{node.left, top, node.right, bottom};
            inRun = true;
        }
        if (inRun)
        {
            closeRun();
        }
        open.swap(nextOpen);
    }
    std::sort(result.begin(), result.end(),
              [](const EdgesI& a, const EdgesI& b)
              { return a.top < b.top || (a.top == b.top && a.left < b.left); });
    Clear();
    for (auto it = result.rbegin(); it != result.rend(); ++it)
    {
        PushFront(*it);
    }
}

} // namespace KR
