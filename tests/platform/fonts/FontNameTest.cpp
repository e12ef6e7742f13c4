#include "platform/fonts/FontFiles.h"

#include <gtest/gtest.h>

namespace
{

using KR::Platform::ParseFontName;
using KR::Platform::SystemFontName;

TEST(FontName, FamilyStyleWordsAndSizeComeApart)
{
    struct Case
    {
        const char* text;
        const char* family;
        float size;
        unsigned style;
    };
    constexpr unsigned kBold = SystemFontName::kBold;
    constexpr unsigned kItalic = SystemFontName::kItalic;
    const Case cases[] = {
        {"DejaVu Sans Bold Italic 9", "DejaVu Sans", 9.0f, kBold | kItalic},
        {"Cantarell 11", "Cantarell", 11.0f, 0},
        {"Noto Sans Semi-Bold 10.5", "Noto Sans", 10.5f, kBold},
        {"Liberation Serif Oblique 12", "Liberation Serif", 12.0f, kItalic},
        {"Ubuntu Light 9", "Ubuntu", 9.0f, 0},
        {"Sans", "Sans", 9.0f, 0},      // no size: the default's
        {"", "DejaVu Sans", 9.0f, 0},   // nothing named: the default
        {"Sans 20px", "Sans", 9.0f, 0}, // pixels are no point size
    };
    for (const Case& c : cases)
    {
        const SystemFontName name = ParseFontName(c.text);
        EXPECT_EQ(name.family, c.family) << c.text;
        EXPECT_FLOAT_EQ(name.size, c.size) << c.text;
        EXPECT_EQ(name.style, c.style) << c.text;
    }
    EXPECT_FALSE(ParseFontName(nullptr).fromSettings);
}

} // namespace
