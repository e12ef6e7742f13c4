// The machine's sleep and wake-up reach the application through its main window, and every
// window is drawn afresh. The test plays the login manager on a bus of its own, which the
// window layer takes for the system bus; the bus must be up before the window system starts.

#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"
#include "platform/window/PowerEvents.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace KR
{
namespace
{

namespace P = Platform;
using P::Test::PumpUntil;

// Fills itself with its colour and asks for no repaint when that changes: only a repaint
// from elsewhere shows a new colour.
struct Swatch : LControl
{
    using LControl::LControl;
    Result DrawContent(const RCPtr<LRenderer>& renderer) override
    {
        return renderer->FillRect(RectI{0, 0, 400, 400}, ColorF::FromARGB(0xFF000000u | colour), false);
    }
    std::uint32_t colour = 0x2060A0;
};

struct PowerApp : TestSupport::LStandInFrameworkApp
{
    Result OnPowerBroadcast(std::uintptr_t event, std::intptr_t data) override
    {
        heard.emplace_back(event, data);
        return 1;
    }
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> heard;
};

// A client of the test's bus: the login manager once it owns its name, else an impostor.
struct BusClient
{
    explicit BusClient(const std::string& address)
        : bus(g_dbus_connection_new_for_address_sync(
              address.c_str(),
              static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
              nullptr, nullptr, nullptr))
    {
    }
    ~BusClient() { g_clear_object(&bus); }
    GVariant* Call(const char* method, GVariant* parameters, const char* replyType)
    {
        return bus ? g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                 "org.freedesktop.DBus", method, parameters,
                                                 G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE, 5000,
                                                 nullptr, nullptr)
                   : nullptr;
    }
    bool TakeLoginManagersName()
    {
        guint32 answer = 0;
        if (GVariant* reply = Call("RequestName", g_variant_new("(su)", "org.freedesktop.login1", 4u), "(u)"))
        {
            g_variant_get(reply, "(u)", &answer);
            g_variant_unref(reply);
        }
        return answer == 1; // the primary owner
    }
    // Returns once the bus has taken the signal in: it answers a client in the order it reads.
    void Announce(GVariant* parameters)
    {
        ASSERT_TRUE(bus && g_dbus_connection_emit_signal(bus, nullptr, "/org/freedesktop/login1",
                                                         "org.freedesktop.login1.Manager", "PrepareForSleep",
                                                         parameters, nullptr));
        GVariant* reply = Call("GetId", nullptr, "(s)");
        ASSERT_TRUE(reply);
        g_variant_unref(reply);
    }
    GDBusConnection* bus;
};

class PowerEvents : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Two lines: the bus's address, then the daemon's process id.
        std::istringstream started(
            P::Test::Capture("dbus-daemon --config-file=/usr/share/dbus-1/session.conf "
                             "--fork --print-address=1 --print-pid=1"));
        started >> sAddress >> sDaemon;
        setenv("DBUS_SYSTEM_BUS_ADDRESS", sAddress.c_str(), 1);
    }
    static void TearDownTestSuite() { StopBus(); }
    static void StopBus()
    {
        if (sDaemon > 0)
        {
            kill(sDaemon, SIGTERM);
            sDaemon = 0;
        }
    }

    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        ASSERT_GT(sDaemon, 0) << "the test's bus did not start";
        InstallStandardRenderers();
        ASSERT_TRUE(P::InitializeWindowSystem());
        for (auto [window, swatch, x] :
             {std::tuple{main, mainSwatch, 100}, std::tuple{dialog, dialogSwatch, 300}})
        {
            ASSERT_EQ(window->Create(u"Power", RectI{x, 100, 120, 90}, 0), kOk);
            ASSERT_EQ(window->CreateRenderer(1), kOk);
            ASSERT_EQ(window->GetRootWindow()->SetRootControl(swatch), kOk);
            window->Show(P::SW_SHOWNORMAL);
        }
        ASSERT_TRUE(PumpUntil([] { return P::IsWatchingPowerEvents(); })) << "the window layer listens";
        ASSERT_TRUE(login.TakeLoginManagersName());
        // Mapping repaints the windows on their own for a while; they are settled once a
        // colour nobody is told of stays unseen.
        bool settled = false;
        for (int attempt = 0; attempt < 40 && !settled; ++attempt)
        {
            ASSERT_TRUE(ShowTheirColours());
            settled = RecolourUnseen(0x808080, 0x808080, true);
        }
        ASSERT_TRUE(settled);
    }
    void TearDown() override
    {
        for (const RCPtr<OSWindow>& window : {main, dialog})
        {
            if (window->GetWindowHandle() != 0)
            {
                window->EndModal(0); // not modal: closes the window
            }
        }
        SetRendererFactory(nullptr);
    }

    static bool Shows(OSWindow& window, std::uint32_t rgb)
    {
        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0;
        std::int32_t height = 0;
        return P::ReadWindowPixels(window.GetWindowHandle(), pixels, width, height) && width > 20 &&
               height > 20 && (pixels[static_cast<std::size_t>(10 * width + 10)] & 0xFFFFFFu) == rgb;
    }
    bool ShowTheirColours()
    {
        return PumpUntil(
            [&] { return Shows(*main, mainSwatch->colour) && Shows(*dialog, dialogSwatch->colour); });
    }
    // Gives the swatches colours nobody is told of; true when the screen keeps the old ones
    // for a while. A probe puts the old colours back, unseen, and repaints when they were seen.
    bool RecolourUnseen(std::uint32_t mainColour, std::uint32_t dialogColour, bool probe = false)
    {
        const std::pair shown{mainSwatch->colour, dialogSwatch->colour};
        mainSwatch->colour = mainColour;
        dialogSwatch->colour = dialogColour;
        PumpUntil([] { return false; }, 0.25);
        const bool unseen = Shows(*main, shown.first) && Shows(*dialog, shown.second);
        if (probe)
        {
            std::tie(mainSwatch->colour, dialogSwatch->colour) = shown;
            if (!unseen)
            {
                main->Invalidate();
                dialog->Invalidate();
            }
        }
        return unseen;
    }

    static inline std::string sAddress;
    static inline int sDaemon = 0;

    PowerApp app;
    RCPtr<OSWindow> main = new OSWindow;
    RCPtr<OSWindow> dialog = new OSWindow;
    RCPtr<Swatch> mainSwatch = new Swatch(RCPtr<LControl>(), String(u"main"));
    RCPtr<Swatch> dialogSwatch = new Swatch(RCPtr<LControl>(), String(u"dialog"));
    BusClient login{sAddress};
};

TEST_F(PowerEvents, TheApplicationHearsSleepAndWakeThroughItsMainWindowAndEveryWindowIsDrawnAfresh)
{
    // Announcements that are not the login manager's change nothing.
    BusClient impostor(sAddress);
    impostor.Announce(g_variant_new("(b)", FALSE));
    login.Announce(g_variant_new("(s)", "false"));
    login.Announce(g_variant_new("()"));

    const struct
    {
        gboolean sleeping;
        std::uintptr_t event;
        std::uint32_t mainColour;
        std::uint32_t dialogColour;
    } kAnnouncements[] = {
        {TRUE, P::PBT_APMSUSPEND, 0xC03020, 0x30A040},
        {FALSE, P::PBT_APMRESUMEAUTOMATIC, 0xE0C040, 0x6040C0},
    };
    for (const auto& announcement : kAnnouncements)
    {
        SCOPED_TRACE(announcement.event);
        ASSERT_TRUE(RecolourUnseen(announcement.mainColour, announcement.dialogColour));
        const std::size_t before = app.heard.size();
        login.Announce(g_variant_new("(b)", announcement.sleeping));
        ASSERT_TRUE(PumpUntil([&] { return app.heard.size() > before; }));
        EXPECT_EQ(app.heard.back(), std::make_pair(announcement.event, std::intptr_t{0}));
        EXPECT_TRUE(ShowTheirColours()) << "both windows drawn again";
    }
    PumpUntil([] { return false; }, 0.2);
    EXPECT_EQ(app.heard.size(), 2u) << "heard once each, through the main window only";
}

TEST_F(PowerEvents, TheBusGoingAwayLeavesTheProgramRunning)
{
    StopBus();
    ASSERT_TRUE(RecolourUnseen(0xC03020, 0x30A040));
    main->Invalidate();
    dialog->Invalidate();
    EXPECT_TRUE(ShowTheirColours()) << "the program still runs its windows";
    EXPECT_TRUE(app.heard.empty());
}

} // namespace
} // namespace KR
