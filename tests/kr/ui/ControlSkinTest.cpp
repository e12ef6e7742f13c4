// Controls made from skins: creation through the factory, re-application of a new skin,
// create parameters, fonts, placement and texts.

#include "ControlTestSupport.h"
#include "kr/ui/ControlPlacement.h"
#include "kr/ui/PopupControls.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"
#include "support/ToolTipStandIn.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace KR
{
namespace
{

using UiTest::FakeRootWindow;

constexpr const char* kSkinDocument = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Skins><Application Name="PresetEditor">
  <Colorizers><Colorizer Name="black" ColorType="SolidFill" Color="0xFF000000"/></Colorizers>
  <Parts><Part Name="ink" Width="1" Height="1" ResizeType="Stretch" ColorizerName="black"/></Parts>
  <Looks><Look Name="plain"/>
    <Look Name="texted">
      <TextProperties TextLeftRel="0" TextLeftAbs="0" TextRightRel="1" TextRightAbs="0" TextHAlign="0"
                      TextTopRel="0" TextTopAbs="0" TextBottomRel="1" TextBottomAbs="0" TextVAlign="0"
                      TextForegroundPart="ink"/>
    </Look>
  </Looks>
  <LookLists><LookList Name="gap" NumLooks="3"><Look Name="plain" Index="0"/><Look Name="plain" Index="2"/></LookList>
    <LookList Name="texts" NumLooks="3"><Look Name="texted" Index="0"/><Look Name="texted" Index="2"/></LookList>
  </LookLists>
  <Skins>
    <Skin Name="One">
      <SubControl Class="Test.Panel" Name="main" IsVisible="False" FontName="Sans" FontSize="10" FontStyle="1"
                  XPositionToControl="Client" XSizeToControl="Client" XSizeRel="1" XSizeAbs="0"
                  YPositionToControl="Client" YSizeToControl="Client" YSizeRel="1" YSizeAbs="0">
        <Skin Name="main" LookList="gap">
          <SubControl Class="Test.Panel" Name="a" XSizeAbs="20" YSizeAbs="20"/>
          <SubControl Class="Test.Panel" Name="b" XPositionToControl="a" XPositionRel="1" XSizeAbs="10" YSizeAbs="10">
            <CreateParamList><CreateParam ID="NOT_FOCUSABLE"> TRUE </CreateParam></CreateParamList>
          </SubControl>
          <SubControl Class="Test.Panel" Name="yes" TabStop="-1">
            <CreateParamList><CreateParam ID="NOT_FOCUSABLE">yes</CreateParam></CreateParamList>
          </SubControl>
          <SubControl Class="Test.Panel" Name="tab3" TabStop="3"/>
          <SubControl Class="Test.Panel" Name="tabNegative" TabStop="-1"/>
          <SubControl Class="Test.Panel" Name="later">
            <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
          </SubControl>
          <SubControl Class="Test.Panel" Name="keyed">
            <CreateParamList><CreateParam ID="INITIAL_VALUE">0.25</CreateParam></CreateParamList>
          </SubControl>
          <SubControl Class="Test.Panel" Name="size0" FontInheritsFromParent="True" FontSize="0"><Skin Name="f"/></SubControl>
          <SubControl Class="Test.Panel" Name="relative" FontInheritsFromParent="True" FontSizeIsRelative="True"
                      FontSize="1.5"><Skin Name="f"/></SubControl>
          <SubControl Class="Test.Panel" Name="style" FontInheritsFromParent="True" FontName="Mono" FontSize="8"
                      FontStyle="-1"><Skin Name="f"/></SubControl>
          <SubControl Class="Test.Panel" Name="same" FontInheritsFromParent="True"><Skin Name="f"/></SubControl>
        </Skin>
      </SubControl>
      <SubControl Class="Test.Unregistered" Name="broken"/>
      <SubControl Class="Test.Tip" Name="toolTip"/>
      <SubControl Class="Test.Panel" Name="lonely"/>
      <SubControl Class="Test.Panel" Name="labelled" FontName="Sans" FontSize="9" TextOverflowXType="Wrap"
                  XSizeAbs="30" YSizeAbs="12"><Skin Name="labelled" LookList="texts"/></SubControl>
      <SubControl Class="Test.Panel" Name="grown" XSizeAbs="5" YSizeAbs="5" XMinSizeToControl="Children"
                  XMinSizeRel="1" YMinSizeToControl="Children" YMinSizeRel="1">
        <Skin Name="grown">
          <SubControl Class="Test.Panel" Name="row" XSizeAbs="1" YSizeAbs="1" XMinSizeToControl="Children"
                      XMinSizeRel="1" YMinSizeToControl="Children" YMinSizeRel="1">
            <Skin Name="row">
              <SubControl Class="Test.Panel" Name="p" XSizeAbs="30" YSizeAbs="10"/>
              <SubControl Class="Test.Panel" Name="q" XPositionToControl="p" XPositionRel="1" XPositionAbs="4"
                          XSizeAbs="20" YSizeAbs="16"/>
            </Skin>
          </SubControl>
          <SubControl Class="Test.Panel" Name="under" YPositionToControl="row" YPositionRel="1"
                      XSizeToControl="row" XSizeRel="1" XSizeAbs="0" YSizeAbs="6"/>
          <SubControl Class="Test.Panel" Name="tag" YPositionToControl="under" YPositionRel="1" XSizeAbs="8"
                      YSizeAbs="12"/>
        </Skin>
      </SubControl>
    </Skin>
    <Skin Name="Two">
      <SubControl Class="Test.Panel" Name="main">
        <Skin Name="main" LookList="gap">
          <SubControl Class="Test.Panel" Name="a2"/>
          <SubControl Class="Test.Panel" Name="b" IsVisible="False" ClipToParent="False">
            <CreateParamList><CreateParam ID="NOT_FOCUSABLE">yes</CreateParam></CreateParamList>
          </SubControl>
        </Skin>
      </SubControl>
    </Skin>
  </Skins>
</Application></Test_Skins>)";

constexpr const char* kStringDocument = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Strings>
  <StringTable ID="Test.Panel|keyed">
    <String ID="TOOLTIP"><Locale LCID="9">Tip</Locale></String>
    <String ID="LHK.NID_TEST_KEY"><Locale LCID="9">Ctrl+VKEY_K</Locale></String>
  </StringTable>
  <StringTable ID="Test.Panel|tag">
    <String ID="LABEL"><Locale LCID="9">Label</Locale></String>
  </StringTable>
  <StringTable ID="PresetEditor|lonely">
    <String ID="LABEL"><Locale LCID="9">Alone</Locale></String>
    <String ID="LHK.NID_TEST_KEY"><Locale LCID="9">Ctrl+VKEY_K</Locale></String>
  </StringTable>
</Test_Strings>)";

// Every control made from the skin writes the slots it runs through here, by name.
std::map<std::string, std::vector<std::string>> gSlots;

using KR::TestSupport::Utf8;

class Recorded : public LControl
{
public:
    using LControl::LControl;

    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override
    {
        Note("50");
        return LControl::ApplyLayoutDescriptor(std::move(descriptor));
    }
    Result CreateChildControls(ConstRCPtr<LControlDescriptor> descriptor) override
    {
        Note("86");
        return LControl::CreateChildControls(std::move(descriptor));
    }
    Result Initialize() override
    {
        Note("87");
        return LControl::Initialize();
    }
    Result PlaceParts() override
    {
        Note(IsCreationFinished() ? "90 finished" : "90");
        return kOk;
    }

private:
    void Note(const char* slot) { gSlots[Utf8(GetName())].push_back(slot); }
};

class ControlSkin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gSlots.clear();
        app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
        app.factory->SetResourceProvider(
            [](const String& name, std::vector<char>& bytes)
            {
                const char* text = name == u"SKINS"     ? kSkinDocument
                                   : name == u"STRINGS" ? kStringDocument
                                                        : "<none/>";
                bytes.assign(text, text + std::strlen(text));
                return true;
            });
        ASSERT_EQ(app.factory->LoadStringTables(String(u"::NONE"), String(u"::STRINGS"), 9), kOk);
        ASSERT_EQ(app.factory->LoadSkins(String(u"::SKINS")), kOk);
        app.factory->RegisterControlClass(String(u"Test.Panel"), &LControl::CreateFromSkin<Recorded>);
        app.factory->RegisterControlClass(String(u"Test.Tip"),
                                          &LControl::CreateFromSkin<TestSupport::LStandInToolTip>);
        app.defaultFont = LFont::GetFont(String(u"Sans"), 9.0f, 0);
        app.activeRootWindow = window;
        main = app.factory->CreateControlByName(String(u"main"), window);
        ASSERT_TRUE(main);
    }
    void TearDown() override
    {
        if (main)
        {
            main->Detach();
        }
    }

    RCPtr<LControl> Child(const char16_t* name) const { return main->FindChildControl(String(name)); }

    TestSupport::LStandInFrameworkApp app;
    TestSupport::LookStandIns looks;
    RCPtr<FakeRootWindow> window = FakeRootWindow::Create();
    RCPtr<LControl> main;
};

TEST_F(ControlSkin, CreationRunsItsStepsInOrderAndMakesEveryChildButTheDeferredOne)
{
    EXPECT_EQ(gSlots["main"], (std::vector<std::string>{"50", "86", "87", "90"}));
    EXPECT_TRUE(main->IsCreationFinished());
    EXPECT_TRUE(Child(u"a"));
    EXPECT_FALSE(Child(u"later"));
    // Hidden in its element, made visible by name; it fills its window's client area.
    EXPECT_TRUE(main->IsShown(false));
    EXPECT_EQ(main->GetFrame(), (RectD{0, 0, 1024, 768}));
    // The look list's empty slot stays an empty look.
    ASSERT_EQ(main->GetLookCount(), 3u);
    EXPECT_FALSE(main->GetActiveLook(1));
    EXPECT_TRUE(main->GetActiveLook(2));
    try
    {
        app.factory->CreateControlByName(String(u"broken"), window);
        ADD_FAILURE() << "an unregistered class was made";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), LControlFactory::kUnregisteredClassText);
    }
    EXPECT_EQ(app.factory->ApplySkinToControl(nullptr), kFail);
    EXPECT_EQ(app.factory->ApplySkinToControl(Child(u"a")), kFail);
}

TEST_F(ControlSkin, ASkinsLookIsMadeWhenFirstAskedForAndStartsAsIfMadeWithTheSkin)
{
    const RCPtr<LControl> labelled = app.factory->CreateControlByName(String(u"labelled"), window);
    ASSERT_TRUE(labelled);
    const RCPtr<LLook> shown = labelled->GetActiveLook(0);
    ASSERT_TRUE(shown);
    labelled->SetText(String(u"Late"), false);
    ASSERT_EQ(labelled->SetFont(String(u"Mono"), 11.0f, 0, false), kOk);
    labelled->SetFrame(PointD{0, 0}, PointD{44, 16});
    const PointD size = labelled->GetSize();

    const std::size_t made = looks.made.size();
    EXPECT_TRUE(labelled->HasLook());
    EXPECT_FALSE(labelled->GetActiveLook(1));
    EXPECT_EQ(looks.made.size(), made) << "asking for the empty slot or whether there is a look makes none";
    const RCPtr<LLook> late = labelled->GetActiveLook(2);
    ASSERT_TRUE(late);
    EXPECT_EQ(looks.made.size(), made + 1);
    EXPECT_EQ(labelled->GetActiveLook(2), late);
    EXPECT_EQ(looks.made.size(), made + 1);
    for (const RCPtr<LLook>& look : {shown, late})
    {
        EXPECT_EQ(look->GetText(), u"Late");
        EXPECT_EQ(look->GetFont(), labelled->GetFont());
        EXPECT_EQ(look->GetWidth(), size.x);
        EXPECT_EQ(look->GetHeight(), size.y);
        EXPECT_TRUE(look->GetWrap());
    }
    // A look made later still hears what the control tells its looks.
    labelled->SetText(String(u"Later"), false);
    EXPECT_EQ(late->GetText(), u"Later");
    labelled->Detach();
}

TEST_F(ControlSkin, CreateParamsAndStringsSetFocusabilityValueTooltipAndLocalKeys)
{
    const struct
    {
        const char16_t* name;
        bool notFocusable;
    } rows[] = {{u"b", true}, {u"yes", false}, {u"tab3", false}, {u"tabNegative", true}};
    for (const auto& row : rows)
    {
        EXPECT_EQ(Child(row.name)->IsNotFocusable(false), row.notFocusable) << Utf8(String(row.name));
    }
    const RCPtr<LControl> keyed = Child(u"keyed");
    EXPECT_EQ(keyed->GetValue(), 0.25);
    EXPECT_EQ(keyed->GetToolTipText(), u"Tip");
    EXPECT_TRUE(keyed->GetLocalHotKeys().HasHotKey(u"NID_TEST_KEY"));
    EXPECT_TRUE(main->HasClient(keyed.Get()));
    EXPECT_FALSE(main->HasClient(Child(u"a").Get()));

    // Without a parent the key is bound, and there is no one to take sibling keys from.
    const RCPtr<LControl> lonely = app.factory->CreateControlByName(String(u"lonely"), window);
    EXPECT_TRUE(lonely->GetLocalHotKeys().HasHotKey(u"NID_TEST_KEY"));
    EXPECT_EQ(lonely->GetText(), u"Alone");
    EXPECT_EQ(window->title, u"Alone");
    lonely->Detach();
}

TEST_F(ControlSkin, InheritedFontsFollowTheParent)
{
    const RCPtr<LFont> parentFont = main->GetFont();
    ASSERT_TRUE(parentFont);
    EXPECT_EQ(parentFont->GetSize(), 10.0f);
    const struct
    {
        const char16_t* name;
        const char16_t* face;
        float size;
        std::int32_t style;
    } rows[] = {
        {u"size0", u"Sans", 10.0f, 1}, {u"relative", u"Sans", 15.0f, 1}, {u"style", u"Mono", 8.0f, 1}};
    for (const auto& row : rows)
    {
        const RCPtr<LFont>& font = Child(row.name)->GetFont();
        ASSERT_TRUE(font) << Utf8(String(row.name));
        EXPECT_EQ(font->GetFaceName(), row.face) << Utf8(String(row.name));
        EXPECT_EQ(font->GetSize(), row.size) << Utf8(String(row.name));
        EXPECT_EQ(font->GetStyle(), row.style) << Utf8(String(row.name));
    }
    EXPECT_EQ(Child(u"same")->GetFont(), parentFont);

    // The factor stays a factor when the parent's font changes.
    EXPECT_EQ(main->SetFont(String(u"Sans"), 20.0f, 1, false), kOk);
    EXPECT_EQ(Child(u"relative")->GetFont()->GetSize(), 30.0f);
    // The cache ignores the face's case: the font held already comes back, nothing changes.
    const RCPtr<LFont> held = main->GetFont();
    EXPECT_EQ(main->SetFont(String(u"SANS"), 20.0f, 1, false), kNothingDone);
    EXPECT_EQ(main->GetFont(), held);
}

TEST_F(ControlSkin, ANewSkinKeepsRunTimeStateAndTakesTheRest)
{
    const RCPtr<LControl> b = Child(u"b");
    const RCPtr<LControl> a = Child(u"a");
    b->SetEnabled(false);
    app.factory->SetCurrentSkinIndex(1);
    ASSERT_EQ(app.factory->ApplySkinToControl(main), kOk);

    EXPECT_FALSE(Child(u"a"));
    EXPECT_FALSE(Child(u"a2"));
    EXPECT_FALSE(a->GetParent());
    EXPECT_EQ(Child(u"b"), b);
    EXPECT_EQ(main->GetChildren().GetCount(), 1u);
    EXPECT_FALSE(b->IsEnabled(false));
    EXPECT_FALSE(b->GetLayoutDescriptor()->visible);
    EXPECT_FALSE(b->ClipsToParent());
    EXPECT_EQ(main->GetUnclippedCount(), 1);
    EXPECT_FALSE(b->IsNotFocusable(false));
    ASSERT_EQ(b->GetLookCount(), 0u);
    ASSERT_EQ(main->GetLookCount(), 3u);
    EXPECT_FALSE(main->GetActiveLook(1));
    EXPECT_EQ(main->GetFrame(), (RectD{0, 0, 1024, 768}));
}

TEST_F(ControlSkin, AControlReadsItsSkinsLayoutUntilItChangesItAndNoChangeReachesTheSkin)
{
    const RCPtr<LControlDescriptor> skin(
        const_cast<LControlDescriptor*>(Child(u"a")->GetControlDescriptor().Get()));
    const LLayoutDescriptor& shared = *skin->GetLayout();
    const auto Same = [](const LLayoutDescriptor& x, const LLayoutDescriptor& y)
    {
        return x.visible == y.visible && x.enabled == y.enabled && x.clipToParent == y.clipToParent &&
               x.tabStop == y.tabStop && x.zOrder == y.zOrder && x.xSize.absolute == y.xSize.absolute &&
               x.yMinSize.absolute == y.yMinSize.absolute && x.textOverflowX == y.textOverflowX;
    };
    const RCPtr<LLayoutDescriptor> before = shared.Clone();
    const struct
    {
        const char* change;
        std::function<void(LControl&)> apply;
        std::function<bool(const LControl&)> shows;
    } rows[] = {
        {"hidden", [](LControl& c) { c.SetVisible(false); },
         [](const LControl& c) { return !c.IsShown(false); }},
        {"disabled", [](LControl& c) { c.SetEnabled(false); },
         [](const LControl& c) { return !c.IsEnabled(false); }},
        {"unclipped", [](LControl& c) { c.SetClipToParent(false); },
         [](const LControl& c) { return !c.ClipsToParent(); }},
        {"not focusable", [](LControl& c) { c.SetNotFocusable(true); },
         [](const LControl& c) { return c.ReadLayoutDescriptor()->tabStop < 0; }},
        {"placed",
         [](LControl& c)
         {
             DockedPositionSpec position;
             SizeSpec size{kSizeToSelf, String(), 0.0f, 33.0};
             c.SetPlacement(0, position, size);
         },
         [](const LControl& c) { return c.GetSize().x == 33.0; }},
        {"limited",
         [](LControl& c)
         {
             LimitSpec minimum;
             minimum.absolute = 44.0;
             c.SetSizeLimits(1, minimum, LimitSpec{});
         },
         [](const LControl& c) { return c.GetSize().y == 44.0; }},
        {"written through the accessor", [](LControl& c) { c.GetLayoutDescriptor()->zOrder = 7; },
         [](const LControl& c) { return c.ReadLayoutDescriptor()->zOrder == 7; }},
    };
    for (const auto& row : rows)
    {
        // Two controls made from one element read its layout until one of them changes it.
        const RCPtr<LControl> changed = app.factory->CreateControl(skin, main);
        const RCPtr<LControl> other = app.factory->CreateControl(skin, main);
        ASSERT_TRUE(changed && other) << row.change;
        EXPECT_EQ(changed->ReadLayoutDescriptor(), &shared) << row.change;
        row.apply(*changed);
        EXPECT_TRUE(row.shows(*changed)) << row.change;
        EXPECT_NE(changed->ReadLayoutDescriptor(), &shared) << row.change;
        EXPECT_EQ(other->ReadLayoutDescriptor(), &shared) << row.change;
        EXPECT_FALSE(row.shows(*other)) << row.change;
        EXPECT_TRUE(Same(shared, *before)) << row.change << ": the skin's layout changed";
        changed->Detach();
        other->Detach();
    }
}

TEST_F(ControlSkin, TextsLooksAndNames)
{
    const RCPtr<LControl> a = Child(u"a");
    const RCPtr<LControl> b = Child(u"b");
    EXPECT_TRUE(main->SetText(String(u"Main")));
    EXPECT_EQ(window->title, u"Main");
    window->invalidated.clear();
    EXPECT_FALSE(main->SetText(String(u"Main")));
    EXPECT_TRUE(window->invalidated.empty());

    // b is placed at a's right edge and keeps following a under its new name.
    EXPECT_EQ(b->GetPosition().x, 20.0);
    auto& children = main->GetChildren();
    EXPECT_EQ(children.RenameChild(a, String(u"b")), kFail);
    EXPECT_EQ(children.RenameChild(a, String(u"a")), kNothingDone);
    EXPECT_EQ(children.RenameChild(nullptr, String(u"z")), kInvalidArg);
    ASSERT_EQ(children.RenameChild(a, String(u"first")), kOk);
    DockedPositionSpec x;
    SizeSpec width;
    x.reference = kPositionToClient;
    x.absolute = 30.0;
    width.absolute = 20.0;
    EXPECT_FALSE(a->SetPlacement(0, x, width));
    EXPECT_EQ(b->GetPosition().x, 50.0);

    // A weight outside 0..1 leaves look 1 as it was; the exclusive flag still clears the rest.
    ASSERT_EQ(main->GetLookWeight(0), 1.0f);
    EXPECT_EQ(main->SetLookWeight(1, 1.5f, true), kOk);
    EXPECT_EQ(main->GetLookWeight(0), 0.0f);
    EXPECT_EQ(main->GetLookWeight(1), 0.0f);
}

TEST_F(ControlSkin, MissingPopUpsOpenNothingAndThePresentTooltipShowsTheText)
{
    // This skin has no "contextMenu".
    EXPECT_EQ(main->ShowContextMenu(PointI{5, 5}), kOk);
    EXPECT_FALSE(main->FindChildControl(String(u"contextMenu")));

    const RCPtr<LControl> keyed = Child(u"keyed");
    EXPECT_EQ(Child(u"a")->CreateToolTip(true), kOk);
    EXPECT_FALSE(Child(u"a")->FindChildControl(String(u"toolTip")));
    EXPECT_EQ(keyed->CreateToolTip(true), kOk);
    const RCPtr<LControl> tip = keyed->FindChildControl(String(u"toolTip"));
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->GetText(), u"Tip");
    EXPECT_TRUE(tip->GetLayoutDescriptor()->visible);
    keyed->CreateToolTip(false);
    EXPECT_FALSE(tip->GetLayoutDescriptor()->visible);
}

// Every control of the tree keeps its frame when placed once more.
void ExpectPlacedForGood(const RCPtr<LControl>& control)
{
    const RectD frame = control->GetFrame();
    EXPECT_EQ(control->UpdateLayout(), kNothingDone) << Utf8(control->GetName());
    EXPECT_EQ(control->GetFrame(), frame) << Utf8(control->GetName());
    for (std::uint32_t i = 0; i < control->GetChildren().GetCount(); ++i)
    {
        ExpectPlacedForGood(control->GetChildren().GetAt(i, kInsertionOrder));
    }
}

TEST_F(ControlSkin, ATreeSizedByItsChildrenComesOutOfCreationSettledAndFollowsThemAfterwards)
{
    // Parents grow to their children, siblings follow siblings by name: whatever order the
    // tree is made and placed in, it comes out where placing it once more leaves it.
    const RCPtr<LControl> grown = app.factory->CreateControlByName(String(u"grown"), window);
    ASSERT_TRUE(grown);
    const RCPtr<LControl> row = grown->FindChildControl(String(u"row"));
    ASSERT_TRUE(row);
    const RCPtr<LControl> q = row->FindChildControl(String(u"q"));
    const RCPtr<LControl> under = grown->FindChildControl(String(u"under"));
    const RCPtr<LControl> tag = grown->FindChildControl(String(u"tag"));
    const struct
    {
        RCPtr<LControl> control;
        RectD frame;
    } rows[] = {
        {row->FindChildControl(String(u"p")), RectD{0, 0, 30, 10}},
        {q, RectD{34, 0, 20, 16}},
        {row, RectD{0, 0, 54, 16}},
        {under, RectD{0, 16, 54, 6}},
        {tag, RectD{0, 22, 8, 12}},
    };
    for (const auto& expected : rows)
    {
        ASSERT_TRUE(expected.control);
        EXPECT_EQ(expected.control->GetFrame(), expected.frame) << Utf8(expected.control->GetName());
    }
    EXPECT_EQ(grown->GetSize(), (PointD{54, 34}));
    EXPECT_EQ(tag->GetText(), u"Label");
    ExpectPlacedForGood(grown);

    // Once made, the parents and the siblings follow a child that grows, at once.
    DockedPositionSpec x;
    x.reference = kPositionToNamed;
    x.referenceName = String(u"p");
    x.relative = 1.0f;
    x.absolute = 4.0;
    SizeSpec width;
    width.absolute = 40.0;
    q->SetPlacement(0, x, width);
    EXPECT_EQ(row->GetSize(), (PointD{74, 16}));
    EXPECT_EQ(under->GetSize(), (PointD{74, 6}));
    EXPECT_EQ(grown->GetSize(), (PointD{74, 34}));
    ExpectPlacedForGood(grown);
    grown->Detach();
}

// ---- placement of controls made in code ------------------------------------------------------

// A look with a border of 2 all round its client area.
class BorderedLook : public LLook
{
public:
    BorderedLook() : LLook(nullptr, false) {}
    RectI GetClientRect() const override { return RectI{2, 2, GetWidth() - 4, GetHeight() - 4}; }
};

class ControlPlacing : public ::testing::Test
{
protected:
    void TearDown() override { root->Detach(); }

    RCPtr<LControl> Place(const RCPtr<LControl>& parent, float anchor, std::int32_t positionKind,
                          double position, std::int32_t sizeKind, float sizeRelative, double size)
    {
        RCPtr<LControl> control(new LControl(parent, String::Format(u"c%d", ++mCount)));
        DockedPositionSpec x;
        x.anchor = anchor;
        x.reference = positionKind;
        x.absolute = position;
        SizeSpec width{sizeKind, String(), sizeRelative, size};
        control->SetPlacements(x, width, DockedPositionSpec{}, SizeSpec{kSizeToSelf, String(), 0.0f, 10.0});
        return control;
    }

    RCPtr<FakeRootWindow> window = FakeRootWindow::Create();
    RCPtr<UiTest::TestControl> root = UiTest::TestControl::MakeRoot(window);
    int mCount = 0;
};

TEST_F(ControlPlacing, PositionAndSizeComeFromTheSpecsOnWholeUnits)
{
    const struct
    {
        const char* name;
        double parentWidth;
        float anchor;
        std::int32_t positionKind;
        double position;
        std::int32_t sizeKind;
        float sizeRelative;
        double size;
        double x;
        double width;
    } rows[] = {
        {"far edge 10 inside the parent", 200, 0.0f, kPositionToParent, 10, kSizeToParent, 1.0f, -10, 10,
         180},
        {"right-anchored self size", 100, 1.0f, kPositionToClient, 100, kSizeToSelf, 0.0f, 23, 77, 23},
        {"centred: twice the span", 100, 0.5f, kPositionToClient, 50, kSizeToClient, 0.0f, 60, 40, 20},
        {"right-anchored, edge to the left", 100, 1.0f, kPositionToClient, 50, kSizeToClient, 0.0f, 20, 20,
         30},
        {"edges rounded first", 100, 0.0f, kPositionToClient, 10.5, kSizeToSelf, 0.0f, 20.2, 11, 20},
        {"negative self size", 100, 0.0f, kPositionToClient, 5, kSizeToSelf, 0.0f, -4, 5, 0},
    };
    for (const auto& row : rows)
    {
        const RCPtr<LControl> parent =
            UiTest::TestControl::Make(root, u"p", RectD{0, 0, row.parentWidth, 50});
        const RCPtr<LControl> control = Place(parent, row.anchor, row.positionKind, row.position,
                                              row.sizeKind, row.sizeRelative, row.size);
        EXPECT_EQ(control->GetPosition().x, row.x) << row.name;
        EXPECT_EQ(control->GetSize().x, row.width) << row.name;
        parent->Detach();
    }
}

TEST_F(ControlPlacing, ChildrenMinimumAddsTheMarginAndAMaximumOfZeroIsNone)
{
    const RCPtr<LControl> box = UiTest::TestControl::Make(root, u"box", RectD{0, 0, 100, 100});
    box->AddLook(RCPtr<LLook>(new BorderedLook()));
    box->SelectLook(0);
    UiTest::TestControl::Make(box, u"first", RectD{0, 0, 30, 20});
    UiTest::TestControl::Make(box, u"second", RectD{10, 10, 50, 40});
    UiTest::TestControl::Make(box, u"outside", RectD{0, 0, 500, 500})->SetClipToParent(false);

    const LimitSpec children{kLimitToNamed, String(u"Children"), 1.0f, 0.0};
    const LimitSpec none{kLimitToSelf, String(), 0.0f, 0.0};
    DockedPositionSpec at;
    at.reference = kPositionToClient;
    box->SetPlacements(at, SizeSpec{kSizeToSelf, String(), 0.0f, 10.0}, at,
                       SizeSpec{kSizeToSelf, String(), 0.0f, 10.0});
    box->GetLayoutDescriptor()->yMinSize = children;
    EXPECT_FALSE(box->SetSizeLimits(0, children, none));
    EXPECT_EQ(box->GetSize(), (PointD{64, 54}));
    // The maximum is applied last and wins.
    EXPECT_FALSE(box->SetSizeLimits(0, children, LimitSpec{kLimitToSelf, String(), 0.0f, 30.0}));
    EXPECT_EQ(box->GetSize().x, 30.0);
}

TEST_F(ControlPlacing, ExpandingTextGrowsTheLabelUpToItsMaximumAndThenWraps)
{
    TestSupport::LStandInFrameworkApp app;
    RCPtr<TestSupport::LRecordingRenderer> measurer(new TestSupport::LRecordingRenderer);
    measurer->charWidth = 13.72f;
    app.measurementRenderer = measurer;
    const struct
    {
        const char* name;
        int axis;
        float left, right;
        double maximum, size;
        bool wrap;
    } rows[] = {
        {"37.2 over a width of 100", 0, 0.0f, 1.0f, 0, 138, false},
        {"held at a smaller maximum, wrapping", 0, 0.0f, 1.0f, 120, 120, true},
        {"a text area spanning no share", 0, 0.5f, 0.5f, 0, 100, false},
        {"two wrapped lines of 14", 1, 0.0f, 1.0f, 0, 28, true},
    };
    for (const auto& row : rows)
    {
        RCPtr<LLookDescriptor> skin(new LLookDescriptor(u"label"));
        skin->text.hasTextProperties = true;
        skin->text.leftRelative = row.left;
        skin->text.rightRelative = row.right;
        skin->text.bottomRelative = 1.0f;
        const RCPtr<LControl> label = Place(root, 0.0f, kPositionToClient, 0, kSizeToSelf, 0.0f, 100);
        label->AddLook(LLook::Create(skin, true));
        label->GetActiveLook(-1)->SetText(u"01234 5678");
        label->GetActiveLook(-1)->SetFont(LFont::GetFont(u"Overflow Face", 9.0f, 0));
        (row.axis == 0 ? label->GetLayoutDescriptor()->textOverflowX
                       : label->GetLayoutDescriptor()->textOverflowY) = kTextOverflowExpand;
        label->SetSizeLimits(row.axis, LimitSpec{kLimitToSelf, String(), 0.0f, 0.0},
                             LimitSpec{kLimitToSelf, String(), 0.0f, row.maximum});
        EXPECT_EQ(row.axis == 0 ? label->GetSize().x : label->GetSize().y, row.size) << row.name;
        EXPECT_EQ(label->GetActiveLook(-1)->GetWrap(), row.wrap) << row.name;
    }
}

TEST(ControlSkinDepth, ControlsNestedAsDeepAsASkinMayGoAreBuiltPlacedAndFreed)
{
    // Building, placing and freeing each go down the tree one level inside the other:
    // at the reader's bound they must still fit the stack, sanitizers' frames included.
    std::string skins = "<Root><Skins><Skin>";
    for (std::int32_t i = 0; i < SkinXmlReader::kMaxControlDepth; ++i)
    {
        skins += "<SubControl Class=\"Test.Panel\" Name=\"n" + std::to_string(i) +
                 "\" XSizeAbs=\"10\" YSizeAbs=\"10\">";
    }
    for (std::int32_t i = 0; i < SkinXmlReader::kMaxControlDepth; ++i)
    {
        skins += "</SubControl>";
    }
    skins += "</Skin></Skins></Root>";
    TestSupport::LStandInFrameworkApp app;
    app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
    app.factory->SetResourceProvider(
        [&](const String&, std::vector<char>& bytes)
        {
            bytes.assign(skins.begin(), skins.end());
            return true;
        });
    ASSERT_EQ(app.factory->LoadSkins(String(u"::SKINS")), kOk);
    app.factory->RegisterControlClass(String(u"Test.Panel"), &LControl::CreateFromSkin<LControl>);
    const RCPtr<FakeRootWindow> window = FakeRootWindow::Create();
    app.activeRootWindow = window;
    RCPtr<LControl> top = app.factory->CreateControlByName(String(u"n0"), window);
    ASSERT_TRUE(top);
    std::int32_t depth = 1;
    for (RCPtr<LControl> at = top; at->GetChildren().GetCount() > 0;
         at = at->GetChildren().GetAt(0, kInsertionOrder))
    {
        ++depth;
    }
    EXPECT_EQ(depth, SkinXmlReader::kMaxControlDepth);
    top->Detach();
}

TEST(ControlPlacementSpecs, NamesCountOnlyWhereTheKindNamesAControl)
{
    const String one(u"one");
    const String other(u"other");
    DockedPositionSpec namedA;
    namedA.reference = kPositionToNamed;
    namedA.referenceName = one;
    DockedPositionSpec namedB = namedA;
    namedB.referenceName = other;
    DockedPositionSpec clientA = namedA;
    clientA.reference = kPositionToClient;
    DockedPositionSpec clientB = namedB;
    clientB.reference = kPositionToClient;
    EXPECT_FALSE(PositionSpecsEqual(namedA, namedB));
    EXPECT_TRUE(PositionSpecsEqual(clientA, clientB));
    EXPECT_TRUE(
        SizeSpecsEqual(SizeSpec{kSizeToSelf, one, 1.0f, 2.0}, SizeSpec{kSizeToSelf, other, 1.0f, 2.0}));
    EXPECT_FALSE(
        SizeSpecsEqual(SizeSpec{kSizeToNamed, one, 1.0f, 2.0}, SizeSpec{kSizeToNamed, other, 1.0f, 2.0}));
    EXPECT_FALSE(SizeSpecsEqual(SizeSpec{kSizeToSelf, one, 1.0f, std::nan("")},
                                SizeSpec{kSizeToSelf, one, 1.0f, std::nan("")}));
    EXPECT_TRUE(
        LimitSpecsEqual(LimitSpec{kLimitToSelf, one, 0.0f, 5.0}, LimitSpec{kLimitToSelf, other, 0.0f, 5.0}));
    EXPECT_FALSE(LimitSpecsEqual(LimitSpec{kLimitToNamed, one, 0.0f, 5.0},
                                 LimitSpec{kLimitToNamed, other, 0.0f, 5.0}));
}

} // namespace
} // namespace KR
