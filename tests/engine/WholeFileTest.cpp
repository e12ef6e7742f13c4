#include "engine/WholeFile.h"
#include "platform/system/ReplaceFile.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <string>

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

// What each flush of a save found: the file or folder flushed, and the target's bytes
// at that moment.
struct SyncSeen
{
    std::string flushed;
    std::vector<std::uint8_t> target;
};
std::filesystem::path gSyncTarget;
std::vector<SyncSeen> gSyncsSeen;

void RecordSync(int descriptor)
{
    std::string flushed(PATH_MAX, '\0');
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t length = ::readlink(link.c_str(), flushed.data(), flushed.size());
    flushed.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    gSyncsSeen.push_back({flushed, FileBytes(gSyncTarget)});
}

TEST(WholeFile, TheNewFileReachesTheDiskBeforeTheRenameAndTheFolderAfterIt)
{
    TempFolder folder;
    gSyncTarget = std::filesystem::canonical(folder.Path()) / "preset.bin";
    WriteBytes(gSyncTarget, kOld);
    gSyncsSeen.clear();
    KR::Platform::SetFileSyncObserver(&RecordSync);
    const KR::Result result = Replace(gSyncTarget, kNew);
    KR::Platform::SetFileSyncObserver(nullptr);
    ASSERT_EQ(result, KR::kOk);
    ASSERT_EQ(gSyncsSeen.size(), 2u);
    // The new file, flushed while the target still held the old bytes: a crash then
    // leaves the old file, and never an empty one under the target's name.
    EXPECT_EQ(std::filesystem::path(gSyncsSeen[0].flushed).parent_path(), gSyncTarget.parent_path());
    EXPECT_NE(gSyncsSeen[0].flushed, gSyncTarget.string());
    EXPECT_EQ(gSyncsSeen[0].target, kOld);
    EXPECT_EQ(gSyncsSeen[1].flushed, gSyncTarget.parent_path().string());
    EXPECT_EQ(gSyncsSeen[1].target, kNew);
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
