#include "kr/app/Version.h"

#include "kr/app/FrameworkApp.h"
#include "kr/core/Exception.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/StringTable.h"
#include "platform/system/FileSystem.h"
#include "platform/system/Locale.h"
#include "platform/system/Resources.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace KR
{

namespace
{

constexpr std::int32_t kNoTranslation = 900;
constexpr std::int32_t kUnreadable = 901;
constexpr std::int32_t kNoBlock = 902;
constexpr std::int32_t kNoProgramFile = 903;

int LineOf(std::int32_t errorId)
{
    switch (errorId)
    {
    case kNoTranslation:
        return 128;
    case kUnreadable:
        return 133;
    case kNoBlock:
        return 143;
    default:
        return 148;
    }
}

[[noreturn]] void ThrowErrorId(std::int32_t errorId)
{
    Throw<std::runtime_error>(
        ErrorText<std::runtime_error>({FormatErrorIdText(errorId).ToUtf8().GetPtr()}, "KR::Version::Version",
                                      "krframework\\application\\Version", LineOf(errorId)));
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
    {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool ParseHex16(std::string_view text, std::uint16_t& value)
{
    if (text.size() != 4)
    {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc() && end == text.data() + text.size();
}

// Pairs of "llll cccc" separated by blanks; false when anything else stands there.
bool ParseTranslations(std::string_view text, std::vector<std::pair<std::uint16_t, std::uint16_t>>& pairs)
{
    std::vector<std::uint16_t> numbers;
    while (!(text = Trim(text)).empty())
    {
        const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
        std::uint16_t number = 0;
        if (!ParseHex16(text.substr(0, end), number))
        {
            return false;
        }
        numbers.push_back(number);
        text.remove_prefix(end);
    }
    if (numbers.size() % 2 != 0)
    {
        return false;
    }
    for (std::size_t i = 0; i < numbers.size(); i += 2)
    {
        pairs.emplace_back(numbers[i], numbers[i + 1]);
    }
    return true;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
    {
        if (c >= 'A' && c <= 'Z')
        {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

} // namespace

Version::Version()
{
    // Our resources live in the program itself; a program that cannot name its own file
    // has no resources to read either.
    if (Platform::ExecutableFolder().empty())
    {
        ThrowErrorId(kNoProgramFile);
    }
    const std::uint16_t language = Platform::GetUserLanguageId();
    Read(Platform::FindResource("VERSION", "VS_VERSION_INFO"), language, language);
}

Version::Version(std::span<const unsigned char> block, std::uint16_t userLanguage,
                 std::uint16_t systemLanguage)
{
    Read(block, userLanguage, systemLanguage);
}

void Version::Read(std::span<const unsigned char> block, std::uint16_t userLanguage,
                   std::uint16_t systemLanguage)
{
    if (block.empty())
    {
        ThrowErrorId(kNoBlock);
    }
    const std::string_view text(reinterpret_cast<const char*>(block.data()), block.size());
    String wide;
    if (text.size() > 0x7FFFFFFE ||
        Failed(Utf8ToUtf16(wide, text.data(), static_cast<std::int32_t>(text.size()))))
    {
        ThrowErrorId(kUnreadable);
    }

    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
    bool listed = false;
    std::string section;
    std::string_view rest = text;
    while (!rest.empty())
    {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.empty() || line.front() == ';' || line.front() == '#')
        {
            continue;
        }
        if (line.front() == '[')
        {
            if (line.back() != ']')
            {
                ThrowErrorId(kUnreadable);
            }
            section = Lower(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
        {
            ThrowErrorId(kUnreadable);
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        if (section == "varfileinfo" && key == "Translation")
        {
            if (listed || !ParseTranslations(value, translations))
            {
                ThrowErrorId(kUnreadable);
            }
            listed = true;
        }
        else if (section.starts_with("stringfileinfo\\"))
        {
            mValues.emplace("\\StringFileInfo" + section.substr(14) + "\\" + std::string(key),
                            std::string(value));
        }
    }
    if (!listed)
    {
        ThrowErrorId(kNoTranslation);
    }
    if (translations.empty())
    {
        return; // nothing to choose: every question answers empty
    }
    const auto primary = [](std::uint16_t language) { return language & 0x3FF; };
    const auto find = [&](std::uint16_t language)
    {
        for (const auto& pair : translations)
        {
            if (primary(pair.first) == language)
            {
                return &pair;
            }
        }
        return static_cast<const std::pair<std::uint16_t, std::uint16_t>*>(nullptr);
    };
    const auto* chosen = find(primary(userLanguage));
    chosen = chosen != nullptr ? chosen : find(primary(systemLanguage));
    chosen = chosen != nullptr ? chosen : find(9);
    chosen = chosen != nullptr ? chosen : &translations.front();
    mLanguage = chosen->first;
    mCodePage = chosen->second;
    mHasTranslation = true;
}

std::string Version::QueryPath(std::uint16_t language, std::uint16_t codePage, std::string_view key)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%04x%04x", language, codePage);
    return "\\StringFileInfo\\" + std::string(digits) + "\\" + std::string(key);
}

String Version::GetString(std::string_view key) const
{
    if (!mHasTranslation)
    {
        return String();
    }
    const auto found = mValues.find(QueryPath(mLanguage, mCodePage, key));
    return found == mValues.end() ? String() : String(found->second.c_str());
}

String FormatErrorIdText(std::int32_t errorId)
{
    const std::string id = std::to_string(errorId);
    RCPtr<LStringTable> table;
    if (const auto* app = dynamic_cast<const LFrameworkApp*>(&IFrameworkApp::GetInstance()))
    {
        table = app->GetFrameworkStringTable();
    }
    String text;
    if (table && table->GetString(u"EXCEPTION_ID", text))
    {
        // The table's text is data, not a format: only its "%d" is replaced.
        std::string narrow = text.ToUtf8().GetPtr();
        const std::size_t at = narrow.find("%d");
        if (at != std::string::npos)
        {
            narrow.replace(at, 2, id);
        }
        return String(narrow.c_str());
    }
    const std::string fallback =
        "The application encountered problems during startup and will now close.  (Error code = " + id + ")";
    return String(fallback.c_str());
}

} // namespace KR
