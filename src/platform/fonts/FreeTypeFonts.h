#pragma once
// FreeType with its cache manager, for laying text out glyph by glyph: faces are opened on
// demand from the path that the caller gives for a face id, and the least recently used
// faces and sizes are closed beyond the limits. One size is selected at a time; the glyph
// calls work on it and on the glyph last loaded. UI thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace KR::Platform
{

// 26.6 fixed-point pixels; the descender is negative.
struct FontSizeMetrics
{
    std::int32_t ascender = 0;
    std::int32_t descender = 0;
    std::int32_t height = 0;
    bool hasKerning = false;
};

// Whole pixels, y up.
struct GlyphBox
{
    std::int32_t xMin = 0;
    std::int32_t yMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMax = 0;
};

struct GlyphBitmap
{
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::int32_t pitch = 0;
    // One bit per pixel, most significant first; otherwise one byte of coverage.
    bool mono = false;
    std::vector<std::uint8_t> bytes; // rows x pitch
};

class FreeTypeFonts
{
public:
    // The UTF-8 path of a face id; empty when there is none.
    using FacePath = std::function<std::string(std::int32_t faceId)>;

    // Null when FreeType or its cache manager do not start.
    static std::unique_ptr<FreeTypeFonts> Create(FacePath path, std::uint32_t maxFaces,
                                                 std::uint32_t maxSizes, std::uint64_t maxBytes);
    virtual ~FreeTypeFonts() = default;

    // Selects the face at a size in 1/64 point at the resolution; false when the face does
    // not open. A face of a collection opens as its first font.
    virtual bool SelectSize(std::int32_t faceId, std::int32_t points64, std::uint32_t dpi,
                            FontSizeMetrics& metrics) = 0;
    // 0 when the face has no glyph for the character.
    virtual std::uint32_t GetCharIndex(std::uint32_t character) = 0;
    // Loads the glyph and takes a copy of it; its advance in 1/64 pixel.
    virtual bool LoadGlyph(std::uint32_t index, std::int32_t& advanceX, std::int32_t& advanceY) = 0;
    virtual GlyphBox GetGlyphBox() = 0;
    // Renders the loaded glyph, monochrome or with coverage.
    virtual bool RenderGlyph(bool mono, GlyphBitmap& bitmap) = 0;
    // Lets go of the glyph's copy.
    virtual void ReleaseGlyph() = 0;
    // The horizontal kerning between two glyphs in 1/64 pixel.
    virtual std::int32_t GetKerningX(std::uint32_t previous, std::uint32_t current) = 0;
};

} // namespace KR::Platform
