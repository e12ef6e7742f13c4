// The stand-ins for GTK's built-in themes show the program's windows exactly as the real
// themes do, and GTK's own widgets get the real theme once it is loaded. The case runs in a
// process of its own, where the window system has not been opened yet.

#include "DisplayFixture.h"

#include "platform/window/ToolkitTheme.h"

#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace KR::Platform::Test
{
namespace
{

struct ThemeChoice
{
    const char* name;
    bool dark;
};

// Every built-in theme GTK 3.24 looks up by name and variant.
constexpr ThemeChoice kChoices[] = {
    {"Adwaita", false}, {"Adwaita", true}, {"HighContrast", false}, {"HighContrastInverse", false}};

// What a theme gives the program's windows, and one thing it gives GTK's own widgets only.
struct Look
{
    std::string window;  // a top-level window's background, focused and in the backdrop
    std::string popup;   // a pop-up window's
    std::uint32_t pixel; // a shown window that paints nothing, as the X server has it
    int buttonPadding;   // GTK's buttons: none in a stand-in
};

std::string BackgroundsOf(GtkWidget* widget)
{
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    std::string text;
    for (const GtkStateFlags state : {GTK_STATE_FLAG_NORMAL, GTK_STATE_FLAG_BACKDROP})
    {
        GdkRGBA* background = nullptr;
        GdkRGBA* color = nullptr;
        gtk_style_context_get(context, state, "background-color", &background, "color", &color, nullptr);
        gchar* b = gdk_rgba_to_string(background);
        gchar* c = gdk_rgba_to_string(color);
        text += std::string(b) + " on " + c + "; ";
        g_free(b);
        g_free(c);
        gdk_rgba_free(background);
        gdk_rgba_free(color);
    }
    return text;
}

Look LookOf(const ThemeChoice& choice)
{
    g_object_set(gtk_settings_get_default(), "gtk-theme-name", choice.name,
                 "gtk-application-prefer-dark-theme", choice.dark, nullptr);
    Look look{};
    GtkWidget* top = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* popup = gtk_window_new(GTK_WINDOW_POPUP);
    GtkWidget* button = gtk_button_new_with_label("OK");
    look.window = BackgroundsOf(top);
    look.popup = BackgroundsOf(popup);
    GtkBorder padding{};
    gtk_style_context_get_padding(gtk_widget_get_style_context(button), GTK_STATE_FLAG_NORMAL, &padding);
    look.buttonPadding = padding.left + padding.right + padding.top + padding.bottom;
    gtk_widget_destroy(button);
    gtk_widget_destroy(popup);
    gtk_widget_destroy(top);

    RecordingProcedure unpainted;
    WindowCreateParams params;
    params.client = {120, 120, 160, 100};
    params.procedure = &unpainted;
    const WindowHandle window = CreateWindow(params);
    ShowWindow(window, SW_SHOWNORMAL);
    const bool shown = PumpUntil([&] { return !unpainted.Of(WM_PAINT).empty(); });
    look.pixel = shown ? Pixel(GetNativeWindowId(window), 80, 50) : 0xFFFFFFFF;
    DestroyWindow(window);
    return look;
}

// Exit codes of the child: 0 all well, else which check failed; the differences go to stderr.
int CompareStandInsWithTheRealThemes()
{
    if (!InitializeWindowSystem())
    {
        return 2;
    }
    if (!Detail::IsToolkitThemeDeferred())
    {
        return 3;
    }
    std::vector<Look> standIn;
    for (const ThemeChoice& choice : kChoices)
    {
        standIn.push_back(LookOf(choice));
    }
    Detail::LoadToolkitTheme();
    if (Detail::IsToolkitThemeDeferred())
    {
        return 4;
    }
    int code = 0;
    for (std::size_t i = 0; i < std::size(kChoices); ++i)
    {
        const Look real = LookOf(kChoices[i]);
        const Look& stood = standIn[i];
        const char* name = kChoices[i].name;
        if (stood.window != real.window || stood.popup != real.popup || stood.pixel != real.pixel)
        {
            std::fprintf(stderr, "%s%s: stand-in %s| %s| %06x, theme %s| %s| %06x\n", name,
                         kChoices[i].dark ? " dark" : "", stood.window.c_str(), stood.popup.c_str(),
                         stood.pixel, real.window.c_str(), real.popup.c_str(), real.pixel);
            code = 5;
        }
        if (stood.pixel == 0xFFFFFFFF)
        {
            code = 6;
        }
        if (stood.buttonPadding != 0 || real.buttonPadding == 0)
        {
            std::fprintf(stderr, "%s: button padding %d with the stand-in, %d with the theme\n", name,
                         stood.buttonPadding, real.buttonPadding);
            code = 7;
        }
    }
    return code;
}

class ToolkitThemeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "needs the X display scripts/test starts";
        }
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(ToolkitThemeTest, StandInsShowTheProgramsWindowsAsTheRealThemesDo)
{
    EXPECT_EXIT(std::exit(CompareStandInsWithTheRealThemes()), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace KR::Platform::Test
