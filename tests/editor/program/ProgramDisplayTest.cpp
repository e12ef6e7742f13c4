// PresetEditor as a user starts it: a skin of the test's own in the resource folder, whose
// "mainControl" is a plain panel, on the test display; the window read back from the X
// server, the end by the desktop's close request, the second start, the options and the
// start-up failures.

#include "platform/png/PngCodec.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/SingleInstance.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Wait.h"
#include "support/editor/EditorProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using namespace std::chrono_literals;

constexpr std::uint32_t kBackground = 0x2060A0;
constexpr std::uint32_t kInner = 0xC03020;

// A main control of 400 x 300 in the background colour with one inner panel at (20, 20),
// 100 x 50; `mainName` renames the main control (a skin without "mainControl"). It is a
// plain panel: the editor's own main control needs the whole keyboard picture below it.
std::string TestSkin(const char* mainName = "mainControl", const char* mainClass = "Framework.Panel")
{
    return std::string(R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Skin_Definitions><Application Name="PresetEditor">
<Colorizers>
  <Colorizer Name="C.back" ColorType="SolidFill" Color="0xFF2060A0"/>
  <Colorizer Name="C.inner" ColorType="SolidFill" Color="0xFFC03020"/>
</Colorizers>
<Parts>
  <Part Name="P.back" Width="1" Height="1" ResizeType="Stretch" ColorizerName="C.back"/>
  <Part Name="P.inner" Width="1" Height="1" ResizeType="Stretch" ColorizerName="C.inner"/>
</Parts>
<Looks>
  <Look Name="L.back"><ClientPart Name="P.back" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look>
  <Look Name="L.inner"><ClientPart Name="P.inner" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look>
</Looks>
<LookLists>
  <LookList Name="LL.back" NumLooks="1"><Look Name="L.back" Index="0"/></LookList>
  <LookList Name="LL.inner" NumLooks="1"><Look Name="L.inner" Index="0"/></LookList>
</LookLists>
<Skins><Skin Name="Test" FontName="Arial" FontSize="8.25" FontStyle="0">
 <SubControl Class=")") +
           mainClass + R"(" Name=")" + mainName +
           R"(" XPositionAbs="0" YPositionAbs="0" XSizeAbs="400" YSizeAbs="300" XMinSizeAbs="400" YMinSizeAbs="300" XMaxSizeAbs="400" YMaxSizeAbs="300"><Skin Name=")" +
           mainName + R"(" LookList="LL.back">
  <SubControl Class="Framework.Panel" Name="inner" XPositionAbs="20" YPositionAbs="20" XSizeAbs="100" YSizeAbs="50"><Skin Name="inner" LookList="LL.inner"/></SubControl>
 </Skin></SubControl>
</Skin></Skins>
</Application></Test_Skin_Definitions>
)";
}

constexpr const char* kFrameworkStrings = R"(<?xml version="1.0" encoding="utf-8"?>
<Tarsil_StringTable_Definitions><StringTable ID="Framework">
  <String ID="STARTUP_ERROR"><Locale LCID="9">The application encountered problems during startup and will now close.</Locale></String>
  <String ID="STARTUP_ERROR_CAPTION"><Locale LCID="9">Error</Locale></String>
</StringTable></Tarsil_StringTable_Definitions>
)";

constexpr const char* kAppStrings = R"(<?xml version="1.0" encoding="utf-8"?>
<Tarsil_StringTable_Definitions/>
)";

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The three documents of a resource folder, in the test's own folder.
struct ResourceFolder
{
    explicit ResourceFolder(const EditorFolders& folders, const std::string& skins = TestSkin())
        : path(folders.Home() + "/resources")
    {
        std::filesystem::create_directories(path);
        WriteFile(path + "/Skins.xml", skins);
        WriteFile(path + "/FrameworkStrings.xml", kFrameworkStrings);
        WriteFile(path + "/StringTables.xml", kAppStrings);
    }
    std::string path;
};

std::string Hex(std::uint64_t id)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(id));
    return text;
}

// The id of the topmost mapped child of the root window (xwininfo lists the top first).
std::string TopmostWindow()
{
    const std::string tree = P::Test::Capture("xwininfo -root -children");
    std::size_t at = 0;
    while ((at = tree.find("\n     0x", at)) != std::string::npos)
    {
        const std::size_t start = at + 6;
        const std::size_t end = tree.find(' ', start);
        const std::string id = tree.substr(start, end - start);
        if (P::Test::Capture("xwininfo -id " + id).find("IsViewable") != std::string::npos)
        {
            return id;
        }
        at = end;
    }
    return std::string();
}

// The window's pixels as the X server has them, once `ready` holds for them (bounded);
// written to a PNG under `name` to be looked at.
struct ReadBack
{
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
    }
    bool Until(std::uint64_t window, std::int32_t w, std::int32_t h, const std::function<bool()>& ready,
               const std::string& name)
    {
        const bool drawn = P::Test::PumpUntil(
            [&] {
                return P::CaptureNativeWindow(window, pixels, width, height) && width == w && height == h &&
                       ready();
            },
            20.0);
        if (width > 0)
        {
            P::WritePngFile(::testing::TempDir() + name, width, height, pixels.data());
        }
        return drawn;
    }
};

class Program : public P::Test::OnDisplay
{
protected:
    // The editor of these folders started with the resource folder, its window found.
    std::uint64_t StartWithWindow(EditorProcess& editor, const std::vector<std::string>& arguments = {})
    {
        editor.SetResourceFolder(resources.path);
        EXPECT_TRUE(editor.Start(arguments));
        const std::uint64_t window = editor.FindWindow();
        if (window == 0)
        {
            // A start that never showed its window says how far it got.
            ADD_FAILURE() << "no window; the editor's lines: " << ::testing::PrintToString(editor.Lines());
        }
        return window;
    }

    EditorFolders folders;
    ResourceFolder resources{folders};
};

TEST_F(Program, TheMainWindowShowsTheSkinAndADeleteRequestEndsTheProgramWith1)
{
    EditorProcess editor(folders);
    const std::uint64_t window = StartWithWindow(editor);
    ASSERT_NE(window, 0u) << ::testing::PrintToString(editor.Lines());

    // Read back from the X server once the faces are drawn.
    ReadBack image;
    ASSERT_TRUE(image.Until(
        window, 400, 300, [&] { return image.At(300, 200) == kBackground && image.At(60, 40) == kInner; },
        "editor-program.png"));
    EXPECT_EQ(image.At(19, 19), kBackground);
    EXPECT_EQ(image.At(20, 20), kInner);
    EXPECT_EQ(image.At(119, 69), kInner);
    EXPECT_EQ(image.At(120, 70), kBackground);

    ASSERT_TRUE(EditorProcess::SendDeleteRequest(window));
    EXPECT_EQ(editor.WaitForExit(5s), 1);
    const std::string settings = folders.UserSettingsText();
    EXPECT_NE(settings.find("CurrentSkinIndex"), std::string::npos) << settings;
    EXPECT_NE(settings.find("WP"), std::string::npos) << settings;
}

TEST_F(Program, TheEditorsOwnResourcesOpenTheDesignedMainWindow)
{
    if (const std::string why = P::Test::ScreenTooSmallForTheMainWindow(); !why.empty())
    {
        GTEST_SKIP() << why;
    }
    EditorProcess editor(folders);
    ASSERT_TRUE(editor.Start());
    const std::uint64_t window = editor.FindWindow();
    ASSERT_NE(window, 0u) << ::testing::PrintToString(editor.Lines());
    // The status bar's face and a pad's, where the design puts them.
    ReadBack image;
    EXPECT_TRUE(image.Until(
        window, 1200, 750,
        [&]
        {
            return image.At(800, 740) == 0x1B1D21 &&
                   (image.At(840, 100) == 0x2A2E34 || image.At(840, 100) == 0x3A3F47);
        },
        "editor-program-real.png"));
    // Its real main control and keyboard view keep the program up; a delete request ends it.
    ASSERT_TRUE(EditorProcess::SendDeleteRequest(window));
    EXPECT_EQ(editor.WaitForExit(5s), 1) << ::testing::PrintToString(editor.Lines());
}

TEST_F(Program, WithoutADisplayNothingStartsAndTheExitCodeIs255)
{
    EditorProcess editor(folders);
    editor.SetDisplay("");
    editor.SetResourceFolder(resources.path);
    ASSERT_TRUE(editor.Start());
    EXPECT_EQ(editor.WaitForExit(), 255);
}

TEST_F(Program, ASecondStartHandsItsCommandLineToTheFirstAndEnds)
{
    EditorProcess first(folders);
    const std::uint64_t window = StartWithWindow(first);
    ASSERT_NE(window, 0u);

    // A window of the test covers the editor's.
    const P::Test::CoverWindow cover({0, 0, 500, 400});
    const std::string coverId = Hex(P::GetNativeWindowId(cover.Handle()));
    ASSERT_TRUE(P::Test::PumpUntil([&] { return TopmostWindow() == coverId; }))
        << coverId << "\n"
        << P::Test::Capture("xwininfo -root -children");

    EditorProcess second(folders);
    second.SetResourceFolder(resources.path);
    ASSERT_TRUE(second.Start({"a", "b c"}));
    EXPECT_EQ(second.WaitForExit(5s), 255);
    EXPECT_EQ(second.FindWindow(0ms), 0u);
    const std::string expected = "Command line received: " + EditorProcess::ProgramPath() + " a \"b c\"";
    EXPECT_TRUE(first.WaitForLine(expected)) << ::testing::PrintToString(first.Lines());
    EXPECT_TRUE(P::Test::PumpUntil([&] { return TopmostWindow() == Hex(window); }));
}

TEST_F(Program, TwoStartsInQuickSuccessionLeaveOneEditorWhichGetsTheOthersCommandLine)
{
    EditorProcess first(folders);
    EditorProcess second(folders);
    first.SetResourceFolder(resources.path);
    second.SetResourceFolder(resources.path);
    ASSERT_TRUE(first.Start({"first"}));
    std::this_thread::sleep_for(100ms); // a double click's two starts
    ASSERT_TRUE(second.Start({"second"}));

    // Whichever took the lock runs; the other hands its command line over and ends.
    std::optional<int> firstEnd;
    std::optional<int> secondEnd;
    ASSERT_TRUE(KR::TestSupport::WaitUntil(
        [&]
        {
            firstEnd = first.WaitForExit(0ms);
            secondEnd = second.WaitForExit(0ms);
            return firstEnd || secondEnd;
        },
        EditorProcess::kPatience));
    EditorProcess& running = firstEnd ? second : first;
    EXPECT_EQ(firstEnd ? *firstEnd : *secondEnd, 255);
    const std::uint64_t window = running.FindWindow();
    ASSERT_NE(window, 0u) << ::testing::PrintToString(running.Lines());
    EXPECT_TRUE(running.WaitForLine("Command line received: " + EditorProcess::ProgramPath() +
                                    (firstEnd ? " first" : " second")))
        << ::testing::PrintToString(running.Lines());
    EXPECT_FALSE(running.WaitForExit(0ms).has_value());
    ASSERT_TRUE(EditorProcess::SendDeleteRequest(window));
    EXPECT_EQ(running.WaitForExit(), 1);
}

TEST_F(Program, AHeldLockWhoseHolderNeverListensEndsTheStartAndAKilledHoldersLockDoesNot)
{
    {
        // The lock of a live process that never listens: the start waits for it a few
        // seconds, then ends without a window.
        P::InstanceLock lock;
        ASSERT_TRUE(lock.Acquire(folders.Runtime() + "/Tarsil_Vantor Preset EditorPrevent.lock"));
        EditorProcess editor(folders);
        editor.SetResourceFolder(resources.path);
        ASSERT_TRUE(editor.Start());
        EXPECT_EQ(editor.WaitForExit(), 255);
        EXPECT_EQ(editor.FindWindow(0ms), 0u);
        EXPECT_TRUE(editor.WaitForLine("does not listen; not starting a second editor"));
    }
    {
        EditorProcess killed(folders);
        ASSERT_NE(StartWithWindow(killed), 0u);
        killed.Kill(SIGKILL);
        ASSERT_EQ(killed.WaitForExit(), -SIGKILL);
    }
    EditorProcess next(folders);
    EXPECT_NE(StartWithWindow(next), 0u);
    // ... and it is the one a further start finds.
    EditorProcess further(folders);
    further.SetResourceFolder(resources.path);
    ASSERT_TRUE(further.Start({"x"}));
    EXPECT_EQ(further.WaitForExit(5s), 255);
    EXPECT_TRUE(next.WaitForLine("Command line received: "));
}

TEST_F(Program, TermIntAndHupEndTheProgramAsItsCloseRequestDoes)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    {
        std::filesystem::remove(folders.UserSettingsPath());
        EditorProcess editor(folders);
        ASSERT_NE(StartWithWindow(editor), 0u) << signal;
        editor.Kill(signal);
        EXPECT_EQ(editor.WaitForExit(), 1) << signal;
        // The placement is written when the main window closes.
        EXPECT_NE(folders.UserSettingsText().find("WP"), std::string::npos) << signal;
    }
}

TEST_F(Program, TheUdpOptionSendsTheLogToTheHostAndPortGiven)
{
    const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length);
    const int port = ntohs(address.sin_port);

    EditorProcess editor(folders);
    ASSERT_NE(StartWithWindow(editor, {"-debug_console:" + std::to_string(port) + ":127.0.0.1"}), 0u);
    // Anything the program logs goes out now; a second start makes sure it logs something.
    EditorProcess second(folders);
    second.SetResourceFolder(resources.path);
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitForExit(5s), 255);

    std::string received;
    pollfd entry{sock, POLLIN, 0};
    while (received.find("*** APPLICATION Launched on ") == std::string::npos && poll(&entry, 1, 20000) == 1)
    {
        char datagram[2048];
        const ssize_t got = recv(sock, datagram, sizeof datagram, 0);
        if (got > 0)
        {
            received.append(datagram, static_cast<std::size_t>(got));
        }
    }
    close(sock);
    EXPECT_NE(received.find("*** APPLICATION Launched on "), std::string::npos) << received;
}

TEST_F(Program, StartsThatCannotGoOnShowTheStartupBoxAndEndWith255)
{
    const struct
    {
        const char* what;
        std::string skins;
        const char* logged;
    } rows[] = {
        {"a broken skin", "<Test_Skin_Definitions><Application", "::InitApplication : "},
        // A failure out of the run ends the same way, not through an uncaught exception.
        {"no main control", TestSkin("otherControl"),
         "Runtime Error : Null Pointer : Invalid Control Name : KR::LApplicationBase<class "
         "LApplication>::CreateMainWindow "
         ": krframework\\include\\../Application/ApplicationBaseWin : Line 1234"},
        // A class the program does not know is not made up as a plain panel.
        {"a main control of an unknown class", TestSkin("mainControl", "Test.MainControl"),
         "Runtime Error : KR::LControlFactory::GetControlCreateFunction"},
    };
    for (const auto& row : rows)
    {
        WriteFile(resources.path + "/Skins.xml", row.skins);
        EditorProcess editor(folders);
        editor.SetResourceFolder(resources.path);
        ASSERT_TRUE(editor.Start());
        EXPECT_TRUE(editor.WaitForLine("MessageBox: Error | The application encountered problems during "
                                       "startup and will now close. | 16"))
            << row.what << ::testing::PrintToString(editor.Lines());
        EXPECT_TRUE(editor.WaitForLine(row.logged)) << row.what;
        const std::uint64_t box = editor.FindWindow(EditorProcess::kPatience, "PresetEditor");
        ASSERT_NE(box, 0u) << row.what;
        EXPECT_EQ(editor.FindWindow(0ms), 0u) << row.what;
        ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(box)), 0);
        ASSERT_EQ(P::Test::Xdo("key Return"), 0);
        EXPECT_EQ(editor.WaitForExit(), 255) << row.what;
    }
}

TEST_F(Program, ASplashPictureShowsUntilTheMainWindowMaps)
{
    std::vector<std::uint32_t> picture(64 * 48, 0xFF808080u);
    ASSERT_TRUE(P::WritePngFile(resources.path + "/Splash.png", 64, 48, picture.data()));
    EditorProcess editor(folders);
    ASSERT_NE(StartWithWindow(editor), 0u);
    EXPECT_EQ(editor.FindWindow(0ms, "SplashWnd"), 0u);
}

} // namespace
