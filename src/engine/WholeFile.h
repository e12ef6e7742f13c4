#pragma once
// A small file read or written in one piece, the way a preset file is: read whole and
// bounded, or replaced whole so that a failed save never leaves a half-written file.

#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace KR
{

// Reads the file at `path` into `bytes`. kOk; kFail (bytes emptied) when it cannot be
// opened or read, is no regular file (a folder, FIFO or device is refused at once,
// never waited on), or holds more than maxSize bytes.
Result ReadWholeFile(const String& path, std::uint32_t maxSize, std::vector<std::uint8_t>& bytes);

// Replaces the file at `path` by `bytes`: writes a new file beside it in the same
// folder and, only when every write and the close succeeded, renames it over the
// target, which keeps its permissions. kOk; kFail when anything failed, and then the
// target is as it was and the new file is removed.
Result ReplaceWholeFile(const String& path, std::span<const std::uint8_t> bytes);

} // namespace KR
