// The message boxes as the X server shows them: a box of an icon style shows the icon's
// colour beside its text, a plain box none. Each box is found by its title, read back once
// its text is drawn, written to a PNG of the test's folder and answered with Return.

#include "DisplayFixture.h"

#include "platform/png/PngCodec.h"
#include "platform/window/MessageBox.h"
#include "platform/window/ToolkitTheme.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace KR::Platform::Test
{
namespace
{

struct Seen
{
    int text = 0; // dark pixels: the text is drawn
    int red = 0;  // the error icon's colour
    bool answered = false;
    bool themeDeferred = true; // while the box was up
};

Seen Count(const std::vector<std::uint32_t>& pixels)
{
    Seen seen;
    for (const std::uint32_t pixel : pixels)
    {
        const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        seen.text += r < 0x60 && g < 0x60 && b < 0x60 ? 1 : 0;
        seen.red += r > 0xB0 && g < 0x60 && b < 0x60 ? 1 : 0;
    }
    return seen;
}

class MessageBoxDisplay : public DisplayTest
{
protected:
    static constexpr std::uintptr_t kLookTimer = 3;

    // Shows the box and looks for it from a timer of the test's window, which the box's own
    // loop goes on serving; after ten seconds the look gives up and answers what has focus.
    Seen Show(std::uint32_t style, const std::string& caption)
    {
        Seen seen;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t id, std::intptr_t)
        {
            if (message != WM_TIMER || id != kLookTimer || seen.answered)
            {
                return std::intptr_t{0};
            }
            const std::string ids =
                Capture("xdotool search --onlyvisible --name '^" + caption + "$' 2>/dev/null");
            const std::uint64_t box = std::strtoull(ids.c_str(), nullptr, 10);
            std::vector<std::uint32_t> pixels;
            std::int32_t width = 0, height = 0;
            if (box != 0 && CaptureNativeWindow(box, pixels, width, height))
            {
                Seen now = Count(pixels);
                if (now.text > 50)
                {
                    now.themeDeferred = Detail::IsToolkitThemeDeferred();
                    seen = now;
                    WritePngFile(::testing::TempDir() + "box-" + std::to_string(style) + ".png", width,
                                 height, pixels.data());
                    Xdo("windowfocus --sync " + std::to_string(box));
                }
            }
            if (seen.text > 0 || std::chrono::steady_clock::now() > deadline)
            {
                seen.answered = true;
                Xdo("key Return");
            }
            return std::intptr_t{0};
        };
        SetTimer(window, kLookTimer, 50);
        EXPECT_EQ(MessageBox(window, "The preset file could not be saved.", caption, style), 1);
        KillTimer(window, kLookTimer);
        procedure.hook = {};
        return seen;
    }
};

TEST_F(MessageBoxDisplay, AnErrorBoxShowsItsIconAndAPlainBoxNone)
{
    const Seen error = Show(0x10, "Preset File Save");
    EXPECT_GT(error.text, 0) << "the box was not seen";
    EXPECT_GT(error.red, 100) << "no icon in " << ::testing::TempDir() << "box-16.png";
    EXPECT_FALSE(error.themeDeferred) << "GTK drew the box without the user's theme";
    const Seen plain = Show(0, "Open User Guide Error");
    EXPECT_GT(plain.text, 0) << "the box was not seen";
    EXPECT_EQ(plain.red, 0);
}

} // namespace
} // namespace KR::Platform::Test
