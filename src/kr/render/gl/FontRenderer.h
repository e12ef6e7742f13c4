#pragma once
// KR::LFontRenderer: text for the GL renderer. An implementation lays a text out glyph by
// glyph and hands each glyph to a glyph processor (ProcessText) and knows a font's metrics;
// measuring is done here once for all of them, through the second processor's bounds.

#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Font.h"
#include "kr/render/gl/GlyphProcessor.h"

#include <cstdint>

namespace KR
{

class LFontRenderer : public virtual LRefCountedObject
{
public:
    // Processor flags: measuring collects bounds; drawing also keeps textures current and
    // draws.
    static constexpr std::uint32_t kMeasureFlags = 3;
    static constexpr std::uint32_t kDrawFlags = 15;

    LFontRenderer(RCPtr<LGlyphProcessor> first, RCPtr<LGlyphProcessor> second)
        : mFirstProcessor(std::move(first)), mSecondProcessor(std::move(second))
    {
    }

    // x the left edge, y the top (the font's ascent at least), the width counting the right
    // edge's pixel, the height down to the descent at least. All zeros for an empty text and
    // when the font has no size to lay it out at.
    virtual RectT<float> MeasureText(RectT<float>& box, const String& text, const ConstRCPtr<LFont>& font);
    // Pixels; the ascent negative. kFail when the font cannot be had at its size.
    virtual Result GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& lineHeight,
                                  std::int32_t& ascent, std::int32_t& descent) = 0;
    // The number of UTF-16 units examined; 0 when the font cannot be had (the processor is
    // then not called). A positive width limit stops before the first glyph that would
    // reach past it.
    virtual std::int32_t ProcessText(const String& text, const ConstRCPtr<LFont>& font,
                                     const RCPtr<LGlyphProcessor>& processor, std::uint32_t textPosition,
                                     float widthLimit, std::uint32_t flags) = 0;
    virtual void GetTextBounds(float& left, float& top, float& right, float& bottom) const;

    const RCPtr<LGlyphProcessor>& GetFirstProcessor() const { return mFirstProcessor; }
    const RCPtr<LGlyphProcessor>& GetSecondProcessor() const { return mSecondProcessor; }

protected:
    RCPtr<LGlyphProcessor> mFirstProcessor;
    RCPtr<LGlyphProcessor> mSecondProcessor;
};

} // namespace KR
