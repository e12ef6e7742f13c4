#include "kr/ui/LookDescriptor.h"

namespace KR
{

TextRect LTextProperties::GetTextRect(float width, float height) const
{
    if (!hasTextProperties)
    {
        return {};
    }
    const float x = leftRelative * width + static_cast<float>(leftAbsolute);
    const float y = topRelative * height + static_cast<float>(topAbsolute);
    const float right = rightRelative * width + static_cast<float>(rightAbsolute);
    const float bottom = bottomRelative * height + static_cast<float>(bottomAbsolute);
    return {x, y, right - x, bottom - y};
}

} // namespace KR
