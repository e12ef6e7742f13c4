#pragma once
// KR::LGLGlyphRenderer: the glyph processor of the GL renderer. Each font in use (16 at
// most, by unique id) keeps one alpha atlas 512 pixels wide into which a glyph's bitmap is
// packed on shelves, with a one-pixel border, the first time the glyph is met; afterwards
// the font renderer's questions are answered from the font's glyph list. Drawing is one
// textured quad per glyph in the current GL colour; measuring collects the advance cells.
// Flags: 2 collect bounds, 4 keep the atlas texture current, 8 draw.

#include "kr/render/PurgableObjectCache.h"
#include "kr/render/gl/GLTexture.h"
#include "kr/render/gl/GlyphProcessor.h"

#include <cstdint>
#include <unordered_map>

namespace KR
{

class LGLGlyphRenderer : public LGlyphProcessor
{
public:
    static constexpr std::uint32_t kCollectBounds = 2;
    static constexpr std::uint32_t kUpdateTexture = 4;
    static constexpr std::uint32_t kDraw = 8;
    static constexpr std::int32_t kAtlasWidth = 512;
    // The tallest atlas a GL texture of Mesa's holds; glyphs that would need more are not
    // packed.
    static constexpr std::int32_t kMaxAtlasHeight = 16384;
    static constexpr std::int32_t kFontCacheSize = 16;

    class LCachedFont : public LGLTexture
    {
    public:
        static RCPtr<LCachedFont> Create(const ConstRCPtr<LFont>& font);

        // Opens a new shelf when the cell does not fit the current one, and grows the
        // atlas to hold it. False when the cell can never fit.
        bool ReserveSpace(std::int32_t width, std::int32_t height);
        // Rows cut to the atlas.
        void CopyGlyphBitmap(const LPixelBuffer<unsigned char>& bitmap, std::int32_t x, std::int32_t y);
        void UpdateTexture();

        const ConstRCPtr<LFont>& GetFont() const { return mFont; }
        const RCPtr<LPixelBuffer<unsigned char>>& GetAtlas() const { return mAtlas; }
        // x, y, width, height.
        const RectT<float>& GetDirtyRect() const { return mDirty; }
        std::int32_t GetCursorX() const { return mCursorX; }
        std::int32_t GetShelfTop() const { return mShelfTop; }
        std::int32_t GetShelfHeight() const { return mShelfHeight; }
        const SCachedGlyph* FindGlyph(std::uint32_t character) const;
        void AddGlyph(const SCachedGlyph& glyph) { mGlyphs[glyph.character] = glyph; }
        void AdvanceCursor(std::int32_t width) { mCursorX += width; }

    private:
        explicit LCachedFont(const ConstRCPtr<LFont>& font);

        ConstRCPtr<LFont> mFont;
        std::int32_t mCursorX = 0;
        std::int32_t mShelfTop = 0;
        std::int32_t mShelfHeight = 0;
        RCPtr<LPixelBuffer<unsigned char>> mAtlas;
        RectT<float> mDirty{};
        std::unordered_map<std::uint32_t, SCachedGlyph> mGlyphs;
    };

    static RCPtr<LGLGlyphRenderer> Create();

    void BeginText(const ConstRCPtr<LFont>& font, std::uint32_t flags) override;
    void EndText() override;
    std::uint16_t QueryGlyph(SGlyphRecord& record) override;
    void ProcessGlyph(SGlyphRecord& record) override;
    void GetBounds(float& left, float& top, float& right, float& bottom) const override;

    // Places the record's bitmap into the current font's atlas.
    void AddGlyphBitmap(const LPixelBuffer<unsigned char>* bitmap);

    // Between BeginText and EndText.
    const RCPtr<LCachedFont>& GetCurrentFont() const { return mCurrentFont; }

private:
    static std::int32_t FontHandle(const ConstRCPtr<LFont>& font) { return LFont::GetUniqueID(font); }
    using FontCache = PurgableObjectCache<LCachedFont, ConstRCPtr<LFont>, std::int32_t, &FontHandle>;

    LGLGlyphRenderer() = default;

    FontCache mFonts{kFontCacheSize};
    RCPtr<LCachedFont> mCurrentFont;
    SCachedGlyph mCurrentGlyph;
    float mLeft = 0.0f;
    float mTop = 0.0f;
    float mRight = 0.0f;
    float mBottom = 0.0f;
    std::uint32_t mFlags = 0;
};

} // namespace KR
