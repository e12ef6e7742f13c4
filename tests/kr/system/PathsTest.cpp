#include "kr/system/Paths.h"

#include "kr/core/Array.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

namespace fs = std::filesystem;
using KR::String;

void Touch(const fs::path& path)
{
    std::ofstream(path) << "x";
}

class PathsTest : public ::testing::Test
{
protected:
    KR::TestSupport::TempFolder folder_;
};

TEST_F(PathsTest, EnsureDirectoryExistsCreatesTheChainThenReportsItExists)
{
    const String nested = folder_.Text("Company/Product/1_0_0");
    EXPECT_EQ(KR::EnsureDirectoryExists(nested), 0);
    EXPECT_TRUE(fs::is_directory(folder_ / "Company/Product/1_0_0"));
    EXPECT_EQ(KR::EnsureDirectoryExists(nested), 1);
}

TEST_F(PathsTest, EnsureDirectoryExistsOnAFileFailsAndCreatesNothing)
{
    Touch(folder_ / "plain");
    EXPECT_EQ(KR::EnsureDirectoryExists(folder_.Text("plain")), static_cast<KR::Result>(0x80004005));
    EXPECT_TRUE(fs::is_regular_file(folder_ / "plain"));
    // A folder below a file cannot be made.
    EXPECT_EQ(KR::EnsureDirectoryExists(folder_.Text("plain/below")), static_cast<KR::Result>(0x80004005));
}

TEST_F(PathsTest, CreateDirectoryTreeForAFileMakesOnlyItsFolders)
{
    EXPECT_TRUE(KR::CreateDirectoryTree(folder_.Text("a/b/file.ini"), true));
    EXPECT_TRUE(fs::is_directory(folder_ / "a/b"));
    EXPECT_FALSE(fs::exists(folder_ / "a/b/file.ini"));
    EXPECT_TRUE(KR::CreateDirectoryTree(u"bare-name.ini", true));
}

TEST_F(PathsTest, FileExistsOnlyForThingsThatAreNotFolders)
{
    Touch(folder_ / "file");
    EXPECT_TRUE(KR::FileExists(folder_.Text("file")));
    EXPECT_FALSE(KR::FileExists(folder_.Text()));
    EXPECT_FALSE(KR::FileExists(folder_.Text("missing")));
}

TEST_F(PathsTest, ListFilesGivesFullPathsOfMatchingFilesOnly)
{
    Touch(folder_ / "b.ttf");
    Touch(folder_ / "A.TTF");
    Touch(folder_ / "c.ttc");
    fs::create_directory(folder_ / "folder.ttf");
    KR::Array<String> files;
    files.AddItem(u"stale");

    EXPECT_EQ(KR::ListFiles(folder_.Text(), u"*.ttf", files), 2);
    ASSERT_EQ(files.GetCount(), 2u);
    EXPECT_EQ(files[0], folder_.Text("A.TTF"));
    EXPECT_EQ(files[1], folder_.Text("b.ttf"));

    EXPECT_EQ(KR::ListFiles(folder_.Text(), u"*.otf", files), 0);
    EXPECT_EQ(files.GetCount(), 0u);
}

TEST_F(PathsTest, ListFilesOfAMissingFolderIsNotImplementedAndEmptiesTheList)
{
    KR::Array<String> files;
    files.AddItem(u"stale");
    EXPECT_EQ(KR::ListFiles(folder_.Text("missing"), u"*", files), static_cast<KR::Result>(0x80004001));
    EXPECT_EQ(files.GetCount(), 0u);
}

TEST(PathUtilitiesTest, MakeValidFileNameReplacesEveryReservedCharacter)
{
    EXPECT_EQ(KR::MakeValidFileName(u"a\\b/c:d*e?f\"g<h>i|j&k;l,m^n(o)p"),
              String(u"a_b_c_d_e_f_g_h_i_j_k_l_m_n_o_p"));
    EXPECT_EQ(KR::MakeValidFileName(u"Vantor Keys 49"), String(u"Vantor Keys 49"));
}

TEST(PathUtilitiesTest, GetParentPathDropsTheLastComponent)
{
    EXPECT_EQ(KR::GetParentPath(u"/home/user/preset.bin"), String(u"/home/user"));
    EXPECT_EQ(KR::GetParentPath(u"/preset.bin"), String(u"/"));
    EXPECT_EQ(KR::GetParentPath(u"/"), String(u"/"));
    EXPECT_EQ(KR::GetParentPath(u"relative/name"), String(u"relative"));
    EXPECT_EQ(KR::GetParentPath(u"name"), String());
    EXPECT_EQ(KR::GetParentPath(u"/home/user/"), String(u"/home/user"));
}

TEST_F(PathsTest, GetLongPathNameResolvesExistingPathsAndKeepsMissingOnes)
{
    fs::create_directory(folder_ / "sub");
    Touch(folder_ / "sub/file");
    const String canonical((fs::canonical(folder_.Path()) / "sub/file").string().c_str());
    EXPECT_EQ(KR::GetLongPathName(folder_.Text("sub/../sub/./file")), canonical);
    EXPECT_EQ(KR::GetLongPathName(u"/no/such/path"), String(u"/no/such/path"));
}

} // namespace
