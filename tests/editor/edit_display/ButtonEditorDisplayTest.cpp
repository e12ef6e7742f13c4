// The sustain pedal's button mode editor in the real main window on the test X server:
// the MMC tab clicked, the MMC list opened and "Eject" picked with the pointer; then the
// CC cycle tab with "4 Values", whose fourth field appears on the screen.

#include "editor/edit/ButtonControlEditPanel.h"
#include "editor/support/ButtonModeRecords.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "editor/support/MainWindowOnScreen.h"
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
        if (const std::string why = KR::Platform::Test::WhyTheMainWindowCannotBeDriven(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_NO_FATAL_FAILURE(shown.Open());
    }
    void TearDown() override
    {
        counter->UnregisterForAllNotifications();
        shown.Close();
    }

    bool Pump(const std::function<bool()>& done) { return shown.Pump(done); }
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
    // Opens the list with the pointer and picks the item of that text in its drop list.
    void Pick(KR::LComboBox& list, const char* item)
    {
        shown.ClickOn(list);
        ASSERT_TRUE(Pump([&] { return list.IsDropDownShown(); })) << item;
        const RCPtr<KR::LListBox> drop = list.GetListBox();
        const std::int32_t index = drop->FindItemByText(String(item));
        ASSERT_GE(index, 0) << item;
        ASSERT_TRUE(Pump([&] { return drop->GetItemRect(index).height > 0; })) << item;
        const KR::PointD at = drop->GetAbsolutePosition();
        const KR::RectD row = drop->GetItemRect(index);
        shown.ClickAt(at.x + row.x + row.width / 2, at.y + row.y + row.height / 2);
        ASSERT_TRUE(Pump([&] { return list.GetSelectedIndex() == index; })) << item;
    }
    // How many pixels of the control's area differ from the colour at its top left corner.
    std::size_t Drawn(const KR::LControl& control) const
    {
        const std::vector<std::uint32_t> pixels = shown.PixelsOf(control);
        return pixels.empty() ? 0
                              : static_cast<std::size_t>(std::count_if(pixels.begin(), pixels.end(),
                                                                       [&](std::uint32_t pixel)
                                                                       { return pixel != pixels[0]; }));
    }

    KR::TestSupport::InstalledEngine engine;
    RCPtr<KR::LFrameworkApp> app{new KR::LFrameworkApp(u"PresetEditor")};
    KR::TestSupport::MainWindowOnScreen shown{*app};
    LButtonControlEditPanel* editor = nullptr;
    RCPtr<KR::TestSupport::LNotificationCounter> counter{new KR::TestSupport::LNotificationCounter};
};

TEST_F(ButtonEditorOnScreen, PointerPicksAnMmcCommandAndAFourValueCycle)
{
    // Shown as the pedal group shows it when the sustain pedal is picked.
    KR::LControl* page = shown.main->FindChildControl(String(u"viewDevice"))
                             ->FindChildControl(String(u"sustainEditPage"))
                             .Get();
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

    ASSERT_NO_FATAL_FAILURE(shown.Focus());

    shown.ClickOn(*Find("tabControl/buttonHolder/mmcPage"));
    ASSERT_TRUE(Pump([&] { return editor->GetTabControl()->GetSelectedName() == String(u"mmcPage"); }));
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 1);
    Pick(*dynamic_cast<KR::LComboBox*>(Find("tabControl/pageHolder/mmcPage/mmc/comboBox")), "Eject");
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 2);
    EXPECT_EQ(BytesOf(editor->BuildModeRecord()), (RecordBytes{0x00, 0x01, 0x15, 0x00, 0x0A, 0, 0, 0, 0, 0}));

    shown.ClickOn(*Find("tabControl/buttonHolder/ccCyclePage"));
    ASSERT_TRUE(Pump([&] { return editor->GetTabControl()->GetSelectedName() == String(u"ccCyclePage"); }));
    KR::LControl* fourth = Find("tabControl/pageHolder/ccCyclePage/ccValue4");
    ASSERT_TRUE(fourth);
    shown.Pump([] { return false; }, 0.3);
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
    if (P::ReadWindowPixels(shown.window, pixels, width, height))
    {
        P::WritePngFile(::testing::TempDir() + "button_mode_editor.png", width, height, pixels.data());
    }
}

} // namespace
