// The sustain pedal's button mode editor in the real main window on the test X server:
// the MMC tab clicked, the MMC list opened and "Eject" picked with the pointer; then the
// CC cycle tab with "4 Values", whose fourth field appears on the screen.

#include "editor/app/ApplicationControlClasses.h"
#include "editor/edit/ButtonControlEditPanel.h"
#include "editor/program/PlainClasses.h"
#include "editor/support/ButtonModeRecords.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "editor/support/StandInMainControl.h"
#include "kr/app/FrameworkApp.h"
#include "kr/controls/Label.h"
#include "kr/controls/ListBox.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::RCPtr;
using KR::String;
using KR::TestSupport::BytesOf;
using KR::TestSupport::RecordBytes;

class ButtonEditorOnScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || std::system("command -v xdotool >/dev/null 2>&1") != 0)
        {
            GTEST_SKIP() << "no display or no xdotool";
        }
        const RCPtr<KR::LControlFactory> factory = app->GetControlFactory();
        ASSERT_EQ(factory->LoadStringTablesAndSkins(String(u"::"), 1033), KR::kOk);
        RegisterApplicationControlClasses(*factory);
        ASSERT_EQ(app->RunApplicationStartup(), KR::kOk);
        RegisterPlainPanelsForUnbuiltClasses(*factory);
        main = factory->CreateControlByName(String(u"mainControl"), nullptr);
        ASSERT_TRUE(main);
        ASSERT_EQ(app->RunModal(main, false), KR::kOk);
        root = RCPtr<KR::LRootWindow>(dynamic_cast<KR::LRootWindow*>(main->GetRootWindow().Get()));
        ASSERT_TRUE(root && root->GetOSServices());
        window = root->GetOSServices()->GetWindowHandle();
    }
    void TearDown() override
    {
        counter->UnregisterForAllNotifications();
        if (root && root->GetOSServices())
        {
            root->GetOSServices()->EndModal(0);
        }
    }

    bool Pump(const std::function<bool()>& done)
    {
        return P::Test::PumpUntil(done, 10.0, [this](int pass) { return app->OnIdle(pass == 0); });
    }
    // The control at "child/child/..." below the editor.
    KR::LControl* Find(const std::string& path) const
    {
        RCPtr<KR::LControl> at(editor);
        for (std::size_t start = 0; at && start <= path.size();)
        {
            const std::size_t slash = std::min(path.find('/', start), path.size());
            at = at->FindChildControl(String(path.substr(start, slash - start).c_str()));
            start = slash + 1;
        }
        return at.Get();
    }
    // A click with the display's pointer at a point of the window.
    void ClickAt(double x, double y)
    {
        P::WindowPoint screen{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
        P::ClientToScreen(window, screen);
        ASSERT_EQ(P::Test::Xdo("mousemove --sync " + std::to_string(screen.x) + " " +
                               std::to_string(screen.y) + " click 1"),
                  0);
    }
    void ClickOn(const KR::LControl& control)
    {
        const KR::PointD at = control.GetAbsolutePosition();
        ClickAt(at.x + control.GetSize().x / 2, at.y + control.GetSize().y / 2);
    }
    // Opens the list with the pointer and picks the item of that text in its drop list.
    void Pick(KR::LComboBox& list, const char* item)
    {
        ClickOn(list);
        ASSERT_TRUE(Pump([&] { return list.IsDropDownShown(); })) << item;
        const RCPtr<KR::LListBox> drop = list.GetListBox();
        const std::int32_t index = drop->FindItemByText(String(item));
        ASSERT_GE(index, 0) << item;
        ASSERT_TRUE(Pump([&] { return drop->GetItemRect(index).height > 0; })) << item;
        const KR::PointD at = drop->GetAbsolutePosition();
        const KR::RectD row = drop->GetItemRect(index);
        ClickAt(at.x + row.x + row.width / 2, at.y + row.y + row.height / 2);
        ASSERT_TRUE(Pump([&] { return list.GetSelectedIndex() == index; })) << item;
    }
    // How many pixels of the control's area differ from the colour at its top left corner.
    std::size_t Drawn(const KR::LControl& control)
    {
        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0;
        std::int32_t height = 0;
        if (!P::ReadWindowPixels(window, pixels, width, height))
        {
            return 0;
        }
        const KR::PointD at = control.GetAbsolutePosition();
        const std::int32_t left = static_cast<std::int32_t>(at.x);
        const std::int32_t top = static_cast<std::int32_t>(at.y);
        const std::uint32_t background = pixels[static_cast<std::size_t>(top * width + left)];
        std::size_t drawn = 0;
        for (std::int32_t y = top; y < top + static_cast<std::int32_t>(control.GetSize().y) && y < height;
             ++y)
        {
            for (std::int32_t x = left;
                 x < left + static_cast<std::int32_t>(control.GetSize().x) && x < width; ++x)
            {
                drawn += pixels[static_cast<std::size_t>(y * width + x)] != background ? 1 : 0;
            }
        }
        return drawn;
    }

    KR::TestSupport::InstalledEngine engine;
    RCPtr<KR::LFrameworkApp> app{new KR::LFrameworkApp(u"PresetEditor")};
    RCPtr<KR::LControl> main;
    RCPtr<KR::LRootWindow> root;
    P::WindowHandle window{};
    LButtonControlEditPanel* editor = nullptr;
    RCPtr<KR::TestSupport::LNotificationCounter> counter{new KR::TestSupport::LNotificationCounter};
};

TEST_F(ButtonEditorOnScreen, PointerPicksAnMmcCommandAndAFourValueCycle)
{
    // Shown as the pedal group shows it when the sustain pedal is picked.
    KR::LControl* page =
        main->FindChildControl(String(u"viewDevice"))->FindChildControl(String(u"sustainEditPage")).Get();
    ASSERT_TRUE(page);
    page->SetVisible(true);
    editor = dynamic_cast<LButtonControlEditPanel*>(page->FindChildControl(String(u"buttonTypePanel")).Get());
    ASSERT_TRUE(editor);
    // Two values: the third and fourth fields are hidden.
    KR::Array<signed char> record =
        KR::TestSupport::RecordOf({0x00, 0x01, 0x12, 0x07, 0x00, 0x01, 0x00, 0x01, 0x00, 0x7F});
    editor->ShowModeRecord(record);
    editor->GetTabControl()->SelectPage(String(u"notePage"));
    counter->Listen(RCPtr<KR::LNotificationDistributor>(editor), u"NID_PARAMETERS_CHANGED");

    ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(P::GetNativeWindowId(window))), 0);
    ASSERT_TRUE(Pump([&] { return app->GetActiveRootWindow().Get() == root.Get(); }));

    ClickOn(*Find("tabControl/buttonHolder/mmcPage"));
    ASSERT_TRUE(Pump([&] { return editor->GetTabControl()->GetSelectedName() == String(u"mmcPage"); }));
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 1);
    Pick(*dynamic_cast<KR::LComboBox*>(Find("tabControl/pageHolder/mmcPage/mmc/comboBox")), "Eject");
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 2);
    EXPECT_EQ(BytesOf(editor->BuildModeRecord()), (RecordBytes{0x00, 0x01, 0x15, 0x00, 0x0A, 0, 0, 0, 0, 0}));

    ClickOn(*Find("tabControl/buttonHolder/ccCyclePage"));
    ASSERT_TRUE(Pump([&] { return editor->GetTabControl()->GetSelectedName() == String(u"ccCyclePage"); }));
    KR::LControl* fourth = Find("tabControl/pageHolder/ccCyclePage/ccValue4");
    ASSERT_TRUE(fourth);
    P::Test::PumpUntil([] { return false; }, 0.3, [this](int pass) { return app->OnIdle(pass == 0); });
    const std::size_t hidden = Drawn(*fourth);
    Pick(*dynamic_cast<KR::LComboBox*>(Find("tabControl/pageHolder/ccCyclePage/cycleType/comboBox")),
         "4 Values");
    const char* const labels[] = {"FIRST", "VALUE 2", "VALUE 3", "LAST"};
    for (int i = 0; i < 4; ++i)
    {
        const std::string field = "tabControl/pageHolder/ccCyclePage/ccValue" + std::to_string(i + 1);
        EXPECT_TRUE(Find(field)->IsShown(false)) << field;
        EXPECT_EQ(std::string(Find(field + "/controlNameLabel")->GetText().ToUtf8().GetPtr()), labels[i]);
    }
    // The fourth field and its label are on the screen now.
    EXPECT_TRUE(Pump([&] { return Drawn(*fourth) > hidden + 50; })) << hidden;

    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (P::ReadWindowPixels(window, pixels, width, height))
    {
        P::WritePngFile(::testing::TempDir() + "button_mode_editor.png", width, height, pixels.data());
    }
}

} // namespace
