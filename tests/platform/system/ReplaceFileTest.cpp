#include "platform/system/ReplaceFile.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

using KR::TestSupport::FileBytes;
using KR::TestSupport::NamesIn;
using KR::TestSupport::TempFolder;
using KR::TestSupport::WriteBytes;

int gFlushes = 0;

void CountFlush(int)
{
    ++gFlushes;
}

ino_t InodeOf(const std::filesystem::path& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// A file that already holds what is written stays the same file, with nothing flushed;
// anything else is saved as a replacement is, and a file the replacement would refuse is
// refused even when it holds the bytes.
TEST(ReplaceFile, AFileHoldingExactlyTheBytesIsKeptAndEveryOtherIsReplacedOrRefusedAsBefore)
{
    const std::vector<std::uint8_t> stored{'a', '=', '1', '\n'};
    struct Case
    {
        const char* what;
        bool exists;
        bool readOnly;
        bool throughLink;
        std::vector<std::uint8_t> written;
        bool saved;
        bool keptInPlace;
    };
    const Case cases[] = {
        {"the same bytes", true, false, false, stored, true, true},
        {"the same bytes through a link", true, false, true, stored, true, true},
        {"other bytes of the same length", true, false, false, {'a', '=', '2', '\n'}, true, false},
        {"a part of what is stored", true, false, false, {'a', '='}, true, false},
        {"what is stored and more", true, false, false, {'a', '=', '1', '\n', 'b'}, true, false},
        {"nothing over something", true, false, false, {}, true, false},
        {"the same bytes, read-only", true, true, false, stored, false, true},
        {"no file yet", false, false, false, stored, true, false},
    };
    for (const Case& c : cases)
    {
        TempFolder folder;
        const std::filesystem::path file = folder / "settings.ini";
        if (c.exists)
        {
            WriteBytes(file, stored);
        }
        if (c.readOnly)
        {
            std::filesystem::permissions(file, std::filesystem::perms::owner_read);
        }
        const std::filesystem::path target = c.throughLink ? folder / "link.ini" : file;
        if (c.throughLink)
        {
            std::filesystem::create_symlink("settings.ini", target);
        }
        const ino_t before = InodeOf(file);
        gFlushes = 0;
        KR::Platform::SetFileSyncObserver(&CountFlush);
        const bool saved = KR::Platform::ReplaceFileUnlessSame(target.string(), c.written);
        KR::Platform::SetFileSyncObserver(nullptr);
        EXPECT_EQ(saved, c.saved) << c.what;
        EXPECT_EQ(FileBytes(file), c.saved ? c.written : stored) << c.what;
        EXPECT_EQ(InodeOf(file) == before, c.keptInPlace) << c.what;
        EXPECT_EQ(gFlushes, c.saved && !c.keptInPlace ? 2 : 0) << c.what;
        EXPECT_EQ(std::filesystem::is_symlink(target), c.throughLink) << c.what;
        EXPECT_EQ(NamesIn(folder.Path()).size(), c.throughLink ? 2u : 1u) << c.what;
    }
    // The plain replacement still replaces a file holding the same bytes.
    TempFolder folder;
    WriteBytes(folder / "a", stored);
    const ino_t before = InodeOf(folder / "a");
    ASSERT_TRUE(KR::Platform::ReplaceFile((folder / "a").string(), stored));
    EXPECT_NE(InodeOf(folder / "a"), before);
}

} // namespace
