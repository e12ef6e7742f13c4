// The images the skin names, rendered from their drawings at build time, load from the
// program's resources at the sizes the layout was made for.

#include "DocumentScan.h"
#include "kr/render/Bitmap.h"
#include "platform/system/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <tuple>

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

std::int32_t Whole(const ResourceTests::Attributes& attributes, const char* name)
{
    const auto found = attributes.find(name);
    return found == attributes.end()
               ? -1
               : static_cast<std::int32_t>(std::strtol(found->second.c_str(), nullptr, 0));
}

// Every picture part of the skin cuts its rectangle out of an image the program has, from
// its resources and from the folder form alike: a renamed drawing or a smaller image would
// otherwise draw nothing, silently.
TEST(EmbeddedImages, EveryImageTheSkinNamesHoldsItsPart)
{
    const auto bytes = KR::Platform::FindResource("KRXML", "APP_SKINS");
    ASSERT_FALSE(bytes.empty());
    const std::string skin(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const char* folder = std::getenv("KR_RESOURCE_FOLDER");
    ASSERT_NE(folder, nullptr);
    std::size_t parts = 0;
    ResourceTests::ForEachElement(
        skin, "<Part ",
        [&](const ResourceTests::Attributes& part)
        {
            for (const auto& [file, x, y] : {std::tuple{"ImageFile", "ImageLocX", "ImageLocY"},
                                             std::tuple{"ColorizerMaskFile", "MaskLocX", "MaskLocY"}})
            {
                const auto named = part.find(file);
                if (named == part.end() || named->second.empty())
                {
                    continue;
                }
                ++parts;
                // The reader lower-cases image names (not mask names): the files are named so.
                std::string name = named->second;
                std::transform(name.begin(), name.end(), name.begin(),
                               [](unsigned char c) { return std::tolower(c); });
                for (const std::string& path : {"::" + name, std::string(folder) + "/" + name})
                {
                    const auto bitmap = KR::LBitmap::GetBitmap(KR::String(path.c_str()));
                    ASSERT_TRUE(bitmap) << path << " for part " << part.at("Name");
                    EXPECT_GE(Whole(part, x), 0) << part.at("Name");
                    EXPECT_GE(Whole(part, y), 0) << part.at("Name");
                    EXPECT_LE(Whole(part, x) + Whole(part, "Width"), bitmap->GetWidth()) << part.at("Name");
                    EXPECT_LE(Whole(part, y) + Whole(part, "Height"), bitmap->GetHeight()) << part.at("Name");
                }
            }
        });
    EXPECT_GT(parts, 0u) << "the skin names no image";
}

} // namespace
