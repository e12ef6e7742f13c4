#include "kr/system/Paths.h"

#include "platform/system/FileSystem.h"

#include <string>
#include <vector>

namespace KR
{

namespace
{

std::string Utf8(const String& text)
{
    return std::string(text.ToUtf8().GetView());
}

} // namespace

Result EnsureDirectoryExists(const String& path)
{
    switch (Platform::GetPathKind(Utf8(path)))
    {
    case Platform::PathKind::kFolder:
        return kNothingDone;
    case Platform::PathKind::kFile:
        return kFail;
    case Platform::PathKind::kMissing:
        break;
    }
    return CreateDirectoryTree(path, false) ? kOk : kFail;
}

bool CreateDirectoryTree(const String& path, bool namesFile)
{
    const std::string full = Utf8(path);
    std::string::size_type lastSeparator = std::string::npos;
    for (std::string::size_type at = full.find('/', 1); at != std::string::npos; at = full.find('/', at + 1))
    {
        // Folders that are already there fail here, which is fine: what counts is the end.
        Platform::MakeFolder(full.substr(0, at));
        lastSeparator = at;
    }
    if (!namesFile)
    {
        Platform::MakeFolder(full);
        return Platform::PathExists(full);
    }
    return lastSeparator == std::string::npos || Platform::PathExists(full.substr(0, lastSeparator));
}

bool FileExists(const String& path)
{
    return Platform::GetPathKind(Utf8(path)) == Platform::PathKind::kFile;
}

String GetLongPathName(const String& path)
{
    const std::string resolved = Platform::CanonicalPath(Utf8(path));
    return resolved.empty() ? path : String(resolved.c_str());
}

Result ListFiles(const String& directory, const String& pattern, IArray<String>& files)
{
    files.RemoveAll();
    std::vector<std::string> names;
    switch (Platform::ListPlainFiles(Utf8(directory), Utf8(pattern), names))
    {
    case Platform::ListResult::kNoFolder:
        return kNotImplemented;
    case Platform::ListResult::kFailed:
        return kFail;
    case Platform::ListResult::kOk:
        break;
    }
    const bool endsWithSeparator =
        !directory.IsEmpty() && directory.GetPtr()[directory.GetLength() - 1] == u'/';
    const String prefix = endsWithSeparator ? directory : directory + u"/";
    for (const std::string& name : names)
    {
        if (files.AddItem(prefix + String(name.c_str())) < 0)
        {
            return kFail;
        }
    }
    return static_cast<Result>(files.GetCount());
}

String MakeValidFileName(const String& text)
{
    String valid(text);
    valid.ReplaceChars(u"\\/:*?\"<>|&;,^()", u'_');
    return valid;
}

String GetParentPath(const String& path)
{
    const String::View text = path.GetView();
    const std::size_t slash = text.rfind(u'/');
    if (slash == String::View::npos)
    {
        return String();
    }
    return slash == 0 ? String(u"/") : String(text.substr(0, slash));
}

} // namespace KR
