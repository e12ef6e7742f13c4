// The encoder edit panel of the real main window on the test X server: a click into MAX,
// 100 and Return typed on the display's keyboard, and the block is in the model and in a
// preset file saved afterwards. A handler that throws inside such a click is logged and
// ends the loop into the application's handling instead of unwinding through GTK.

#include "editor/app/DeviceView.h"
#include "editor/edit/EncoderEditPanel.h"
#include "editor/edit/KeybedZoneEditPanel.h"
#include "editor/edit/MoveableControlEditPanel.h"
#include "editor/edit/PresetNamePanel.h"
#include "editor/edit/XYPadEditPanel.h"
#include "editor/support/InstalledEngine.h"
#include "editor/support/MainWindowOnScreen.h"
#include "editor/support/StandInMainControl.h"
#include "engine/PresetManager.h"
#include "kr/app/FrameworkApp.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/controls/TextBox.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "kr/ui/TabControl.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
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

// The real main window on the test display, made as the program makes it, with the real
// engine installed; the window has the keyboard focus.
class EditPanelOnScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const std::string why = KR::Platform::Test::WhyTheMainWindowCannotBeDriven(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        engine.emplace();
        app = RCPtr<TestApp>(new TestApp(u"PresetEditor"));
        shown.emplace(*app);
        ASSERT_NO_FATAL_FAILURE(shown->Open());
        main = shown->main;
        root = shown->root;
        window = shown->window;
        ASSERT_NO_FATAL_FAILURE(shown->Focus());
        // A later window is placed further on, partly off the test screen.
        ASSERT_EQ(P::Test::Xdo("windowmove --sync " + std::to_string(P::GetNativeWindowId(window)) + " 0 0"),
                  0);
    }
    void TearDown() override
    {
        if (shown)
        {
            shown->Close();
        }
    }

    template <typename T>
    T* Find(const std::string& path) const
    {
        RCPtr<KR::LControl> at = main;
        for (std::size_t start = 0; at && start <= path.size();)
        {
            const std::size_t slash = path.find('/', start);
            at = at->FindChildControl(String(path.substr(start, slash - start).c_str()));
            start = slash == std::string::npos ? path.size() + 1 : slash + 1;
        }
        return dynamic_cast<T*>(at.Get());
    }
    bool WaitFor(const std::function<bool()>& done) { return shown->Pump(done); }
    void ClickOn(const KR::LControl& control) { shown->ClickOn(control); }
    // A number box's text replaced on the display's keyboard and confirmed with Return.
    void TypeInto(KR::LNumericUpDown& box, const std::string& text)
    {
        ASSERT_TRUE(box.GetTextBox());
        ClickOn(*box.GetTextBox());
        ASSERT_TRUE(WaitFor([&] { return root->GetFocusControl().Get() == box.GetTextBox().Get(); }));
        ASSERT_EQ(P::Test::Xdo("key End BackSpace BackSpace BackSpace type --delay 30 " + text), 0);
        ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    }
    std::vector<std::uint32_t> PixelsOf(const KR::LControl& control) const
    {
        return shown->PixelsOf(control);
    }
    // Lets the loop draw the frames of the last change (the window's own 33 ms timer).
    void Settle()
    {
        shown->Pump([] { return false; }, 0.3);
    }
    // Writes the window to a PNG for a reviewer, once the last change is drawn.
    void WritePicture(const std::string& name)
    {
        Settle();
        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0;
        std::int32_t height = 0;
        if (P::ReadWindowPixels(window, pixels, width, height))
        {
            KR::Platform::WritePngFile(::testing::TempDir() + name, width, height, pixels.data());
        }
    }
    // The pixels of a list's face that are not its background, between its frame and its
    // arrow: none for a face that shows no item.
    std::size_t TextPixelsOf(const KR::LControl& list) const
    {
        const std::vector<std::uint32_t> pixels = PixelsOf(list);
        const auto width = static_cast<std::size_t>(list.GetSize().x);
        const auto height = static_cast<std::size_t>(list.GetSize().y);
        if (width < 40 || height < 10 || pixels.size() < width * height)
        {
            return 0;
        }
        std::map<std::uint32_t, std::size_t> counts;
        std::vector<std::uint32_t> face;
        for (std::size_t y = 4; y + 4 < height; ++y)
        {
            for (std::size_t x = 4; x + 24 < width; ++x)
            {
                face.push_back(pixels[y * width + x]);
                ++counts[face.back()];
            }
        }
        const auto background = std::max_element(
            counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        return face.size() - background->second;
    }
    // The data bytes of a preset file the landed preset manager saves now.
    std::string SavedData()
    {
        const RCPtr<KR::LPresetManager> presets = KR::LPresetManager::Create(engine->engine);
        // A folder of the test's own: another run beside this one saves a file of this name.
        const KR::TestSupport::TempFolder folder;
        const std::string file = (folder / "edited.preset").string();
        EXPECT_EQ(presets->SavePresetFile(String(file.c_str())), KR::kOk);
        presets->UnregisterForAllNotifications();
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes.size(), 4494u);
        return DataBytes(bytes);
    }

    std::optional<KR::TestSupport::InstalledEngine> engine;
    RCPtr<TestApp> app;
    std::optional<KR::TestSupport::MainWindowOnScreen> shown;
    RCPtr<KR::LControl> main;
    RCPtr<KR::LRootWindow> root;
    P::WindowHandle window{};
    RCPtr<KR::TestSupport::LRecordingParentModule> parent{new KR::TestSupport::LRecordingParentModule};
};

TEST_F(EditPanelOnScreen, TypingAMaximumLandsInTheModelAndTheSavedFile)
{
    // Shown and bound as the encoder group does when encoder 3 of bank 2 is picked.
    auto* panel = Find<LEncoderEditPanel>("viewDevice/knobEditPanel");
    ASSERT_TRUE(panel);
    ASSERT_FALSE(panel->IsShown(false));
    Find<LDeviceView>("viewDevice")->ShowEditPanel(kEditPanelEncoders, 10);
    panel->SetFirstParamID(parent.Get(), 107, 10);
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(107), engine->Value(107), true), KR::kOk);
    auto* max = dynamic_cast<KR::LNumericUpDown*>(panel->GetMoveableTypePanel()
                                                      ->GetTypeTabControl()
                                                      ->GetPageByName(String(u"ccAbsolutePage"))
                                                      ->FindChildControl(String(u"minMaxSelectors"))
                                                      ->FindChildControl(String(u"max"))
                                                      ->FindChildControl(String(u"numericUpDown"))
                                                      .Get());
    ASSERT_TRUE(max);
    TypeInto(*max, "100");
    EXPECT_TRUE(
        WaitFor([&] { return engine->Bytes(107) == std::vector<int>{0x00, 0x00, 0x32, 0x00, 0x00, 0x64}; }))
        << max->GetTextBox()->GetText().ToUtf8().GetPtr();
    WritePicture("encoder_edit_panel.png");
    EXPECT_EQ(SavedData().substr(1176, 6), std::string("\x00\x00\x32\x00\x00\x64", 6));

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

TEST_F(EditPanelOnScreen, AZonesFirstKeyAndToggleLandInTheSavedFile)
{
    // Bound and shown as the zone group does when zone 3 is picked.
    auto* panel = Find<LKeybedZoneEditPanel>("viewDevice/zoneEditPanel");
    ASSERT_TRUE(panel);
    panel->SetFirstParamID(parent.Get(), 3, 2);
    Find<LDeviceView>("viewDevice")->ShowEditPanel(kEditPanelKeybedZones, 2);
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(3), engine->Value(3), false), KR::kOk);
    TypeInto(*panel->GetStartNote(), "13");
    EXPECT_TRUE(WaitFor([&] { return engine->Bytes(3)[5] == 13; }));

    auto* toggle = Find<KR::LButton>("viewDevice/zoneEditPanel/zoneEnabledToggleButton");
    ASSERT_TRUE(toggle);
    Settle();
    const std::vector<std::uint32_t> off = PixelsOf(*toggle);
    ClickOn(*toggle);
    EXPECT_TRUE(WaitFor([&] { return engine->Bytes(3)[0] == 1; }));
    EXPECT_TRUE(WaitFor([&] { return PixelsOf(*toggle) != off; })) << "the toggle shows it is on";
    WritePicture("zone_edit_panel.png");

    const std::string data = SavedData();
    ASSERT_GT(data.size(), 29u);
    EXPECT_EQ(data[24], 0x01);
    EXPECT_EQ(data[29], 0x0D);
}

TEST_F(EditPanelOnScreen, AScalePickedOnTheNotePageLandsInTheSavedFile)
{
    // Bound and shown as the touch-pad group does when the first axis is picked.
    auto* panel = Find<LXYPadEditPanel>("viewDevice/xyPadEditPanel");
    ASSERT_TRUE(panel);
    panel->SetFirstParamID(parent.Get(), 129, 0);
    Find<LDeviceView>("viewDevice")->ShowEditPanel(kEditPanelTouchPadAxes, 0);
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(129), engine->Value(129), false), KR::kOk);
    auto* tab = Find<KR::LControl>("viewDevice/xyPadEditPanel/viewTabControl/buttonHolder/noteModePage");
    ASSERT_TRUE(tab);
    ClickOn(*tab);
    ASSERT_TRUE(WaitFor([&] { return panel->GetNoteModePage()->IsShown(false); }));

    KR::LComboBox& scale = *panel->GetNoteModePage()->GetNoteScaleTypeSelector();
    Settle();
    const std::vector<std::uint32_t> major = PixelsOf(scale);
    ClickOn(scale);
    ASSERT_TRUE(WaitFor([&] { return scale.IsDropDownShown(); }));
    ASSERT_EQ(P::Test::Xdo("key --delay 20 Down Down Down Down Down Down Down Down Down Return"), 0);
    EXPECT_TRUE(WaitFor([&] { return scale.GetSelectedIndex() == 10 && !scale.IsDropDownShown(); }));
    const std::vector<int> chromatic{0,    0,    112,  0,    0,    127,  0x08, 0x3C,
                                     0x43, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42};
    EXPECT_TRUE(WaitFor([&] { return engine->Bytes(129) == chromatic; }));
    EXPECT_TRUE(WaitFor([&] { return PixelsOf(scale) != major; })) << "the list's face shows the new scale";
    WritePicture("xy_pad_edit_panel.png");

    const std::string data = SavedData();
    ASSERT_GE(data.size(), 1323u);
    EXPECT_EQ(data.substr(1314, 9), std::string("\x08\x3C\x43\x3D\x3E\x3F\x40\x41\x42", 9));
}

TEST_F(EditPanelOnScreen, ANameTypedAtTheTopLeftLandsInTheSavedFile)
{
    auto* panel = Find<LPresetNamePanel>("viewDevice/presetNameEditPanel");
    ASSERT_TRUE(panel && panel->GetTextBox());
    KR::LTextBox& box = *panel->GetTextBox();
    Settle();
    const std::vector<std::uint32_t> before = PixelsOf(box);
    ClickOn(box);
    ASSERT_TRUE(WaitFor([&] { return root->GetFocusControl().Get() == &box; }));
    ASSERT_EQ(P::Test::Xdo("key End shift+Home type --delay 30 'ab c'"), 0);
    ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    EXPECT_TRUE(
        WaitFor([&] { return engine->Bytes(0) == std::vector<int>{0x41, 0x42, 0x22, 0x43, 0x00, 0x00}; }))
        << box.GetText().ToUtf8().GetPtr();
    EXPECT_TRUE(WaitFor([&] { return PixelsOf(box) != before; })) << "the box shows the new name";
    WritePicture("preset_name.png");
    EXPECT_EQ(SavedData().substr(0, 6), std::string("\x41\x42\x22\x43\x00\x00", 6));
}

// Encoder 1 holds an "other" code no item of the type list stands for, encoder 2 a channel
// past the channel list. Opened one after the other with the pointer, encoder 2's OTHER
// page builds its own channel and the type list's first item, never encoder 1's code; its
// channel list shows an empty face, its type list the item it builds.
TEST_F(EditPanelOnScreen, AnEncoderOpenedAfterOneWithUnlistedBytesSavesItsOwnBlock)
{
    const std::vector<int> first{0x05, 0x01, 0x30, 0x00, 0x40, 0x7F};
    const std::vector<int> second{0x16, 0x00, 0x07, 0x00, 0x00, 0x7F};
    ASSERT_EQ(engine->SetAsLoaded(97, first), KR::kOk);
    ASSERT_EQ(engine->SetAsLoaded(98, second), KR::kOk);
    auto* panel = Find<LEncoderEditPanel>("viewDevice/knobEditPanel");
    ASSERT_TRUE(panel);
    const KR::LTabControl& pages = *panel->GetMoveableTypePanel()->GetTypeTabControl();
    const auto front = [&] { return std::string(pages.GetSelectedName().ToUtf8().GetPtr()); };
    const std::string encoders = "viewDevice/encoders/encoderBank1/";
    ClickOn(*Find<KR::LControl>(encoders + "encoder1/button"));
    ASSERT_TRUE(WaitFor([&] { return panel->IsShown(false) && front() == "otherPage"; }));
    ClickOn(*Find<KR::LControl>(encoders + "encoder2/button"));
    ASSERT_TRUE(WaitFor([&] { return panel->GetFirstParamID() == 98 && front() == "ccAbsolutePage"; }));
    ClickOn(
        *Find<KR::LControl>("viewDevice/knobEditPanel/moveableTypePanel/tabControl/buttonHolder/otherPage"));
    ASSERT_TRUE(WaitFor([&] { return engine->Bytes(98)[1] == 1; }));
    const std::vector<int> written = engine->Bytes(98);
    EXPECT_EQ(std::vector<int>(written.begin(), written.begin() + 3), (std::vector<int>{0x16, 0x01, 0x00}));
    EXPECT_EQ(engine->Bytes(97), first);

    const std::string other = "viewDevice/knobEditPanel/moveableTypePanel/tabControl/pageHolder/otherPage/";
    auto* channel = Find<KR::LComboBox>(other + "midiChannel/comboBox");
    auto* type = Find<KR::LComboBox>(other + "otherType/comboBox");
    ASSERT_TRUE(channel && type);
    Settle();
    EXPECT_EQ(TextPixelsOf(*channel), 0u) << "the channel list shows no item";
    EXPECT_GT(TextPixelsOf(*type), 20u) << "the type list shows the item it builds";
    WritePicture("encoder_after_unlisted_bytes.png");

    const std::string data = SavedData();
    ASSERT_GE(data.size(), 1128u);
    EXPECT_EQ(data.substr(1116, 6), std::string("\x05\x01\x30\x00\x40\x7F", 6));
    EXPECT_EQ(data.substr(1122, 3), std::string("\x16\x01\x00", 3));
    EXPECT_NE(data.substr(1122, 6), data.substr(1116, 6));
}

} // namespace
