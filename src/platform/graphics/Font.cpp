#include "platform/graphics/FontInternal.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace KR::Platform
{
namespace
{

// Every resolved font, kept for the life of the process: the canvas and the renderers
// hold plain references to them.
struct FontRegistry
{
    std::mutex mutex;
    FT_Library library = nullptr;
    std::map<std::pair<std::u16string, std::int32_t>, std::unique_ptr<Font>> fonts;

    FontRegistry()
    {
        if (FT_Init_FreeType(&library) != 0)
        {
            library = nullptr;
        }
    }
    ~FontRegistry()
    {
        // The fonts hold faces of the library, so they go first.
        fonts.clear();
        if (library)
        {
            FT_Done_FreeType(library);
        }
    }
};

FontRegistry& Registry()
{
    static FontRegistry registry;
    return registry;
}

// Faces match ignoring the case of ASCII and Latin-1 letters, as the framework's font cache does.
std::u16string FoldCase(std::u16string_view face)
{
    std::u16string folded(face);
    for (char16_t& c : folded)
    {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        {
            c = static_cast<char16_t>(c + 0x20);
        }
    }
    return folded;
}

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            c = 0xFFFD;
        }
        if (c < 0x80)
        {
            out += static_cast<char>(c);
        }
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The file fontconfig chooses for a family and style; false when it finds none at all.
bool MatchFile(std::u16string_view face, std::int32_t style, std::string& file, int& index)
{
    FcPattern* pattern = FcPatternCreate();
    const std::string family = ToUtf8(face);
    if (!family.empty())
    {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, (style & kFontBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (style & kFontItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    bool found = false;
    if (match)
    {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
        {
            file = reinterpret_cast<const char*>(path);
            index = 0;
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            found = true;
        }
        FcPatternDestroy(match);
    }
    return found;
}

} // namespace

Font::~Font()
{
    if (cairoFace_)
    {
        cairo_font_face_destroy(cairoFace_);
    }
    if (face_)
    {
        FT_Done_Face(face_);
    }
}

bool Font::Open(FT_Library library, const std::string& file, int index)
{
    if (!library || FT_New_Face(library, file.c_str(), index, &face_) != 0)
    {
        face_ = nullptr;
        return false;
    }
    design_.unitsPerEm = face_->units_per_EM;
    design_.lineSpacing = face_->height;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF)
    {
        design_.cellAscent = os2->usWinAscent;
        design_.cellDescent = os2->usWinDescent;
    }
    else
    {
        // Not a TrueType file: the face's own ascender and descender stand in.
        design_.cellAscent = face_->ascender;
        design_.cellDescent = -face_->descender;
    }
    if (design_.unitsPerEm <= 0)
    {
        design_ = FontDesign{};
    }
    family_ = face_->family_name ? face_->family_name : "";
    cairoFace_ = cairo_ft_font_face_create_for_ft_face(face_, FT_LOAD_NO_HINTING);
    return true;
}

const Font::Glyph& Font::GetGlyph(char32_t character) const
{
    Glyph* glyph = nullptr;
    if (character < 256)
    {
        glyph = &latin_[character];
        if (latinKnown_[character])
        {
            return *glyph;
        }
        latinKnown_[character] = true;
    }
    else
    {
        auto [it, added] = others_.try_emplace(character);
        glyph = &it->second;
        if (!added)
        {
            return *glyph;
        }
    }
    if (face_)
    {
        glyph->index = FT_Get_Char_Index(face_, character);
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face_, static_cast<FT_UInt>(glyph->index), FT_LOAD_NO_SCALE, &advance) == 0)
        {
            glyph->advance = static_cast<std::int32_t>(advance);
        }
    }
    return *glyph;
}

double Font::Layout(std::u16string_view text, double pixelSize, double x, double y,
                    std::vector<cairo_glyph_t>* out) const
{
    if (design_.unitsPerEm <= 0)
    {
        return 0.0;
    }
    // Advances are summed in font units and scaled once, so a long text carries no
    // rounding drift and measures exactly what it draws.
    const double scale = pixelSize / design_.unitsPerEm;
    std::int64_t pen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            c = 0xFFFD;
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
        {
            // Control characters have no glyph; drawn, they would show the missing-glyph box.
            continue;
        }
        const Glyph& glyph = GetGlyph(c);
        if (out)
        {
            out->push_back(cairo_glyph_t{glyph.index, x + static_cast<double>(pen) * scale, y});
        }
        pen += glyph.advance;
    }
    return static_cast<double>(pen) * scale;
}

const Font& ResolveFont(std::u16string_view face, std::int32_t style)
{
    FontRegistry& registry = Registry();
    auto key = std::make_pair(FoldCase(face), style & (kFontBold | kFontItalic));
    {
        std::lock_guard lock(registry.mutex);
        auto it = registry.fonts.find(key);
        if (it != registry.fonts.end())
        {
            return *it->second;
        }
    }
    // Matching is most of the work and fontconfig's own, safe on any thread: it runs
    // unlocked, so a face resolved already never waits behind another one being matched
    // elsewhere. FreeType's library is used under the lock only.
    std::string file;
    int index = 0;
    const bool matched = MatchFile(face, style, file, index);
    std::lock_guard lock(registry.mutex);
    auto it = registry.fonts.find(key);
    if (it != registry.fonts.end())
    {
        return *it->second; // matched meanwhile by another thread: one font per face and style
    }
    auto font = std::make_unique<Font>();
    if (matched)
    {
        font->Open(registry.library, file, index);
    }
    return *registry.fonts.emplace(std::move(key), std::move(font)).first->second;
}

void PrepareFontMatching()
{
    // A configuration that cannot be loaded now is tried again by the first match.
    FcInit();
}

FontDesign GetFontDesign(const Font& font)
{
    return font.GetDesign();
}

std::string GetFontFamily(const Font& font)
{
    return font.GetFamily();
}

double MeasureTextAdvance(const Font& font, double pixelSize, std::u16string_view text)
{
    return font.Layout(text, pixelSize, 0.0, 0.0, nullptr);
}

} // namespace KR::Platform
