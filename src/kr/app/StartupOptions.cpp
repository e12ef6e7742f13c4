#include "kr/app/StartupOptions.h"

#include "kr/core/Utf.h"

#include <algorithm>

namespace KR
{
namespace
{

constexpr std::string_view kConsoleOption = "-DEBUG_CONSOLE";
constexpr std::string_view kTargetOption = "-DEBUG_CONSOLE:";
constexpr std::int32_t kLastPort = 65535;

// The quoting that splitting a Windows command line undoes: backslashes double only
// before a quote or the closing quote.
void AppendQuoted(std::string& line, std::string_view argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos)
    {
        line += argument;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument)
    {
        if (c == '\\')
        {
            ++backslashes;
            continue;
        }
        line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

// The digits as atoi reads them (blanks, a sign, digits up to the first other character),
// held at the 64-bit range instead of overflowing.
std::int64_t ReadNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
    {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
    {
        negative = text[at] == '-';
        ++at;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kCap = std::int64_t{1} << 40;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    {
        value = std::min(kCap, value * 10 + (text[at] - '0'));
    }
    return negative ? -value : value;
}

} // namespace

std::string JoinCommandLine(int argc, const char* const* argv)
{
    std::string line;
    for (int index = 0; index < argc; ++index)
    {
        if (index > 0)
        {
            line += ' ';
        }
        AppendQuoted(line, argv[index] != nullptr ? std::string_view(argv[index]) : std::string_view());
    }
    return line;
}

String Utf8ToStringReplacing(std::string_view utf8)
{
    String text;
    std::u16string units(utf8.size(), u'\0');
    const char* source = utf8.data();
    const char* end = utf8.data() + utf8.size();
    char16_t* target = units.data();
    while (source < end)
    {
        const ConversionResult result =
            ConvertUtf8ToUtf16(source, end, target, units.data() + units.size(), ConversionMode::Lenient);
        if (result == ConversionResult::Ok)
        {
            break;
        }
        // Each replacement stands for at least one byte, so the units never outrun the bytes.
        *target++ = u'\xFFFD';
        ++source;
    }
    text.Append(units.data(), static_cast<std::uint32_t>(target - units.data()));
    return text;
}

StartupOptions ParseStartupOptions(std::string_view commandLine)
{
    std::string upper(commandLine);
    for (char& c : upper)
    {
        if (c >= 'a' && c <= 'z')
        {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    StartupOptions options;
    if (upper.find(kConsoleOption) == std::string::npos)
    {
        return options;
    }
    const std::size_t option = upper.find(kTargetOption);
    if (option == std::string::npos)
    {
        options.openConsole = true;
        return options;
    }
    const std::size_t start = option + kTargetOption.size();
    const std::size_t end = std::min(upper.find(' ', start), upper.size());
    const std::size_t colon = std::min(upper.find(':', start), end);
    if (colon <= start + 1)
    {
        return options;
    }
    const std::int64_t port = ReadNumber(std::string_view(upper).substr(start, colon - start));
    if (port < 1 || port > kLastPort)
    {
        return options;
    }
    options.setTarget = true;
    options.port = static_cast<std::int32_t>(port);
    if (colon + 1 < end)
    {
        options.hasHost = true;
        options.host = upper.substr(colon + 1, end - colon - 1);
    }
    return options;
}

void ApplyStartupOptions(const StartupOptions& options, DebugLog& log)
{
    if (options.openConsole)
    {
        CreateDebugConsole(log);
    }
    if (options.setTarget)
    {
        log.SetTarget(options.hasHost ? options.host.c_str() : nullptr, options.port);
    }
}

} // namespace KR
