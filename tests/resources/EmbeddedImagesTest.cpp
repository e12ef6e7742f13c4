// The images the skin names, rendered from their drawings at build time, load from the
// program's resources at the sizes the layout was made for.

#include "kr/render/Bitmap.h"

#include <gtest/gtest.h>

namespace
{

struct ImageCase
{
    const char16_t* name;
    std::int32_t width;
    std::int32_t height;
};

// The sizes are binding: looks cut parts out of these images by position.
constexpr ImageCase kImages[] = {
    {u"::device-picture.png", 1184, 468}, {u"::knob-ring.png", 44, 44},    {u"::glyphs.png", 48, 8},
    {u"::logo-vantor.png", 368, 56},      {u"::logo-tarsil.png", 120, 28}, {u"::icon-16.png", 16, 16},
    {u"::icon-32.png", 32, 32},           {u"::icon-48.png", 48, 48},      {u"::icon-64.png", 64, 64},
};

TEST(EmbeddedImages, EveryImageLoadsAtItsSize)
{
    for (const ImageCase& image : kImages)
    {
        const KR::ConstRCPtr<KR::LBitmap> bitmap = KR::LBitmap::GetBitmap(KR::String(image.name));
        ASSERT_TRUE(bitmap) << KR::String(image.name).ToUtf8().GetPtr();
        EXPECT_EQ(bitmap->GetWidth(), image.width) << KR::String(image.name).ToUtf8().GetPtr();
        EXPECT_EQ(bitmap->GetHeight(), image.height) << KR::String(image.name).ToUtf8().GetPtr();
    }
}

} // namespace
