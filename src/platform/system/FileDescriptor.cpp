#include "platform/system/FileDescriptor.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace KR::Platform
{
namespace
{

bool IsKernelFileSystem(int descriptor)
{
    struct statfs system = {};
    if (::fstatfs(descriptor, &system) != 0)
    {
        return false;
    }
    switch (system.f_type)
    {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

bool IsRegularFile(int descriptor)
{
    struct stat status = {};
    return ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && !IsKernelFileSystem(descriptor);
}

int Refuse(int descriptor)
{
    if (descriptor >= 0)
    {
        ::close(descriptor);
    }
    errno = EINVAL;
    return -1;
}

} // namespace

int OpenFile(const std::string& path, FileOpenMode mode)
{
    // What is already there is looked at before it is opened; the check after the open
    // covers a path that changed in between.
    struct stat status = {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
    {
        return Refuse(-1);
    }
    int flags = (mode.readWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (mode.create)
    {
        flags |= O_CREAT;
        if (mode.exclusive)
        {
            flags |= O_EXCL;
        }
    }
    int descriptor = -1;
    do
    {
        descriptor = ::open(path.c_str(), flags, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
    {
        return -1;
    }
    if (!IsRegularFile(descriptor))
    {
        return Refuse(descriptor);
    }
    // A regular file never blocks; the flag goes so the descriptor acts as any other.
    const int statusFlags = ::fcntl(descriptor, F_GETFL);
    if (statusFlags < 0 || ::fcntl(descriptor, F_SETFL, statusFlags & ~O_NONBLOCK) != 0)
    {
        return Refuse(descriptor);
    }
    return descriptor;
}

int CloseFile(int descriptor)
{
    // Linux releases the descriptor even when close reports EINTR, so it is never retried.
    return ::close(descriptor);
}

std::int64_t SeekFile(int descriptor, std::int64_t offset, SeekOrigin origin)
{
    const int whence = origin == SeekOrigin::kStart     ? SEEK_SET
                       : origin == SeekOrigin::kCurrent ? SEEK_CUR
                                                        : SEEK_END;
    return ::lseek(descriptor, static_cast<off_t>(offset), whence);
}

std::int64_t ReadFile(int descriptor, void* buffer, std::size_t count)
{
    ssize_t done = -1;
    do
    {
        done = ::read(descriptor, buffer, count);
    } while (done < 0 && errno == EINTR);
    return done;
}

std::int64_t WriteFile(int descriptor, const void* buffer, std::size_t count)
{
    const char* bytes = static_cast<const char*>(buffer);
    std::size_t written = 0;
    while (written < count)
    {
        const ssize_t done = ::write(descriptor, bytes + written, count - written);
        if (done < 0 && errno == EINTR)
        {
            continue;
        }
        if (done <= 0)
        {
            return written == 0 ? -1 : static_cast<std::int64_t>(written);
        }
        written += static_cast<std::size_t>(done);
    }
    return static_cast<std::int64_t>(written);
}

std::int64_t GetFileSize(int descriptor)
{
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0)
    {
        return -1;
    }
    return status.st_size;
}

} // namespace KR::Platform
