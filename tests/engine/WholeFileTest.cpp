#include "engine/WholeFile.h"

#include "FileTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using support::FileBytes;
using support::FileSizeLimit;
using support::TempFolder;
using support::WidePath;
using support::WriteBytes;

const std::vector<std::uint8_t> kOld(4000, 0x11);
const std::vector<std::uint8_t> kNew(4494, 0x22);

KR::Result Replace(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    return KR::ReplaceWholeFile(WidePath(path), bytes);
}

TEST(WholeFile, AReplacedFileHoldsExactlyTheNewBytesAndNothingIsLeftBeside)
{
    TempFolder folder;
    const auto target = folder / "preset.bin";
    ASSERT_EQ(Replace(target, kOld), KR::kOk);
    ASSERT_EQ(Replace(target, kNew), KR::kOk);
    EXPECT_EQ(FileBytes(target), kNew);
    EXPECT_EQ(support::NamesIn(folder.Path()), std::vector<std::string>{"preset.bin"});
    ASSERT_EQ(Replace(target, {}), KR::kOk);
    EXPECT_TRUE(FileBytes(target).empty());
}

TEST(WholeFile, AReplacedFileKeepsThePermissionsOfTheOldOne)
{
    TempFolder folder;
    const auto target = folder / "preset.bin";
    WriteBytes(target, kOld);
    std::filesystem::permissions(target,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(Replace(target, kNew), KR::kOk);
    EXPECT_EQ(std::filesystem::status(target).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(WholeFile, AWriteThatFailsLeavesTheOldFileAsItWas)
{
    TempFolder folder;
    const auto target = folder / "preset.bin";
    WriteBytes(target, kOld);
    {
        const FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.Active());
        EXPECT_EQ(Replace(target, kNew), KR::kFail);
    }
    EXPECT_EQ(FileBytes(target), kOld);
    EXPECT_EQ(support::NamesIn(folder.Path()), std::vector<std::string>{"preset.bin"});
}

TEST(WholeFile, AFolderThatCannotHoldFilesFailsTheSave)
{
    TempFolder folder;
    // The target's folder is a plain file, so nothing can be created in it.
    WriteBytes(folder / "notafolder", kOld);
    EXPECT_EQ(Replace(folder / "notafolder" / "preset.bin", kNew), KR::kFail);
    EXPECT_EQ(FileBytes(folder / "notafolder"), kOld);
    EXPECT_EQ(Replace(folder / "missing" / "preset.bin", kNew), KR::kFail);
    EXPECT_EQ(Replace(std::filesystem::path(), kNew), KR::kFail);
}

TEST(WholeFile, ATargetThatIsAFolderIsLeftAlone)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "preset.bin" / "inside");
    EXPECT_EQ(Replace(folder / "preset.bin", kNew), KR::kFail);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "preset.bin" / "inside"));
    EXPECT_EQ(support::NamesIn(folder.Path()), std::vector<std::string>{"preset.bin"});
}

TEST(WholeFile, ReadingTakesFilesUpToTheLimitAndRefusesLongerOrMissingOnes)
{
    TempFolder folder;
    std::vector<std::uint8_t> bytes{9};
    EXPECT_EQ(KR::ReadWholeFile(WidePath(folder / "missing"), 100, bytes), KR::kFail);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(KR::ReadWholeFile(WidePath(folder.Path()), 100, bytes), KR::kFail) << "a folder";

    WriteBytes(folder / "a", kNew);
    EXPECT_EQ(KR::ReadWholeFile(WidePath(folder / "a"), 4494, bytes), KR::kOk);
    EXPECT_EQ(bytes, kNew);
    EXPECT_EQ(KR::ReadWholeFile(WidePath(folder / "a"), 4493, bytes), KR::kFail);
    EXPECT_TRUE(bytes.empty());

    WriteBytes(folder / "empty", {});
    bytes = {1};
    EXPECT_EQ(KR::ReadWholeFile(WidePath(folder / "empty"), 100, bytes), KR::kOk);
    EXPECT_TRUE(bytes.empty());
}

} // namespace
