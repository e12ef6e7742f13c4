// The application's windows on the test display: the main window from the skin with its
// class, size lock, frame functions and icons; its placement kept across runs and brought
// back onto the screen; modal dialogs placed by their skin over the active window.

#include "kr/app/ApplicationBase.h"
#include "kr/app/WindowPlacement.h"
#include "kr/app_display/ModalSupport.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/Dialog.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"
#include "platform/png/PngCodec.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Files.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace KR
{
namespace
{

namespace P = Platform;
constexpr std::int32_t kFixed = 0, kSizable = 1, kUnbounded = 2, kEmpty = 3;

class WindowsApp : public LApplicationBase<WindowsApp>
{
public:
    WindowsApp() : LApplicationBase(u"PresetEditor")
    {
        const RCPtr<LControlFactory> factory = GetControlFactory();
        factory->RegisterControlClass(u"Test.Panel", &LControl::CreateFromSkin<LControl>);
        factory->RegisterControlClass(u"Test.Dialog", &LControl::CreateFromSkin<LDialog>);
        factory->RegisterControlClass(u"Test.Button", &LControl::CreateFromSkin<LControl>);
        EXPECT_EQ(factory->LoadSkins(u"::WINDOW_SKINS"), kOk);
        SetDefaultFont(LFont::GetFont(u"Sans", 9.0f, 0));
    }
    String GetSettingsVersion() const override { return u"1_0_0"; }

    bool refuseWindows = false;

protected:
    Result CreateSystemWindow(OSWindow& window, const String& className, const String& title,
                              std::uint32_t style, std::uint32_t exStyle, const RectI& rect,
                              std::uintptr_t parent) override
    {
        return refuseWindows ? kFail
                             : LApplicationBase::CreateSystemWindow(window, className, title, style, exStyle,
                                                                    rect, parent);
    }
};

class AppWindows : public ::testing::Test
{
public:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        // The skins' fixed main window is as large as the editor's.
        if (const std::string why = P::Test::ScreenTooSmallForTheMainWindow(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        app = new WindowsApp;
    }
    void TearDown() override
    {
        if (app)
        {
            CloseMain();
        }
    }

    // The main window of that skin as the application makes it: hidden, at its place.
    P::WindowHandle CreateMain(std::int32_t skin)
    {
        app->GetControlFactory()->SetCurrentSkinIndex(skin);
        EXPECT_EQ(app->CreateMainWindow(1), kOk);
        const RCPtr<OSWindow> window = app->GetMainOSWindow();
        return window ? window->GetWindowHandle() : 0;
    }
    // The same with its root control, shown and painted.
    P::WindowHandle OpenMain(std::int32_t skin)
    {
        CreateMain(skin);
        const RCPtr<OSWindow> window = app->GetMainOSWindow();
        if (!window)
        {
            return 0;
        }
        EXPECT_EQ(window->GetRootWindow()->SetRootControlByName(u"mainControl"), kOk);
        app->ShowMainWindow();
        const P::WindowHandle handle = window->GetWindowHandle();
        EXPECT_TRUE(Pump([&] { return P::IsWindowVisible(handle); }));
        return handle;
    }
    void CloseMain()
    {
        if (const RCPtr<OSWindow> window = app->GetMainOSWindow())
        {
            window->EndModal(0);
        }
    }
    bool Pump(const std::function<bool()>& done)
    {
        return P::Test::PumpUntil(done, 10.0, [this](int pass) { return app->OnIdle(pass == 0); });
    }
    static RectI WindowRect(P::WindowHandle handle)
    {
        P::WindowRect rect;
        P::GetWindowRect(handle, rect);
        return RectI{rect.x, rect.y, rect.width, rect.height};
    }
    // As a user drags it. A window just shown may still get GTK's own placement after the
    // move, so the move is made again until it stays.
    bool MoveTo(P::WindowHandle handle, std::int32_t x, std::int32_t y)
    {
        const auto there = [&] { return WindowRect(handle).x == x && WindowRect(handle).y == y; };
        for (int attempt = 0; attempt < 20; ++attempt)
        {
            P::Test::Xdo("windowmove --sync " + std::to_string(P::GetNativeWindowId(handle)) + " " +
                         std::to_string(x) + " " + std::to_string(y));
            if (P::Test::PumpUntil(there, 0.5, [this](int pass) { return app->OnIdle(pass == 0); }) &&
                !P::Test::PumpUntil([&] { return !there(); }, 0.1))
            {
                return true;
            }
        }
        return false;
    }
    static std::string Property(P::WindowHandle handle, const std::string& name)
    {
        return P::Test::Capture("xprop -id " + std::to_string(P::GetNativeWindowId(handle)) + " " + name);
    }
    std::optional<RectI> StoredPlacement()
    {
        String text;
        return app->GetProfileString(app->GetProfileSectionName(), u"WP", text) ? ParseWindowPlacement(text)
                                                                                : std::nullopt;
    }
    void StorePlacement(const std::string& hex)
    {
        app->GetIniFileManager()->SetIniValueStr(app->GetSettingsIniFile(1),
                                                 app->GetProfileSectionName() + u"/WP", String(hex.c_str()));
    }

    TestSupport::TempFolder folder;
    TestSupport::ScopedVariable config{"XDG_CONFIG_HOME", (folder / "config").c_str()};
    RCPtr<WindowsApp> app;
};

TEST_F(AppWindows, TheMainWindowTakesItsClassSizeLockFunctionsAndIconsFromTheSkin)
{
    const P::WindowHandle main = OpenMain(kFixed);
    ASSERT_NE(main, 0u);
    EXPECT_EQ(app->GetMainWindow().Get(), app->GetMainOSWindow()->GetRootWindow().Get());
    EXPECT_NE(Property(main, "WM_CLASS").find("\"Tarsil_Vantor Preset Editor\""), std::string::npos);
    EXPECT_NE(Property(main, "WM_NAME").find("\"Tarsil\""), std::string::npos);
    const std::string hints = Property(main, "WM_NORMAL_HINTS");
    EXPECT_NE(hints.find("minimum size: 1200 by 750"), std::string::npos) << hints;
    EXPECT_NE(hints.find("maximum size: 1200 by 750"), std::string::npos) << hints;
    const std::string icons = Property(main, "_NET_WM_ICON");
    EXPECT_NE(icons.find("16 x 16"), std::string::npos) << icons.substr(0, 200);
    EXPECT_NE(icons.find("32 x 32"), std::string::npos) << icons.substr(0, 200);
    CloseMain();

    // Motif functions: 0x3C move, minimize, maximize, close; 0x2 resize.
    struct Case
    {
        std::int32_t skin;
        bool maximize;
    };
    for (const Case c : {Case{kSizable, false}, Case{kUnbounded, true}})
    {
        const P::WindowHandle window = OpenMain(c.skin);
        ASSERT_NE(window, 0u);
        const std::string sizeHints = Property(window, "WM_NORMAL_HINTS");
        EXPECT_EQ(sizeHints.find("maximum size"), std::string::npos) << sizeHints;
        const std::string motif = Property(window, "_MOTIF_WM_HINTS");
        const std::string expected = c.maximize ? "0x1, 0x3e" : "0x1, 0x2e";
        EXPECT_NE(motif.find(expected), std::string::npos) << c.skin << ": " << motif;
        CloseMain();
    }
}

TEST_F(AppWindows, ThePlacementIsKeptWhenTheMainWindowGoesAndBroughtBackOntoTheScreen)
{
    P::WindowHandle main = OpenMain(kFixed);
    ASSERT_NE(main, 0u);
    EXPECT_EQ(WindowRect(main), (RectI{40, 30, 1200, 750})) << "the skin's place";
    ASSERT_TRUE(MoveTo(main, 30, 200));
    CloseMain();
    EXPECT_EQ(StoredPlacement(), (RectI{30, 200, 1200, 750}));

    main = OpenMain(kFixed);
    EXPECT_TRUE(Pump([&] { return WindowRect(main) == RectI{30, 200, 1200, 750}; })) << WindowRect(main).x;
    ASSERT_TRUE(MoveTo(main, -500, 10));
    CloseMain();
    main = OpenMain(kFixed);
    EXPECT_TRUE(Pump([&] { return WindowRect(main) == RectI{0, 10, 1200, 750}; })) << WindowRect(main).x;
    CloseMain();

    // Wider than the screen: cut to its width, and then against the right edge. (Its root
    // control, once set, gives the window the skin's size again where it stands.)
    StorePlacement("");
    main = CreateMain(kUnbounded);
    const P::WindowRect screen = P::GetWorkArea();
    ASSERT_LT(screen.width, 2000) << "the skin is wider than the screen";
    EXPECT_EQ(WindowRect(main), (RectI{screen.x, 30, screen.width, 500}));
    CloseMain();

    // Records the window never writes leave it where the skin puts it.
    for (const std::string& stored : {std::string("2C00000000000000"),
                                      std::string("2C000000000000000100000000000000FFFFFFFFFFFFFFFFFFFFFFFF"
                                                  "2C010000C80000002701000040030000")})
    {
        StorePlacement(stored);
        main = OpenMain(kFixed);
        EXPECT_TRUE(Pump([&] { return WindowRect(main) == RectI{40, 30, 1200, 750}; })) << stored;
        CloseMain();
    }
}

TEST_F(AppWindows, AStoredPlacementOfAnotherSizeLeavesTheWindowOnTheScreenAndASizableOneKeepsItsSize)
{
    // Each stored place lies as far from the screen's right or bottom edge as it did on the
    // usual 1280 x 1024 screen, so it crosses that edge once the window has the skin's size.
    ASSERT_TRUE(P::InitializeWindowSystem());
    const P::WindowRect screen = P::GetWorkArea();
    const std::int32_t right = screen.x + screen.width;
    const std::int32_t bottom = screen.y + screen.height;
    const struct
    {
        std::int32_t skin;
        RectI stored;
        RectI shown;
    } rows[] = {
        {kFixed, {right - 180, 100, 400, 300}, {right - 1200, 100, 1200, 750}},
        {kFixed, {50, bottom - 124, 1200, 750}, {50, bottom - 750, 1200, 750}},
        {kSizable, {100, 120, 700, 500}, {100, 120, 700, 500}},
        {kSizable, {right - 280, 100, 700, 500}, {right - 700, 100, 700, 500}},
        {kSizable, {100, 100, 300, 200}, {100, 100, 400, 300}},
    };
    for (const auto& row : rows)
    {
        const std::int32_t record[11] = {44,
                                         0,
                                         1,
                                         -1,
                                         -1,
                                         -1,
                                         -1,
                                         row.stored.x,
                                         row.stored.y,
                                         row.stored.x + row.stored.width,
                                         row.stored.y + row.stored.height};
        StorePlacement(FormatProfileBinary(record, sizeof record).ToUtf8().GetPtr());
        const P::WindowHandle main = OpenMain(row.skin);
        ASSERT_NE(main, 0u);
        EXPECT_TRUE(Pump([&] { return WindowRect(main) == row.shown; }))
            << row.skin << " " << row.stored.x << ": " << WindowRect(main).x << ", " << WindowRect(main).y
            << ", " << WindowRect(main).width << " x " << WindowRect(main).height;
        CloseMain();
    }
}

TEST_F(AppWindows, WithoutAMainControlOrAWindowThereIsNoMainWindow)
{
    app->GetControlFactory()->SetCurrentSkinIndex(kEmpty);
    try
    {
        app->CreateMainWindow(1);
        ADD_FAILURE() << "no throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Runtime Error : Null Pointer : Invalid Control Name : "
                                   "KR::LApplicationBase<class LApplication>::CreateMainWindow : "
                                   "krframework\\include\\../Application/ApplicationBaseWin : Line 1234");
    }
    EXPECT_FALSE(app->GetMainOSWindow());
    app->GetControlFactory()->SetCurrentSkinIndex(kFixed);
    app->refuseWindows = true;
    EXPECT_EQ(app->CreateMainWindow(1), kFail);
    EXPECT_FALSE(app->GetMainOSWindow());
    EXPECT_EQ(app->GetRootWindowCount(), 0u);
}

struct ModalSeen
{
    RectI rect;
    std::string properties;
    std::uint32_t windows = 0;
};

// Runs the dialog modally and, once its window is shown, notes where it stands and what it
// is, then clicks its "No" button (120, 60, 60 x 24).
Result RunAndClickNo(WindowsApp& app, const RCPtr<LDialog>& dialog, ModalSeen& seen)
{
    TestSupport::OnceReady click(
        [&]
        {
            const std::uintptr_t window = TestSupport::WindowOf(dialog);
            // Painted, so laid out: the "No" button (blue) stands where the click goes.
            std::vector<std::uint32_t> pixels;
            std::int32_t width = 0, height = 0;
            return window != 0 && P::ReadWindowPixels(window, pixels, width, height) && width > 150 &&
                   height > 72 &&
                   (pixels[static_cast<std::size_t>(72 * width + 150)] & 0xFFFFFFu) == 0x0000FFu;
        },
        [&]
        {
            const std::uintptr_t window = TestSupport::WindowOf(dialog);
            P::WindowRect rect;
            P::GetWindowRect(window, rect);
            seen.rect = RectI{rect.x, rect.y, rect.width, rect.height};
            seen.properties =
                AppWindows::Property(window, "WM_CLASS WM_NAME _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR");
            seen.windows = app.GetRootWindowCount();
            // For a look at what the dialog shows.
            std::vector<std::uint32_t> pixels;
            std::int32_t width = 0, height = 0;
            if (P::ReadWindowPixels(window, pixels, width, height))
            {
                P::WritePngFile(::testing::TempDir() + "modal-dialog.png", width, height, pixels.data());
            }
            P::Test::MovePointerOnScreen(rect.x + 150, rect.y + 72);
            P::Test::Xdo("click 1");
        },
        [&]
        {
            ADD_FAILURE() << "the dialog did not end";
            dialog->Close(-99);
        });
    return dialog->DoModal();
}

TEST_F(AppWindows, AModalDialogStandsWhereItsSkinPutsItOverTheActiveWindow)
{
    const P::WindowHandle main = OpenMain(kFixed);
    ASSERT_NE(main, 0u);
    struct Case
    {
        const char16_t* dialog;
        std::int32_t mainX, mainY;
        RectI expected;
    };
    // The skin puts the wide dialog at 1000: on a screen narrower than 1400 it would end past
    // the right edge, and stands against it instead.
    const P::WindowRect screen = P::GetWorkArea();
    const Case cases[] = {
        {u"dialogCentered", 60, 200, RectI{60 + 400, 200 + 265, 400, 220}},
        {u"dialogCentered", 0, 0, RectI{400, 265, 400, 220}},
        {u"dialogWide", 0, 0, RectI{std::min(1000, screen.x + screen.width - 400), 100, 400, 220}},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(MoveTo(main, c.mainX, c.mainY)) << c.mainX;
        // The window the user works in; without a window manager no window is given the focus.
        app->SetActiveRootWindow(app->GetMainWindow());
        const RCPtr<LDialog> dialog(app->GetControlFactory()->CreateControlByName(c.dialog, nullptr));
        ASSERT_TRUE(dialog);
        ModalSeen seen;
        EXPECT_EQ(RunAndClickNo(*app, dialog, seen), LDialog::kNo);
        EXPECT_EQ(seen.rect, c.expected) << seen.rect.x << ", " << seen.rect.y;
        EXPECT_EQ(seen.windows, 2u);
        EXPECT_NE(seen.properties.find("\"KRFrameworkWindow\""), std::string::npos) << seen.properties;
        EXPECT_NE(seen.properties.find("_NET_WM_WINDOW_TYPE_DIALOG"), std::string::npos) << seen.properties;
        EXPECT_NE(seen.properties.find("window id # 0x"), std::string::npos) << seen.properties;
        EXPECT_EQ(app->GetRootWindowCount(), 1u) << "the dialog's window is gone with its loop";
    }
}

TEST_F(AppWindows, EachTopLevelRootWindowIsListedAfterTheMainWindow)
{
    ASSERT_NE(OpenMain(kFixed), 0u);
    const RCPtr<LControl> first = app->GetControlFactory()->CreateControlByName(u"panelA", nullptr);
    const RCPtr<LControl> second = app->GetControlFactory()->CreateControlByName(u"panelA", nullptr);
    EXPECT_EQ(app->CreateRootWindow(first, true, true, false), 1);
    EXPECT_EQ(app->CreateRootWindow(second, true, false, false), 2);
    EXPECT_EQ(app->GetRootWindowCount(), 3u);
    const RCPtr<LControl> plain(new LControl(RCPtr<LControl>(), u"plain"));
    EXPECT_THROW(app->CreateRootWindow(plain, true, false, false), std::runtime_error) << "no descriptor";
    for (const RCPtr<LControl>& control : {first, second})
    {
        auto* root = dynamic_cast<LRootWindow*>(control->GetRootWindow().Get());
        ASSERT_TRUE(root);
        root->GetOSServices()->EndModal(0);
    }
    EXPECT_EQ(app->GetRootWindowCount(), 1u);
}

} // namespace
} // namespace KR
