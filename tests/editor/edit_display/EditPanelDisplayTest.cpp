// The encoder edit panel of the real main window on the test X server: a click into MAX,
// 100 and Return typed on the display's keyboard, and the block is in the model and in a
// preset file saved afterwards. A handler that throws inside such a click is logged and
// ends the loop into the application's handling instead of unwinding through GTK.

#include "editor/app/ApplicationControlClasses.h"
#include "editor/edit/EncoderEditPanel.h"
#include "editor/program/PlainClasses.h"
#include "editor/support/InstalledEngine.h"
#include "editor/support/StandInMainControl.h"
#include "engine/PresetManager.h"
#include "kr/app/FrameworkApp.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/controls/TextBox.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>

namespace
{

namespace P = KR::Platform;
using KR::RCPtr;
using KR::String;

// A handler of the test's own that fails inside the user's edit.
class LThrowingHandler : public KR::LNotificationClient
{
public:
    KR::Result Receive(const RCPtr<KR::LNotificationDistributor>&, const RCPtr<KR::LNotification>&) override
    {
        throw std::runtime_error("the test handler failed");
    }
};

// The framework application with its box recorded instead of shown, and a step of the
// test's own at the next idle pass.
class TestApp : public KR::LFrameworkApp
{
public:
    using KR::LFrameworkApp::LFrameworkApp;
    std::int32_t ShowMessageBox(const String& text, const String& caption, std::uint32_t style) override
    {
        boxes.push_back(caption.ToUtf8().GetPtr() + std::string(" | ") + text.ToUtf8().GetPtr() + " | " +
                        std::to_string(style));
        return 1;
    }
    bool OnIdle(bool sendIdle) override
    {
        if (step)
        {
            const std::function<void()> now = std::move(step);
            step = nullptr;
            now();
        }
        return KR::LFrameworkApp::OnIdle(sendIdle);
    }
    std::vector<std::string> boxes;
    std::function<void()> step;
};

// The preset file's value blocks end to end: after the 12-byte header each chunk is its
// length (a little-endian u32), 20 more bytes of heads, and the block.
std::string DataBytes(const std::string& file)
{
    std::string data;
    for (std::size_t at = 12; at + 24 <= file.size();)
    {
        const auto byte = [&](std::size_t i)
        { return static_cast<std::uint32_t>(static_cast<unsigned char>(file[at + i])); };
        const std::uint32_t length = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
        if (length < 24 || at + length > file.size())
        {
            break;
        }
        data += file.substr(at + 24, length - 24);
        at += length;
    }
    return data;
}

TEST(EditPanelOnScreen, TypingAMaximumLandsInTheModelAndTheSavedFile)
{
    if (!std::getenv("DISPLAY") || std::system("command -v xdotool >/dev/null 2>&1") != 0)
    {
        GTEST_SKIP() << "no display or no xdotool";
    }
    KR::TestSupport::InstalledEngine engine;
    const RCPtr<TestApp> app(new TestApp(u"PresetEditor"));
    const RCPtr<KR::LControlFactory> factory = app->GetControlFactory();
    ASSERT_EQ(factory->LoadStringTablesAndSkins(String(u"::"), 1033), KR::kOk);
    KR::TestSupport::RegisterStandInMainControlWhileUnbuilt(*factory);
    RegisterApplicationControlClasses(*factory);
    ASSERT_EQ(app->RunApplicationStartup(), KR::kOk);
    RegisterPlainPanelsForUnbuiltClasses(*factory);
    auto idle = [&](int pass) { return app->OnIdle(pass == 0); };

    const RCPtr<KR::LControl> main = factory->CreateControlByName(String(u"mainControl"), nullptr);
    ASSERT_TRUE(main);
    ASSERT_EQ(app->RunModal(main, false), KR::kOk);
    const RCPtr<KR::LRootWindow> root(dynamic_cast<KR::LRootWindow*>(main->GetRootWindow().Get()));
    ASSERT_TRUE(root && root->GetOSServices());
    struct Closer
    {
        ~Closer()
        {
            if (root->GetOSServices())
            {
                root->GetOSServices()->EndModal(0);
            }
        }
        const RCPtr<KR::LRootWindow>& root;
    } closer{root};
    const P::WindowHandle window = root->GetOSServices()->GetWindowHandle();

    // Shown and bound as the encoder group does when encoder 3 of bank 2 is picked.
    auto* panel = dynamic_cast<LEncoderEditPanel*>(
        main->FindChildControl(String(u"viewDevice"))->FindChildControl(String(u"knobEditPanel")).Get());
    ASSERT_TRUE(panel);
    panel->SetVisible(true);
    RCPtr<KR::TestSupport::LRecordingParentModule> parent(new KR::TestSupport::LRecordingParentModule);
    panel->SetFirstParamID(parent.Get(), 107, 10);
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(107), engine.Value(107), true), KR::kOk);
    auto* max = dynamic_cast<KR::LNumericUpDown*>(panel->GetMoveableTypePanel()
                                                      ->GetTypeTabControl()
                                                      ->GetPageByName(String(u"ccAbsolutePage"))
                                                      ->FindChildControl(String(u"minMaxSelectors"))
                                                      ->FindChildControl(String(u"max"))
                                                      ->FindChildControl(String(u"numericUpDown"))
                                                      .Get());
    ASSERT_TRUE(max && max->GetTextBox());

    ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(P::GetNativeWindowId(window))), 0);
    ASSERT_TRUE(
        P::Test::PumpUntil([&] { return app->GetActiveRootWindow().Get() == root.Get(); }, 10.0, idle));
    const KR::PointD at = max->GetTextBox()->GetAbsolutePosition();
    const KR::RectD frame = max->GetTextBox()->GetFrame();
    P::WindowPoint screen{static_cast<std::int32_t>(at.x + frame.width / 2),
                          static_cast<std::int32_t>(at.y + frame.height / 2)};
    P::ClientToScreen(window, screen);
    ASSERT_EQ(P::Test::Xdo("mousemove --sync " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                           " click 1"),
              0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return root->GetFocusControl().Get() == max->GetTextBox().Get(); },
                                   10.0, idle));
    ASSERT_EQ(P::Test::Xdo("key End BackSpace BackSpace BackSpace type --delay 30 100"), 0);
    ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    EXPECT_TRUE(P::Test::PumpUntil(
        [&] { return engine.Bytes(107) == std::vector<int>{0x00, 0x00, 0x32, 0x00, 0x00, 0x64}; }, 10.0,
        idle))
        << max->GetTextBox()->GetText().ToUtf8().GetPtr();

    const std::string folder = ::testing::TempDir();
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    P::Test::PumpUntil([] { return false; }, 0.3, idle); // the frames of the edit are drawn
    if (P::ReadWindowPixels(window, pixels, width, height))
    {
        KR::Platform::WritePngFile(folder + "encoder_edit_panel.png", width, height, pixels.data());
    }

    const RCPtr<KR::LPresetManager> presets = KR::LPresetManager::Create(engine.engine);
    const std::string file = folder + "edited.preset";
    ASSERT_EQ(presets->SavePresetFile(String(file.c_str())), KR::kOk);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 4494u);
    EXPECT_EQ(DataBytes(bytes).substr(1176, 6), std::string("\x00\x00\x32\x00\x00\x64", 6));
    presets->UnregisterForAllNotifications();

    // A handler of the test's own that throws inside the next edit, typed while the
    // application's own loop runs: logged, then the box and the exit request.
    const RCPtr<LThrowingHandler> thrower(new LThrowingHandler);
    thrower->RegisterForNotification(RCPtr<KR::LNotificationDistributor>(panel->GetMoveableTypePanel()),
                                     u"NID_PARAMETERS_CHANGED");
    app->RegisterForNotification(KR::LFrameworkApp::GetNotificationCenter(), u"NID_APP_EXIT_REQ");
    app->step = []
    { P::Test::Xdo("key End BackSpace BackSpace BackSpace type --delay 30 99"), P::Test::Xdo("key Return"); };
    std::string logged;
    KR::GetDebugLog().SetDebuggerOutput([&logged](std::string_view piece) { logged += piece; });
    EXPECT_EQ(app->Run(), KR::kOk);
    KR::GetDebugLog().SetDebuggerOutput(nullptr);
    EXPECT_NE(logged.find("the test handler failed"), std::string::npos) << logged;
    EXPECT_EQ(app->boxes.size(), 1u);
    EXPECT_TRUE(app->IsExiting());
    thrower->UnregisterForAllNotifications();
    app->UnregisterForAllNotifications();
}

} // namespace
