// A new skin applied to a live tree: every control still draws and answers clicks where it
// did, and the looks the running program selected stay selected.

#include "ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace KR
{
namespace
{

// One skin of the tree: "main" holds a button and "bare", which holds "inner". The two skins
// differ only in the look lists of "main" and "bare" (none: `bareLooks` empty).
std::string TreeSkin(const char* name, const char* mainLooks, const char* bareLooks)
{
    const std::string bare = *bareLooks ? std::string(R"(<Skin Name="bare" LookList=")") + bareLooks + "\">"
                                        : std::string(R"(<Skin Name="bare">)");
    return std::string(R"(
    <Skin Name=")") +
           name + R"(">
      <SubControl Class="Test.Drawn" Name="main" XSizeAbs="200" YSizeAbs="100">
        <Skin Name="main" LookList=")" +
           mainLooks + R"(">
          <SubControl Class="Test.Drawn" Name="button" XPositionAbs="10" YPositionAbs="10" XSizeAbs="40" YSizeAbs="20">
            <Skin Name="button" LookList="three"/>
          </SubControl>
          <SubControl Class="Test.Drawn" Name="bare" XPositionAbs="100" YPositionAbs="10" XSizeAbs="80" YSizeAbs="80">
            )" +
           bare + R"(
              <SubControl Class="Test.Drawn" Name="inner" XPositionAbs="10" YPositionAbs="10" XSizeAbs="20" YSizeAbs="20">
                <Skin Name="inner" LookList="one"/>
              </SubControl>
            </Skin>
          </SubControl>
        </Skin>
      </SubControl>
    </Skin>)";
}

const std::string kReSkinDocument = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Skins><Application Name="PresetEditor">
  <Looks><Look Name="plain"/></Looks>
  <LookLists>
    <LookList Name="one" NumLooks="1"><Look Name="plain" Index="0"/></LookList>
    <LookList Name="three" NumLooks="3">
      <Look Name="plain" Index="0"/><Look Name="plain" Index="1"/><Look Name="plain" Index="2"/>
    </LookList>
    <LookList Name="holes" NumLooks="2"/>
  </LookLists>
  <Skins>)" + TreeSkin("One", "three", "") +
                                    TreeSkin("Two", "one", "holes") + R"(
  </Skins>
</Application></Test_Skins>)";

std::vector<std::string> gDrawn;

class Drawn : public LControl
{
public:
    using LControl::LControl;
    Result DrawContent(const RCPtr<LRenderer>&) override
    {
        gDrawn.emplace_back(GetName().ToUtf8().GetPtr());
        return kOk;
    }
};

class ControlReSkin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
        app.factory->SetResourceProvider(
            [](const String&, std::vector<char>& bytes)
            {
                bytes.assign(kReSkinDocument.begin(), kReSkinDocument.end());
                return true;
            });
        ASSERT_EQ(app.factory->LoadSkins(String(u"::SKINS")), kOk);
        app.factory->RegisterControlClass(String(u"Test.Drawn"), &LControl::CreateFromSkin<Drawn>);
        app.defaultFont = LFont::GetFont(String(u"Sans"), 9.0f, 0);
        app.activeRootWindow = window;
        main = app.factory->CreateControlByName(String(u"main"), window);
        ASSERT_TRUE(main);
        main->SetFrame(PointD{}, PointD{200, 100});
        Opaque();
    }
    void TearDown() override
    {
        if (main)
        {
            main->Detach();
        }
    }
    // Stand-in looks are transparent unless told; the hit test looks for opaque pixels.
    void Opaque() { looks.SetColor(0xFF000000); }
    // What a full paint draws, and what is hit at each probe.
    std::string Observe()
    {
        gDrawn.clear();
        const RCPtr<TestSupport::LRecordingRenderer> renderer(new TestSupport::LRecordingRenderer);
        auto context = renderer->MakeContext(RectI{0, 0, 200, 100});
        renderer->RenderStart(context);
        LRegion invalid;
        invalid.AddRect(EdgesI{0, 0, 200, 100});
        RCPtrArray<LControl> deferred;
        main->Draw(RCPtr<LRenderer>(renderer), invalid, deferred, false);
        renderer->RenderFinish(context);
        std::string seen = "drawn:";
        for (const std::string& name : gDrawn)
        {
            seen += " " + name;
        }
        seen += "; hit:";
        for (const PointI probe : {PointI{5, 5}, PointI{20, 20}, PointI{120, 30}, PointI{150, 70}})
        {
            PointI local{};
            const RCPtr<LControl> hit = main->HitTest(probe, local, true);
            seen += std::string(" ") + (hit ? hit->GetName().ToUtf8().GetPtr() : "none");
        }
        return seen;
    }
    RCPtr<LControl> Child(const char16_t* name) const { return main->FindChildControl(String(name)); }

    TestSupport::LStandInFrameworkApp app;
    TestSupport::LookStandIns looks;
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<LControl> main;
};

TEST_F(ControlReSkin, EveryControlStillDrawsAndIsHitAndSelectedLooksStaySelected)
{
    const std::string expected = "drawn: main button bare inner; hit: main button inner main";
    ASSERT_EQ(Observe(), expected) << "a control without looks shows its children";
    ASSERT_EQ(Child(u"button")->SelectLook(2), kOk);
    ASSERT_EQ(main->SelectLook(2), kOk);

    app.factory->SetCurrentSkinIndex(1);
    ASSERT_EQ(app.factory->ApplySkinToControl(main), kOk);
    Opaque();
    EXPECT_EQ(Observe(), expected);
    EXPECT_EQ(Child(u"button")->GetActiveLookIndex(), 2);
    EXPECT_EQ(main->GetLookWeight(0), 1.0f) << "look 2 is gone: look 0 stands in";
    EXPECT_EQ(Child(u"bare")->GetLookCount(), 2u);
    EXPECT_EQ(Child(u"bare")->GetLookWeight(0), 1.0f) << "null looks only: look 0 still selected";
}

// The look a control shows, worked out from its weights and slots alone.
RCPtr<LLook> ExpectedActiveLook(const LControl& control)
{
    const auto count = static_cast<std::int32_t>(control.GetLookCount());
    for (std::int32_t i = 0; i < count; ++i)
    {
        if (control.GetLookWeight(i) > 0.0f && control.GetActiveLook(i))
        {
            return control.GetActiveLook(i);
        }
    }
    for (std::int32_t i = 0; i < count; ++i)
    {
        if (control.GetActiveLook(i))
        {
            return control.GetActiveLook(i);
        }
    }
    return nullptr;
}

TEST_F(ControlReSkin, TheActiveLookFollowsEveryChangeOfWeightsLooksAndSkin)
{
    struct Step
    {
        const char* what;
        std::function<void()> change;
    };
    const RCPtr<LControl> button = Child(u"button");
    const RCPtr<LControl> bare = Child(u"bare");
    const Step steps[] = {
        {"as made", [] {}},
        {"look 2 selected", [&] { button->SelectLook(2); }},
        {"its weight taken away", [&] { button->SetLookWeight(2, 0.0f, false); }},
        {"look 1 half weighted", [&] { button->SetLookWeight(1, 0.5f, false); }},
        {"look 0 weighted beside it", [&] { button->SetLookWeight(0, 0.25f, false); }},
        {"a look added and selected",
         [&]
         {
             button->AddLook(RCPtr<LLook>(new TestSupport::LStandInLook(nullptr, false)));
             button->SelectLook(3);
         }},
        {"an empty slot added", [&] { bare->AddLook(nullptr); }},
        {"the other skin",
         [&]
         {
             app.factory->SetCurrentSkinIndex(1);
             app.factory->ApplySkinToControl(main);
         }},
        {"look 0 of the new skin selected", [&] { main->SelectLook(0); }},
        {"back to the first skin",
         [&]
         {
             app.factory->SetCurrentSkinIndex(0);
             app.factory->ApplySkinToControl(main);
         }},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        step.change();
        for (const RCPtr<LControl>& control : {main, button, bare, bare->FindChildControl(String(u"inner"))})
        {
            ASSERT_TRUE(control);
            EXPECT_EQ(control->GetActiveLook(-1).Get(), ExpectedActiveLook(*control).Get())
                << control->GetName().ToUtf8().GetPtr();
        }
    }
}

} // namespace
} // namespace KR
