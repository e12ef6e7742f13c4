#pragma once
// One Look of a skin: the part drawn in the client area, the parts drawn around it, and
// where the label text goes. Controls pick looks by index from their skin's look list.

#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/ui/DockedPart.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <cstdint>

namespace KR
{

struct TextRect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    friend constexpr bool operator==(const TextRect&, const TextRect&) = default;
};

// The text box of a look, each edge a fraction of the control's size plus pixels.
struct LTextProperties
{
    bool hasTextProperties = false;
    float leftRelative = 0.0f;
    std::int32_t leftAbsolute = 0;
    float rightRelative = 0.0f;
    std::int32_t rightAbsolute = 0;
    float horizontalAlignment = 0.0f;
    float topRelative = 0.0f;
    std::int32_t topAbsolute = 0;
    float bottomRelative = 0.0f;
    std::int32_t bottomAbsolute = 0;
    float verticalAlignment = 0.0f;
    ConstRCPtr<LVisualPartDescriptor> foregroundPart;

    // The box for a control of this size; all zero without text properties.
    TextRect GetTextRect(float width, float height) const;
};

class LLookDescriptor : public virtual LRefCountedObject
{
public:
    explicit LLookDescriptor(String lookName) : name(std::move(lookName)) {}

    String name;
    ConstRCPtr<LDockedPart> clientPart;
    // In document order.
    RCPtrArray<LDockedPart, 1, 0> nonClientParts;
    LTextProperties text;
};

// Slot i holds the look for look index i of a control; slots no Look filled are null.
using LookList = LRCPtrArray<LLookDescriptor, 1, 0>;

} // namespace KR
