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

// Writes a temporary file beside the target, flushes it to disk and renames it over
// the target. A symbolic link stays: the file it leads to is the target. On failure the
// target is untouched and the temporary file removed.
bool WriteFileAtomically(const std::string& path, std::string_view contents);

} // namespace IniFile
