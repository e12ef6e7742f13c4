#include "kr/render/FontText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

namespace KR
{
namespace
{

constexpr char16_t kLineFeed[] = u"\n";
constexpr float kMaxExtent = 8388608.0f;

// Stands in while the application has no window to measure with: every text is 0 wide.
class ZeroMeasurer : public LMeasurementRenderer
{
public:
    Result GetFontMetrics(const RCPtr<LFont>&, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override
    {
        lineHeight = ascent = descent = 0;
        return kOk;
    }
    Result MeasureText(RectT<float>& box, const String&, const RCPtr<LFont>&) override
    {
        box = RectT<float>{};
        return kOk;
    }
};

LMeasurementRenderer& ZeroMeasurerInstance()
{
    static auto* measurer = new ZeroMeasurer;
    return *measurer;
}

std::int32_t LineHeightOf(const RCPtr<LFont>& font)
{
    return font ? font->GetLineHeight() : 0;
}

bool IsLeadingBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

LFontText::LFontText(const String& text, const RCPtr<LFont>& font) : mText(text), mFont(font)
{
}

RectT<float> LFontText::MeasureBox(LMeasurementRenderer& measurer, const String& text,
                                   const RCPtr<LFont>& font)
{
    RectT<float> box{};
    measurer.MeasureText(box, text, font);
    if (box.x != 0.0f)
    {
        box.width += box.x;
        box.x = 0.0f;
    }
    return box;
}

std::uint32_t LFontText::FitTextToWidth(LMeasurementRenderer& measurer, std::int32_t width,
                                        const String& text) const
{
    const RCPtr<LFont>& font = mFont;
    const float limit = static_cast<float>(width);
    const auto fits = [&](std::u16string_view prefix)
    { return MeasureBox(measurer, String(prefix), font).width <= limit; };
    const std::u16string_view whole = text.GetView();
    if (limit > MeasureBox(measurer, text, font).width)
    {
        return static_cast<std::uint32_t>(whole.size());
    }
    std::u16string_view rest = whole;
    for (;;)
    {
        const std::size_t space = rest.rfind(u' ');
        if (space != std::u16string_view::npos && space >= 1)
        {
            if (fits(rest.substr(0, space)))
            {
                const std::size_t hyphen = rest.rfind(u'-');
                const std::size_t afterHyphen = hyphen == std::u16string_view::npos ? 0 : hyphen + 1;
                if (afterHyphen > space && fits(rest.substr(0, afterHyphen)))
                {
                    return static_cast<std::uint32_t>(afterHyphen);
                }
                return static_cast<std::uint32_t>(space);
            }
            rest = rest.substr(0, space);
            continue;
        }
        // A hyphen that ends the rest would leave nothing to carry over.
        const std::size_t hyphen =
            rest.empty() ? std::u16string_view::npos : rest.substr(0, rest.size() - 1).rfind(u'-');
        if (hyphen == std::u16string_view::npos)
        {
            return static_cast<std::uint32_t>(rest.size());
        }
        if (fits(rest.substr(0, hyphen + 1)))
        {
            return static_cast<std::uint32_t>(hyphen + 1);
        }
        rest = rest.substr(0, hyphen + 1);
    }
}

void LFontText::WrapText(LMeasurementRenderer& measurer, std::int32_t width, StringArray& lines) const
{
    lines.RemoveAll();
    StringArray paragraphs;
    mText.Split(paragraphs, kLineFeed);
    for (std::uint32_t p = 0; p < paragraphs.GetCount(); ++p)
    {
        std::u16string_view rest = paragraphs.ElementAt(p).GetView();
        const std::size_t length = rest.size();
        std::size_t n = FitTextToWidth(measurer, width, String(rest));
        std::u16string_view pending = rest.substr(0, n);
        std::size_t consumed = n;
        while (consumed < length)
        {
            rest = rest.substr(std::min(n, rest.size()));
            const auto start = std::find_if_not(rest.begin(), rest.end(), IsLeadingBlank);
            rest = rest.substr(static_cast<std::size_t>(start - rest.begin()));
            if (rest.empty())
            {
                break;
            }
            lines.AddItem(String(pending));
            n = FitTextToWidth(measurer, width, String(rest));
            pending = rest.substr(0, n);
            consumed = (length - rest.size()) + n;
        }
        lines.AddItem(String(pending));
    }
}

void LFontText::BuildLines(LMeasurementRenderer& measurer, std::int32_t width, StringArray& lines) const
{
    if (mWrap)
    {
        WrapText(measurer, width, lines);
    }
    else
    {
        mText.Split(lines, kLineFeed);
    }
}

void LFontText::PlaceLines(LMeasurementRenderer& measurer)
{
    mLineRects.clear();
    if (mLines.GetCount() == 0)
    {
        mLines.AddItem(String());
    }
    const float lineHeight = static_cast<float>(LineHeightOf(mFont));
    const std::uint32_t count = mLines.GetCount();
    const float top = (static_cast<float>(mBoxHeight) - lineHeight * static_cast<float>(count)) * mVertical;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const RectT<float> box = MeasureBox(measurer, mLines.ElementAt(i), mFont);
        mLineRects.push_back(RectT<float>{(static_cast<float>(mBoxWidth) - box.width) * mHorizontal,
                                          lineHeight * static_cast<float>(i) + top, box.width, box.height});
    }
}

const RectT<float>& LFontText::GetLineAt(std::uint32_t index)
{
    static const RectT<float> kNoLine{};
    return index < GetLineCount() && index < mLineRects.size() ? mLineRects[index] : kNoLine;
}

std::uint32_t LFontText::GetLineCount()
{
    const RCPtr<LMeasurementRenderer> renderer = GetMeasurementRenderer();
    if (renderer && mMeasuredWithoutRenderer)
    {
        ClearCaches();
    }
    LMeasurementRenderer& measurer = renderer ? *renderer : ZeroMeasurerInstance();
    if (mLines.GetCount() == 0)
    {
        BuildLines(measurer, mBoxWidth, mLines);
        mMeasuredWithoutRenderer = !renderer;
    }
    if (mLineRects.empty())
    {
        PlaceLines(measurer);
        mMeasuredWithoutRenderer = mMeasuredWithoutRenderer || !renderer;
    }
    return static_cast<std::uint32_t>(mLineRects.size());
}

PointI LFontText::GetExtent()
{
    GetLineCount();
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    for (const RectT<float>& rect : mLineRects)
    {
        left = std::min(left, rect.x);
        top = std::min(top, rect.y);
        right = std::max(right, rect.x + rect.width);
        bottom = std::max(bottom, rect.y + rect.height);
    }
    const auto size = [](float extent)
    { return RoundToInt32(static_cast<double>(std::clamp(extent, -kMaxExtent, kMaxExtent))); };
    return PointI{size(right - left), size(bottom - top)};
}

std::int32_t LFontText::GetNaturalWidth() const
{
    const RCPtr<LMeasurementRenderer> renderer = GetMeasurementRenderer();
    LMeasurementRenderer& measurer = renderer ? *renderer : ZeroMeasurerInstance();
    StringArray paragraphs;
    mText.Split(paragraphs, kLineFeed);
    float widest = 0.0f;
    for (std::uint32_t i = 0; i < paragraphs.GetCount(); ++i)
    {
        widest = std::max(widest, MeasureBox(measurer, paragraphs.ElementAt(i), mFont).width);
    }
    // Rounded up, but a width a hair past a whole pixel (rounding noise) stays that pixel.
    const double natural = static_cast<double>(widest) + 0.99;
    if (!(natural < static_cast<double>(std::numeric_limits<std::int32_t>::max())))
    {
        return natural > 0.0 ? std::numeric_limits<std::int32_t>::max() : 0;
    }
    return static_cast<std::int32_t>(natural);
}

std::int32_t LFontText::GetHeightForWidth(std::int32_t width) const
{
    const RCPtr<LMeasurementRenderer> renderer = GetMeasurementRenderer();
    StringArray lines;
    BuildLines(renderer ? *renderer : ZeroMeasurerInstance(), width, lines);
    const std::int64_t height = std::int64_t{LineHeightOf(mFont)} * lines.GetCount();
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(height, std::numeric_limits<std::int32_t>::max()));
}

bool LFontText::SetText(const String& text)
{
    if (text.SharesBufferWith(mText) || text == mText)
    {
        return false;
    }
    mText = text;
    ClearCaches();
    return true;
}

bool LFontText::SetFont(const RCPtr<LFont>& font)
{
    const bool differs = LFont::IsDifferent(font, mFont);
    mFont = font;
    if (differs)
    {
        ClearCaches();
    }
    return differs;
}

bool LFontText::SetWrap(bool wrap)
{
    if (wrap == mWrap)
    {
        return false;
    }
    mWrap = wrap;
    ClearCaches();
    return true;
}

bool LFontText::SetAlignment(float horizontal, float vertical)
{
    if (horizontal == mHorizontal && vertical == mVertical)
    {
        return false;
    }
    mHorizontal = horizontal;
    mVertical = vertical;
    mLineRects.clear();
    return true;
}

bool LFontText::SetBoxSize(std::int32_t width, std::int32_t height)
{
    if (width == mBoxWidth && height == mBoxHeight)
    {
        return false;
    }
    mBoxWidth = width;
    mBoxHeight = height;
    ClearCaches();
    return true;
}

void LFontText::ClearCaches()
{
    mLines.RemoveAll();
    mLineRects.clear();
}

} // namespace KR
