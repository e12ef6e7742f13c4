#include "libs/inifile/AtomicFile.h"

#include "platform/system/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IniFile
{
namespace
{

// Closes a descriptor on every way out of a function.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
        {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    // Closes now, so that a failing close (a write the kernel could not finish) is seen.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty())
    {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
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

// The file a path finally names. Users who keep their settings elsewhere (under
// version control, say) link to them; the link must stay a link, so the file it leads
// to is the one replaced. A relative link is read from the link's own folder; a chain
// is followed as far as the kernel would follow it.
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

} // namespace

ReadStatus ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& contents)
{
    // Anything but a regular file is refused without waiting on it: a FIFO would
    // otherwise hold the open, and with it the library's lock, for good.
    FileDescriptor file(KR::Platform::OpenFile(path, KR::Platform::FileOpenMode{}));
    if (file.Get() < 0)
    {
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    }
    struct stat info = {};
    if (::fstat(file.Get(), &info) != 0)
    {
        return ReadStatus::Failed;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
    {
        return ReadStatus::TooLarge;
    }
    // Read up to one byte past the bound, in case the file grew after fstat.
    contents.assign(maxBytes + 1, '\0');
    std::size_t filled = 0;
    while (filled < contents.size())
    {
        const ssize_t got = ::read(file.Get(), contents.data() + filled, contents.size() - filled);
        if (got < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return ReadStatus::Failed;
        }
        if (got == 0)
        {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled > maxBytes)
    {
        return ReadStatus::TooLarge;
    }
    contents.resize(filled);
    return ReadStatus::Ok;
}

bool WriteFileAtomically(const std::string& linkOrFile, std::string_view contents)
{
    const std::string path = FollowLinks(linkOrFile);
    // Keep the permissions of the file being replaced; a new file is readable by all.
    mode_t mode = 0644;
    struct stat existing = {};
    if (::stat(path.c_str(), &existing) == 0)
    {
        mode = existing.st_mode & 07777;
    }

    std::string temporary = path + ".tmp-XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0)
    {
        return false;
    }
    const bool written = ::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), contents) &&
                         ::fsync(file.Get()) == 0 && file.Close();
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0)
    {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder's entry; a failure here
    // leaves a complete file either way, so it is not reported.
    FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
    {
        ::fsync(folder.Get());
    }
    return true;
}

} // namespace IniFile
