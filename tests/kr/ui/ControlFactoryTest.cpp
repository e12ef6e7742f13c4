// The control factory over the test program's embedded documents: its class registry,
// descriptor lookups, skin font, string-table lookups and loading.

#include "kr/ui/ControlFactory.h"
#include "kr/ui/Control.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{

using namespace KR;

// Only compared, never called.
RCPtr<LControl> CreateFirst(const RCPtr<LControl>&, const RCPtr<LControlDescriptor>&)
{
    return nullptr;
}
RCPtr<LControl> CreateSecond(const RCPtr<LControl>&, const RCPtr<LControlDescriptor>&)
{
    return nullptr;
}

class Factory : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(factory.LoadSkins(String(u"::APP.SKINS")), kOk);
        ASSERT_EQ(factory.LoadStringTables(String(u"::FRAMEWORK.STRINGS"), String(u"::APP.STRINGS"), 0x0409),
                  kOk);
    }

    static String Label(const RCPtr<LStringTable>& table)
    {
        String text(u"<no table>");
        if (table && !table->GetString(String(u"LABEL"), text))
        {
            text = u"<no text>";
        }
        return text;
    }

    LControlFactory factory{String(u"PresetEditor")};
};

TEST_F(Factory, AClassKeepsItsFirstCreatorAndAnUnknownClassThrowsItsText)
{
    factory.RegisterControlClass(String(u"Framework.Button"), &CreateFirst);
    EXPECT_EQ(factory.RegisterControlClass(String(u"Framework.Button"), &CreateSecond), kOk);
    ControlCreateFunction creator = nullptr;
    EXPECT_EQ(factory.GetControlCreateFunction(String(u"Framework.Button"), creator), kOk);
    EXPECT_EQ(creator, &CreateFirst);
    try
    {
        factory.GetControlCreateFunction(String(u"framework.button"), creator);
        FAIL() << "no throw";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "Runtime Error : KR::LControlFactory::GetControlCreateFunction : "
                               "ControlBase\\ControlFactory : Line 51");
    }
}

TEST_F(Factory, FindsOnlyTopLevelNamesOfTheCurrentSkinTheLaterOfTwoFirst)
{
    const struct
    {
        std::int32_t skin;
        const char16_t* name;
        const char16_t* foundClass; // null: nothing found
    } rows[] = {{0, u"x", u"Framework.Button"},
                {0, u"mainControl", u"PresetEditor.MainControl"},
                {0, u"inner", nullptr},
                {1, u"x", nullptr},
                {-1, u"x", nullptr}};
    for (const auto& row : rows)
    {
        factory.SetCurrentSkinIndex(row.skin);
        const RCPtr<LControlDescriptor> found = factory.FindControlDescriptor(String(row.name));
        EXPECT_EQ(found ? found->GetClass() : String(), String(row.foundClass ? row.foundClass : u""))
            << String(row.name).ToUtf8().GetPtr() << " in skin " << row.skin;
    }
}

TEST_F(Factory, ACloneHasItsOwnChildrenArrayOverTheSameChildrenAndTakesAGivenLayout)
{
    const RCPtr<LControlDescriptor> source = factory.FindControlDescriptor(String(u"mainControl"));
    source->SetCreateFunction(&CreateFirst);
    const RCPtr<LControlDescriptor> copy = factory.CloneControlDescriptor(source, nullptr, String(u"copy"));
    EXPECT_EQ(source->GetName(), u"mainControl");
    EXPECT_EQ(copy->GetName(), u"copy");
    EXPECT_EQ(copy->GetLayout(), source->GetLayout());
    EXPECT_EQ(copy->GetCreateFunction(), &CreateFirst);
    ASSERT_EQ(copy->GetChildren().GetCount(), 1u);
    EXPECT_EQ(copy->GetChildren().GetAt(0), source->GetChildren().GetAt(0));
    EXPECT_NE(copy->GetChildren().GetData(), source->GetChildren().GetData());

    const RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    EXPECT_EQ(factory.CloneControlDescriptor(source, layout, String(u"item"))->GetLayout(), layout);
}

TEST(ControlFactory, SkinFontCopiesOnlyWhatTheSkinSets)
{
    const struct
    {
        const char* skinAttributes;
        Result result;
        const char16_t* name;
        float size;
        std::int32_t style;
    } rows[] = {{R"(FontName="Arial" FontSize="0.5" FontStyle="2")", kOk, u"Arial", 7.0f, 2},
                {R"(FontSize="1")", kOk, u"old", 1.0f, -5},
                {"", kNothingDone, u"old", 7.0f, -5}};
    for (const auto& row : rows)
    {
        LControlFactory factory(String(u"App"));
        const std::string doc =
            std::string("<R><Skins><Skin Name=\"s\" ") + row.skinAttributes + "/></Skins></R>";
        factory.GetReader().ReadSkins(doc.data(), doc.size());
        String name(u"old");
        float size = 7.0f;
        std::int32_t style = -5;
        EXPECT_EQ(factory.GetCurrentSkinFont(name, size, style), row.result) << row.skinAttributes;
        EXPECT_EQ(name, row.name);
        EXPECT_EQ(size, row.size);
        EXPECT_EQ(style, row.style);
    }
}

TEST_F(Factory, ControlTablesAreKeyedByTheParentsClassOrTheApplicationAndHandedOutAsCopies)
{
    const LControlDescriptor dialog(String(u"PresetEditor.DialogAbout"), String(u"dialogAbout"), nullptr);
    EXPECT_EQ(Label(factory.GetControlStringTable(&dialog, String(u"labelProduct"))), u"Product");
    EXPECT_EQ(Label(factory.GetControlStringTable(&dialog, String(u"mainControl"))), u"<no table>");
    EXPECT_EQ(Label(factory.GetApplicationStringTable()), u"<no text>");
    EXPECT_EQ(Label(factory.GetFrameworkStringTable()), u"<no text>");

    const RCPtr<LStringTable> first = factory.GetControlStringTable(nullptr, String(u"mainControl"));
    EXPECT_EQ(Label(first), u"Main");
    first->SetString(String(u"LABEL"), String(u"changed"));
    EXPECT_EQ(Label(factory.GetControlStringTable(nullptr, String(u"mainControl"))), u"Main");
}

TEST(ControlFactory, AMissingOrMalformedDocumentFailsTheSkinsButNotTheStrings)
{
    LControlFactory factory(String(u"PresetEditor"));
    EXPECT_EQ(factory.LoadSkins(String(u"::NO_SKINS")), kFail);
    EXPECT_EQ(factory.LoadSkins(String(u"::EMPTY_SKINS")), kFail);
    EXPECT_EQ(factory.LoadStringTables(String(u"::BROKEN_STRINGS"), String(u"::NO_STRINGS"), 9), kOk);
    EXPECT_EQ(factory.GetReader().GetParseErrorText(), u"mismatched tag");
    EXPECT_EQ(factory.GetReader().GetParseErrorLine(), 5);
    // What came before the fault was read.
    String text;
    EXPECT_TRUE(factory.GetFrameworkStringTable()->GetString(String(u"EDIT_COPY"), text));
}

} // namespace
