#include "platform/window/ToolkitTheme.h"

#include <gtk/gtk.h>

#include <cstdlib>
#include <cstring>

// Made by glib-compile-resources from theme/ToolkitTheme.gresource.xml (CMakeLists.txt).
void kr_toolkit_theme_register_resource();
void kr_toolkit_theme_unregister_resource();

namespace KR::Platform::Detail
{
namespace
{

bool gDeferred = false;

// The stand-ins copy the built-in themes of GTK 3.24.38, unchanged in later 3.24 releases.
bool StandInsMatchThisGtk()
{
    return gtk_get_major_version() == 3 && gtk_get_minor_version() == 24 && gtk_get_micro_version() >= 38;
}

// GTK draws the frames of its windows itself when GTK_CSD is 1, and always under Wayland,
// which GDK takes when a Wayland display is named, unless told to take X.
bool FramesAreTheDesktops()
{
    const char* csd = std::getenv("GTK_CSD");
    if (csd != nullptr && std::strcmp(csd, "1") == 0)
    {
        return false;
    }
    const char* backend = std::getenv("GDK_BACKEND");
    if (backend != nullptr && *backend != '\0')
    {
        return std::strncmp(backend, "x11", 3) == 0;
    }
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland == nullptr || *wayland == '\0';
}

} // namespace

bool DeferToolkitTheme()
{
    if (!gDeferred && StandInsMatchThisGtk() && FramesAreTheDesktops())
    {
        kr_toolkit_theme_register_resource();
        gDeferred = true;
    }
    return gDeferred;
}

void LoadToolkitTheme()
{
    if (!gDeferred)
    {
        return;
    }
    gDeferred = false;
    kr_toolkit_theme_unregister_resource();
    // The settings read their theme again whenever its name is said to change.
    if (GtkSettings* settings = gtk_settings_get_default())
    {
        g_object_notify(G_OBJECT(settings), "gtk-theme-name");
    }
}

bool IsToolkitThemeDeferred()
{
    return gDeferred;
}

} // namespace KR::Platform::Detail
