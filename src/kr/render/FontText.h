#pragma once
// KR::LFontText: a control's text broken into lines and placed in a box. The text splits
// into paragraphs at line feeds; with the wrap flag each paragraph is word-wrapped to the
// box width (at the last space that fits, or after a hyphen). Each line is then placed by
// two factors: 0 puts it at the left (top) of the free room, 0.5 centres it, 1 puts it at
// the right (bottom).
//
//     KR::RCPtr<KR::LFontText> text(new KR::LFontText(u"one two three", font));
//     text->SetWrap(true);
//     text->SetBoxSize(75, 40);
//     for (std::uint32_t i = 0; i < text->GetLineCount(); ++i) ... GetLines(), GetLineRects()
//
// Lines and their rectangles are cached until the text, font, wrap flag or box changes;
// every width is measured through the application's measurement renderer. Without one
// text measures 0 wide and nothing is cached, so the first query after a window exists
// lays the text out for real. User-interface thread only.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringArrayT.h"
#include "kr/core/StringT.h"
#include "kr/render/Font.h"
#include "kr/render/MeasurementRenderer.h"

#include <cstdint>
#include <vector>

namespace KR
{

class LFontText : public virtual LRefCountedObject
{
public:
    LFontText(const String& text, const RCPtr<LFont>& font);

    // The number of placed lines (at least one), after laying the text out when needed.
    std::uint32_t GetLineCount();
    // The rectangle of a placed line, the lines brought up to date first; past the last
    // line one shared record of zeros, which callers only read.
    const RectT<float>& GetLineAt(std::uint32_t index);
    // Width and height of the area that the origin and every line rectangle cover.
    PointI GetExtent();
    // The widest paragraph, unwrapped, rounded up (a width of 57.0 stays 57).
    std::int32_t GetNaturalWidth() const;
    // The height of the text wrapped (with the wrap flag) to the width; the caches stay.
    std::int32_t GetHeightForWidth(std::int32_t width) const;

    // Each returns whether the value differed; a difference empties both caches.
    bool SetText(const String& text);
    bool SetFont(const RCPtr<LFont>& font);
    bool SetWrap(bool wrap);
    // A changed factor only drops the line rectangles: the lines stay as they were broken.
    bool SetAlignment(float horizontal, float vertical);
    // The box is also the wrap width; a change empties both caches.
    bool SetBoxSize(std::int32_t width, std::int32_t height);

    // The number of leading characters of the text that form its first line at the width:
    // all of it when the whole is strictly narrower, else up to the last space (dropped)
    // or hyphen (kept) whose prefix fits. A word wider than the width is not cut.
    std::uint32_t FitTextToWidth(LMeasurementRenderer& measurer, std::int32_t width,
                                 const String& text) const;
    // The text's lines at the width; white space that starts a continuation line is dropped.
    void WrapText(LMeasurementRenderer& measurer, std::int32_t width, StringArray& lines) const;
    // Builds the line rectangles from the lines.
    void PlaceLines(LMeasurementRenderer& measurer);
    // The measured box with its width made its right edge (how far the text reaches from
    // its origin) and x 0.
    static RectT<float> MeasureBox(LMeasurementRenderer& measurer, const String& text,
                                   const RCPtr<LFont>& font);

    const String& GetText() const { return mText; }
    const RCPtr<LFont>& GetFont() const { return mFont; }
    bool GetWrap() const { return mWrap; }
    float GetHorizontalAlignment() const { return mHorizontal; }
    float GetVerticalAlignment() const { return mVertical; }
    PointI GetBoxSize() const { return {mBoxWidth, mBoxHeight}; }
    // The caches as they stand; empty until GetLineCount builds them.
    const StringArray& GetLines() const { return mLines; }
    const std::vector<RectT<float>>& GetLineRects() const { return mLineRects; }

private:
    void BuildLines(LMeasurementRenderer& measurer, std::int32_t width, StringArray& lines) const;
    void ClearCaches();

    String mText;
    RCPtr<LFont> mFont;
    float mHorizontal = 0.0f;
    float mVertical = 0.0f;
    bool mWrap = false;
    std::int32_t mBoxWidth = 0;
    std::int32_t mBoxHeight = 0;
    StringArray mLines;
    std::vector<RectT<float>> mLineRects;
    // The caches were built while nothing could measure, so they are built again once
    // something can.
    bool mMeasuredWithoutRenderer = false;
};

} // namespace KR
