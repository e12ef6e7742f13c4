// The images the skin names, rendered from their drawings at build time, load from the
// program's resources at the sizes the layout was made for.

#include "DocumentScan.h"
#include "kr/render/Bitmap.h"
#include "platform/system/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>
#include <zlib.h>

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

// "::device-picture.png" -> "DEVICE-PICTURE_PNG", as the build names the resources.
std::string ResourceName(const char16_t* name)
{
    std::string resource = KR::String(name).ToUtf8().GetPtr() + 2;
    std::transform(resource.begin(), resource.end(), resource.begin(),
                   [](unsigned char c) { return c == '.' ? '_' : static_cast<char>(std::toupper(c)); });
    return resource;
}

// The images are stored with no row filter: undoing the renderer's filters was more than
// half of decoding the keyboard picture at each start. Each row of the inflated data starts
// with its filter byte.
TEST(EmbeddedImages, EveryImageIsStoredWithoutRowFilters)
{
    for (const ImageCase& image : kImages)
    {
        const std::string name = ResourceName(image.name);
        const auto bytes = KR::Platform::FindResource("GDIPLUS", name);
        ASSERT_GT(bytes.size(), 8u) << name;
        std::vector<unsigned char> compressed;
        for (std::size_t at = 8; at + 12 <= bytes.size();)
        {
            const std::size_t length = (std::size_t{bytes[at]} << 24) | (std::size_t{bytes[at + 1]} << 16) |
                                       (std::size_t{bytes[at + 2]} << 8) | bytes[at + 3];
            ASSERT_LE(at + 12 + length, bytes.size()) << name;
            if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0)
            {
                compressed.insert(compressed.end(), &bytes[at + 8], &bytes[at + 8] + length);
            }
            at += 12 + length;
        }
        const std::size_t stride = std::size_t(image.width) * 4 + 1;
        std::vector<unsigned char> rows(stride * std::size_t(image.height));
        uLongf size = static_cast<uLongf>(rows.size());
        ASSERT_EQ(uncompress(rows.data(), &size, compressed.data(), static_cast<uLong>(compressed.size())),
                  Z_OK)
            << name;
        ASSERT_EQ(size, rows.size()) << name;
        for (std::int32_t y = 0; y < image.height; ++y)
        {
            ASSERT_EQ(rows[stride * std::size_t(y)], 0) << name << " row " << y;
        }
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
