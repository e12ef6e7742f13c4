#include "libs/inifile/IniSyntax.h"

#include "libs/inifile/IniFileManagerApi.h"

#include <charconv>
#include <cstdint>

namespace IniFile
{
namespace
{

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// INI readers trim spaces and tabs around names and values.
bool HasOuterBlanks(std::string_view text)
{
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r'))
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r'))
    {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

bool IsStorableSectionName(std::string_view name)
{
    return !name.empty() && !HasLineBreak(name) && !HasOuterBlanks(name) &&
           name.find(']') == std::string_view::npos;
}

bool IsStorableKeyName(std::string_view name)
{
    if (name.empty() || HasLineBreak(name) || HasOuterBlanks(name))
    {
        return false;
    }
    // "=" ends a key; ":" ends one for many readers; the leading characters would
    // turn the line into a section or a comment.
    if (name.find_first_of("=:") != std::string_view::npos)
    {
        return false;
    }
    // A key that opens with a byte-order mark, written first in the file, would lose
    // the mark to the next reading, which takes it for the file's own.
    return name.front() != '[' && name.front() != ';' && name.front() != '#' &&
           !name.starts_with(kByteOrderMark);
}

bool IsStorableValue(std::string_view value)
{
    return !HasLineBreak(value) && !HasOuterBlanks(value);
}

std::optional<ValueName> ParseValuePath(std::string_view node)
{
    ValueName name;
    const std::size_t slash = node.rfind('/');
    if (slash == std::string_view::npos)
    {
        name.section = INIFM_DEFAULT_SECTION;
        name.key = std::string(node);
    }
    else
    {
        name.section = std::string(node.substr(0, slash));
        name.key = std::string(node.substr(slash + 1));
    }
    if (!IsStorableSectionName(name.section) || !IsStorableKeyName(name.key))
    {
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> ParseSectionPath(std::string_view node)
{
    if (node.empty())
    {
        return std::string(INIFM_DEFAULT_SECTION);
    }
    if (!IsStorableSectionName(node))
    {
        return std::nullopt;
    }
    return std::string(node);
}

bool IsWellFormedIniText(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
    {
        return false;
    }
    // A mark counts only at the very start; anywhere else it is part of the text.
    if (text.starts_with(kByteOrderMark))
    {
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty())
    {
        // Lines end where the parser ends them: at LF, CR LF or a lone CR.
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        if (line.empty() || line.front() == ';' || line.front() == '#')
        {
            continue;
        }
        if (line.front() == '[')
        {
            if (line.back() != ']' || line.find(']') != line.size() - 1 ||
                TrimBlanks(line.substr(1, line.size() - 2)).empty())
            {
                return false;
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || TrimBlanks(line.substr(0, equals)).empty() ||
            line.starts_with(kByteOrderMark))
        {
            return false;
        }
    }
    return true;
}

std::optional<int> ParseInt32(std::string_view text)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    {
        std::uint32_t bits = 0;
        const auto [end, error] = std::from_chars(first + 2, last, bits, 16);
        if (error != std::errc() || end != last)
        {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(bits);
    }
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
    {
        ++first;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (first == last || error != std::errc() || end != last)
    {
        return std::nullopt;
    }
    return value;
}

} // namespace IniFile
