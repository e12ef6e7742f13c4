#pragma once
// Shared by the list tests: an application whose clocks the test drives, a factory with the
// list classes and a skin the test gives, opaque stand-in looks (so the hit test finds what
// they cover), and a window whose pointer the test places.

#include "ControlsTestSupport.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/ScrollbarStandIn.h"

#include <gtest/gtest.h>

#include <string>

namespace KR::ListTest
{

using MouseTest::Move;
using MouseTest::Press;
using MouseTest::Release;
using UiTest::Recorder;

using ControlsTest::LookList;

// The skin document around the sub-controls of skin "One": look lists "r14" (rows) and
// "one".
inline std::string SkinDocument(const std::string& subControls)
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Looks><Look Name="plain"/></Looks><LookLists>)" +
           LookList("r14", 14) + LookList("one", 1) + R"(</LookLists><Skins><Skin Name="One">)" +
           subControls + "</Skin></Skins></Application></Test_Skins>";
}

// 5 whole rows of 14 in a list 75 high; the template is cloned as the rows.
inline const std::string kTemplateList = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.ListBox" Name="list" XSizeAbs="200" YSizeAbs="75"><Skin Name="list" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="r14"/></SubControl>
    <SubControl Class="Test.Bar" Name="vBar" XPositionAbs="190" XSizeAbs="10" YSizeAbs="75"><Skin Name="bar" LookList="one"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

// A bar that keeps the last key handed to it.
class KeyBar : public TestSupport::LScrollbarStandIn
{
public:
    using LScrollbarStandIn::LScrollbarStandIn;
    bool TakeKey(const KeyCode& key) override
    {
        lastKey = key.code;
        return true;
    }
    std::uint32_t lastKey = 0;
};

struct Scene : ControlsTest::SceneBase
{
    // `subControls` may also be a whole skin document.
    explicit Scene(const std::string& subControls, const char* strings = nullptr)
        : SceneBase(subControls.starts_with("<?xml") ? subControls : SkinDocument(subControls), strings)
    {
        app.factory = UiTest::MakeFactory(skin.c_str(), strings ? this->strings.c_str() : nullptr);
        RegisterFrameworkControlClasses(*app.factory);
        app.factory->RegisterControlClass(String(u"Test.Group"), &LControl::CreateFromSkin<LControl>);
        app.factory->RegisterControlClass(String(u"Test.Bar"), &LControl::CreateFromSkin<KeyBar>);
        MakeMain();
    }
};

} // namespace KR::ListTest
