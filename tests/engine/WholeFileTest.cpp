#include "engine/WholeFile.h"

#include "support/Files.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR::TestSupport;

const std::vector<std::uint8_t> kOld(4000, 0x11);
const std::vector<std::uint8_t> kNew(4494, 0x22);

KR::Result Replace(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    return KR::ReplaceWholeFile(WidePath(path), bytes);
}

TEST(WholeFile, AReplacedFileHoldsExactlyTheNewBytesWithTheOldPermissionsAndNothingBeside)
{
    TempFolder folder;
    const auto target = folder / "preset.bin";
    ASSERT_EQ(Replace(target, kOld), KR::kOk);
    const auto permissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(target, permissions);
    ASSERT_EQ(Replace(target, kNew), KR::kOk);
    EXPECT_EQ(FileBytes(target), kNew);
    EXPECT_EQ(std::filesystem::status(target).permissions(), permissions);
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"preset.bin"});
    ASSERT_EQ(Replace(target, {}), KR::kOk);
    EXPECT_TRUE(FileBytes(target).empty());
}

TEST(WholeFile, AFailedReplaceLeavesWhatWasThereAndNoStrayFile)
{
    TempFolder folder;
    const auto target = folder / "preset.bin";
    WriteBytes(target, kOld);
    {
        const FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.Active());
        EXPECT_EQ(Replace(target, kNew), KR::kFail) << "a write that fails";
    }
    EXPECT_EQ(FileBytes(target), kOld);
    // The target's folder is a plain file, so nothing can be created in it.
    EXPECT_EQ(Replace(target / "preset.bin", kNew), KR::kFail);
    EXPECT_EQ(FileBytes(target), kOld);
    EXPECT_EQ(Replace(folder / "missing" / "preset.bin", kNew), KR::kFail);
    EXPECT_EQ(Replace(std::filesystem::path(), kNew), KR::kFail);
    std::filesystem::create_directories(folder / "folder" / "inside");
    EXPECT_EQ(Replace(folder / "folder", kNew), KR::kFail) << "a target that is a folder";
    EXPECT_TRUE(std::filesystem::is_directory(folder / "folder" / "inside"));
    EXPECT_EQ(NamesIn(folder.Path()), (std::vector<std::string>{"folder", "preset.bin"}));
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
