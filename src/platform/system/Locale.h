#pragma once
// The user's language as a 16-bit language id (primary language in the low ten bits,
// sublanguage above), read from the locale the environment names. Users and the system
// share one answer here: a desktop session has no separate machine language.

#include <cstdint>
#include <string_view>

namespace KR::Platform
{

// The id of a locale name such as "en_GB.UTF-8" or "de": the ids of the languages the
// editor ships texts for; a bare language takes its first id; "C", "POSIX", an empty
// name and every other language give English (United States), 0x0409.
std::uint16_t LanguageIdFromLocale(std::string_view locale);

// LanguageIdFromLocale of the first set of LC_ALL, LC_MESSAGES and LANG.
std::uint16_t GetUserLanguageId();

} // namespace KR::Platform
