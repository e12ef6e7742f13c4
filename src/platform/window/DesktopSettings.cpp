#include "platform/window/DesktopSettings.h"

#include <gtk/gtk.h>

namespace KR::Platform
{

std::string GetDesktopFontName()
{
    GtkSettings* settings = gdk_display_get_default() != nullptr ? gtk_settings_get_default() : nullptr;
    if (settings == nullptr)
    {
        return {};
    }
    gchar* text = nullptr;
    g_object_get(settings, "gtk-font-name", &text, nullptr);
    std::string name = text != nullptr ? text : "";
    g_free(text);
    return name;
}

} // namespace KR::Platform
