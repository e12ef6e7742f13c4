#pragma once
// Where the bytes of a skin or string-table document come from: a resource of the program
// ("::" and its name, dots read as underscores: "::APP.SKINS" is "APP_SKINS") or a file.

#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace KR
{

inline constexpr Result kOutOfMemory = static_cast<Result>(0x8007000Eu);

// Documents larger than this are refused as though no buffer could be had: the program's
// own skins are a few hundred kilobytes.
inline constexpr std::size_t kMaxXmlDocumentBytes = 64u * 1024u * 1024u;

// Fills `bytes` with the resource of that name; false when there is none. The program's
// embedded resources answer it; until one is set, every resource is missing.
using XmlResourceProvider = std::function<bool(const String& name, std::vector<char>& bytes)>;

// True when the path names a resource; `name` then holds the resource name.
bool IsXmlResourcePath(const String& path, String& name);

// Reads the whole file at `path` (KR::File, read flags). kOk; kOutOfMemory for a file
// beyond kMaxXmlDocumentBytes or when no buffer can be had; KR::File's exception passes
// when the file cannot be opened or is no regular file.
Result ReadXmlDocumentFile(const String& path, std::vector<char>& bytes);

} // namespace KR
