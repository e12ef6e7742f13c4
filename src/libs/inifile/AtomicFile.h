#pragma once
// Whole-file reads with a size bound, and writes that replace a file only once the
// new contents are completely on disk.

#include <cstddef>
#include <string>
#include <string_view>

namespace IniFile
{

enum class ReadStatus
{
    Ok,
    Missing,
    TooLarge,
    Failed,
};

ReadStatus ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& contents);

// Replaces the file whole, as KR::Platform::ReplaceFile does: a symbolic link stays, a
// read-only file is refused, and on failure the target is untouched. A file that holds
// these very contents already is left as it is.
bool WriteFileAtomically(const std::string& path, std::string_view contents);

} // namespace IniFile
