#include "platform/fonts/FontFiles.h"

#include "platform/window/DesktopSettings.h"

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <set>

namespace KR::Platform
{

std::vector<std::string> ListFontFiles()
{
    std::vector<std::string> files;
    if (FcInit() == FcFalse)
    {
        return files;
    }
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    std::set<std::string> seen;
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i)
    {
        FcChar8* file = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file != nullptr)
        {
            std::string path(reinterpret_cast<const char*>(file));
            if (seen.insert(path).second)
            {
                files.push_back(std::move(path));
            }
        }
    }
    if (fonts != nullptr)
    {
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return files;
}

SystemFontName ParseFontName(const char* text)
{
    SystemFontName name{"DejaVu Sans", 9.0f};
    if (text == nullptr)
    {
        return name;
    }
    PangoFontDescription* description = pango_font_description_from_string(text);
    const char* family = pango_font_description_get_family(description);
    if (family != nullptr && *family != '\0')
    {
        name.family = family;
    }
    const gint size = pango_font_description_get_size(description);
    if (size > 0 && !pango_font_description_get_size_is_absolute(description))
    {
        name.size = static_cast<float>(size) / PANGO_SCALE;
    }
    if (pango_font_description_get_weight(description) >= PANGO_WEIGHT_SEMIBOLD)
    {
        name.style |= SystemFontName::kBold;
    }
    if (pango_font_description_get_style(description) != PANGO_STYLE_NORMAL)
    {
        name.style |= SystemFontName::kItalic;
    }
    pango_font_description_free(description);
    return name;
}

SystemFontName GetSystemFontName()
{
    const std::string text = GetDesktopFontName();
    SystemFontName name = ParseFontName(text.empty() ? nullptr : text.c_str());
    name.fromSettings = !text.empty();
    return name;
}

} // namespace KR::Platform
