#pragma once
// The Skin of a control (or a whole skin's top level): its look list and its font.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/ui/LookDescriptor.h"

#include <cstdint>

namespace KR
{

// A control's font as the skin gives it; unset parts come from the parent or the
// application's default font.
struct SkinFont
{
    bool inheritsFromParent = false;
    bool sizeIsRelative = false;
    String name;
    // 0: not set.
    float size = 0.0f;
    // -1: not set.
    std::int32_t style = -1;
};

class LSkinDescriptor : public virtual LRefCountedObject
{
public:
    explicit LSkinDescriptor(String skinName) : name(std::move(skinName)) {}

    String name;
    ConstRCPtr<LookList> lookList;
    SkinFont font;
};

} // namespace KR
