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

namespace
{

// The band sweep over one group of rectangles that touch one another, its pieces appended
// to `result`: cut into bands at every top and bottom, neighbours in a band that touch or
// overlap merged, a piece joined to the one of equal left and right right above it.
void CoalesceGroup(std::vector<EdgesI>& group, std::vector<EdgesI>& result)
{
    thread_local std::vector<std::int32_t> edges;
    thread_local std::vector<EdgesI> active;
    thread_local std::vector<std::size_t> open;
    thread_local std::vector<std::size_t> nextOpen;
    edges.clear();
    active.clear();
    open.clear();
    for (const EdgesI& rect : group)
    {
        edges.push_back(rect.top);
        edges.push_back(rect.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::sort(group.begin(), group.end(), [](const EdgesI& a, const EdgesI& b) { return a.top < b.top; });

    // `active` holds, sorted by left, the rectangles that cover the current band, so a
    // band costs what crosses it, not what the group holds.
    std::size_t next = 0;
    for (std::size_t band = 0; band + 1 < edges.size(); ++band)
    {
        const std::int32_t top = edges[band];
        const std::int32_t bottom = edges[band + 1];
        active.erase(
            std::remove_if(active.begin(), active.end(), [top](const EdgesI& r) { return r.bottom <= top; }),
            active.end());
        for (; next < group.size() && group[next].top <= top; ++next)
        {
            const auto at =
                std::upper_bound(active.begin(), active.end(), group[next],
                                 [](const EdgesI& a, const EdgesI& b) { return a.left < b.left; });
            active.insert(at, group[next]);
        }
        nextOpen.clear();
        bool inRun = false;
        EdgesI run{};
        // `open` holds the indices into `result` of the pieces that end at this band's
        // top, the only ones a piece of this band may extend downwards.
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
        for (const EdgesI& rect : active)
        {
            if (inRun && rect.left <= run.right)
            {
                run.right = std::max(run.right, rect.right);
                continue;
            }
            if (inRun)
            {
                closeRun();
            }
            run = EdgesI{rect.left, top, rect.right, bottom};
            inRun = true;
        }
        if (inRun)
        {
            closeRun();
        }
        open.swap(nextOpen);
    }
}

std::uint32_t FindGroup(std::vector<std::uint32_t>& parent, std::uint32_t i)
{
    while (parent[i] != i)
    {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

} // namespace

namespace
{

// The list from `head` becomes the rectangles, in their order: the nodes there are take
// them, and only the difference in count goes back to the pool or comes from it.
void ReplaceNodes(RegionNode*& head, const std::vector<EdgesI>& rects)
{
    RegionNode** link = &head;
    for (const EdgesI& rect : rects)
    {
        if (!*link)
        {
            *link = AllocateNode(rect, nullptr);
        }
        else
        {
            (*link)->rect = rect;
        }
        link = &(*link)->next;
    }
    RegionNode* rest = *link;
    *link = nullptr;
    while (rest)
    {
        RegionNode* next = rest->next;
        ReleaseNode(rest);
        rest = next;
    }
}

} // namespace

void LRegion::Coalesce()
{
    if (!mHead || !mHead->next)
    {
        return;
    }
    // The scratch lists live on: a window takes its invalid region at every paint, and
    // making them anew each time cost more than the work itself.
    thread_local std::vector<EdgesI> nodes;
    thread_local std::vector<std::uint32_t> parent;
    thread_local std::vector<std::uint32_t> reaching;
    thread_local std::vector<std::pair<std::uint32_t, std::uint32_t>> byGroup;
    thread_local std::vector<EdgesI> group;
    thread_local std::vector<EdgesI> result;
    nodes.clear();
    parent.clear();
    reaching.clear();
    byGroup.clear();
    result.clear();
    for (const RegionNode* node = mHead; node; node = node->next)
    {
        nodes.push_back(node->rect);
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const EdgesI& a, const EdgesI& b)
              { return a.top < b.top || (a.top == b.top && a.left < b.left); });

    // Rectangles that neither overlap nor touch another (corners included) come out of the
    // band sweep as they went in, and a set of invalidations is mostly such: only groups
    // of touching ones are swept, each apart.
    bool allApart = true;
    for (std::uint32_t i = 0; i < nodes.size(); ++i)
    {
        parent.push_back(i);
        const EdgesI& rect = nodes[i];
        reaching.erase(std::remove_if(reaching.begin(), reaching.end(),
                                      [&](std::uint32_t j) { return nodes[j].bottom < rect.top; }),
                       reaching.end());
        for (const std::uint32_t j : reaching)
        {
            if (nodes[j].left <= rect.right && rect.left <= nodes[j].right)
            {
                parent[FindGroup(parent, j)] = FindGroup(parent, i);
                allApart = false;
            }
        }
        reaching.push_back(i);
    }
    if (allApart)
    {
        // Already in their final order, top to bottom and left to right.
        ReplaceNodes(mHead, nodes);
        return;
    }
    for (std::uint32_t i = 0; i < nodes.size(); ++i)
    {
        byGroup.emplace_back(FindGroup(parent, i), i);
    }
    std::sort(byGroup.begin(), byGroup.end());
    for (std::size_t first = 0; first < byGroup.size();)
    {
        std::size_t last = first + 1;
        while (last < byGroup.size() && byGroup[last].first == byGroup[first].first)
        {
            ++last;
        }
        if (last - first == 1)
        {
            result.push_back(nodes[byGroup[first].second]);
        }
        else
        {
            group.clear();
            for (std::size_t k = first; k < last; ++k)
            {
                group.push_back(nodes[byGroup[k].second]);
            }
            CoalesceGroup(group, result);
        }
        first = last;
    }
    std::sort(result.begin(), result.end(),
              [](const EdgesI& a, const EdgesI& b)
              { return a.top < b.top || (a.top == b.top && a.left < b.left); });
    ReplaceNodes(mHead, result);
}

void LRegion::AppendRect(const EdgesI& rect)
{
    if (!IsEmptyRect(rect))
    {
        PushFront(rect);
    }
}

} // namespace KR
