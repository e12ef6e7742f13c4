// The yardstick the editor's start is measured against: a program of nothing but GTK 3 that
// opens a window of the editor's size and paints one rectangle. It includes GTK itself, as a
// bare GTK program does; linking any of the project's own libraries would make it less bare.
// Like the editor, it keeps GDK from probing OpenGL for its visuals (GDK_GL=disable during
// gtk_init): a program that paints with Cairo needs none, and the probe alone maps Mesa's
// driver and LLVM.

#include <gtk/gtk.h>

#include <cstdlib>

namespace
{

constexpr int kWidth = 1200;
constexpr int kHeight = 750;

gboolean PaintRectangle(GtkWidget*, cairo_t* context, gpointer)
{
    cairo_set_source_rgb(context, 0x30 / 255.0, 0xA0 / 255.0, 0x50 / 255.0);
    cairo_rectangle(context, 100, 100, 600, 300);
    cairo_fill(context);
    return FALSE;
}

} // namespace

int main(int argc, char** argv)
{
    const bool ours = std::getenv("GDK_GL") == nullptr;
    if (ours)
    {
        setenv("GDK_GL", "disable", 0);
    }
    if (!gtk_init_check(&argc, &argv))
    {
        return 1;
    }
    if (ours)
    {
        unsetenv("GDK_GL");
    }
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "bare");
    gtk_window_set_default_size(GTK_WINDOW(window), kWidth, kHeight);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, kWidth, kHeight);
    g_signal_connect(area, "draw", G_CALLBACK(PaintRectangle), nullptr);
    gtk_container_add(GTK_CONTAINER(window), area);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
