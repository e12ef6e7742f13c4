#include "GLTestSupport.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gl/FontFileInfo.h"
#include "kr/render/gl/FreetypeFontRenderer.h"
#include "kr/render/gl/GLGlyphRenderer.h"
#include "platform/png/PngCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace KR::Test
{
namespace
{

using SGlyphRecord = LGlyphProcessor::SGlyphRecord;
using LCachedFont = LGLGlyphRenderer::LCachedFont;

class RecordingProcessor : public LGlyphProcessor
{
public:
    void BeginText(const ConstRCPtr<LFont>&, std::uint32_t) override { calls.push_back("BeginText"); }
    void EndText() override { calls.push_back("EndText"); }
    std::uint16_t QueryGlyph(SGlyphRecord& record) override
    {
        record.glyphIndex = cachedIndex;
        return requests;
    }
    void ProcessGlyph(SGlyphRecord& record) override { glyphs.push_back(record); }
    void GetBounds(float& l, float& t, float& r, float& b) const override
    {
        l = bounds[0];
        t = bounds[1];
        r = bounds[2];
        b = bounds[3];
    }

    std::vector<std::string> calls;
    std::vector<SGlyphRecord> glyphs;
    std::uint16_t requests = kRequestLoad | kRequestBox | kRequestBitmap;
    std::uint32_t cachedIndex = 0;
    float bounds[4] = {0, 0, 0, 0};
};

struct FreeTypeFixture
{
    FreeTypeFixture()
        : processor(new RecordingProcessor), fonts(new LFreetypeFontRenderer(processor, processor))
    {
    }

    RCPtr<RecordingProcessor> processor;
    RCPtr<LFreetypeFontRenderer> fonts;
};

RCPtr<LFont> DejaVu(float size, std::int32_t style = kFontStyleRegular)
{
    return LFont::GetFont(u"DejaVu Sans", size, style);
}

TEST(FreetypeFontRendererTest, LaysTextOutGlyphByGlyph)
{
    FreeTypeFixture f;
    ASSERT_FALSE(LFontFileInfo::GetRecords().empty()) << "fontconfig lists no TrueType files";
    RecordingProcessor& p = *f.processor;

    EXPECT_EQ(f.fonts->ProcessText(u"", DejaVu(9), f.processor, 0, 0.0f, 3), 0);
    EXPECT_EQ(p.calls, (std::vector<std::string>{"BeginText", "EndText"}));

    // Small sizes render monochrome: coverage is all or nothing.
    p.glyphs.clear();
    ASSERT_EQ(f.fonts->ProcessText(u"Hg", DejaVu(7), f.processor, 0, 0.0f, 15), 2);
    ASSERT_EQ(p.glyphs.size(), 2u);
    bool inked = false;
    for (const SGlyphRecord& glyph : p.glyphs)
    {
        ASSERT_TRUE(glyph.bitmap);
        for (std::uint32_t y = 0; y < glyph.bitmap->GetHeight(); ++y)
        {
            for (std::uint32_t x = 0; x < glyph.bitmap->GetWidth(); ++x)
            {
                const unsigned char value = *glyph.bitmap->GetPixels(x, y);
                ASSERT_TRUE(value == 0 || value == 255) << int(value);
                inked = inked || value == 255;
            }
        }
    }
    EXPECT_TRUE(inked);

    // A character the face lacks neither reaches the processor nor moves the pen.
    p.glyphs.clear();
    f.fonts->ProcessText(u"AV", DejaVu(12), f.processor, 0, 0.0f, 15);
    const std::vector<SGlyphRecord> plain = p.glyphs;
    p.glyphs.clear();
    f.fonts->ProcessText(u"A\xE000V", DejaVu(12), f.processor, 0, 0.0f, 15);
    ASSERT_EQ(plain.size(), 2u);
    ASSERT_EQ(p.glyphs.size(), 2u);
    EXPECT_EQ(p.glyphs[1].character, u'V');
    EXPECT_EQ(p.glyphs[1].penX, plain[1].penX);
    EXPECT_EQ(p.glyphs[1].textPosition, 1u) << "the position stays after a skipped character";

    // A processor that knows the glyph answers 0; its index 0 skips the character.
    p.glyphs.clear();
    p.requests = 0;
    EXPECT_EQ(f.fonts->ProcessText(u"ab", DejaVu(12), f.processor, 0, 0.0f, 15), 2);
    EXPECT_TRUE(p.glyphs.empty());
}

TEST(FreetypeFontRendererTest, MetricsAndMeasuring)
{
    FreeTypeFixture f;
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    ASSERT_EQ(f.fonts->GetFontMetrics(DejaVu(9), lineHeight, ascent, descent), kOk);
    EXPECT_LT(ascent, 0);
    EXPECT_GT(descent, 0);
    EXPECT_GE(lineHeight, 12);
    EXPECT_GE(lineHeight, descent - ascent);

    // No size to lay out at: metrics fail and leave the outputs; nothing reaches the processor.
    lineHeight = 77;
    EXPECT_EQ(f.fonts->GetFontMetrics(DejaVu(0.0f), lineHeight, ascent, descent), kFail);
    EXPECT_EQ(lineHeight, 77);
    f.processor->calls.clear();
    EXPECT_EQ(f.fonts->ProcessText(u"x", DejaVu(0.0f), f.processor, 0, 0.0f, 3), 0);
    EXPECT_TRUE(f.processor->calls.empty());

    struct Row
    {
        const char* name;
        const char16_t* text;
        float size;
        RectT<float> box;
    };
    // The processor still holds bounds from before: they must not show.
    f.processor->bounds[0] = 0;
    f.processor->bounds[1] = -3;
    f.processor->bounds[2] = 5;
    f.processor->bounds[3] = 2;
    f.processor->requests = 0;
    f.processor->cachedIndex = 0;
    const Row rows[] = {
        {"right edge counts", u"x", 12.0f, {0, -3, 6, 5}},
        {"empty text", u"", 12.0f, {0, 0, 0, 0}},
        {"failed size lookup", u"x", 0.0f, {0, 0, 0, 0}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        RectT<float> box{9, 9, 9, 9};
        f.fonts->MeasureText(box, row.text, DejaVu(row.size));
        EXPECT_EQ(box.x, row.box.x);
        EXPECT_EQ(box.y, row.box.y);
        EXPECT_EQ(box.width, row.box.width);
        EXPECT_EQ(box.height, row.box.height);
    }
}

// Skins name "Arial", which the machine may lack; with the system font's family not
// registered either, fontconfig's substitute serves instead of an exception.
TEST(FreetypeFontRendererTest, FacesTheMachineLacksResolveThroughFontconfig)
{
    FreeTypeFixture f;
    LFontFileInfo::SetSystemFamilySource([] { return String(u"Not Installed Anywhere"); });
    const RCPtr<LFont> arial = LFont::GetFont(u"Arial", 9.0f, kFontStyleBold);
    std::int32_t id = -1;
    EXPECT_NO_THROW(id = LFontFileInfo::GetFileID(arial));
    LFontFileInfo::SetSystemFamilySource({});
    EXPECT_EQ(id & 3, kFontStyleBold);
    EXPECT_FALSE(LFontFileInfo::GetFileName(id).IsEmpty());
    RectT<float> box;
    f.processor->bounds[2] = 5;
    f.fonts->MeasureText(box, u"Fader", arial);
    EXPECT_GT(box.width, 0.0f);
}

TEST(GLRendererTextTest, KindZeroComesWithItsFontRendererAndWithoutOneNothingMeasures)
{
    KR_REQUIRE_EGL();
    InstallRenderersWithOpenGL(EglPlatform(), {});
    const RCPtr<LGLRenderer> made(LRenderer::Create(kRendererOpenGL, RectI{0, 0, 8, 8}, nullptr));
    SetRendererFactory({});
    ASSERT_TRUE(made);
    const RCPtr<LFontRenderer> fonts = made->GetFontRenderer();
    ASSERT_TRUE(fonts);
    EXPECT_EQ(fonts->GetFirstProcessor().Get(), fonts->GetSecondProcessor().Get());
    EXPECT_TRUE(RCPtr<LGLGlyphRenderer>(fonts->GetSecondProcessor()));

    GLFrame frame;
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    EXPECT_EQ(frame.renderer->GetFontMetrics(DejaVu(9), lineHeight, ascent, descent), kFail);
    RectT<float> box{1, 1, 1, 1};
    EXPECT_EQ(frame.renderer->MeasureText(box, u"x", DejaVu(9)), kOk);
    EXPECT_EQ(box.width, 0.0f);
}

// A glyph of w x h coverage pixels at a pen position.
SGlyphRecord Glyph(std::uint32_t character, std::uint32_t w, std::uint32_t h, float penX = 0.0f,
                   std::int16_t advance = 64 * 4)
{
    SGlyphRecord record;
    record.character = character;
    record.glyphIndex = character;
    record.penX = penX;
    record.top = static_cast<std::int8_t>(-static_cast<int>(std::min<std::uint32_t>(h, 100)));
    record.right = static_cast<std::int8_t>(std::min<std::uint32_t>(w, 100));
    record.advanceX = advance;
    record.bitmap = LPixelBuffer<unsigned char>::Create(w, h, static_cast<std::int32_t>(w), nullptr);
    return record;
}

TEST(GLGlyphRendererTest, PacksGlyphsOnShelvesOfTheAtlas)
{
    KR_REQUIRE_EGL();
    GLFrame frame;
    frame.Start();
    struct Row
    {
        const char* name;
        std::int32_t need;
        std::uint32_t height;
    };
    const Row grow[] = {{"18 rows grow it to 32", 18, 32}, {"exactly 16 keeps 16", 16, 16}};
    for (const Row& row : grow)
    {
        SCOPED_TRACE(row.name);
        const RCPtr<LCachedFont> font = LCachedFont::Create(DejaVu(10));
        EXPECT_EQ(font->GetAtlas()->GetHeight(), 16u);
        EXPECT_EQ(font->GetDirtyRect().width, 512.0f);
        font->UpdateTexture();
        EXPECT_EQ(font->GetDirtyRect().width, 0.0f);
        font->ReserveSpace(10, row.need);
        EXPECT_EQ(font->GetAtlas()->GetHeight(), row.height);
        EXPECT_EQ(font->GetDirtyRect().height, static_cast<float>(row.height));
        EXPECT_EQ(font->GetDirtyRect().width, 512.0f);
    }

    const RCPtr<LGLGlyphRenderer> glyphs = LGLGlyphRenderer::Create();
    glyphs->BeginText(DejaVu(10), 2);
    const LCachedFont& font = *glyphs->GetCurrentFont();
    SGlyphRecord wide = Glyph('a', 300, 5);
    SGlyphRecord next = Glyph('b', 210, 7);
    SGlyphRecord space = Glyph(' ', 0, 0, 50.0f, 64 * 5);
    SGlyphRecord huge = Glyph('c', 600, 3, 60.0f, 64 * 9);
    SGlyphRecord last = Glyph('d', 2, 2, 0.0f, 64 * 2);
    float l = 0, t = 0, r = 0, b = 0;
    for (SGlyphRecord* record : {&wide, &next, &space, &huge, &last})
    {
        EXPECT_NE(glyphs->QueryGlyph(*record), 0);
        glyphs->ProcessGlyph(*record);
        if (record == &space)
        {
            glyphs->GetBounds(l, t, r, b);
            EXPECT_EQ(r, 55.0f) << "the space's advance counts";
        }
    }
    // 'a' takes columns 0-301 of the first shelf (10 rows, the font's size); 'b' would
    // reach column 514, so it opens the next shelf.
    EXPECT_EQ(font.FindGlyph('a')->atlasX, 1);
    EXPECT_EQ(font.FindGlyph('b')->atlasX, 1);
    EXPECT_EQ(font.FindGlyph('b')->atlasY, 10 + 1);
    // The space takes a 2 x 2 cell.
    EXPECT_EQ(font.FindGlyph(' ')->atlasX, 213);
    // The glyph wider than the atlas is known but takes no cell: the next one follows the space.
    EXPECT_NE(font.FindGlyph('c'), nullptr);
    EXPECT_EQ(font.FindGlyph('d')->atlasX, 215);
    glyphs->GetBounds(l, t, r, b);
    EXPECT_EQ(l, 0.0f);
    EXPECT_EQ(t, -7.0f);
    EXPECT_EQ(r, 69.0f) << "the unpacked glyph's advance still counts";
    EXPECT_EQ(b, 0.0f);
    // A known glyph comes from the list.
    SGlyphRecord again = Glyph('b', 0, 0);
    again.glyphIndex = 0;
    EXPECT_EQ(glyphs->QueryGlyph(again), 0);
    EXPECT_EQ(again.glyphIndex, static_cast<std::uint32_t>('b'));
    glyphs->EndText();

    // Bounds of a text away from the origin still hold it.
    glyphs->BeginText(DejaVu(10), 2);
    SGlyphRecord far = Glyph('z', 3, 5, 20.0f);
    far.top = 3;
    glyphs->QueryGlyph(far);
    glyphs->ProcessGlyph(far);
    glyphs->GetBounds(l, t, r, b);
    EXPECT_EQ(l, 0.0f);
    EXPECT_EQ(t, 0.0f);
    glyphs->EndText();
    frame.Finish();
}

TEST(GLGlyphRendererTest, SeventeenthFontReleasesTheFirstAtlas)
{
    KR_REQUIRE_EGL();
    GLFrame frame;
    frame.Start();
    const RCPtr<LGLGlyphRenderer> glyphs = LGLGlyphRenderer::Create();
    std::vector<RCPtr<LFont>> fonts;
    CountedCall<&Platform::GLFunctions::glDeleteTextures> deletes;
    for (int i = 0; i < 17; ++i)
    {
        fonts.push_back(DejaVu(10.0f + static_cast<float>(i)));
        glyphs->BeginText(fonts.back(), 4);
        glyphs->EndText();
        EXPECT_EQ(deletes.count, i < 16 ? 0 : 1) << i;
    }
    frame.Finish();
}

class InstalledMeasurement : public IMeasurementRendererSource
{
public:
    explicit InstalledMeasurement(RCPtr<LMeasurementRenderer> renderer) : mRenderer(std::move(renderer))
    {
        SetMeasurementRendererSource(this);
    }
    ~InstalledMeasurement() override { SetMeasurementRendererSource(nullptr); }
    RCPtr<LMeasurementRenderer> GetMeasurementRenderer() override { return mRenderer; }

private:
    RCPtr<LMeasurementRenderer> mRenderer;
};

TEST(GLRendererTextTest, MeasuringPacksWithoutUploadAndDrawingInksInsideTheBox)
{
    KR_REQUIRE_EGL();
    GLFrame frame(96, 48);
    const RCPtr<LGlyphProcessor> glyphs(LGLGlyphRenderer::Create());
    frame.renderer->SetFontRenderer(RCPtr<LFontRenderer>(new LFreetypeFontRenderer(glyphs, glyphs)));
    InstalledMeasurement measurement{RCPtr<LMeasurementRenderer>(frame.renderer)};
    const RCPtr<LFont> font = DejaVu(12);
    ASSERT_LT(font->GetAscent(), 0);

    frame.Start();
    RectT<float> box;
    {
        CountedCall<&Platform::GLFunctions::glTexImage2D> uploads;
        frame.renderer->MeasureText(box, u"Hg", font);
        EXPECT_EQ(uploads.count, 0);
    }
    ASSERT_GT(box.width, 10.0f);
    frame.renderer->FillRect(RectI{0, 0, 96, 48}, ColorF::FromARGB(0xFF000000), false);
    {
        CountedCall<&Platform::GLFunctions::glTexImage2D> uploads;
        frame.renderer->DrawText(u"Hg", font, PointI{20, 8}, ColorF::FromARGB(0xFFFFFFFF));
        // Proxy and texture, once, at BeginText: the glyphs were packed already.
        EXPECT_EQ(uploads.count, 2);
    }
    const std::vector<std::uint32_t> pixels = frame.Read();
    frame.Finish();
    const float left = 20.0f + box.x;
    const float top = 8.0f - static_cast<float>(font->GetAscent()) + box.y;
    int inked = 0;
    for (std::int32_t y = 0; y < frame.height; ++y)
    {
        for (std::int32_t x = 0; x < frame.width; ++x)
        {
            if ((pixels[static_cast<std::size_t>(y * frame.width + x)] & 0xFFFFFF) == 0)
            {
                continue;
            }
            ++inked;
            EXPECT_TRUE(x >= left && x < left + box.width && y >= top && y < top + box.height)
                << "ink at " << x << ", " << y;
        }
    }
    EXPECT_GT(inked, 40);
    if (const char* folder = std::getenv("KR_GL_PNG_FOLDER"))
    {
        Platform::WritePngFile(std::string(folder) + "/text.png", frame.width, frame.height, pixels.data());
    }
}

} // namespace
} // namespace KR::Test
