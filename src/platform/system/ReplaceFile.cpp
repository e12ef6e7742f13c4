#include "platform/system/ReplaceFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <vector>

namespace KR::Platform
{
namespace
{

std::atomic<FileSyncObserver> gSyncObserver{nullptr};

class Descriptor
{
public:
    explicit Descriptor(int descriptor) : mDescriptor(descriptor) {}
    ~Descriptor()
    {
        if (mDescriptor >= 0)
        {
            ::close(mDescriptor);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return mDescriptor; }
    // Closes now, so that a failing close (a write the kernel could not finish) is seen.
    bool Close()
    {
        const int descriptor = mDescriptor;
        mDescriptor = -1;
        return ::close(descriptor) == 0;
    }

private:
    int mDescriptor;
};

bool Sync(int descriptor)
{
    if (const FileSyncObserver observer = gSyncObserver.load())
    {
        observer(descriptor);
    }
    return ::fsync(descriptor) == 0;
}

bool WriteAll(int descriptor, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty())
    {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
        {
            continue;
        }
        if (written <= 0)
        {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
    {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path finally names. Users who keep a file elsewhere (under version
// control, say) link to it; the link must stay a link, so the file it leads to is the
// one replaced. A relative link is read from the link's own folder; a chain is followed
// as far as the kernel would follow it.
std::string FollowLinks(std::string path)
{
    constexpr int kMaxLinks = 40;
    for (int followed = 0; followed < kMaxLinks; ++followed)
    {
        struct stat info = {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        {
            break;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
        {
            break;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

// A new, empty file in `folder` that no one else has, opened exclusively. Its name has
// a fixed length whatever the target's: a name built from the target's would not fit
// where the target's name is near the file system's limit.
int CreateSiblingFile(const std::string& folder, mode_t mode, std::string& created)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 16; ++attempt)
    {
        char name[32];
        std::snprintf(name, sizeof name, ".kr-save-%012llx",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        created = folder + "/" + name;
        int descriptor = -1;
        do
        {
            descriptor = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        } while (descriptor < 0 && errno == EINTR);
        if (descriptor >= 0 || errno != EEXIST)
        {
            return descriptor;
        }
    }
    return -1;
}

// True when the regular file holds exactly `bytes`.
bool HoldsExactly(const std::string& path, std::span<const std::uint8_t> bytes)
{
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (file.Get() < 0)
    {
        return false;
    }
    std::vector<std::uint8_t> held(bytes.size() + 1);
    std::size_t filled = 0;
    while (filled < held.size())
    {
        const ssize_t got = ::read(file.Get(), held.data() + filled, held.size() - filled);
        if (got < 0 && errno == EINTR)
        {
            continue;
        }
        if (got <= 0)
        {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled == bytes.size() && std::equal(bytes.begin(), bytes.end(), held.begin());
}

bool Replace(const std::string& linkOrFile, std::span<const std::uint8_t> bytes, bool keepSame)
{
    if (linkOrFile.empty() || linkOrFile.back() == '/')
    {
        return false;
    }
    const std::string path = FollowLinks(linkOrFile);
    // A new file gets what the user's umask leaves of read and write for all.
    mode_t mode = 0666;
    bool existed = false;
    struct stat existing = {};
    if (::stat(path.c_str(), &existing) == 0)
    {
        // Root may write anything, so the owner's write permission is what tells that
        // the user made the file read-only.
        if (!S_ISREG(existing.st_mode) || (existing.st_mode & S_IWUSR) == 0 ||
            ::access(path.c_str(), W_OK) != 0)
        {
            return false;
        }
        mode = existing.st_mode & 07777;
        existed = true;
    }
    else if (errno != ENOENT)
    {
        return false;
    }

    // The same for a folder the user made read-only: root could still save into it.
    struct stat folderInfo = {};
    if (::stat(FolderOf(path).c_str(), &folderInfo) != 0 || (folderInfo.st_mode & S_IWUSR) == 0)
    {
        return false;
    }
    if (keepSame && existed && static_cast<std::uint64_t>(existing.st_size) == bytes.size() &&
        HoldsExactly(path, bytes))
    {
        return true;
    }

    std::string temporary;
    Descriptor file(CreateSiblingFile(FolderOf(path), mode, temporary));
    if (file.Get() < 0)
    {
        return false;
    }
    // The open's mode went through the umask; the old file's own mode is set as it was.
    const bool written = (!existed || ::fchmod(file.Get(), mode) == 0) && WriteAll(file.Get(), bytes) &&
                         Sync(file.Get()) && file.Close();
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0)
    {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename reaches the disk with the folder's entry. A failure here leaves a
    // complete file, old or new, so it is not reported.
    Descriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
    {
        Sync(folder.Get());
    }
    return true;
}

} // namespace

bool ReplaceFile(const std::string& linkOrFile, std::span<const std::uint8_t> bytes)
{
    return Replace(linkOrFile, bytes, false);
}

bool ReplaceFileUnlessSame(const std::string& linkOrFile, std::span<const std::uint8_t> bytes)
{
    return Replace(linkOrFile, bytes, true);
}

void SetFileSyncObserver(FileSyncObserver observer)
{
    gSyncObserver.store(observer);
}

} // namespace KR::Platform
