// The editor's main window on the test X server, built in the test process with the real
// main control and keyboard view: a click where the design puts bank button 2 switches
// the banks, and the two buttons trade their faces on the screen. A picture of the window
// goes to $KR_SCREENSHOT_FOLDER (else the test's temporary folder) for a person to hold
// against the design's main-window picture.

#include "TestPaths.h"
#include "editor/app/DeviceView.h"
#include "editor/support/InstalledEngine.h"
#include "editor/support/MainWindowOnScreen.h"
#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::RCPtr;
using KR::String;

// The window rectangle of a control of the design's table: its row's place added up along
// its path.
KR::RectI DesignRect(const std::string& path)
{
    std::ifstream in(KR_LAYOUT_CSV);
    std::map<std::string, KR::RectI> rows;
    for (std::string line; std::getline(in, line);)
    {
        std::stringstream fields(line);
        std::string name, kind, x, y, w, h;
        if (std::getline(fields, name, ',') && std::getline(fields, kind, ',') &&
            std::getline(fields, x, ',') && std::getline(fields, y, ',') && std::getline(fields, w, ',') &&
            std::getline(fields, h, ','))
        {
            if (!x.empty() && std::isdigit(static_cast<unsigned char>(x[0])))
            {
                rows[name] = KR::RectI{std::stoi(x), std::stoi(y), std::stoi(w), std::stoi(h)};
            }
        }
    }
    KR::RectI rect{0, 0, 0, 0};
    for (std::size_t end = path.find('/');; end = path.find('/', end + 1))
    {
        const auto row = rows.find(path.substr(0, end));
        if (row == rows.end())
        {
            return KR::RectI{-1, -1, 0, 0};
        }
        rect =
            KR::RectI{rect.x + row->second.x, rect.y + row->second.y, row->second.width, row->second.height};
        if (end == std::string::npos)
        {
            return rect;
        }
    }
}

struct Screen
{
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // A button's face, away from its label: the four points 3 pixels in from its corners.
    std::vector<std::uint32_t> Face(const KR::RectI& rect) const
    {
        std::vector<std::uint32_t> face;
        for (const KR::PointI at :
             {KR::PointI{rect.x + 3, rect.y + 3}, KR::PointI{rect.x + rect.width - 4, rect.y + 3},
              KR::PointI{rect.x + 3, rect.y + rect.height - 4},
              KR::PointI{rect.x + rect.width - 4, rect.y + rect.height - 4}})
        {
            face.push_back(pixels[static_cast<std::size_t>(at.y) * width + at.x] & 0xFFFFFFu);
        }
        return face;
    }
};

TEST(DeviceViewOnScreen, AClickOnBankTwoSwitchesTheBanksAndTheButtonsTradeFaces)
{
    if (const std::string why = KR::Platform::Test::WhyTheMainWindowCannotBeDriven(); !why.empty())
    {
        GTEST_SKIP() << why;
    }
    KR::TestSupport::InstalledEngine engine;
    const RCPtr<KR::LFrameworkApp> app(new KR::LFrameworkApp(u"PresetEditor"));
    KR::TestSupport::MainWindowOnScreen shown(*app);
    ASSERT_NO_FATAL_FAILURE(shown.Open());
    const RCPtr<KR::LControl>& main = shown.main;
    const P::WindowHandle window = shown.window;
    auto* view = dynamic_cast<LDeviceView*>(main->FindChildControl(String(u"viewDevice")).Get());
    ASSERT_TRUE(view);

    const KR::RectI bank1 = DesignRect("mainControl/viewDevice/groupBankPanel/bank1");
    const KR::RectI bank2 = DesignRect("mainControl/viewDevice/groupBankPanel/bank2");
    ASSERT_EQ(bank2.width, 26);
    Screen before;
    ASSERT_TRUE(shown.Pump(
        [&]
        {
            return P::ReadWindowPixels(window, before.pixels, before.width, before.height) &&
                   before.width == 1200 && before.height == 750;
        },
        30.0))
        << "the main window is shown at its designed size";
    // The pointer may still stand where an earlier program left it, perhaps over a bank button, whose
    // hover face would then hide the selected one.
    P::WindowPoint away{600, 740};
    P::ClientToScreen(window, away);
    ASSERT_TRUE(P::Test::MovePointerOnScreen(away.x, away.y));
    ASSERT_TRUE(shown.Pump(
        [&]
        {
            return P::ReadWindowPixels(window, before.pixels, before.width, before.height) &&
                   before.width == 1200 && before.Face(bank1) != before.Face(bank2);
        },
        30.0))
        << "the selected bank's button is drawn apart from the others";

    P::WindowPoint at{bank2.x + bank2.width / 2, bank2.y + bank2.height / 2};
    P::ClientToScreen(window, at);
    ASSERT_TRUE(P::Test::MovePointerOnScreen(at.x, at.y));
    ASSERT_EQ(P::Test::Xdo("click 1"), 0);
    ASSERT_TRUE(shown.Pump([&] { return view->GetBankButton(2)->GetValue() == 1.0; }, 30.0));
    for (const char* group : {"faders", "buttons", "encoders"})
    {
        const RCPtr<KR::LControl>& holder = view->FindChildControl(String(group));
        for (int bank = 1; bank <= 4; ++bank)
        {
            const std::string prefix = std::string(group).substr(0, std::string(group).size() - 1) + "Bank";
            const RCPtr<KR::LControl>& child =
                holder->FindChildControl(String((prefix + std::to_string(bank)).c_str()));
            ASSERT_TRUE(child) << prefix << bank;
            EXPECT_EQ(child->IsShown(false), bank == 2) << prefix << bank;
        }
    }
    EXPECT_EQ(view->GetBankButton(1)->GetValue(), 0.0);

    // Away from the buttons, so neither shows the pointer over it.
    ASSERT_TRUE(P::Test::MovePointerOnScreen(away.x, away.y));
    Screen after;
    EXPECT_TRUE(shown.Pump(
        [&]
        {
            return P::ReadWindowPixels(window, after.pixels, after.width, after.height) &&
                   after.width == 1200 && after.Face(bank2) == before.Face(bank1) &&
                   after.Face(bank1) == before.Face(bank2);
        },
        30.0))
        << "bank 2 takes the selected face, bank 1 the plain one";

    const char* folder = std::getenv("KR_SCREENSHOT_FOLDER");
    const std::string png =
        (folder ? std::string(folder) + "/" : ::testing::TempDir()) + "main-window-bank2.png";
    std::vector<std::uint32_t> opaque(after.pixels);
    for (std::uint32_t& pixel : opaque)
    {
        pixel |= 0xFF000000u;
    }
    EXPECT_TRUE(P::WritePngFile(png, after.width, after.height, opaque.data())) << png;
}

} // namespace
