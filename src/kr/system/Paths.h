#pragma once
// Path utilities over "/"-separated paths: folders that must exist, plain files, the
// files of a folder, file names made from free text, parent folders.

#include "kr/core/IArray.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

namespace KR
{

// E_NOTIMPL: ListFiles's answer for a folder that is not there.
inline constexpr Result kNotImplemented = static_cast<Result>(0x80004001u);

// 1 when path is already a folder, 0 when it has been made (with every missing parent),
// kFail when it names a file or cannot be made.
Result EnsureDirectoryExists(const String& path);

// Makes every folder along path. With namesFile false the whole path is a folder, and
// the result says whether it exists afterwards; with namesFile true the last component
// is a file's name, and the result says whether its folder exists (true for a bare name).
bool CreateDirectoryTree(const String& path, bool namesFile);

// Whether path names something that is not a folder.
bool FileExists(const String& path);

// The absolute form of an existing path, links resolved; a missing path comes back
// unchanged.
String GetLongPathName(const String& path);

// Empties files, then adds directory + "/" + name for each entry of the folder that is
// not a folder and whose name matches pattern ("*.ttf"; case is ignored), sorted by
// name. The number of paths added; kNotImplemented when directory is not a folder; kFail
// when the folder cannot be read.
Result ListFiles(const String& directory, const String& pattern, IArray<String>& files);

// A copy in which each of \ / : * ? " < > | & ; , ^ ( ) is replaced by "_".
String MakeValidFileName(const String& text);

// The path without its last component and the "/" before it: "/a/b" gives "/a", "/a"
// gives "/", a bare name gives the empty text.
String GetParentPath(const String& path);

} // namespace KR
