// The start's documents read on a worker thread and taken over by the factory: whatever the
// folder holds, the factory ends with what loading the documents itself would have given.

#include "kr/ui/SkinDocumentsReadAhead.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/SkinDocuments.h"
#include "kr/ui/SkinXmlReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

using namespace KR;

constexpr const char* kStrings = R"(<R><StringTable ID="Framework"><String ID="EDIT_CUT">
    <Locale LCID="1033">Cut here</Locale><Locale LCID="9">Cut</Locale></String></StringTable></R>)";

// A folder of documents; a null text leaves the document out, a text "/" makes it a folder
// (a document that cannot be opened).
class DocumentFolder
{
public:
    DocumentFolder(const char* strings, const char* skins)
        : mPath(std::filesystem::temp_directory_path() /
                ("kr_readahead_" + std::to_string(getpid()) + "_" + std::to_string(sCounter++)))
    {
        std::filesystem::create_directories(mPath);
        Put("FrameworkStrings.xml", strings);
        Put("StringTables.xml", strings);
        Put("Skins.xml", skins);
    }
    ~DocumentFolder() { std::filesystem::remove_all(mPath); }
    String Path() const { return String(mPath.string().c_str()); }

private:
    void Put(const char* name, const char* text)
    {
        if (text == nullptr)
        {
            return;
        }
        if (std::string(text) == "/")
        {
            std::filesystem::create_directories(mPath / name);
            return;
        }
        std::ofstream(mPath / name, std::ios::binary) << text;
    }
    static inline int sCounter = 0;
    std::filesystem::path mPath;
};

struct Outcome
{
    Result result = kOk;
    std::string thrown;
    std::uint32_t roots = 0;
    std::string prefix;
    std::string parseError;
    std::int32_t parseLine = 0;
    std::string handlerError;
    std::string name;
    std::string cut;
};

Outcome Load(LControlFactory& factory, const String& folder)
{
    Outcome outcome;
    try
    {
        outcome.result = factory.LoadStringTablesAndSkins(folder, 9);
    }
    catch (const std::exception& e)
    {
        outcome.thrown = e.what();
    }
    const SkinXmlReader& reader = std::as_const(factory).GetReader();
    outcome.roots = reader.GetSkinRoots().GetCount();
    outcome.prefix = reader.GetImagePathPrefix().ToUtf8().GetPtr();
    outcome.parseError = reader.GetParseErrorText().ToUtf8().GetPtr();
    outcome.parseLine = reader.GetParseErrorLine();
    outcome.handlerError = reader.GetHandlerErrorText();
    outcome.name = reader.GetApplicationName().ToUtf8().GetPtr();
    String text;
    const RCPtr<LStringTable> table = reader.GetStringTable(String(u"Framework"));
    if (table && table->GetString(String(u"EDIT_CUT"), text))
    {
        outcome.cut = text.ToUtf8().GetPtr();
    }
    return outcome;
}

void ExpectSame(const Outcome& ahead, const Outcome& direct)
{
    EXPECT_EQ(ahead.result, direct.result);
    EXPECT_EQ(ahead.thrown, direct.thrown);
    EXPECT_EQ(ahead.roots, direct.roots);
    EXPECT_EQ(ahead.prefix, direct.prefix);
    EXPECT_EQ(ahead.parseError, direct.parseError);
    EXPECT_EQ(ahead.parseLine, direct.parseLine);
    EXPECT_EQ(ahead.handlerError, direct.handlerError);
    EXPECT_EQ(ahead.name, direct.name);
    EXPECT_EQ(ahead.cut, direct.cut);
}

TEST(SkinDocumentsReadAhead, TheFactoryEndsAsIfItHadLoadedTheDocumentsItself)
{
    struct Case
    {
        const char* what;
        const char* strings;
        const char* skins;
        Result expected;
        bool throws;
    };
    const Case cases[] = {
        {"whole documents", kStrings, KRTest::kSampleSkin, kOk, false},
        {"a skin cut short", kStrings, "<R><Skin Name=\"S\"><SubControl", kFail, false},
        {"no skin", kStrings, nullptr, kFail, false},
        {"a skin that cannot be opened", kStrings, "/", kFail, false},
        {"strings that cannot be opened", "/", KRTest::kSampleSkin, kOk, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const DocumentFolder folder(c.strings, c.skins);
        LControlFactory direct(String(u"App"));
        const Outcome expected = Load(direct, folder.Path());
        ASSERT_EQ(expected.result == c.expected || c.throws, true);
        ASSERT_EQ(!expected.thrown.empty(), c.throws);

        LControlFactory factory(String(u"App"));
        factory.SetReadAhead(std::make_unique<SkinDocumentsReadAhead>(String(u"App"), folder.Path(), 9));
        ExpectSame(Load(factory, folder.Path()), expected);
    }
}

TEST(SkinDocumentsReadAhead, AReadForOtherDocumentsIsLetGo)
{
    const DocumentFolder good(kStrings, KRTest::kSampleSkin);
    const DocumentFolder broken(kStrings, "<R>");
    LControlFactory direct(String(u"App"));
    const Outcome brokenOutcome = Load(direct, broken.Path());
    ASSERT_EQ(brokenOutcome.result, kFail);

    struct Case
    {
        const char* what;
        const char* name;
        bool sameFolder;
        std::int32_t language;
    };
    const Case cases[] = {
        {"another name", "Other", true, 9},
        {"another folder", "App", false, 9},
        {"another language", "App", true, 0x0409},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        // What was read ahead differs from the load in the one field.
        LControlFactory factory(String(u"App"));
        factory.SetReadAhead(std::make_unique<SkinDocumentsReadAhead>(
            String(c.name), c.sameFolder ? broken.Path() : good.Path(), c.language));
        ExpectSame(Load(factory, broken.Path()), brokenOutcome);
    }
}

TEST(SkinDocumentsReadAhead, AReaderSetUpBeforeTheLoadReadsForItself)
{
    LControlFactory factory(String(u"App"));
    // Read ahead from the embedded resources, which this program has none of.
    factory.SetReadAhead(std::make_unique<SkinDocumentsReadAhead>(String(u"App"), String(u"::"), 9));
    factory.SetResourceProvider(
        [](const String& name, std::vector<char>& bytes)
        {
            const std::string doc = name == u"APP_SKINS" ? KRTest::kSampleSkin : kStrings;
            bytes.assign(doc.begin(), doc.end());
            return true;
        });
    const Outcome outcome = Load(factory, String(u"::"));
    EXPECT_EQ(outcome.result, kOk);
    EXPECT_EQ(outcome.roots, 1u);
    EXPECT_FALSE(outcome.cut.empty());
}

TEST(SkinDocumentsReadAhead, ItIsTakenOnce)
{
    const DocumentFolder good(kStrings, KRTest::kSampleSkin);
    SkinDocumentsReadAhead ahead(String(u"App"), good.Path(), 9);
    SkinXmlReader first(String(u"App"));
    EXPECT_EQ(ahead.Take(first), kOk);
    EXPECT_EQ(first.GetSkinRoots().GetCount(), 1u);
    SkinXmlReader second(String(u"App"));
    EXPECT_EQ(ahead.Take(second), kFail);
    EXPECT_EQ(second.GetSkinRoots().GetCount(), 0u);
}

} // namespace
