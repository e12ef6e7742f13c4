#pragma once
// A visual part placed inside or around a look: offsets from the edges it is docked
// to, and an optional fixed width and height.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <cstdint>

namespace KR
{

// Which offsets of a docked part are set.
enum DockEdge : std::int32_t
{
    kDockLeft = 1,
    kDockTop = 2,
    kDockRight = 4,
    kDockBottom = 8,
    kDockAllEdges = 15,
};

class LDockedPart : public virtual LRefCountedObject
{
public:
    ConstRCPtr<LVisualPartDescriptor> part;
    std::int32_t edgeMask = 0;
    // Right and bottom offsets of the skins are negative: measured inwards from the edge.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool widthSet = false;
    std::int32_t width = 0;
    bool heightSet = false;
    std::int32_t height = 0;

    // The visual part of its part descriptor (LVisualPartDescriptor::GetVisualPart).
    RCPtr<LVisualPart> GetVisualPart() const;
};

} // namespace KR
