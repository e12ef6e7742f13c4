// libFuzzer entry over the INI library's reading of a settings file: a text it takes
// must save to a text it takes again and that saves the same, but for empty lines. A
// text taken once and refused after a write would lock the user out of their settings.

#include "libs/inifile/IniDocument.h"
#include "libs/inifile/IniFileManagerApi.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "INI invariant broken: %s\n", what);
    std::abort();
}

// The text without its empty lines: where a comment stands apart from its neighbours
// may change from one saving to the next, and carries nothing.
std::string WithoutEmptyLines(std::string_view text)
{
    std::string kept;
    while (!text.empty())
    {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (end > 0)
        {
            kept.append(text.substr(0, end)).push_back('\n');
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using IniFile::IniDocument;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<IniDocument> loaded;
    if (IniDocument::FromText(std::string(), text, loaded) != INIFM_OK)
    {
        return 0;
    }
    std::string saved;
    if (loaded->ToText(saved) != INIFM_OK)
    {
        Broken("a text that was taken cannot be saved");
    }
    std::unique_ptr<IniDocument> again;
    if (IniDocument::FromText(std::string(), saved, again) != INIFM_OK)
    {
        Broken("the library refuses the text it saved");
    }
    std::string savedAgain;
    if (again->ToText(savedAgain) != INIFM_OK || WithoutEmptyLines(savedAgain) != WithoutEmptyLines(saved))
    {
        Broken("a saved text reads differently");
    }
    return 0;
}
