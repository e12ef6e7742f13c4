// Documents from the program's embedded resources, and the string-table lookups over what
// was read.

#include "kr/ui/ControlFactory.h"
#include "kr/ui/UiTestSupport.h"
#include "platform/system/Resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace
{

using namespace KR;

TEST(EmbeddedResources, HoldTheFilesBytesFoundByTypeAndExactName)
{
    for (const char* name : {"APP_SKINS", "APP_STRINGS", "BROKEN_STRINGS"})
    {
        SCOPED_TRACE(name);
        std::ifstream file(std::string(KR_UI_TEST_RESOURCES) + "/" + name + ".xml", std::ios::binary);
        const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        const auto found = Platform::FindResource("KRXML", name);
        ASSERT_EQ(found.size(), expected.size());
        EXPECT_EQ(std::string(found.begin(), found.end()), expected);
        // Readable as a terminated text too.
        EXPECT_EQ(found.data()[found.size()], 0);
    }
    EXPECT_TRUE(Platform::FindResource("GDIPLUS", "APP_SKINS").empty());
    EXPECT_TRUE(Platform::FindResource("KRXML", "app_skins").empty());
    EXPECT_TRUE(Platform::FindResource("KRXML", "EMPTY_SKINS").empty());
}

TEST(ControlFactoryLoading, SkinsComeFromTheProgramsResourcesAndAMissingOneFails)
{
    const struct
    {
        const char16_t* path;
        Result result;
        std::uint32_t skins;
    } rows[] = {
        {u"::APP.SKINS", kOk, 1},
        {u"::APP_SKINS", kOk, 1},
        {u"::NO.SKINS", kFail, 0},
        {u"::EMPTY_SKINS", kFail, 0},
    };
    for (const auto& row : rows)
    {
        LControlFactory factory(String(u"PresetEditor"));
        EXPECT_EQ(factory.LoadSkins(String(row.path)), row.result) << String(row.path).ToUtf8().GetPtr();
        EXPECT_EQ(factory.GetReader().GetSkinRoots().GetCount(), row.skins);
    }
}

class LoadedStrings : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(factory.LoadStringTables(String(u"::FRAMEWORK.STRINGS"), String(u"::APP.STRINGS"), 0x0409),
                  kOk);
    }

    static String Label(const RCPtr<LStringTable>& table)
    {
        String text(u"<no table>");
        if (table)
        {
            text = u"<no text>";
            table->GetString(String(u"LABEL"), text);
        }
        return text;
    }

    LControlFactory factory{String(u"PresetEditor")};
};

TEST_F(LoadedStrings, ControlTablesAreKeyedByTheParentsClassOrTheApplication)
{
    const LControlDescriptor dialog(String(u"PresetEditor.DialogAbout"), String(u"dialogAbout"), nullptr);
    EXPECT_EQ(Label(factory.GetControlStringTable(nullptr, String(u"mainControl"))), u"Main");
    EXPECT_EQ(Label(factory.GetControlStringTable(&dialog, String(u"labelProduct"))), u"Product");
    // Never read: no table at all, not an empty one.
    EXPECT_EQ(Label(factory.GetControlStringTable(&dialog, String(u"mainControl"))), u"<no table>");
    EXPECT_EQ(Label(factory.GetControlStringTable(nullptr, String(u"labelProduct"))), u"<no table>");

    String text;
    ASSERT_TRUE(factory.GetFrameworkStringTable());
    EXPECT_TRUE(factory.GetFrameworkStringTable()->GetString(String(u"EDIT_CUT"), text));
    ASSERT_TRUE(factory.GetApplicationStringTable());
    EXPECT_TRUE(factory.GetApplicationStringTable()->GetString(String(u"APP_VERSION"), text));
    EXPECT_EQ(text, u"1.0");
}

TEST_F(LoadedStrings, ChangingAReturnedTableLeavesTheNextLookupAlone)
{
    const RCPtr<LStringTable> first = factory.GetControlStringTable(nullptr, String(u"mainControl"));
    ASSERT_TRUE(first);
    first->SetString(String(u"LABEL"), String(u"changed"));
    first->SetString(String(u"ADDED"), String(u"x"));
    const RCPtr<LStringTable> second = factory.GetControlStringTable(nullptr, String(u"mainControl"));
    EXPECT_EQ(Label(second), u"Main");
    EXPECT_EQ(second->GetCount(), 1u);
}

TEST(ControlFactoryLoading, AMissingOrMalformedStringDocumentLetsTheProgramRunAndKeepsTheReason)
{
    LControlFactory factory(String(u"PresetEditor"));
    EXPECT_EQ(factory.LoadStringTables(String(u"::NO_STRINGS"), String(u"::APP_STRINGS"), 9), kOk);
    EXPECT_TRUE(factory.GetApplicationStringTable());
    EXPECT_FALSE(factory.GetFrameworkStringTable());

    EXPECT_EQ(factory.LoadStringTables(String(u"::BROKEN_STRINGS"), String(u"::NO_STRINGS"), 9), kOk);
    EXPECT_EQ(factory.GetReader().GetParseErrorText(), u"mismatched tag");
    EXPECT_EQ(factory.GetReader().GetParseErrorLine(), 5);
    // What came before the fault was read.
    String text;
    ASSERT_TRUE(factory.GetFrameworkStringTable());
    EXPECT_TRUE(factory.GetFrameworkStringTable()->GetString(String(u"EDIT_COPY"), text));
}

} // namespace
