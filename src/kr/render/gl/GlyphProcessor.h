#pragma once
// KR::LGlyphProcessor: what a font renderer hands a laid-out text to, glyph by glyph. The
// processor answers QueryGlyph with what it still needs (0: it filled the record from its
// own cache), then takes each glyph in ProcessGlyph; it may draw, measure or both, as the
// flags given to BeginText say.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/render/Font.h"
#include "kr/render/gl/PixelBuffer.h"

#include <cstdint>

namespace KR
{

class LGlyphProcessor : public virtual LRefCountedObject
{
public:
    // QueryGlyph's requests: any non-zero value loads the glyph (index and advance).
    static constexpr std::uint16_t kRequestLoad = 1;
    static constexpr std::uint16_t kRequestBox = 2;
    static constexpr std::uint16_t kRequestBitmap = 4;

    struct SGlyphRecord
    {
        std::uint32_t textPosition = 0;
        std::uint32_t character = 0;
        float penX = 0.0f;
        float penY = 0.0f;
        // Glyph box in pixels from the pen, y down.
        std::int8_t left = 0;
        std::int8_t top = 0;
        std::int8_t right = 0;
        std::int8_t bottom = 0;
        // 1/64 pixel.
        std::int16_t advanceX = 0;
        std::int16_t advanceY = 0;
        // 0: the face has none.
        std::uint32_t glyphIndex = 0;
        // Coverage, 0 to 255; null when not rendered.
        RCPtr<LPixelBuffer<unsigned char>> bitmap;
    };

    struct SCachedGlyph
    {
        // 0: the empty glyph.
        std::uint32_t character = 0;
        std::uint32_t glyphIndex = 0;
        std::int8_t left = 0;
        std::int8_t top = 0;
        std::int8_t right = 0;
        std::int8_t bottom = 0;
        std::int16_t advanceX = 0;
        std::int16_t advanceY = 0;
        std::uint16_t atlasX = 0;
        std::uint16_t atlasY = 0;
    };

    virtual void BeginText(const ConstRCPtr<LFont>& font, std::uint32_t flags) = 0;
    virtual void EndText() = 0;
    virtual std::uint16_t QueryGlyph(SGlyphRecord& record) = 0;
    virtual void ProcessGlyph(SGlyphRecord& record) = 0;
    virtual void GetBounds(float& left, float& top, float& right, float& bottom) const = 0;
};

} // namespace KR
