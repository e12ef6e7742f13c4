// Loading documents from files and resources.

#include "kr/ui/SkinDocuments.h"
#include "kr/ui/SkinXmlReader.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

using namespace KR;

class TempXmlFile
{
public:
    explicit TempXmlFile(const std::string& text)
        : mPath(std::filesystem::temp_directory_path() /
                ("kr_ui_" + std::to_string(getpid()) + "_" + std::to_string(sCounter++) + ".xml"))
    {
        std::ofstream(mPath, std::ios::binary) << text;
    }
    ~TempXmlFile() { std::filesystem::remove(mPath); }
    String Path() const { return String(mPath.string().c_str()); }

private:
    static inline int sCounter = 0;
    std::filesystem::path mPath;
};

TEST(XmlDocumentSource, ResourcePathsReadDotsAsUnderscores)
{
    String name;
    EXPECT_TRUE(IsXmlResourcePath(String(u"::APP.SKINS"), name));
    EXPECT_EQ(name, u"APP_SKINS");
    EXPECT_FALSE(IsXmlResourcePath(String(u"/folder/Skins.xml"), name));
}

TEST(XmlDocumentSource, SkinsAreLoadedFromAFile)
{
    TempXmlFile file(KRTest::kSampleSkin);
    SkinXmlReader reader(String(u"App"));
    ASSERT_EQ(reader.LoadSkins(file.Path()), kOk);
    EXPECT_EQ(reader.GetSkinRoots().GetCount(), 1u);
}

// Paths that name no document: nothing, and things that are no regular file (a FIFO
// without a writer would hold a reader that waited on it for good; a device or a /proc
// file would read as an empty or endless document).
class NoDocumentPaths
{
public:
    NoDocumentPaths() : mFifo(TempXmlFile(std::string()).Path())
    {
        const std::string fifo(mFifo.ToUtf8().GetView());
        if (::mkfifo(fifo.c_str(), 0600) != 0)
        {
            ADD_FAILURE() << "no FIFO at " << fifo;
        }
    }
    ~NoDocumentPaths() { std::filesystem::remove(std::string(mFifo.ToUtf8().GetView())); }
    std::vector<String> Paths() const
    {
        return {String(u"/nonexistent/Skins.xml"), mFifo, String(u"/tmp"), String(u"/dev/zero"),
                String(u"/proc/self/status")};
    }

private:
    String mFifo;
};

TEST(XmlDocumentSource, AMissingFileOrResourceFailsTheSkinsAndKeepsTheReason)
{
    SkinXmlReader reader(String(u"App"));
    for (const String& path : NoDocumentPaths().Paths())
    {
        EXPECT_EQ(reader.LoadSkins(path), kFail) << path.ToUtf8().GetPtr();
        EXPECT_FALSE(reader.GetHandlerErrorText().empty());
    }
    EXPECT_EQ(reader.LoadSkins(String(u"::APP_SKINS")), kFail);
    reader.SetResourceProvider([](const String&, std::vector<char>&) { return false; });
    EXPECT_EQ(reader.LoadSkins(String(u"::APP_SKINS")), kFail);
    EXPECT_EQ(reader.GetSkinRoots().GetCount(), 0u);
}

TEST(XmlDocumentSource, StringTablesComeFromResourcesByNameAndPassOverMissingOnes)
{
    SkinXmlReader reader(String(u"App"));
    String asked;
    reader.SetResourceProvider(
        [&](const String& name, std::vector<char>& bytes)
        {
            asked += name + u";";
            if (name == u"FRAMEWORK_STRINGS")
            {
                const std::string doc = R"(<R><StringTable ID="Framework"><String ID="EDIT_CUT">
                    <Locale LCID="9">Cut</Locale></String></StringTable></R>)";
                bytes.assign(doc.begin(), doc.end());
                return true;
            }
            return false;
        });
    ASSERT_EQ(reader.LoadStringTables(String(u"::FRAMEWORK.STRINGS"), String(u"::APP_STRINGS"), 0x0409), kOk);
    EXPECT_EQ(asked, u"FRAMEWORK_STRINGS;APP_STRINGS;");
    String text;
    ASSERT_TRUE(reader.GetStringTable(String(u"Framework")));
    EXPECT_TRUE(reader.GetStringTable(String(u"Framework"))->GetString(String(u"EDIT_CUT"), text));
    EXPECT_EQ(text, u"Cut");
}

TEST(XmlDocumentSource, AStringTableFileThatCannotBeOpenedThrowsToTheCaller)
{
    SkinXmlReader reader(String(u"App"));
    for (const String& path : NoDocumentPaths().Paths())
    {
        EXPECT_THROW(reader.LoadStringTables(path, path, 9), std::runtime_error) << path.ToUtf8().GetPtr();
    }
}

} // namespace
