#include "kr/render/FontText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::LFontText;
using KR::RCPtr;
using KR::String;

// Every character `perChar` wide; the box starts `shift` right of the origin.
class CharMeasurer : public KR::LMeasurementRenderer
{
public:
    KR::Result GetFontMetrics(const RCPtr<KR::LFont>&, std::int32_t& height, std::int32_t& ascent,
                              std::int32_t& descent) override
    {
        height = 14;
        ascent = -11;
        descent = 3;
        return KR::kOk;
    }
    KR::Result MeasureText(KR::RectT<float>& box, const String& text, const RCPtr<KR::LFont>&) override
    {
        box = text.IsEmpty() ? KR::RectT<float>{}
                             : KR::RectT<float>{shift, -11.0f, perChar * text.GetLength(), 14.0f};
        return KR::kOk;
    }
    float perChar = 10.0f;
    float shift = 0.0f;
};

// Installs a CharMeasurer while it lives.
struct Measuring : KR::IMeasurementRendererSource
{
    Measuring() { KR::SetMeasurementRendererSource(this); }
    ~Measuring() override { KR::SetMeasurementRendererSource(nullptr); }
    RCPtr<KR::LMeasurementRenderer> GetMeasurementRenderer() override { return measurer; }
    RCPtr<CharMeasurer> measurer{new CharMeasurer};
};

RCPtr<LFontText> Layout(const char16_t* text, bool wrap, std::int32_t width, std::int32_t height = 100)
{
    RCPtr<LFontText> layout(new LFontText(text, KR::LFont::GetFont(u"Layout Face", 9.0f, 0)));
    layout->SetWrap(wrap);
    layout->SetBoxSize(width, height);
    return layout;
}

std::vector<std::u16string> Lines(LFontText& layout)
{
    layout.GetLineCount();
    std::vector<std::u16string> lines;
    for (std::uint32_t i = 0; i < layout.GetLines().GetCount(); ++i)
    {
        lines.emplace_back(layout.GetLines().ElementAt(i).GetView());
    }
    return lines;
}

TEST(FontText, TextBreaksAtLineFeedsAndWrapsAtSpacesAndHyphens)
{
    Measuring measuring;
    struct Case
    {
        const char* name;
        const char16_t* text;
        std::int32_t wrapWidth; // 0: no wrapping
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        {"empty text", u"", 0, {u""}},
        {"two paragraphs", u"a\nb", 0, {u"a", u"b"}},
        {"a final line feed", u"a\n", 0, {u"a"}},
        {"an empty paragraph", u"a\n\nb", 0, {u"a", u"", u"b"}},
        {"carriage return kept", u"a\r\nb", 0, {u"a\r", u"b"}},
        {"broken at the space that fits", u"one two three", 75, {u"one two", u"three"}},
        {"broken after the hyphen", u"self-made", 55, {u"self-", u"made"}},
        {"whole text as wide as the box", u"ab cd", 50, {u"ab", u"cd"}},
        {"one long word", u"abcdefghij", 30, {u"abcdefghij"}},
        {"blanks that start a line dropped", u"one  \ttwo", 35, {u"one", u"two"}},
        {"wrapped paragraphs", u"aa bb\ncc", 25, {u"aa", u"bb", u"cc"}},
    };
    for (const Case& c : cases)
    {
        const RCPtr<LFontText> layout = Layout(c.text, c.wrapWidth > 0, c.wrapWidth);
        EXPECT_EQ(Lines(*layout), c.lines) << c.name;
        EXPECT_EQ(layout->GetHeightForWidth(c.wrapWidth), 14 * static_cast<std::int32_t>(c.lines.size()))
            << c.name;
    }
}

TEST(FontText, LinesArePlacedByTheFactorsAndTheExtentCoversThem)
{
    Measuring measuring;
    const RCPtr<LFontText> layout = Layout(u"abcd\nab", false, 100, 50);
    layout->SetAlignment(0.5f, 0.5f);
    ASSERT_EQ(layout->GetLineCount(), 2u);
    const std::vector<KR::RectT<float>> placed{{30.0f, 11.0f, 40.0f, 14.0f}, {40.0f, 25.0f, 20.0f, 14.0f}};
    EXPECT_EQ(layout->GetLineRects(), placed);
    EXPECT_EQ(layout->GetExtent(), (KR::PointI{70, 39}));

    // A new factor places the same lines anew.
    EXPECT_TRUE(layout->SetAlignment(1.0f, 0.0f));
    EXPECT_EQ(layout->GetLines().GetCount(), 2u);
    EXPECT_TRUE(layout->GetLineRects().empty());
    // Asking for a line places the lines first; past the last one every field is 0.
    EXPECT_EQ(layout->GetLineAt(1), (KR::RectT<float>{80.0f, 14.0f, 20.0f, 14.0f}));
    EXPECT_EQ(layout->GetLineAt(2), (KR::RectT<float>{}));
}

TEST(FontText, NaturalWidthIsTheRightEdgeOfTheWidestParagraphRoundedUp)
{
    Measuring measuring;
    const struct
    {
        float shift;
        std::int32_t width;
    } cases[] = {{7.2f, 58}, {7.0f, 57}, {0.0f, 50}};
    for (const auto& c : cases)
    {
        measuring.measurer->shift = c.shift;
        EXPECT_EQ(Layout(u"abcde\nab", false, 10)->GetNaturalWidth(), c.width) << c.shift;
    }
}

TEST(FontText, ChangesDropTheCachesAndQueriesForOtherWidthsLeaveThem)
{
    const RCPtr<LFontText> layout = Layout(u"one two", true, 35);
    // Nothing measures yet: one line, laid out again once something can measure.
    EXPECT_EQ(layout->GetLineCount(), 1u);
    Measuring measuring;
    EXPECT_EQ(layout->GetLineCount(), 2u);

    EXPECT_EQ(layout->GetHeightForWidth(100), 14);
    EXPECT_EQ(layout->GetLines().GetCount(), 2u);
    EXPECT_FALSE(layout->SetText(u"one two"));
    EXPECT_FALSE(layout->SetWrap(true));
    EXPECT_EQ(layout->GetLines().GetCount(), 2u);
    EXPECT_TRUE(layout->SetWrap(false));
    EXPECT_EQ(layout->GetLines().GetCount(), 0u);
    EXPECT_EQ(layout->GetLineCount(), 1u);
    EXPECT_TRUE(layout->SetBoxSize(20, 100));
    EXPECT_TRUE(layout->GetLineRects().empty());
}

} // namespace
