// The class table as a skin meets it: each name a skin gives in its Class attribute makes
// that class, and names that share a class make the same one.

#include "ControlsTestSupport.h"
#include "kr/controls/FileDropper.h"
#include "kr/controls/LevelMeter.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/ProgressBar.h"
#include "kr/controls/SplitterH.h"
#include "kr/controls/SplitterV.h"
#include "kr/controls/StatusBar.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

namespace KR
{
namespace
{

using namespace ControlsTest;

struct NamedClass
{
    const char* className;
    const char* controlName;
    bool (*isRightClass)(LControl*);
};

template <typename T>
bool Is(LControl* control)
{
    return dynamic_cast<T*>(control) != nullptr;
}

// The splitters derive from one base, so each is told from the other.
const NamedClass kNamed[] = {
    {"Framework.FileDropper", "dropper", &Is<LFileDropper>},
    {"Framework.StatusBar", "status", &Is<LStatusBar>},
    {"Framework.SplitterH", "splitH", [](LControl* c) { return Is<LSplitterH>(c) && !Is<LSplitterV>(c); }},
    {"Framework.SplitterV", "splitV", [](LControl* c) { return Is<LSplitterV>(c) && !Is<LSplitterH>(c); }},
    {"Framework.LevelMeter", "meter", &Is<LLevelMeter>},
    {"Framework.ProgressBar", "progress", &Is<LProgressBar>},
    {"Framework.OverlayButton", "overlay", &Is<LListBoxItem>},
    {"Framework.ListBox", "list", &Is<LListBox>},
    {"Framework.listboxNoScroll", "noScroll", &Is<LListBox>},
};

TEST(SkinClasses, EachNameASkinGivesMakesItsClass)
{
    std::string subControls = R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300">)"
                              R"(<Skin Name="main">)";
    for (const NamedClass& named : kNamed)
    {
        const std::string name(named.controlName);
        subControls += std::string("<SubControl Class=\"") + named.className + "\" Name=\"" + name +
                       "\" XSizeAbs=\"40\" YSizeAbs=\"20\"><Skin Name=\"" + name +
                       "\" LookList=\"b14\"/></SubControl>";
    }
    subControls += "</Skin></SubControl>";
    Scene scene(subControls);
    ASSERT_TRUE(scene.main);
    for (const NamedClass& named : kNamed)
    {
        const RCPtr<LControl> control = scene.Find(String(named.controlName).GetPtr());
        ASSERT_TRUE(control) << named.className;
        EXPECT_TRUE(named.isRightClass(control.Get())) << named.className;
    }
    // Two names, one class: the same create function.
    const RCPtr<LControl> list = scene.Find(u"list");
    const RCPtr<LControl> noScroll = scene.Find(u"noScroll");
    ASSERT_TRUE(list && noScroll);
    const LControl& listControl = *list;
    const LControl& noScrollControl = *noScroll;
    EXPECT_EQ(typeid(listControl), typeid(noScrollControl));
}

} // namespace
} // namespace KR
