#pragma once
// Where the font files are: the system's font folders as fontconfig knows them, and the
// desktop's interface font.

#include <string>
#include <vector>

namespace KR::Platform
{

// Every font file fontconfig lists, as full paths, each once, in fontconfig's order.
std::vector<std::string> ListFontFiles();

// The desktop's interface font as the window layer reads it from the desktop's settings
// ("DejaVu Sans 9"): family, size in points and style. "DejaVu Sans", 9 without a display
// or a setting.
struct SystemFontName
{
    enum Style : unsigned
    {
        kBold = 1,
        kItalic = 2,
    };
    std::string family; // UTF-8
    float size = 9.0f;
    unsigned style = 0; // Style bits; semi-bold and heavier count as bold, oblique as italic
    // False when the default stands in for a setting that could not be read.
    bool fromSettings = false;
};
SystemFontName GetSystemFontName();

// A font name in GTK's form, "Family [style words] [size]" ("DejaVu Sans Bold Italic 9"),
// over the default above: what the name leaves out keeps the default's value.
SystemFontName ParseFontName(const char* text);

} // namespace KR::Platform
