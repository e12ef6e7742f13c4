#include "kr/system/File.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using KR::File;

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The text of the runtime error that action throws, or "" when it throws none.
template <typename Action>
std::string RuntimeErrorOf(Action action)
{
    try
    {
        action();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return std::string();
}

class FileTest : public ::testing::Test
{
protected:
    KR::TestSupport::TempFolder folder_;
};

TEST_F(FileTest, RefusedOpensAndWritesThrowTheirTextAndLeaveTheFileAlone)
{
    const std::string kOpen = "Runtime Error : open : KR::File::Open : Utilities\\Storage\\KRFile : Line 422";
    WriteText(folder_ / "taken.bin", "kept");
    File readOnly(folder_.Text(), u"taken.bin", File::kRead);
    struct Case
    {
        const char* what;
        std::function<void()> action;
        std::string text;
    };
    const Case cases[] = {
        {"empty path", [] { File file(KR::String(), KR::String(), File::kRead); },
         "Runtime Error : invalid pathname : KR::File::Open : Utilities\\Storage\\KRFile : Line 294"},
        {"missing file", [this] { File file(folder_.Text(), u"missing.bin", File::kRead); }, kOpen},
        {"exclusive create of a file that exists",
         [this]
         { File file(folder_.Text(), u"taken.bin", File::kCreate | File::kExclusive | File::kReadWrite); },
         kOpen},
        {"write to a read-only file", [&readOnly] { readOnly.Write("changed", 7, 0); },
         "Runtime Error : file is read only : KR::File::Write : Utilities\\Storage\\KRFile : Line 598"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(RuntimeErrorOf(c.action), c.text) << c.what;
    }
    EXPECT_FALSE(fs::exists(folder_ / "missing.bin"));
    EXPECT_EQ(KR::TestSupport::FileBytes(folder_ / "taken.bin"),
              (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
    // Without kCreate the exclusive bit means nothing.
    File file(folder_.Text(), u"taken.bin", File::kExclusive);
    EXPECT_EQ(file.GetLength(), 4u);
}

TEST_F(FileTest, CreatedFileIsWrittenAndReadAtPositions)
{
    File file(folder_.Text(), u"data.bin", File::kCreate | File::kReadWrite);
    EXPECT_EQ(file.GetPath(), folder_.Text("data.bin"));
    EXPECT_EQ(file.GetName(), KR::String(u"data.bin"));
    EXPECT_EQ(file.Write("0123456789", 10, 0), 10);
    EXPECT_EQ(file.Write("AB", 2, 4), 2);
    EXPECT_EQ(file.GetLength(), 10u);

    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 3, 0), 3);
    EXPECT_EQ(std::string(buffer, 3), "012");
    EXPECT_EQ(file.Read(buffer, 3, File::kCurrentPosition), 3);
    EXPECT_EQ(std::string(buffer, 3), "3AB");
    EXPECT_EQ(file.Read(buffer, 16, 8), 2);
    EXPECT_EQ(file.Read(buffer, 16, File::kCurrentPosition), 0);

    EXPECT_EQ(file.Seek(-3, 2), 7);
    EXPECT_EQ(file.Seek(1, 1), 8);
    EXPECT_EQ(file.Seek(0, 7), -1);
    EXPECT_EQ(file.Seek(-1, 0), -1);
}

TEST_F(FileTest, WholePathMayComeAsDirectoryOrAsNameAndOpenOnAnOpenFileChangesNothing)
{
    WriteText(folder_ / "skin.xml", "<Skins/>");
    WriteText(folder_ / "b.bin", "bb");
    File byDirectory(folder_.Text("skin.xml"), KR::String(), File::kRead);
    File byName(KR::String(), folder_.Text("skin.xml"), File::kRead);
    EXPECT_EQ(byDirectory.GetLength(), 8u);
    EXPECT_EQ(byDirectory.GetPath(), byName.GetPath());

    EXPECT_EQ(byName.Open(folder_.Text(), u"b.bin", File::kRead), 1);
    EXPECT_EQ(byName.GetLength(), 8u);
    EXPECT_EQ(byName.Close(), 0);
    EXPECT_EQ(byName.Open(folder_.Text(), u"b.bin", File::kRead), 0);
    EXPECT_EQ(byName.GetLength(), 2u);
}

TEST_F(FileTest, DeleteOnCloseRemovesTheFileWhenItsLastHolderCloses)
{
    auto* original =
        new File(folder_.Text(), u"scratch.bin", File::kCreate | File::kReadWrite | File::kDeleteOnClose);
    File copy(*original);
    EXPECT_EQ(original->Close(), 0);
    EXPECT_TRUE(original->IsOpen());
    delete original;

    // The copy still uses the shared descriptor.
    EXPECT_TRUE(fs::exists(folder_ / "scratch.bin"));
    EXPECT_EQ(copy.Write("xyz", 3, 0), 3);
    EXPECT_EQ(copy.GetLength(), 3u);

    EXPECT_EQ(copy.Close(), 0);
    EXPECT_FALSE(copy.IsOpen());
    EXPECT_FALSE(fs::exists(folder_ / "scratch.bin"));
}

TEST_F(FileTest, ClosedFileReportsFailuresInsteadOfUsingAStaleDescriptor)
{
    File file(folder_.Text(), u"closed.bin", File::kCreate | File::kReadWrite);
    file.Close();
    char byte = 0;
    EXPECT_EQ(RuntimeErrorOf([&] { file.Read(&byte, 1, File::kCurrentPosition); }),
              "Runtime Error : read : KR::File::Read : Utilities\\Storage\\KRFile : Line 503");
    EXPECT_EQ(RuntimeErrorOf([&] { file.Write(&byte, 1, 0); }),
              "Runtime Error : lseek : KR::File::Write : Utilities\\Storage\\KRFile : Line 607");
    EXPECT_EQ(RuntimeErrorOf([&] { file.GetLength(); }),
              "Runtime Error : fstat : KR::File::GetLength : Utilities\\Storage\\KRFile : Line 113");
    EXPECT_EQ(file.Seek(0, 0), -1);
}

} // namespace
