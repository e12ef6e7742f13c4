#include "platform/graphics/Font.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Present.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace KR::Platform
{
namespace
{

TEST(Font, ResolvesOncePerFaceAndStyleIgnoringCase)
{
    const Font& regular = ResolveFont(u"DejaVu Sans", 0);
    EXPECT_EQ(&ResolveFont(u"dejavu SANS", 0), &regular);
    EXPECT_NE(&ResolveFont(u"DejaVu Sans", kFontBold), &regular);
    EXPECT_EQ(GetFontFamily(regular), "DejaVu Sans");
}

// Threads released together, each resolving the same faces and styles in its own order:
// every one of them, and the caller afterwards, gets the one font of each face and style.
TEST(Font, ThreadsResolvingAtOnceGetOneFontPerFaceAndStyle)
{
    const std::u16string faces[] = {u"DejaVu Serif", u"dejavu serif", u"DejaVu Sans Mono", u"No Such Face 9"};
    constexpr int kThreads = 4;
    constexpr std::size_t kKeys = std::size(faces) * 2;
    std::vector<std::vector<const Font*>> seen(kThreads, std::vector<const Font*>(kKeys, nullptr));
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                waiting.fetch_sub(1);
                while (waiting.load() > 0)
                {
                    std::this_thread::yield();
                }
                for (std::size_t k = 0; k < kKeys; ++k)
                {
                    const std::size_t key = (k + static_cast<std::size_t>(t) * 3) % kKeys;
                    seen[t][key] = &ResolveFont(faces[key / 2], key % 2 == 0 ? 0 : kFontBold);
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    for (std::size_t key = 0; key < kKeys; ++key)
    {
        const Font& font = ResolveFont(faces[key / 2], key % 2 == 0 ? 0 : kFontBold);
        EXPECT_FALSE(GetFontFamily(font).empty()) << key;
        for (int t = 0; t < kThreads; ++t)
        {
            EXPECT_EQ(seen[t][key], &font) << "thread " << t << ", key " << key;
        }
    }
    // The two spellings of one face are one font.
    EXPECT_EQ(seen[0][0], seen[0][2]);
}

TEST(Font, DesignValuesComeFromTheFontTables)
{
    const FontDesign design = GetFontDesign(ResolveFont(u"DejaVu Sans", 0));
    EXPECT_EQ(design.unitsPerEm, 2048);
    EXPECT_EQ(design.cellAscent, 1901);
    EXPECT_EQ(design.cellDescent, 483);
    EXPECT_EQ(design.lineSpacing, 2384);
}

TEST(Font, AnUnknownFaceDrawsInASubstitute)
{
    const Font& font = ResolveFont(u"No Such Face 7", 0);
    EXPECT_FALSE(GetFontFamily(font).empty());
    EXPECT_GT(MeasureTextAdvance(font, 12, u"x"), 0.0);
}

TEST(Font, AdvancesCountTrailingSpacesAndScaleWithTheSize)
{
    const Font& font = ResolveFont(u"DejaVu Sans", 0);
    const double ab = MeasureTextAdvance(font, 12, u"ab");
    EXPECT_GT(MeasureTextAdvance(font, 12, u"ab  "), ab);
    EXPECT_DOUBLE_EQ(MeasureTextAdvance(font, 24, u"ab"), 2 * ab);
    EXPECT_EQ(MeasureTextAdvance(font, 12, u""), 0.0);
    EXPECT_EQ(MeasureTextAdvance(font, 12, u"a\tb\n"), ab);
    // A lone surrogate measures as a replacement character, not as nothing or a crash.
    EXPECT_GT(MeasureTextAdvance(font, 12, u"\xD800"), 0.0);
}

TEST(Font, TextInksBelowItsTopAndNotPastItsAdvance)
{
    const Font& font = ResolveFont(u"DejaVu Sans", 0);
    Surface s(60, 30);
    Canvas canvas(s);
    const double size = 12.0;
    const double baseline = 5 + size * 1901 / 2048; // top of the cell at row 5
    canvas.DrawText(font, size, u"Hg", 10, baseline, 0xFF000000);
    const int right = 10 + static_cast<int>(MeasureTextAdvance(font, size, u"Hg")) + 1;
    int inked = 0;
    for (int y = 0; y < s.GetHeight(); ++y)
    {
        for (int x = 0; x < s.GetWidth(); ++x)
        {
            if (s.GetPixel(x, y) >> 24)
            {
                ++inked;
                EXPECT_GE(y, 5) << x << "," << y;
                EXPECT_LT(x, right) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 20);
}

TEST(Present, CopiesRectanglesIntoADrawInProgressElseAsksForARedraw)
{
    Surface frame(8, 8);
    frame.WritePixels({0, 0, 8, 8}, 0x80FF0000);
    Surface window(8, 8);
    window.WritePixels({0, 0, 8, 8}, 0xFF0000FF);
    const int key = 0;
    std::vector<PixelRect> asked;
    SetWindowRedrawRequest(&key, [&](const PixelRect& r) { asked.push_back(r); });

    EXPECT_FALSE(PresentToWindow(&key, frame, {{1, 1, 2, 2}, {5, 5, 1, 1}}));
    EXPECT_EQ(asked, (std::vector<PixelRect>{{5, 5, 1, 1}, {1, 1, 2, 2}}));
    EXPECT_EQ(window.GetPixel(1, 1), 0xFF0000FFu);
    {
        WindowDrawScope draw(&key, window);
        EXPECT_TRUE(PresentToWindow(&key, frame, {{1, 1, 2, 2}}));
    }
    // Copied, not blended: the half-transparent red replaces the blue.
    EXPECT_EQ(window.GetPixel(1, 1), 0x80FF0000u);
    EXPECT_EQ(window.GetPixel(2, 2), 0x80FF0000u);
    EXPECT_EQ(window.GetPixel(3, 3), 0xFF0000FFu);
    EXPECT_EQ(asked.size(), 2u);
    SetWindowRedrawRequest(&key, nullptr);
}

} // namespace
} // namespace KR::Platform
