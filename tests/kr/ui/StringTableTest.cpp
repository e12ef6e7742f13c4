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

TEST(StringTable, AnIdGivenAsALiteralOrViewFindsWhatTheSameIdAsAStringFinds)
{
    LStringTable table;
    const char16_t* const stored[] = {u"LABEL", u"LABEL.1", u"LABE", u"A", u"\u00e9", u"\uffff", u"Z"};
    for (const char16_t* id : stored)
    {
        table.SetString(String(id), String(u"text of ") + id);
    }
    const char16_t* const asked[] = {u"LABEL", u"LABEL.1", u"LABE",   u"LAB",    u"LABEL.", u"A",
                                     u"a",     u"\u00e9",  u"\uffff", u"\ufffe", u"Z",      u""};
    for (const char16_t* id : asked)
    {
        String byString(u"untouched");
        String byLiteral(u"untouched");
        String byView(u"untouched");
        const bool found = table.GetString(String(id), byString);
        EXPECT_EQ(table.GetString(id, byLiteral), found) << String(id).ToUtf8().GetPtr();
        EXPECT_EQ(table.GetString(std::u16string_view(id), byView), found);
        EXPECT_EQ(byLiteral, byString);
        EXPECT_EQ(byView, byString);
    }
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

TEST(StringTables, AKeyGivenInHalvesFindsTheTableOfTheJoinedKeyAndNoOther)
{
    KR::StringTables tables;
    const char16_t* const stored[] = {u"Dialog|label", u"Dialog|labelX", u"A|B|C",
                                      u"|App",         u"Owner|",        u"Framework"};
    for (const char16_t* key : stored)
    {
        tables.Touch(String(key))[String(u"LABEL")] = String(key);
    }
    struct Case
    {
        const char16_t* owner;
        const char16_t* name;
        const char16_t* found; // the joined key's texts, or null for no table
    };
    const Case cases[] = {
        {u"Dialog", u"label", u"Dialog|label"},
        {u"Dialog", u"labelX", u"Dialog|labelX"},
        {u"Dialog", u"labe", nullptr},
        {u"Dialog", u"labelXY", nullptr},
        {u"Dialo", u"g|label", nullptr}, // the halves are joined by a bar of their own
        {u"A|B", u"C", u"A|B|C"},
        {u"A", u"B|C", u"A|B|C"},
        {u"", u"App", u"|App"},
        {u"Owner", u"", u"Owner|"},
        {u"", u"", nullptr},
        {u"Frame", u"work", nullptr},
        {u"dialog", u"label", nullptr},
    };
    for (const Case& c : cases)
    {
        const String owner(c.owner);
        const String name(c.name);
        const KR::RCPtr<LStringTable> byHalves =
            tables.GetTable(KR::StringTableKey{owner.GetView(), name.GetView()});
        const KR::RCPtr<LStringTable> byWhole = tables.GetTable(owner + u"|" + name);
        EXPECT_EQ(static_cast<bool>(byHalves), c.found != nullptr)
            << owner.ToUtf8().GetPtr() << " + " << name.ToUtf8().GetPtr();
        EXPECT_EQ(static_cast<bool>(byHalves), static_cast<bool>(byWhole));
        String text;
        if (byHalves && byHalves->GetString(String(u"LABEL"), text))
        {
            EXPECT_EQ(text, c.found);
        }
    }
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
