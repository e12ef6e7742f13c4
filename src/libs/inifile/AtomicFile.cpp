#include "libs/inifile/AtomicFile.h"

#include "platform/system/FileDescriptor.h"
#include "platform/system/ReplaceFile.h"

#include <cerrno>
#include <fcntl.h>
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
    // The editor writes its settings back at every start (the skin index) and mostly
    // finds them stored already: the two disk flushes of a replacement would then hold
    // the start-up for nothing.
    return KR::Platform::ReplaceFileUnlessSame(
        linkOrFile, std::span(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()));
}

} // namespace IniFile
