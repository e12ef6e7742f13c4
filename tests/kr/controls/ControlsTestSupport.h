#pragma once
// Shared by the control tests: an application whose clocks the test drives, a factory
// with the framework's class table and a skin the test gives, stand-in looks (opaque,
// so the hit test finds what they cover), and a window whose pointer the test places.

#include "kr/controls/ControlClasses.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace KR::ControlsTest
{

using MouseTest::Move;
using MouseTest::Press;
using MouseTest::Release;
using UiTest::Recorder;

// A look list of `count` plain looks named `name`.
inline std::string LookList(const char* name, int count)
{
    std::string list =
        std::string("<LookList Name=\"") + name + "\" NumLooks=\"" + std::to_string(count) + "\">";
    for (int i = 0; i < count; ++i)
    {
        list += "<Look Name=\"plain\" Index=\"" + std::to_string(i) + "\"/>";
    }
    return list + "</LookList>";
}

// The skin document around the sub-controls of skin "One": look lists "b14" (buttons),
// "c3" (channels) and "one", then `lookLists`.
inline std::string SkinDocument(const std::string& subControls, const std::string& lookLists = "")
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Looks><Look Name="plain"/></Looks><LookLists>)" +
           LookList("b14", 14) + LookList("c3", 3) + LookList("one", 1) + lookLists +
           R"(</LookLists><Skins><Skin Name="One">)" + subControls +
           "</Skin></Skins></Application></Test_Skins>";
}

// Text measured at 10 units a character (empty text measures nothing), in lines of the
// metrics given.
inline RCPtr<LMeasurementRenderer> TenPerUnit(std::int32_t lineHeight = 16, std::int32_t ascent = -12,
                                              std::int32_t descent = 4)
{
    const RCPtr<TestSupport::LRecordingRenderer> renderer(new TestSupport::LRecordingRenderer);
    renderer->charWidth = 10.0f;
    renderer->lineHeight = lineHeight;
    renderer->ascent = ascent;
    renderer->descent = descent;
    return RCPtr<LMeasurementRenderer>(renderer);
}

// What the scenes share once their factory knows its classes: the tree made from "main" in
// a window whose pointer the test places, every look opaque, and the tree's references
// released at the end (the controls and the window hold each other).
struct SceneBase
{
    SceneBase(std::string skinText, const char* stringsText)
        : skin(std::move(skinText)), strings(stringsText ? stringsText : "")
    {
    }
    ~SceneBase()
    {
        if (main)
        {
            main->ReleaseInternalReferences();
        }
    }
    SceneBase(const SceneBase&) = delete;
    SceneBase& operator=(const SceneBase&) = delete;

    void MakeMain()
    {
        app.activeRootWindow = window;
        main = app.factory->CreateControlByName(String(u"main"), window);
        for (const RCPtr<TestSupport::LStandInLook>& look : looks.made)
        {
            look->color = 0xFF000000;
        }
        if (main)
        {
            main->UpdateLayout();
        }
    }
    // A control of the tree by name.
    template <typename T = LControl>
    RCPtr<T> Find(const char16_t* name)
    {
        RCPtrArray<LControl> found;
        main->FindDescendantControls(String(name), found);
        return found.GetCount() > 0 ? RCPtr<T>(found.GetAt(0)) : nullptr;
    }

    TestSupport::LookStandIns looks;
    TestSupport::LStandInFrameworkApp app;
    std::string skin;
    std::string strings;
    RCPtr<MouseTest::MouseWindow> window = MouseTest::MouseWindow::Create();
    RCPtr<LControl> main;
};

struct Scene : SceneBase
{
    // `skin`: the sub-controls of the skin; `strings`: a string document or null.
    // `extraClasses`: classes the table does not have yet, registered before it.
    // `lookLists`: LookList elements besides the shared ones.
    explicit Scene(const std::string& subControls, const char* strings = nullptr,
                   std::initializer_list<std::pair<const char16_t*, ControlCreateFunction>> extraClasses = {},
                   const std::string& lookLists = "")
        : SceneBase(SkinDocument(subControls, lookLists), strings)
    {
        // The strings first: the skin's controls read theirs as they are made.
        app.factory = UiTest::MakeFactory(nullptr, strings ? this->strings.c_str() : nullptr);
        app.factory->SetResourceProvider(
            [this](const String& name, std::vector<char>& bytes)
            {
                const std::string& text = name == u"SKINS" ? skin : this->strings;
                bytes.assign(text.begin(), text.end());
                return true;
            });
        app.factory->LoadSkins(String(u"::SKINS"));
        for (const auto& [name, create] : extraClasses)
        {
            app.factory->RegisterControlClass(String(name), create);
        }
        RegisterFrameworkControlClasses(*app.factory);
        // A plain control that holds others.
        app.factory->RegisterControlClass(String(u"Test.Group"), &LControl::CreateFromSkin<LControl>);
        MakeMain();
    }

    // Both clocks move by `ms`, then the window's idle step runs.
    void Step(std::uint32_t ms)
    {
        app.Advance(ms);
        window->Idle();
    }
};

} // namespace KR::ControlsTest
