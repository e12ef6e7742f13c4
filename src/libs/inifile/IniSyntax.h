#pragma once
// What the INI text form can carry: names and values that read back unchanged,
// node paths split into section and key, and the check a file passes before it is
// loaded.

#include <optional>
#include <string>
#include <string_view>

namespace IniFile
{

struct ValueName
{
    std::string section;
    std::string key;
};

bool IsStorableSectionName(std::string_view name);
bool IsStorableKeyName(std::string_view name);
bool IsStorableValue(std::string_view value);

// "Section/Key" -> {Section, Key}; "Key" -> {default section, Key}. Empty when a
// part could not be stored.
std::optional<ValueName> ParseValuePath(std::string_view node);

// A node path that names a whole section; the empty path is the default section.
std::optional<std::string> ParseSectionPath(std::string_view node);

// True when every line is blank, a comment, a "[section]" line or a "key = value"
// line, so that loading and saving again keeps everything the file holds. Lines end
// where the parser ends them, at LF, CR LF or a lone CR; a byte-order mark counts only
// at the very start, and no key may open with one.
bool IsWellFormedIniText(std::string_view text);

// Decimal (with an optional sign) or 0x-prefixed hexadecimal up to 0xFFFFFFFF,
// which wraps into the negative range as a stored colour would.
std::optional<int> ParseInt32(std::string_view text);

} // namespace IniFile
