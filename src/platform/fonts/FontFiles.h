#pragma once
// Where the font files are: the system's font folders as fontconfig knows them, and the
// desktop's interface font.

#include <string>
#include <vector>

namespace KR::Platform
{

// Every font file fontconfig lists, as full paths, each once, in fontconfig's order.
std::vector<std::string> ListFontFiles();

// The desktop's interface font as GTK's settings name it ("DejaVu Sans 9"): family and
// size in points. "DejaVu Sans", 9 without a display or a setting.
struct SystemFontName
{
    std::string family; // UTF-8
    float size = 9.0f;
};
SystemFontName GetSystemFontName();

} // namespace KR::Platform
