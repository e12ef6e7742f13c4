#pragma once
// Fonts: a face name and a style resolve through fontconfig to one font file, once per
// (face, style) for the life of the process, because a match costs about 0.1 ms and a
// frame draws hundreds of labels. Fontconfig always substitutes, so every name finds a
// font as long as any font is installed.

#include <cstdint>
#include <string>
#include <string_view>

namespace KR::Platform
{

// Style bits as the framework gives them.
inline constexpr std::int32_t kFontBold = 1;
inline constexpr std::int32_t kFontItalic = 2;

// The font file's design values in font units; all 0 when no font could be opened.
struct FontDesign
{
    std::int32_t unitsPerEm = 0;
    std::int32_t cellAscent = 0;  // OS/2 usWinAscent
    std::int32_t cellDescent = 0; // OS/2 usWinDescent
    std::int32_t lineSpacing = 0; // hhea ascender - descender + line gap
};

class Font;

// The font for a face (case ignored) and style. The reference stays valid until the
// process ends. Not for use from several threads at once.
const Font& ResolveFont(std::u16string_view face, std::int32_t style);
// Loads the font configuration, the largest part of the first match's cost, so that a
// thread started early can take it off the first text measured. Safe on any thread.
void PrepareFontMatching();

FontDesign GetFontDesign(const Font& font);

// The family name of the file that was chosen ("DejaVu Sans"), as UTF-8.
std::string GetFontFamily(const Font& font);

// The advance of the text at a size in pixels per em: the pen's travel, trailing spaces
// included, with no padding at either side. Control characters take no room and draw nothing.
double MeasureTextAdvance(const Font& font, double pixelSize, std::u16string_view text);

} // namespace KR::Platform
