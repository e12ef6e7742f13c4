#include "platform/system/Locale.h"

#include <array>
#include <cstdlib>

namespace KR::Platform
{

namespace
{

struct LocaleId
{
    std::string_view language; // "en" or "en_GB"
    std::uint16_t id;
};

// A bare language finds the first row of its language, so each language's first row is
// the one a bare name stands for.
constexpr std::array kLocaleIds{
    LocaleId{"en_US", 0x0409}, LocaleId{"en_GB", 0x0809}, LocaleId{"de", 0x0407}, LocaleId{"es", 0x0C0A},
    LocaleId{"fr", 0x040C},    LocaleId{"it", 0x0410},    LocaleId{"ja", 0x0411}, LocaleId{"ko", 0x0412},
    LocaleId{"zh_TW", 0x0404}, LocaleId{"zh_CN", 0x0804},
};

constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

std::string_view Prefix(std::string_view text, std::string_view stops)
{
    const std::size_t end = text.find_first_of(stops);
    return end == std::string_view::npos ? text : text.substr(0, end);
}

} // namespace

std::uint16_t LanguageIdFromLocale(std::string_view locale)
{
    // "ll_TT.codeset@modifier": the codeset and modifier say nothing of the language.
    const std::string_view name = Prefix(locale, ".@");
    const std::string_view language = Prefix(name, "_");
    for (const LocaleId& row : kLocaleIds)
    {
        if (row.language == name)
        {
            return row.id;
        }
    }
    for (const LocaleId& row : kLocaleIds)
    {
        if (Prefix(row.language, "_") == language)
        {
            return row.id;
        }
    }
    return kEnglishUnitedStates;
}

std::uint16_t GetUserLanguageId()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
        {
            return LanguageIdFromLocale(value);
        }
    }
    return kEnglishUnitedStates;
}

} // namespace KR::Platform
