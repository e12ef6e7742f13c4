#pragma once
// Where a control sits and how big it is, as its SubControl element gives it. The layout
// passes read it; a control keeps a private clone so that changing its own placement or
// visibility never reaches the skin's copy.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

// What a position is measured from.
enum PositionReference : std::int32_t
{
    kPositionToParent = 0, // also "Screen"
    kPositionToClient = 1, // also "Active Window"
    kPositionToNamed = 2,
};

// What a size is measured against.
enum SizeReference : std::int32_t
{
    kSizeToParent = 0, // also "Screen"
    kSizeToClient = 1, // also "Active Window"
    kSizeToSelf = 2,
    kSizeToNamed = 3,
};

// What a minimum or maximum size is measured against.
enum LimitReference : std::uint8_t
{
    kLimitToSelf = 0,
    kLimitToNamed = 1,
};

enum TextOverflow : std::int32_t
{
    kTextOverflowClip = 0,
    kTextOverflowExpand = 1,
    kTextOverflowWrap = 2, // X only
};

struct PositionSpec
{
    float anchor = 0.0f;
    std::int32_t reference = kPositionToClient;
    String referenceName;
    float relative = 0.0f;
    double absolute = 0.0;
};

// A position as the placement operations exchange it: the stored spec with its axis'
// docked flag beside it (the descriptor itself keeps that flag in xDocked and yDocked).
struct DockedPositionSpec : PositionSpec
{
    bool docked = false;
};

struct SizeSpec
{
    std::int32_t reference = kSizeToSelf;
    String referenceName;
    float relative = 0.0f;
    double absolute = 0.0;
};

struct LimitSpec
{
    std::uint8_t reference = kLimitToSelf;
    String referenceName;
    float relative = 0.0f;
    double absolute = 0.0;
};

class LLayoutDescriptor : public virtual LRefCountedObject
{
public:
    // A descriptor with the defaults every SubControl starts from.
    static RCPtr<LLayoutDescriptor> Create();
    // A new descriptor equal to this one field for field; later changes to either stay
    // with it.
    RCPtr<LLayoutDescriptor> Clone() const;

    // One axis (0 X, 1 Y) at a time. Any other axis gives kInvalidArg and leaves the
    // outputs, or the descriptor, as they were.
    Result GetPlacement(std::int32_t axis, DockedPositionSpec& position, SizeSpec& size) const;
    Result SetPlacement(std::int32_t axis, const DockedPositionSpec& position, const SizeSpec& size);
    Result GetSizeLimits(std::int32_t axis, LimitSpec& minimum, LimitSpec& maximum) const;
    Result SetSizeLimits(std::int32_t axis, const LimitSpec& minimum, const LimitSpec& maximum);
    // kInvalidArg for a negative mode.
    Result SetTextOverflowX(std::int32_t mode);

    bool clipToParent = true;
    std::int32_t zOrder = 0;
    std::int32_t tabStop = 0;
    bool visible = true;
    // Not set from the skin.
    bool enabled = true;
    bool xDocked = false;
    bool yDocked = false;
    PositionSpec xPosition;
    PositionSpec yPosition;
    SizeSpec xSize{kSizeToSelf, String(), 0.0f, 16.0};
    SizeSpec ySize{kSizeToSelf, String(), 0.0f, 40.0};
    LimitSpec xMinSize;
    LimitSpec yMinSize;
    LimitSpec xMaxSize;
    LimitSpec yMaxSize;
    String textDecoration;
    std::int32_t textOverflowX = kTextOverflowClip;
    std::int32_t textOverflowY = kTextOverflowClip;
    // Siblings are ordered by it, ascending, equal ones in document order.
    std::int32_t layoutOrder = 0;
};

} // namespace KR
