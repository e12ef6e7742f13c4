#pragma once
// KR::LRegion: a set of whole-pixel rectangles, the form of invalid areas, of the dirty
// areas a window repaints and of the areas a look redraws. It is a plain list of nodes
// (left, top, right, bottom; right and bottom exclusive, never empty). AddRect keeps the
// nodes disjoint; AppendRegion does not, and Coalesce folds a region into horizontal
// bands with touching neighbours merged.
//
// Nodes come from one process-wide pool of 512 so that invalidating and repainting do
// not touch the heap; past that the heap serves. The pool has no lock: regions belong to
// the user-interface thread.
//
//     KR::LRegion dirty;
//     dirty.AddRect({0, 0, 10, 10});
//     dirty.AddRect({5, 5, 15, 15});   // three disjoint nodes now
//     dirty.Coalesce();
//     for (const KR::RegionNode* n = dirty.GetFirst(); n; n = n->next) ...

#include "kr/core/Point.h"
#include "kr/core/Rect.h"

#include <cstdint>
#include <utility>

namespace KR
{

struct RegionNode
{
    EdgesI rect;
    RegionNode* next = nullptr;
};

// Edges of an x, y, width, height rectangle; the far edges saturate at the 32-bit limits.
EdgesI EdgesFromRect(const RectI& rect);
RectI RectFromEdges(const EdgesI& edges);

class LRegion
{
public:
    LRegion() = default;
    // Copies keep the order of the nodes.
    LRegion(const LRegion& other);
    LRegion(LRegion&& other) noexcept : mHead(std::exchange(other.mHead, nullptr)) {}
    LRegion& operator=(const LRegion& other);
    LRegion& operator=(LRegion&& other) noexcept;
    ~LRegion() { Clear(); }

    // Ignored unless right > left and bottom > top; otherwise the overlap with the
    // present nodes is cut away and the rectangle becomes the first node.
    void AddRect(const EdgesI& rect);
    // The region becomes this one rectangle (or empty when it is empty).
    void SetRect(const EdgesI& rect);
    void Clear();

    bool IsEmpty() const { return mHead == nullptr; }
    // False, with all zeros, for an empty region; else the smallest rectangle holding
    // every node.
    bool GetBounds(EdgesI& bounds) const;
    std::uint32_t GetRectCount() const;
    const RegionNode* GetFirst() const { return mHead; }

    // Moves every node; edges saturate at the 32-bit limits.
    void Offset(std::int32_t dx, std::int32_t dy);
    // The rectangle, when not empty, goes to the front as it is: overlaps stay, for a
    // Coalesce to remove. Cheaper than AddRect, whose cut walks every node.
    void AppendRect(const EdgesI& rect);
    // Copies of the other's nodes go to the front, one by one (their order reverses);
    // overlaps stay.
    void AppendRegion(const LRegion& other);

    // Cuts the rectangle out of every node it overlaps. The pieces cut out go to `cutOut`
    // when given (at its front), else they are released.
    void SubtractRect(const EdgesI& rect, LRegion* cutOut = nullptr);
    void SubtractRegion(const LRegion& other, LRegion* cutOut = nullptr);
    // Keeps exactly the parts that lie in the other region.
    void Intersect(const LRegion& other);

    // Touching edges do not overlap.
    bool IntersectsRect(const EdgesI& rect) const;
    // Whether the rectangle of doubles, moved by the offset, overlaps the region. Its
    // edges are clamped to 0..2147483647 and rounded half away from zero; a rectangle
    // that is empty after clamping, or has a NaN edge, overlaps nothing.
    bool IntersectsRectF(const RectD& rect, const PointD& offset) const;
    // The control framework's name for IntersectsRectF: despite the name it adds nothing.
    bool AddRectF(const RectD& rect, const PointD& offset) const { return IntersectsRectF(rect, offset); }

    // Cuts the nodes into bands (nodes of one band share top and bottom), merges
    // neighbours in a band that touch or overlap and joins a node with the one of equal
    // left and right in the band right below. Overlaps left by AppendRegion are removed on
    // the way. The order of the nodes afterwards is top to bottom, left to right.
    void Coalesce();

private:
    // Into an empty region, keeping the order.
    void CopyFrom(const LRegion& other);
    void PushFront(const EdgesI& rect);

    RegionNode* mHead = nullptr;
};

} // namespace KR
