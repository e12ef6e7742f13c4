#include "kr/render/gdi/GDIRenderer.h"
#include "platform/graphics/Present.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <functional>

namespace KR::Test
{
namespace
{

constexpr int kWidth = 100;
constexpr int kHeight = 80;

ColorF Argb(std::uint32_t argb)
{
    ColorF color;
    color.SetARGB(argb);
    return color;
}

// A GTK window whose "draw" runs the next frame of a 2D renderer into it. With
// `windowImages` it gives the renderer images it makes, once realised, as the window layer
// does.
struct PaintedWindow
{
    explicit PaintedWindow(bool windowImages = false) : renderer(new LGDIRenderer)
    {
        widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_widget_set_app_paintable(widget, TRUE);
        gtk_window_set_default_size(GTK_WINDOW(widget), kWidth, kHeight);
        gtk_window_set_resizable(GTK_WINDOW(widget), FALSE);
        g_signal_connect(widget, "draw", G_CALLBACK(&PaintedWindow::OnDraw), this);
        if (windowImages)
        {
            g_signal_connect(widget, "realize", G_CALLBACK(&PaintedWindow::OnRealize), nullptr);
        }
        renderer->InitRenderContextInfo({0, 0, kWidth, kHeight}, widget, false, context);
    }
    ~PaintedWindow()
    {
        Platform::SetWindowImageMaker(widget, nullptr);
        gtk_widget_destroy(widget);
    }

    static void OnRealize(GtkWidget* widget, gpointer)
    {
        GdkWindow* native = gtk_widget_get_window(widget);
        Platform::SetWindowImageMaker(widget,
                                      [native](std::int32_t width, std::int32_t height) {
                                          return gdk_window_create_similar_image_surface(
                                              native, CAIRO_FORMAT_ARGB32, width, height, 1);
                                      });
    }

    const Platform::Surface& Image() const
    {
        return RCPtr<LGDIRenderContextInfo>(context)->GetFrontSurface()->GetBitmap();
    }

    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self)
    {
        auto* window = static_cast<PaintedWindow*>(self);
        Platform::WindowDrawScope scope(window->widget, cr);
        window->renderer->RenderStart(window->context);
        if (window->frame)
        {
            window->frame(*window->renderer);
        }
        window->renderer->RenderFinish(window->context);
        ++window->draws;
        return TRUE;
    }

    // Runs the main loop until the condition holds or five seconds pass.
    static bool RunUntil(const std::function<bool()>& done)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < end)
        {
            g_main_context_iteration(nullptr, FALSE);
        }
        return done();
    }

    // Draws one frame over the dirty rectangle and waits until it has run.
    bool Paint(const EdgesI& dirty, std::function<void(LGDIRenderer&)> paint)
    {
        frame = std::move(paint);
        context->dirtyRegion.SetRect(dirty);
        const int before = draws;
        gtk_widget_queue_draw_area(widget, dirty.left, dirty.top, dirty.right - dirty.left,
                                   dirty.bottom - dirty.top);
        return RunUntil([&] { return draws > before; });
    }

    // The window's pixel as the X server shows it, 0xRRGGBB.
    std::uint32_t Shown(int x, int y) const
    {
        GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gtk_widget_get_window(widget), x, y, 1, 1);
        if (!pixbuf)
        {
            return 0xFFFFFFFF;
        }
        const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
        const std::uint32_t rgb = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        g_object_unref(pixbuf);
        return rgb;
    }

    GtkWidget* widget = nullptr;
    RCPtr<LGDIRenderer> renderer;
    RCPtr<LRenderContextInfo> context;
    std::function<void(LGDIRenderer&)> frame;
    int draws = 0;
};

TEST(PresentWindow, AFrameShowsInTheWindowAndALaterSmallOneChangesOnlyItsRectangle)
{
    if (!gtk_init_check(nullptr, nullptr))
    {
        GTEST_SKIP() << "no display";
    }
    // Frames from an ordinary image, and from the one the window makes, which the display
    // server reads where it lies: a frame drawn over it must wait until the last is read.
    for (const bool windowImages : {false, true})
    {
        SCOPED_TRACE(windowImages ? "the window's image" : "an ordinary image");
        PaintedWindow window(windowImages);
        gtk_widget_show(window.widget);
        ASSERT_TRUE(PaintedWindow::RunUntil(
            [&] { return window.draws > 0 && gtk_widget_get_mapped(window.widget); }));

        ASSERT_TRUE(window.Paint({0, 0, kWidth, kHeight},
                                 [](LGDIRenderer& r)
                                 {
                                     r.FillRect({0, 0, kWidth, kHeight}, Argb(0xFFFFFFFF), true);
                                     r.FillRect({10, 10, 30, 20}, Argb(0xFFFF0000), true);
                                 }));
        EXPECT_EQ(window.Image().IsFromDisplay(), windowImages);
        gdk_display_sync(gdk_display_get_default());
        EXPECT_EQ(window.Shown(20, 15), 0xFF0000u);
        EXPECT_EQ(window.Shown(5, 5), 0xFFFFFFu);
        EXPECT_EQ(window.Shown(40, 30), 0xFFFFFFu);

        // The whole back buffer turns blue, but only the dirty rectangle reaches the window.
        ASSERT_TRUE(window.Paint({30, 20, 60, 40},
                                 [](LGDIRenderer& r) {
                                     r.FillRect({0, 0, kWidth, kHeight}, Argb(0xFF0000FF), true);
                                 }));
        gdk_display_sync(gdk_display_get_default());
        EXPECT_EQ(window.Shown(35, 25), 0x0000FFu);
        EXPECT_EQ(window.Shown(20, 15), 0xFF0000u);
        EXPECT_EQ(window.Shown(5, 5), 0xFFFFFFu);
        EXPECT_EQ(window.Shown(70, 50), 0xFFFFFFu);
    }
}

// A frame drawn before the window could make its image (before it was shown) is not lost
// when the window's image takes over: a later frame that draws only part of the window
// draws over those pixels, and the rest of them still reach the window.
TEST(PresentWindow, TheWindowsImageTakesOverThePixelsOfAFrameDrawnBeforeItWasShown)
{
    if (!gtk_init_check(nullptr, nullptr))
    {
        GTEST_SKIP() << "no display";
    }
    PaintedWindow window(true);
    window.context->dirtyRegion.SetRect({0, 0, kWidth, kHeight});
    window.renderer->RenderStart(window.context);
    window.renderer->FillRect({0, 0, kWidth, kHeight}, Argb(0xFFFFFFFF), true);
    window.renderer->FillRect({10, 10, 30, 20}, Argb(0xFFFF0000), true);
    window.renderer->RenderFinish(window.context);
    ASSERT_FALSE(window.Image().IsFromDisplay());

    // Its first draw presents a small frame only.
    window.context->dirtyRegion.SetRect({30, 20, 60, 40});
    window.frame = [](LGDIRenderer& r) { r.FillRect({30, 20, 30, 20}, Argb(0xFF0000FF), true); };
    gtk_widget_show(window.widget);
    ASSERT_TRUE(
        PaintedWindow::RunUntil([&] { return window.draws > 0 && gtk_widget_get_mapped(window.widget); }));
    ASSERT_TRUE(window.Image().IsFromDisplay());

    // All but the last row, so the frame does not start from a transparent image.
    ASSERT_TRUE(window.Paint({0, 0, kWidth, kHeight - 1}, [](LGDIRenderer&) {}));
    gdk_display_sync(gdk_display_get_default());
    EXPECT_EQ(window.Shown(20, 15), 0xFF0000u);
    EXPECT_EQ(window.Shown(5, 5), 0xFFFFFFu);
    EXPECT_EQ(window.Shown(35, 25), 0x0000FFu);
    EXPECT_EQ(window.Shown(70, 50), 0xFFFFFFu);
}

} // namespace
} // namespace KR::Test
