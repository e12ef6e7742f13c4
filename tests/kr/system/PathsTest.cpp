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

TEST_F(PathsTest, FoldersAreMadeOnceAndNeverOverOrBelowAFile)
{
    constexpr auto kFail = static_cast<KR::Result>(0x80004005);
    Touch(folder_ / "plain");
    const struct
    {
        const char* path;
        KR::Result result;
    } cases[] = {
        {"Company/Product/1_0_0", 0}, {"Company/Product/1_0_0", 1}, {"plain", kFail}, {"plain/below", kFail}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(KR::EnsureDirectoryExists(folder_.Text(c.path)), c.result) << c.path;
    }
    EXPECT_TRUE(fs::is_regular_file(folder_ / "plain"));

    EXPECT_TRUE(KR::CreateDirectoryTree(folder_.Text("a/b/file.ini"), true));
    EXPECT_TRUE(fs::is_directory(folder_ / "a/b"));
    EXPECT_FALSE(fs::exists(folder_ / "a/b/file.ini"));
    EXPECT_TRUE(KR::CreateDirectoryTree(u"bare-name.ini", true));

    EXPECT_TRUE(KR::FileExists(folder_.Text("plain")));
    EXPECT_FALSE(KR::FileExists(folder_.Text("a")));
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
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"/home/user/preset.bin", u"/home/user"}, {u"/preset.bin", u"/"}, {u"/", u"/"},
        {u"relative/name", u"relative"},           {u"name", u""},         {u"/home/user/", u"/home/user"}};
    for (std::size_t row = 0; row < std::size(cases); ++row)
    {
        EXPECT_EQ(KR::GetParentPath(cases[row].first), String(cases[row].second)) << "row " << row;
    }
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
