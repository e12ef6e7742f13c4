#pragma once
// Folders and paths: what exists, making folders, listing a folder's files, the
// program's own folder.

#include <string>
#include <vector>

namespace KR::Platform
{

enum class PathKind
{
    kMissing, // nothing there, or its status cannot be read
    kFolder,
    kFile, // anything that is not a folder: plain files, devices, sockets
};

// Follows symbolic links, so a link to a folder is a folder.
PathKind GetPathKind(const std::string& path);

// Whether anything is there (a dangling link is nothing).
bool PathExists(const std::string& path);

// Makes one folder, with the permissions the user's umask leaves. False when it could
// not be made, also when something is already there.
bool MakeFolder(const std::string& path);

bool RemoveFile(const std::string& path);

// The absolute path with links, "." and ".." resolved; empty when the path does not exist.
std::string CanonicalPath(const std::string& path);

enum class ListResult
{
    kOk,
    kNoFolder, // the folder does not exist or is not a folder
    kFailed,   // the folder could not be read to the end
};

// The names (not paths) of the entries of folder that are not folders and whose names
// match the shell pattern ("*.ttf"; letters match without regard to case, as file
// patterns do on the desktop). Sorted by name, so callers see the same order on every
// file system.
ListResult ListPlainFiles(const std::string& folder, const std::string& pattern,
                          std::vector<std::string>& names);

// The folder of the running program (from /proc/self/exe), without a trailing "/";
// empty when it cannot be read.
std::string ExecutableFolder();

} // namespace KR::Platform
