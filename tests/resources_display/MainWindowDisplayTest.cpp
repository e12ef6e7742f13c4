// The editor's main window made from its embedded skin on the test X server, its classes
// not built yet standing as plain controls: its client size, and its opaque faces where
// the reference's rectangle table puts them, read back from the server.

#include "kr/render/BitmapSource.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindowOSAdapter.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "resources_display/SkinWindow.h"
#include "resources_skin/SkinFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace KR::SkinTest
{
namespace
{

namespace P = Platform;

struct Face
{
    const char* name;
    RectI rect;                     // window coordinates, from the rectangle table
    std::set<std::uint32_t> colors; // what the face and its edge are drawn in (0xRRGGBB)
    PointI from;                    // a point of the face that no text covers
};

struct Pixels
{
    std::vector<std::uint32_t> argb;
    std::int32_t width = 0, height = 0;
    std::uint32_t At(std::int32_t x, std::int32_t y) const
    {
        return argb[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
    }
    // The run of the face's colours through `from`, on both axes.
    RectI Extent(PointI from, const std::set<std::uint32_t>& colors) const
    {
        auto in = [&](std::int32_t x, std::int32_t y)
        { return x >= 0 && y >= 0 && x < width && y < height && colors.count(At(x, y)) > 0; };
        std::int32_t left = from.x, right = from.x, top = from.y, bottom = from.y;
        while (in(left - 1, from.y))
        {
            --left;
        }
        while (in(right + 1, from.y))
        {
            ++right;
        }
        while (in(from.x, top - 1))
        {
            --top;
        }
        while (in(from.x, bottom + 1))
        {
            ++bottom;
        }
        return RectI{left, top, right - left + 1, bottom - top + 1};
    }
};

class MainWindowDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        if (const std::string why = KR::Platform::Test::ScreenTooSmallForTheMainWindow(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_EQ(skin.loaded, kOk);
        InstallStandardRenderers();
        SetBitmapSource(&bitmaps); // the program's: pictures from the embedded PNGs
        app.factory = skin.factory;
        app.defaultFont = LFont::GetFont(String(u"Arial"), 8.25f, 0);
        skin.factory->LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), 0x0409);
    }
    void TearDown() override { CloseSkinWindow(rootWindow, window); }

    EditorSkin skin;
    LoadingBitmapSource bitmaps;
    TestSupport::LStandInFrameworkApp app;
    RCPtr<OSWindow> window = new OSWindow;
    RCPtr<LRootWindow> rootWindow;
};

std::set<std::uint32_t> Pad()
{
    return {0x2A2E34, 0x3A3F47};
}

TEST_F(MainWindowDisplay, TheMainWindowIs1200By750AndItsOpaqueFacesStandOnTheirRectangles)
{
    const RCPtr<LControlDescriptor> descriptor = skin.factory->FindControlDescriptor(String(u"mainControl"));
    ASSERT_TRUE(descriptor);
    const LLayoutDescriptor& layout = *descriptor->GetLayout();
    ASSERT_EQ(window->Create(u"Vantor Preset Editor",
                             RectI{0, 0, static_cast<std::int32_t>(layout.xSize.absolute),
                                   static_cast<std::int32_t>(layout.ySize.absolute)},
                             0),
              kOk);
    ASSERT_EQ(window->CreateRenderer(1), kOk);
    rootWindow = new LRootWindow(window->GetRenderer(), window.Get());
    app.activeRootWindow = rootWindow;
    app.measurementRenderer =
        RCPtr<LMeasurementRenderer>(window->GetRenderer()); // texts are measured with it
    window->AttachRoot(new LRootWindowOSAdapter(rootWindow));
    const RCPtr<LControl> main = skin.factory->CreateControlByName(String(u"mainControl"), rootWindow);
    ASSERT_TRUE(main);
    ASSERT_EQ(rootWindow->SetRootControl(main), kOk);
    window->Show(P::SW_SHOWNORMAL);

    const std::uint64_t id = P::GetNativeWindowId(window->GetWindowHandle());
    const std::string info = P::Test::Capture("xwininfo -id " + std::to_string(id));
    EXPECT_NE(info.find("Width: 1200\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 750\n"), std::string::npos) << info;

    // Read back as any window of the display is, once the last face is drawn.
    Pixels pixels;
    const bool drawn = P::Test::PumpUntil(
        [&]
        {
            return P::CaptureNativeWindow(id, pixels.argb, pixels.width, pixels.height) &&
                   pixels.width == 1200 && pixels.height == 750 && pixels.At(800, 740) == 0x1B1D21 &&
                   Pad().count(pixels.At(840, 100));
        });
    const std::string png = ::testing::TempDir() + "main-window.png";
    std::vector<std::uint32_t> opaque(pixels.argb);
    for (std::uint32_t& pixel : opaque)
    {
        pixel |= 0xFF000000u;
    }
    EXPECT_TRUE(P::WritePngFile(png, pixels.width, pixels.height, opaque.data())) << png;
    ASSERT_TRUE(drawn) << "see " << png;

    std::vector<Face> faces = {
        {"menu bar", RectI{0, 0, 1200, 24}, {0x1B1D21, 0x353A41}, PointI{900, 2}},
        {"status bar", RectI{0, 726, 1200, 24}, {0x1B1D21, 0x353A41}, PointI{800, 748}},
        {"preset name display", RectI{20, 42, 232, 58}, {0x0C0E10, 0x353A41}, PointI{23, 96}},
    };
    for (std::int32_t k = 0; k < 16; ++k)
    {
        const RectI pad{834 + 88 * (k % 4), 42 + 79 * (k / 4), 82, 74};
        faces.push_back(Face{"pad", pad, Pad(), PointI{pad.x + 3, pad.y + 70}});
    }
    for (const Face& face : faces)
    {
        const RectI found = pixels.Extent(face.from, face.colors);
        EXPECT_LE(std::abs(found.x - face.rect.x), 1)
            << face.name << " at " << face.rect.x << "," << face.rect.y;
        EXPECT_LE(std::abs(found.y - face.rect.y), 1)
            << face.name << " at " << face.rect.x << "," << face.rect.y;
        EXPECT_LE(std::abs(found.width - face.rect.width), 1) << face.name << " at " << face.rect.x;
        EXPECT_LE(std::abs(found.height - face.rect.height), 1) << face.name << " at " << face.rect.y;
    }
    main->Detach();

    // An id the display does not know reads nothing, and the X error it raises is not fatal.
    std::vector<std::uint32_t> none;
    std::int32_t width = 0, height = 0;
    EXPECT_FALSE(P::CaptureNativeWindow(0, none, width, height));
    EXPECT_FALSE(P::CaptureNativeWindow(0x7FFFFFF0u, none, width, height));
}

} // namespace
} // namespace KR::SkinTest
