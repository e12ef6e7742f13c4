// The editor program as a user starts it, on the test X server: the picture read through
// the program's tree dump, clicks (xdotool) at the frames the dump gives open each family's
// edit panel on the clicked control, and the main window and every edit panel opened lie
// where the design's layout puts them.

#include "TestPaths.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Wait.h"
#include "support/editor/EditorProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct DumpedControl
{
    bool shown = false;
    Rect frame;
    std::string text;
};

using Dump = std::map<std::string, DumpedControl>;

// Where the PNG goes, read before the editor's folders change the temporary folder.
const std::string kPictureFolder = ::testing::TempDir();

// "a,b,c,d" as a rectangle; false when it is not four integers.
bool ParseRect(const std::string& text, Rect& rect)
{
    return std::sscanf(text.c_str(), "%d,%d,%d,%d", &rect.x, &rect.y, &rect.width, &rect.height) == 4;
}

Dump ParseDump(const std::string& path)
{
    Dump dump;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
    {
        std::stringstream fields(line);
        std::string name;
        std::getline(fields, name, '\t');
        DumpedControl& control = dump[name];
        for (std::string field; std::getline(fields, field, '\t');)
        {
            if (field.rfind("shown=", 0) == 0)
            {
                control.shown = field == "shown=1";
            }
            else if (field.rfind("frame=", 0) == 0)
            {
                ParseRect(field.substr(6), control.frame);
            }
            else if (field.rfind("text=", 0) == 0)
            {
                control.text = field.substr(5);
            }
        }
    }
    return dump;
}

// The design's rectangles in window coordinates, by path: each row is relative to the
// rows of its ancestors. Rows that are not plain paths with four numbers are left out.
std::map<std::string, Rect> ReadLayout()
{
    std::map<std::string, Rect> rows;
    std::ifstream in(KR_LAYOUT_CSV);
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("mainControl", 0) != 0)
        {
            continue;
        }
        std::stringstream fields(line);
        std::string path;
        std::string kind;
        std::string numbers[4];
        std::getline(fields, path, ',');
        std::getline(fields, kind, ',');
        for (std::string& number : numbers)
        {
            std::getline(fields, number, ',');
        }
        Rect rect;
        if (ParseRect(numbers[0] + "," + numbers[1] + "," + numbers[2] + "," + numbers[3], rect))
        {
            rows[path] = rect;
        }
    }
    std::map<std::string, Rect> placed;
    for (const auto& [path, rect] : rows)
    {
        Rect at = rect;
        for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
             slash = path.rfind('/', slash - 1))
        {
            const auto parent = rows.find(path.substr(0, slash));
            if (parent != rows.end())
            {
                at.x += parent->second.x;
                at.y += parent->second.y;
            }
        }
        placed[path] = at;
    }
    return placed;
}

class PictureProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const std::string why = KR::Platform::Test::WhyTheMainWindowCannotBeDriven(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_TRUE(KR::Platform::InitializeWindowSystem()); // to read the window's pixels back
        dumpPath = folders.Home() + "/tree.txt";
        editor.SetEnvironment("KR_TEST_TREE_DUMP", dumpPath);
        ASSERT_TRUE(editor.Start());
        window = editor.FindWindow();
        ASSERT_NE(window, 0u);
        layout = ReadLayout();
        ASSERT_GT(layout.size(), 40u);
    }

    // A fresh dump once `ready` holds for it, within the patience.
    Dump DumpWhen(const std::function<bool(const Dump&)>& ready)
    {
        Dump dump;
        KR::TestSupport::WaitUntil(
            [&]
            {
                std::remove(dumpPath.c_str());
                editor.Kill(SIGUSR1);
                if (!KR::TestSupport::WaitUntil([&] { return std::ifstream(dumpPath).good(); },
                                                std::chrono::milliseconds(2000)))
                {
                    return false;
                }
                dump = ParseDump(dumpPath);
                return ready(dump);
            });
        return dump;
    }
    static std::string Path(const std::string& below) { return "mainControl/viewDevice/" + below; }

    void Click(const Dump& dump, const std::string& below)
    {
        const auto found = dump.find(Path(below));
        ASSERT_NE(found, dump.end()) << below;
        const Rect& r = found->second.frame;
        ASSERT_TRUE(KR::Platform::Test::MovePointer(window, r.x + r.width / 2, r.y + r.height / 2)) << below;
        ASSERT_EQ(KR::Platform::Test::Xdo("click 1"), 0) << below;
    }

    // Every shown control below `root` that the layout places lies where it says.
    void ExpectLaidOut(const Dump& dump, const std::string& root)
    {
        int compared = 0;
        for (const auto& [path, control] : dump)
        {
            const auto row = layout.find(path);
            if (path.rfind(root, 0) != 0 || !control.shown || row == layout.end())
            {
                continue;
            }
            ++compared;
            EXPECT_EQ(control.frame, row->second) << path;
        }
        EXPECT_GT(compared, 0) << root;
    }

    EditorFolders folders;
    EditorProcess editor{folders};
    std::string dumpPath;
    std::uint64_t window = 0;
    std::map<std::string, Rect> layout;
};

TEST_F(PictureProcess, ClicksOnThePictureOpenEachFamilysEditPanelWhereTheLayoutPutsIt)
{
    // Every value reached the picture.
    Dump dump = DumpWhen(
        [](const Dump& d)
        {
            return d.count(Path("encoders/encoderBank1/encoder3/viewPanel/infoLabel")) &&
                   d.at(Path("encoders/encoderBank1/encoder3/viewPanel/infoLabel")).text == "CC:\\n42";
        });
    const struct
    {
        const char* path;
        const char* text;
    } startUp[] = {
        {"encoders/encoderBank1/encoder3/encoderNameLabel", "E3"},
        {"encoders/encoderBank1/encoder3/viewPanel/midiChannel/label", "CH:G"},
        {"faders/faderBank1/fader1/faderNumberLabel", "F1"},
        {"faders/faderBank1/fader1/viewPanel/infoLabel", "CC:\\n0"},
        {"wheels/pitchWheel/viewPanel/infoLabel", "PITCH\\nBEND"},
        {"pads/pad3/padNumberLabel", "P3"},
        {"pads/pad3/viewPanel/infoLabel", "NT:\\n38"},
        {"buttons/buttonBank2/button5/buttonNumberLabel", "B5"},
        {"buttons/buttonBank2/button5/viewPanel/infoLabel", "NT:\\n13"},
        {"pedals/sustainPedal/viewPanel/infoLabel", "CC:\\n64"},
        {"pedals/volumePedal/viewPanel/infoLabel", "CC:\\n7"},
    };
    for (const auto& c : startUp)
    {
        EXPECT_EQ(dump[Path(c.path)].text, c.text) << c.path;
    }
    ExpectLaidOut(dump, "mainControl");

    const struct
    {
        const char* bank; // clicked first when given
        const char* control;
        const char* panel;
        const char* label; // a label of the panel and its text
        const char* text;
    } clicks[] = {
        {"groupBankPanel/bank2", "encoders/encoderBank2/encoder3/button", "knobEditPanel", "knobName",
         "ENCODER 3"},
        {nullptr, "faders/faderBank2/fader4/button", "faderEditPanel", "faderName", "FADER 4"},
        {nullptr, "pads/pad3/button", "padEditPanel", "padName", "PAD 3"},
        {nullptr, "buttons/buttonBank2/button5/button", "buttonEditPanel", "buttonName", "BUTTON 5"},
        {nullptr, "wheels/modWheel/button", "wheelEditPanel", "wheelName", "M. WHEEL"},
        {nullptr, "pedals/sustainPedal/button", "sustainEditPage", nullptr, nullptr},
        {nullptr, "pedals/volumePedal/button", "volumePedalEditPanel", nullptr, nullptr},
        {nullptr, "keybedZones/zone2/button", "zoneEditPanel", "zoneName", "ZONE 2"},
        {nullptr, "xyPad/yAxis/button", "xyPadEditPanel", "axisName", "Y-AXIS"},
    };
    for (const auto& c : clicks)
    {
        if (c.bank)
        {
            Click(dump, c.bank);
        }
        Click(dump, c.control);
        dump = DumpWhen([&](const Dump& d) { return d.count(Path(c.panel)) && d.at(Path(c.panel)).shown; });
        ASSERT_TRUE(dump[Path(c.panel)].shown) << c.control;
        if (c.label)
        {
            EXPECT_EQ(dump[Path(std::string(c.panel) + "/" + c.label)].text, c.text) << c.control;
        }
        ExpectLaidOut(dump, Path(c.panel));
    }

    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    ASSERT_TRUE(KR::Platform::CaptureNativeWindow(window, pixels, width, height));
    EXPECT_TRUE(
        KR::Platform::WritePngFile(kPictureFolder + "picture_process.png", width, height, pixels.data()));
}

} // namespace
