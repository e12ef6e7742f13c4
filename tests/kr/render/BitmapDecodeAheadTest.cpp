// Resource images decoded on a worker thread ahead of the GetBitmap calls that ask for
// them: whichever thread gets to an image first, GetBitmap ends with what it would have
// decoded itself.

#include "kr/render/BitmapDecodeAhead.h"
#include "kr/render/Bitmap.h"
#include "platform/png/PngCodec.h"
#include "platform/system/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::String;

// Pictures of their own, so that no other test has them in the bitmap table already.
struct Pictures
{
    Pictures()
    {
        for (std::int32_t i = 0; i < kCount; ++i)
        {
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(64 * 48));
            for (std::size_t p = 0; p < pixels.size(); ++p)
            {
                pixels[p] = 0xFF000000u | static_cast<std::uint32_t>(p * 2654435761u + i) >> 8;
            }
            expected.push_back(pixels);
            png.push_back(KR::Platform::EncodePng(64, 48, pixels.data()));
            names.push_back("AHEAD_" + std::to_string(i) + "_PNG");
        }
        png.push_back({1, 2, 3});
        names.push_back("AHEAD_BROKEN_PNG");
        for (std::size_t i = 0; i < png.size(); ++i)
        {
            table.push_back({"GDIPLUS", names[i].c_str(), png[i].data(), png[i].size()});
        }
        KR::Platform::RegisterResources(table.data(), table.size());
    }
    static constexpr std::int32_t kCount = 6;
    std::vector<std::vector<std::uint32_t>> expected;
    std::vector<std::vector<std::uint8_t>> png;
    std::vector<std::string> names;
    std::vector<KR::Platform::EmbeddedResource> table;
};

const Pictures& GetPictures()
{
    static const Pictures* pictures = new Pictures();
    return *pictures;
}

String Name(std::int32_t i)
{
    return String((u"::ahead " + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".png").c_str());
}

void ExpectPicture(const KR::ConstRCPtr<KR::LBitmap>& bitmap, std::int32_t i)
{
    ASSERT_TRUE(bitmap) << i;
    ASSERT_EQ(bitmap->GetWidth(), 64);
    ASSERT_EQ(bitmap->GetHeight(), 48);
    const std::vector<std::uint32_t>& pixels = GetPictures().expected[static_cast<std::size_t>(i)];
    for (std::int32_t y = 0; y < 48; y += 7)
    {
        for (std::int32_t x = 0; x < 64; x += 5)
        {
            ASSERT_EQ(bitmap->GetNativeImage()->GetPixel(x, y), pixels[static_cast<std::size_t>(y * 64 + x)])
                << i;
        }
    }
}

TEST(BitmapDecodeAhead, GetBitmapTakesWhatAWorkerDecodedOrDecodesItselfTheSame)
{
    GetPictures();
    // The worker and the asking thread race over the pictures: asked for in the opposite
    // order, some are taken decoded, some waited for, some not begun yet.
    std::vector<String> queued;
    for (std::int32_t i = 0; i < Pictures::kCount; ++i)
    {
        queued.push_back(Name(i));
    }
    queued.push_back(String(u"::Ahead Broken.png"));
    queued.push_back(String(u"::ahead missing.png"));
    queued.push_back(String(u"/a/file/ahead.png"));
    std::thread worker([&] { KR::BitmapDecodeAhead::Decode(queued); });
    for (std::int32_t i = Pictures::kCount; i-- > 0;)
    {
        ExpectPicture(KR::LBitmap::GetBitmap(Name(i)), i);
    }
    EXPECT_FALSE(KR::LBitmap::GetBitmap(String(u"::AHEAD BROKEN.PNG")));
    EXPECT_FALSE(KR::LBitmap::GetBitmap(String(u"::ahead missing.png")));
    worker.join();
}

TEST(BitmapDecodeAhead, ATakenPictureGivesTheDecodersPixelsAndReason)
{
    GetPictures();
    struct Case
    {
        const char16_t* name;
        bool decodes;
    };
    const Case cases[] = {
        {u"::ahead 0.png", true}, {u"::ahead broken.png", false}, {u"::no such.png", false}};
    for (const Case& c : cases)
    {
        KR::Platform::DecodedImage direct;
        std::string directError;
        KR::BitmapDecodeAhead::DecodeResourceImage(String(c.name), direct, directError);
        EXPECT_EQ(!direct.pixels.empty(), c.decodes);

        KR::BitmapDecodeAhead::Decode({String(c.name)});
        KR::Platform::DecodedImage taken;
        std::string takenError;
        ASSERT_TRUE(KR::BitmapDecodeAhead::Take(String(c.name).ToUpper(), taken, takenError));
        EXPECT_EQ(taken.pixels, direct.pixels);
        EXPECT_EQ(takenError, directError);
        // Taken once: the next asker decodes for itself.
        EXPECT_FALSE(KR::BitmapDecodeAhead::Take(String(c.name).ToUpper(), taken, takenError));
    }
}

} // namespace
