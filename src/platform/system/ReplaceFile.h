#pragma once
// Replacing a whole file so that, whatever happens during the save (a full disk, a
// crash, a power loss), the file holds either all of its old bytes or all of the new.

#include <cstdint>
#include <span>
#include <string>

namespace KR::Platform
{

// Writes `bytes` to a new file beside the target, flushes it to disk, renames it over
// the target and flushes the folder, so the rename is on disk too.
//
// A symbolic link stays a link: the file it leads to is replaced. The replaced file
// keeps its permissions. False, with the target as it was and no new file left, when
// anything fails, and at once when the target is there but is no regular file or is
// one its owner may not write (a file the user made read-only stays unsaved over), or
// when its folder is one its owner may not write.
//
// The new file's name is short and of fixed length, so any name the file system takes
// for the target can be saved.
bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

// As ReplaceFile, except that a target it would replace which already holds exactly
// `bytes` is left as it is (the same file, nothing flushed): for files written back whole
// after every change, where a change often sets what is stored already.
bool ReplaceFileUnlessSame(const std::string& path, std::span<const std::uint8_t> bytes);

// For tests: called with each descriptor about to be flushed to disk (the new file's,
// then its folder's), just before the flush. Null stops it.
using FileSyncObserver = void (*)(int descriptor);
void SetFileSyncObserver(FileSyncObserver observer);

} // namespace KR::Platform
