#include "kr/ui/StringTable.h"
#include "kr/ui/StringTables.h"

#include <gtest/gtest.h>

namespace
{

using KR::LStringTable;
using KR::String;

TEST(StringTable, GetStringLeavesTheOutTextAloneForAMissingId)
{
    LStringTable table;
    ASSERT_EQ(table.SetString(String(u"ITEM.00"), String(u"First")), KR::kOk);
    String text(u"default");
    EXPECT_FALSE(table.GetString(String(u"LABEL"), text));
    EXPECT_EQ(text, u"default");
    EXPECT_TRUE(table.GetString(String(u"ITEM.00"), text));
    EXPECT_EQ(text, u"First");
}

TEST(StringTable, SetStringRefusesAnEmptyIdAndTellsReplacementFromAddition)
{
    LStringTable table;
    EXPECT_EQ(table.SetString(String(), String(u"x")), KR::kInvalidArg);
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_EQ(table.SetString(String(u"A"), String(u"1")), KR::kOk);
    EXPECT_EQ(table.SetString(String(u"A"), String(u"2")), KR::kNothingDone);
    String text;
    ASSERT_TRUE(table.GetString(String(u"A"), text));
    EXPECT_EQ(text, u"2");
}

TEST(StringTables, ALookupIsACopyAndAnUnknownKeyIsNull)
{
    KR::StringTables tables;
    tables.Touch(String(u"Framework"))[String(u"EDIT_CUT")] = String(u"Cut");
    EXPECT_FALSE(tables.GetTable(String(u"|PresetEditor")));

    KR::RCPtr<LStringTable> copy = tables.GetTable(String(u"Framework"));
    ASSERT_TRUE(copy);
    copy->SetString(String(u"EDIT_CUT"), String(u"changed"));
    String text;
    ASSERT_TRUE(tables.GetTable(String(u"Framework"))->GetString(String(u"EDIT_CUT"), text));
    EXPECT_EQ(text, u"Cut");
}

TEST(StringTables, FallbackLocaleIsThePrimaryLanguageOrTraditionalChinese)
{
    EXPECT_EQ(KR::GetFallbackLocale(0x0409), 9);
    EXPECT_EQ(KR::GetFallbackLocale(0x0407), 7);
    EXPECT_EQ(KR::GetFallbackLocale(0x0804), 4);
    EXPECT_EQ(KR::GetFallbackLocale(0x0404), 0x7C04);
    EXPECT_EQ(KR::GetFallbackLocale(0x0C04), 0x7C04);
    EXPECT_EQ(KR::GetFallbackLocale(0x1404), 0x7C04);
}

} // namespace
