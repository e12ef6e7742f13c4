#pragma once
// What the desktop's settings say that other layers need without speaking GTK themselves.

#include <string>

namespace KR::Platform
{

// The desktop's interface font in GTK's form, "Family [style words] [size]" ("DejaVu Sans
// 9"), UTF-8; empty without a display or a setting. It does not open the display.
std::string GetDesktopFontName();

} // namespace KR::Platform
