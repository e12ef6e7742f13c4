#include "platform/system/UserFolders.h"

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace KR::Platform
{

namespace
{

// Relative and empty values are ignored, as the base-directory rules say.
std::string AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
    {
        return {};
    }
    std::string path(value);
    while (path.size() > 1 && path.back() == '/')
    {
        path.pop_back();
    }
    return path;
}

std::string UnderHome(std::string_view rest)
{
    const std::string home = AbsoluteVariable("HOME");
    if (home.empty())
    {
        return {};
    }
    if (home == "/")
    {
        return rest.empty() ? home : std::string(rest);
    }
    return home + std::string(rest);
}

std::string XdgFolder(const char* variable, std::string_view homeRest)
{
    std::string path = AbsoluteVariable(variable);
    return path.empty() ? UnderHome(homeRest) : path;
}

// The value of XDG_DOCUMENTS_DIR in a user-dirs.dirs file: a shell assignment whose
// quoted value is "$HOME/..." or an absolute path. Empty when absent or of another form.
std::string DocumentsEntry(const std::string& file)
{
    std::ifstream in(file);
    std::string line;
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
    while (std::getline(in, line))
    {
        if (line.size() > 4096 || !line.starts_with(kKey))
        {
            continue;
        }
        const std::size_t end = line.find('"', kKey.size());
        if (end == std::string::npos)
        {
            return {};
        }
        std::string value = line.substr(kKey.size(), end - kKey.size());
        if (value.find('\\') != std::string::npos)
        {
            return {}; // escaped characters: not a form worth guessing at
        }
        constexpr std::string_view kHome = "$HOME";
        if (value.starts_with(kHome))
        {
            const std::string rest = value.substr(kHome.size());
            // "$HOME/" is how the file says the folder is switched off.
            if (rest.find_first_not_of('/') == std::string::npos)
            {
                return {};
            }
            return UnderHome(rest);
        }
        return value.starts_with('/') ? value : std::string();
    }
    return {};
}

} // namespace

std::string UserDataFolder()
{
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string UserConfigFolder()
{
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string UserDocumentsFolder()
{
    const std::string config = UserConfigFolder();
    if (!config.empty())
    {
        std::string documents = DocumentsEntry(config + "/user-dirs.dirs");
        while (documents.size() > 1 && documents.back() == '/')
        {
            documents.pop_back();
        }
        if (!documents.empty())
        {
            return documents;
        }
    }
    return UnderHome("");
}

} // namespace KR::Platform
