#include "kr/controls/ControlClasses.h"

#include "kr/controls/Button.h"
#include "kr/controls/CheckedComboBox.h"
#include "kr/controls/CheckedListBox.h"
#include "kr/controls/CheckedListBoxItem.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/ComboMenu.h"
#include "kr/controls/ComboSlider.h"
#include "kr/controls/FileDropper.h"
#include "kr/controls/Knob.h"
#include "kr/controls/Label.h"
#include "kr/controls/LevelMeter.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/MenuListBoxItem.h"
#include "kr/controls/MultiColumnListBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/controls/PopupMenu.h"
#include "kr/controls/ProgressBar.h"
#include "kr/controls/Scrollbar.h"
#include "kr/controls/Slider.h"
#include "kr/controls/SplitterH.h"
#include "kr/controls/SplitterV.h"
#include "kr/controls/StatusBar.h"
#include "kr/controls/TextBox.h"
#include "kr/controls/ToolTip.h"
#include "kr/core/Exception.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/Panel.h"
#include "kr/ui/TabControl.h"

#include <string>

namespace KR
{

namespace
{
// Skin names that make plain panels: the looks and parts differ, the class does not.
constexpr char16_t kScrollChannelClassName[] = u"Framework.ScrollChannel";
constexpr char16_t kDropDownPanelClassName[] = u"Framework.ComboSlider.DropDownPanel";

// clang-format off
constexpr ControlClassRow kRows[] = {
    {LButton::kClassName, &LControl::CreateFromSkin<LButton>, 93},
    {LListBoxItem::kOverlayClassName, &LControl::CreateFromSkin<LListBoxItem>, 96},
    {LListBox::kClassName, &LControl::CreateFromSkin<LListBox>, 98},
    {LListBox::kNoScrollClassName, &LControl::CreateFromSkin<LListBox>, 99},
    {LListBoxItem::kClassName, &LControl::CreateFromSkin<LListBoxItem>, 100},
    {LCheckedListBox::kClassName, &LControl::CreateFromSkin<LCheckedListBox>, 101},
    {LCheckedListBoxItem::kClassName, &LControl::CreateFromSkin<LCheckedListBoxItem>, 102},
    {LCheckedListBox::kIconsClassName, &LControl::CreateFromSkin<LCheckedListBox>, 103},
    {LMultiColumnListBox::kClassName, &LControl::CreateFromSkin<LMultiColumnListBox>, 104},
    {LScrollbar::kClassName, &LControl::CreateFromSkin<LScrollbar>, 105},
    {kScrollChannelClassName, &LControl::CreateFromSkin<LPanel>, 106},
    {LComboBox::kClassName, &LControl::CreateFromSkin<LComboBox>, 107},
    {LComboBox::kTextClassName, &LControl::CreateFromSkin<LComboBox>, 108},
    {LCheckedComboBox::kClassName, &LControl::CreateFromSkin<LCheckedComboBox>, 109},
    {LCheckedComboBox::kIconsClassName, &LControl::CreateFromSkin<LCheckedComboBox>, 110},
    {LComboSlider::kClassName, &LControl::CreateFromSkin<LComboSlider>, 111},
    {kDropDownPanelClassName, &LControl::CreateFromSkin<LPanel>, 112},
    {LSlider::kClassName, &LControl::CreateFromSkin<LSlider>, 113},
    {LKnob::kClassName, &LControl::CreateFromSkin<LKnob>, 114},
    {LTabControl::kClassName, &LTabControl::Create, 115},
    {LLabel::kClassName, &LControl::CreateFromSkin<LLabel>, 116},
    {LTextBox::kClassName, &LControl::CreateFromSkin<LTextBox>, 117},
    {LNumericUpDown::kClassName, &LControl::CreateFromSkin<LNumericUpDown>, 118},
    {LPanel::kClassName, &LControl::CreateFromSkin<LPanel>, 119},
    {LToolTip::kClassName, &LControl::CreateFromSkin<LToolTip>, 120},
    {LPopupMenu::kClassName, &LControl::CreateFromSkin<LPopupMenu>, 121},
    {LMenuListBoxItem::kClassName, &LControl::CreateFromSkin<LMenuListBoxItem>, 122},
    {LComboMenu::kClassName, &LControl::CreateFromSkin<LComboMenu>, 123},
    {LMainMenu::kClassName, &LControl::CreateFromSkin<LMainMenu>, 124},
    {LFileDropper::kClassName, &LControl::CreateFromSkin<LFileDropper>, 125},
    {LStatusBar::kClassName, &LControl::CreateFromSkin<LStatusBar>, 126},
    {LSplitterH::kClassName, &LControl::CreateFromSkin<LSplitterH>, 127},
    {LSplitterV::kClassName, &LControl::CreateFromSkin<LSplitterV>, 128},
    {LLevelMeter::kClassName, &LControl::CreateFromSkin<LLevelMeter>, 129},
    {LProgressBar::kClassName, &LControl::CreateFromSkin<LProgressBar>, 130},
};
// clang-format on
} // namespace

std::span<const ControlClassRow> GetFrameworkControlClasses()
{
    return kRows;
}

void RegisterFrameworkControlClasses(LControlFactory& factory)
{
    for (const ControlClassRow& row : kRows)
    {
        ThrowIfFailed(factory.RegisterControlClass(String(row.name), row.create),
                      " : KR::LFrameworkApp::RunApplicationStartup : Application\\FrameworkApp : Line " +
                          std::to_string(row.line));
    }
}

} // namespace KR
