#include "kr/core/Exception.h"

#include <cstdint>
#include <cstdio>

namespace KR
{

const char* ExceptionBase::What() const noexcept
{
    // Every Exception<E> is also a std::exception; the cast finds that part.
    if (const auto* standard = dynamic_cast<const std::exception*>(this))
    {
        return standard->what();
    }
    return "";
}

std::string ErrorText(std::string_view kind, std::initializer_list<std::string_view> details,
                      std::string_view operation, std::string_view path, int line)
{
    static constexpr std::string_view kSeparator = " : ";
    std::string text(kind);
    text += kSeparator;
    for (std::string_view detail : details)
    {
        text += detail;
        text += kSeparator;
    }
    text += operation;
    text += kSeparator;
    text += path;
    text += " : Line ";
    text += std::to_string(line);
    return text;
}

std::string ResultToString(Result code)
{
    char digits[65];
    std::snprintf(digits, sizeof digits, "%X", static_cast<std::uint32_t>(code));
    return std::string("KRRESULT = ") + digits;
}

void ThrowFailedResult(Result code, std::string_view site)
{
    std::string text = "Failed Result : ";
    text += ResultToString(code);
    text += site;
    throw Exception<FailedResultException>(FailedResultException(std::move(text)));
}

} // namespace KR
