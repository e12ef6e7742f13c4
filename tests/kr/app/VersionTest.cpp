#include "kr/app/Version.h"
#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

using KR::String;
using KR::Version;

std::span<const unsigned char> Bytes(const char* text)
{
    return {reinterpret_cast<const unsigned char*>(text), std::strlen(text)};
}

using KR::TestSupport::Utf8;

constexpr const char* kTwoLanguages = "[VarFileInfo]\n"
                                      "Translation=0407 04b0 0409 04b0\n"
                                      "[StringFileInfo\\040704b0]\n"
                                      "ProductName=Vorgabe\n"
                                      "[StringFileInfo\\040904b0]\r\n"
                                      "ProductName=Preset\r\n";

TEST(Version, TranslationByUserThenSystemThenEnglishThenFirst)
{
    struct Case
    {
        const char* block;
        std::uint16_t user;
        std::uint16_t system;
        std::uint16_t chosen;
        const char* product;
    };
    const char* withoutEnglish =
        "[VarFileInfo]\nTranslation=040c 04e4 0407 04b0\n[StringFileInfo\\040C04E4]\n"
        "ProductName=Preset FR\n";
    const char* spanish =
        "[VarFileInfo]\nTranslation=0c0a 04e4\n[StringFileInfo\\0C0A04E4]\nProductName=Ajuste\n";
    const Case cases[] = {
        {kTwoLanguages, 0x0809, 0x0407, 0x0409, "Preset"},     // same primary language as en-GB
        {kTwoLanguages, 0x0411, 0x0407, 0x0407, "Vorgabe"},    // the system's language
        {kTwoLanguages, 0x0411, 0x040C, 0x0409, "Preset"},     // neither: English
        {withoutEnglish, 0x0411, 0x0411, 0x040C, "Preset FR"}, // no English: the first
        {spanish, 0x0409, 0x0409, 0x0C0A, "Ajuste"},           // section names in either case
    };
    for (const Case& c : cases)
    {
        const Version version(Bytes(c.block), c.user, c.system);
        EXPECT_EQ(version.GetLanguage(), c.chosen) << c.block;
        EXPECT_EQ(Utf8(version.GetProductName()), c.product) << c.block;
        EXPECT_EQ(Utf8(version.GetCompanyName()), "") << c.block; // no such key: empty
    }
    EXPECT_EQ(Version::QueryPath(0x0C0A, 0x04E4, "CompanyName"), "\\StringFileInfo\\0c0a04e4\\CompanyName");
    EXPECT_EQ(Version::QueryPath(0, 0x04B0, "X"), "\\StringFileInfo\\000004b0\\X");
}

TEST(Version, AnEmptyTranslationListAnswersEmptyTexts)
{
    const Version version(Bytes("[VarFileInfo]\nTranslation=\n[StringFileInfo\\000004b0]\nProductName=P\n"),
                          0, 0);
    EXPECT_EQ(Utf8(version.GetProductName()), "");
}

TEST(Version, TheProgramsOwnBlockIsRead)
{
    const Version version;
    EXPECT_EQ(Utf8(version.GetCompanyName()), "Test Company");
    EXPECT_EQ(Utf8(version.GetProductName()), "Test Product");
    EXPECT_EQ(Utf8(version.GetProductVersion()), "1.2.3");
    EXPECT_EQ(version.GetLanguage(), 0); // neutral, chosen as the only entry
}

std::string ErrorOf(const char* block)
{
    try
    {
        const Version version(Bytes(block), 0x0409, 0x0409);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "no error";
}

TEST(Version, BlocksThatCannotBeReadThrowTheirErrorId)
{
    const std::string tail = " : KR::Version::Version : krframework\\application\\Version : Line ";
    const std::string startup = "Runtime Error : The application encountered problems during startup and "
                                "will now close.  (Error code = ";
    const std::pair<const char*, std::string> cases[] = {
        {"", startup + "902)" + tail + "143"},
        {"[VarFileInfo]\nTranslation=0409 \xff\n", startup + "901)" + tail + "133"},
        {"[VarFileInfo]\nTranslation=409 04b0\n", startup + "901)" + tail + "133"},
        {"[VarFileInfo]\nTranslation=0409\n", startup + "901)" + tail + "133"},
        {"[VarFileInfo\nTranslation=0409 04b0\n", startup + "901)" + tail + "133"},
        {"[StringFileInfo\\040904b0]\nProductName=P\n", startup + "900)" + tail + "128"},
    };
    for (const auto& [block, text] : cases)
    {
        EXPECT_EQ(ErrorOf(block), text) << block;
    }

    // With an application whose framework table holds the text, the table's text is used.
    KR::LFrameworkApp app(u"Test");
    app.GetControlFactory()->SetResourceProvider(
        [](const String& name, std::vector<char>& bytes)
        {
            const char* text = name == u"FW"
                                   ? "<Tarsil_StringTable_Definitions><StringTable ID=\"Framework\">"
                                     "<String ID=\"EXCEPTION_ID\"><Locale LCID=\"9\">Error ID %d.  %s "
                                     "%d</Locale></String></StringTable></Tarsil_StringTable_Definitions>"
                                   : "<none/>";
            bytes.assign(text, text + std::strlen(text));
            return true;
        });
    ASSERT_EQ(app.GetControlFactory()->LoadStringTables(String(u"::FW"), String(u"::NONE"), 0x0409), KR::kOk);
    // Only the first "%d" is the id; the rest of the text is taken as it stands.
    EXPECT_EQ(ErrorOf(""), "Runtime Error : Error ID 902.  %s %d" + tail + "143");
}

} // namespace
