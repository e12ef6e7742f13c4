#pragma once
// What the canvas needs of a font to draw it. Included by this layer's own sources only:
// it brings in Cairo and FreeType.

#include "platform/graphics/Font.h"

#include <cairo-ft.h>
#include <cairo.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace KR::Platform
{

class Font
{
public:
    struct Glyph
    {
        unsigned long index = 0;
        std::int32_t advance = 0; // font units
    };

    Font() = default;
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Opens a file; a failure leaves the font empty (no face, zero design).
    bool Open(FT_Library library, const std::string& file, int index);

    bool IsEmpty() const { return face_ == nullptr; }
    const FontDesign& GetDesign() const { return design_; }
    const std::string& GetFamily() const { return family_; }
    cairo_font_face_t* GetCairoFace() const { return cairoFace_; }

    const Glyph& GetGlyph(char32_t character) const;

    // The glyphs of a UTF-16 text placed from (x, y) at a size in pixels per em; returns the
    // advance. `out` may be null when only the advance is wanted.
    double Layout(std::u16string_view text, double pixelSize, double x, double y,
                  std::vector<cairo_glyph_t>* out) const;

private:
    FT_Face face_ = nullptr;
    cairo_font_face_t* cairoFace_ = nullptr;
    FontDesign design_;
    std::string family_;
    // Glyphs are looked up on first use. Latin-1 is looked up by index; the rest through the map.
    mutable Glyph latin_[256];
    mutable bool latinKnown_[256] = {};
    mutable std::unordered_map<char32_t, Glyph> others_;
};

} // namespace KR::Platform
