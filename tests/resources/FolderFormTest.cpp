// The folder form of the resources, which a program started with KR_RESOURCE_FOLDER reads
// in place of the embedded documents, and the language choice over both: the same
// descriptors and texts, and every text English except the two start-up texts, which
// come in the user's language where the framework has them.

#include "kr/ui/ControlFactory.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>

namespace
{

using KR::String;

// The folder the build lays out, given to the test the way a person gives it to the
// program.
String ResourceFolder()
{
    const char* folder = std::getenv("KR_RESOURCE_FOLDER");
    return String(folder == nullptr ? "" : folder);
}

using KR::TestSupport::Utf8;

// One line per descriptor: its path, class, place and shown state; and per skin font.
void DumpTree(const KR::LControlDescriptor& descriptor, const std::string& path, std::ostringstream& out)
{
    const std::string here = path + "/" + Utf8(descriptor.GetName());
    out << here << " " << Utf8(descriptor.GetClass());
    if (const auto& layout = descriptor.GetLayout())
    {
        out << " x" << layout->xPosition.absolute << " y" << layout->yPosition.absolute << " w"
            << layout->xSize.absolute << " h" << layout->ySize.absolute << " v" << layout->visible << " o"
            << layout->layoutOrder;
    }
    out << "\n";
    const auto& children = descriptor.GetChildren();
    for (std::size_t i = 0; i < children.GetCount(); ++i)
    {
        DumpTree(*children.GetAt(i), here, out);
    }
}

std::string DumpSkins(const KR::LControlFactory& factory)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < factory.GetReader().GetSkinRoots().GetCount(); ++i)
    {
        DumpTree(*factory.GetReader().GetSkinRoots().GetAt(i), "", out);
    }
    return out.str();
}

// Loads as the program does: "::" names the embedded documents, a folder its three files.
void Load(KR::LControlFactory& factory, const String& folder, std::int32_t languageId)
{
    if (folder == u"::")
    {
        factory.SetImagePathPrefix(String(u"::"));
        ASSERT_EQ(
            factory.LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), languageId),
            KR::kOk);
        ASSERT_EQ(factory.LoadSkins(String(u"::APP_SKINS")), KR::kOk);
        return;
    }
    const String prefix = folder + String(u"/");
    factory.SetImagePathPrefix(prefix);
    ASSERT_EQ(factory.LoadStringTables(prefix + String(u"FrameworkStrings.xml"),
                                       prefix + String(u"StringTables.xml"), languageId),
              KR::kOk);
    ASSERT_EQ(factory.LoadSkins(prefix + String(u"Skins.xml")), KR::kOk);
}

TEST(FolderForm, GivesTheEmbeddedDescriptorsAndTables)
{
    ASSERT_FALSE(ResourceFolder().IsEmpty()) << "the test runs with KR_RESOURCE_FOLDER set";
    KR::LControlFactory embedded{String(u"PresetEditor")};
    KR::LControlFactory folder{String(u"PresetEditor")};
    Load(embedded, String(u"::"), 0x0409);
    Load(folder, ResourceFolder(), 0x0409);
    EXPECT_EQ(DumpSkins(folder), DumpSkins(embedded));
    EXPECT_EQ(folder.GetReader().GetStringTables().GetAll(), embedded.GetReader().GetStringTables().GetAll());
    EXPECT_FALSE(embedded.GetReader().GetStringTables().IsEmpty());
}

struct LocaleCase
{
    std::int32_t languageId;
    const char16_t* startupError;
    const char16_t* startupCaption;
};

void PrintTo(const LocaleCase& c, std::ostream* out)
{
    *out << "language " << std::hex << c.languageId;
}

class Locales : public testing::TestWithParam<LocaleCase>
{
};

TEST_P(Locales, EveryTextIsEnglishButTheStartUpTexts)
{
    const LocaleCase& c = GetParam();
    KR::LControlFactory english{String(u"PresetEditor")};
    Load(english, String(u"::"), 0x0409);
    for (const String& source : {String(u"::"), ResourceFolder()})
    {
        KR::LControlFactory factory{String(u"PresetEditor")};
        Load(factory, source, c.languageId);
        auto expected = english.GetReader().GetStringTables().GetAll();
        expected[String(u"Framework")][String(u"STARTUP_ERROR")] = String(c.startupError);
        expected[String(u"Framework")][String(u"STARTUP_ERROR_CAPTION")] = String(c.startupCaption);
        EXPECT_TRUE(factory.GetReader().GetStringTables().GetAll() == expected) << Utf8(source);
    }
}

constexpr char16_t kEnglishError[] =
    u"The application encountered problems during startup and will now close.";

INSTANTIATE_TEST_SUITE_P(UserLanguages, Locales,
                         testing::Values(LocaleCase{0x0409, kEnglishError, u"Error"},
                                         LocaleCase{
                                             0x0407,
                                             u"Beim Starten der Anwendung sind Probleme aufgetreten. Sie "
                                             u"wird jetzt beendet.",
                                             u"Fehler"},
                                         LocaleCase{0x0425, kEnglishError, u"Error"}),
                         [](const testing::TestParamInfo<LocaleCase>& info)
                         {
                             char name[16];
                             std::snprintf(name, sizeof name, "Language%04X", info.param.languageId);
                             return std::string(name);
                         });

// Estonian texts exist for one label only, and the application document is read at the
// locale where the framework found texts: so the program never shows it, but a reader
// asked for 0x25 directly finds it.
TEST(Locales, TheScaleLabelHasItsOwnTextUnderLocale0x25)
{
    KR::LControlFactory factory{String(u"PresetEditor")};
    KR::SkinXmlReader& reader = factory.GetReader();
    std::vector<char> bytes;
    ASSERT_EQ(KR::ReadXmlDocumentFile(ResourceFolder() + String(u"/StringTables.xml"), bytes), KR::kOk);
    reader.SetStringTableMode(true);
    ASSERT_EQ(reader.ReadStringTableDocument(bytes.data(), bytes.size(), {0x25}), KR::kOk);
    const auto table =
        reader.GetStringTable(String(u"PresetEditor.Control.LabeledNoteScaleSelector|controlNameLabel"));
    ASSERT_TRUE(table);
    String text;
    EXPECT_TRUE(table->GetString(String(u"LABEL"), text));
    EXPECT_EQ(text, u"SCALE LOCK");
}

} // namespace
