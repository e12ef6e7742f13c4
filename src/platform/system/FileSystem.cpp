#include "platform/system/FileSystem.h"

#include <dirent.h>
#include <fnmatch.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace KR::Platform
{

namespace
{

struct FolderCloser
{
    void operator()(DIR* folder) const { ::closedir(folder); }
};

} // namespace

PathKind GetPathKind(const std::string& path)
{
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0)
    {
        return PathKind::kMissing;
    }
    return S_ISDIR(status.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

bool PathExists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

bool MakeFolder(const std::string& path)
{
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

std::string CanonicalPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

ListResult ListPlainFiles(const std::string& folder, const std::string& pattern,
                          std::vector<std::string>& names)
{
    names.clear();
    if (GetPathKind(folder) != PathKind::kFolder)
    {
        return ListResult::kNoFolder;
    }
    const std::unique_ptr<DIR, FolderCloser> directory(::opendir(folder.c_str()));
    if (!directory)
    {
        return ListResult::kFailed;
    }
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (;;)
    {
        errno = 0;
        const dirent* entry = ::readdir(directory.get());
        if (entry == nullptr)
        {
            if (errno != 0)
            {
                return ListResult::kFailed;
            }
            break;
        }
        if (::fnmatch(pattern.c_str(), entry->d_name, FNM_CASEFOLD) != 0)
        {
            continue;
        }
        // d_type is not filled on every file system, and a link must count as what it
        // points to.
        if (GetPathKind(prefix + entry->d_name) == PathKind::kFolder)
        {
            continue;
        }
        names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return ListResult::kOk;
}

std::string ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path));
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof(path))
    {
        return std::string();
    }
    std::string folder(path, static_cast<std::size_t>(length));
    const std::size_t slash = folder.rfind('/');
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder.empty() ? std::string("/") : folder;
}

} // namespace KR::Platform
