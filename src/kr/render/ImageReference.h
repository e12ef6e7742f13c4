#pragma once
// Where a picture comes from: a rectangle of a picture file or resource. Skins name one
// per image part and mask; the bitmap source turns it into a bitmap.

#include "kr/core/StringT.h"

#include <cstdint>

namespace KR
{

// An empty path means no picture. A width or height of 0 means the whole picture.
struct ImageReference
{
    String path;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool IsEmpty() const { return path.IsEmpty(); }
};

} // namespace KR
