// Reading string-table documents: which Locale texts a document gives for a language id,
// and how texts of one id are joined.

#include "kr/ui/SkinXmlReader.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using KR::SkinXmlReader;
using KR::String;

// Framework texts exist for German (7) and neutral English (9) only.
constexpr const char* kFramework = R"(<?xml version="1.0" encoding="utf-8"?>
<Tarsil_StringTable_Definitions>
  <StringTable ID="Framework">
    <String ID="EDIT_CUT">
      <Locale LCID="9">Cut</Locale>
      <Locale LCID="7">Ausschneiden</Locale>
    </String>
    <String ID="EDIT_COPY">
      <Locale LCID="0x0009">Copy</Locale>
      <Locale LCID="0x7c04">Fuzhi</Locale>
    </String>
  </StringTable>
</Tarsil_StringTable_Definitions>)";

// Application texts for English, and one text for 0x0025.
constexpr const char* kApplication = R"(<Root>
  <Application Name="PresetEditor"/>
  <StringTable ID="|PresetEditor">
    <String ID="APP_VERSION"><Locale LCID="9">1.0</Locale></String>
    <String ID="TITLE"><Locale LCID="0x0025">Pealkiri</Locale><Locale LCID="9">Title</Locale></String>
  </StringTable>
</Root>)";

String Text(const SkinXmlReader& reader, const char16_t* key, const char16_t* id)
{
    KR::RCPtr<KR::LStringTable> table = reader.GetStringTable(String(key));
    String text(u"<none>");
    if (table)
    {
        table->GetString(String(id), text);
    }
    return text;
}

struct LocaleCase
{
    std::int32_t languageId;
    std::int32_t frameworkLocale;
    const char16_t* cut;
    const char16_t* copy;
    const char16_t* title;
};

class StringTableLocale : public testing::TestWithParam<LocaleCase>
{
};

TEST_P(StringTableLocale, DocumentsAreReadAtTheFirstLocaleThatGivesTexts)
{
    const LocaleCase& c = GetParam();
    SkinXmlReader reader(String(u"Unnamed"));
    ASSERT_EQ(reader.ReadStringTables(kFramework, 0, kApplication, 0, c.languageId), KR::kOk);
    EXPECT_EQ(Text(reader, u"Framework", u"EDIT_CUT"), c.cut);
    EXPECT_EQ(Text(reader, u"Framework", u"EDIT_COPY"), c.copy);
    EXPECT_EQ(Text(reader, u"|PresetEditor", u"TITLE"), c.title);
    EXPECT_EQ(reader.GetApplicationName(), u"PresetEditor");
}

INSTANTIATE_TEST_SUITE_P(LanguageIds, StringTableLocale,
                         testing::Values(
                             // English (US): no 0x0409 texts, its primary language is 9.
                             LocaleCase{0x0409, 9, u"Cut", u"Copy", u"Title"},
                             // German: the framework matches at 7, where EDIT_COPY has no text (the choice is
                             // per document); the application has nothing at 7 and falls to 9.
                             LocaleCase{0x0407, 7, u"Ausschneiden", u"<none>", u"Title"},
                             // Hong Kong: 0x0C04, then traditional Chinese 0x7C04; the application then tries
                             // 0x7C04 and falls to 9.
                             LocaleCase{0x0C04, 0x7C04, u"<none>", u"Fuzhi", u"Title"},
                             // Estonian: the application's one text for 0x0025 is not read: the application
                             // document starts from where the framework ended (9).
                             LocaleCase{0x0425, 9, u"Cut", u"Copy", u"Title"}));

TEST(StringTableReading, EachPassStopsAtTheFirstMatchingLocale)
{
    SkinXmlReader reader(String(u"App"));
    ASSERT_EQ(reader.ReadStringTableDocument(kFramework, 0, {0x0407, 7, 9}), KR::kOk);
    EXPECT_EQ(reader.GetLocale(), 7);
    EXPECT_EQ(reader.GetMatchedLocaleCount(), 1);
    ASSERT_EQ(reader.ReadStringTableDocument(kFramework, 0, {0x0804, 4, 9}), KR::kOk);
    EXPECT_EQ(reader.GetLocale(), 9);
}

TEST(StringTableReading, TextsOfOneIdAreJoinedAcrossRunsElementsAndTables)
{
    // An entity splits the text into runs; a second String and a second StringTable of the
    // same ids add to the text; a String without ID files under the previous id.
    constexpr const char* doc = R"(<R>
      <StringTable ID="T"><String ID="A"><Locale LCID="9">one &amp; two</Locale></String></StringTable>
      <StringTable ID="T"><String ID="A"><Locale LCID="9">+three</Locale></String>
        <String><Locale LCID="9">+four</Locale></String></StringTable>
    </R>)";
    SkinXmlReader reader(String(u"App"));
    ASSERT_EQ(reader.ReadStringTableDocument(doc, 0, {9}), KR::kOk);
    EXPECT_EQ(Text(reader, u"T", u"A"), u"one & two+three+four");
}

TEST(StringTableReading, TextsAreUtf16AndElementNamesAreCaseSensitive)
{
    constexpr const char* doc =
        "<R><StringTable ID=\"T\">"
        "<String ID=\"A\"><Locale LCID=\"9\">\xC3\xA9t\xC3\xA9 \xE2\x82\xAC</Locale></String>"
        "<string ID=\"B\"><Locale LCID=\"9\">lower-case element</Locale></string>"
        "</StringTable></R>";
    SkinXmlReader reader(String(u"App"));
    ASSERT_EQ(reader.ReadStringTableDocument(doc, 0, {9}), KR::kOk);
    // "string" is not String: its Locale files under the previous id.
    EXPECT_EQ(Text(reader, u"T", u"B"), u"<none>");
    EXPECT_EQ(Text(reader, u"T", u"A"), u"\u00E9t\u00E9 \u20AClower-case element");
}

TEST(StringTableReading, ATableNamedButWithoutMatchingTextsIsEmptyNotMissing)
{
    constexpr const char* doc = R"(<R><StringTable ID="T"><String ID="A"><Locale LCID="7">x</Locale></String>
      </StringTable></R>)";
    SkinXmlReader reader(String(u"App"));
    ASSERT_EQ(reader.ReadStringTableDocument(doc, 0, {9}), KR::kOk);
    ASSERT_TRUE(reader.GetStringTable(String(u"T")));
    EXPECT_EQ(reader.GetStringTable(String(u"T"))->GetCount(), 0u);
    EXPECT_FALSE(reader.GetStringTable(String(u"U")));
}

TEST(StringTableReading, ATableHandedOutKeepsItsTextsWhicheverSideChangesLater)
{
    constexpr const char* first =
        R"(<R><StringTable ID="T"><String ID="A"><Locale LCID="9">a</Locale></String>
      </StringTable></R>)";
    constexpr const char* second =
        R"(<R><StringTable ID="T"><String ID="B"><Locale LCID="9">b</Locale></String>
      </StringTable></R>)";
    SkinXmlReader reader(String(u"App"));
    ASSERT_EQ(reader.ReadStringTableDocument(first, 0, {9}), KR::kOk);
    const KR::RCPtr<KR::LStringTable> early = reader.GetStringTable(String(u"T"));
    const KR::RCPtr<KR::LStringTable> changed = reader.GetStringTable(String(u"T"));
    ASSERT_TRUE(early && changed);
    EXPECT_EQ(changed->SetString(String(u"A"), String(u"changed")), KR::kNothingDone);
    EXPECT_EQ(changed->SetString(String(u"C"), String(u"c")), KR::kOk);
    // A document read afterwards adds to the stored texts, not to tables already handed out.
    ASSERT_EQ(reader.ReadStringTableDocument(second, 0, {9}), KR::kOk);

    const KR::RCPtr<KR::LStringTable> late = reader.GetStringTable(String(u"T"));
    const struct
    {
        const KR::LStringTable* table;
        const char* name;
        KR::TextMap texts;
    } cases[] = {
        {early.Get(), "early", {{String(u"A"), String(u"a")}}},
        {changed.Get(), "changed", {{String(u"A"), String(u"changed")}, {String(u"C"), String(u"c")}}},
        {late.Get(), "late", {{String(u"A"), String(u"a")}, {String(u"B"), String(u"b")}}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.table->GetTexts(), c.texts) << c.name;
    }
}

TEST(StringTableReading, MalformedDocumentKeepsCodeMessageLineAndEarlierTextsAndFailsNothing)
{
    constexpr const char* doc =
        "<R>\n<StringTable ID=\"T\"><String ID=\"A\"><Locale LCID=\"9\">kept</Locale>\n"
        "</String>\n<String ID=\"B\"><Locale LCID=\"9\">x</String>\n</R>";
    SkinXmlReader reader(String(u"App"));
    EXPECT_EQ(reader.ReadStringTables(doc, 0, nullptr, 0, 0x0009), KR::kOk);
    EXPECT_EQ(reader.GetParseErrorCode(), 7); // mismatched tag
    EXPECT_EQ(reader.GetParseErrorText(), u"mismatched tag");
    EXPECT_EQ(reader.GetParseErrorLine(), 4);
    EXPECT_EQ(Text(reader, u"T", u"A"), u"kept");
    EXPECT_EQ(reader.GetLocale(), 9);
}

} // namespace
