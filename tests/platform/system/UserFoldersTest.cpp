#include "platform/system/UserFolders.h"
#include "platform/system/Locale.h"

#include "support/Files.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace
{

using namespace KR::Platform;

using KR::TestSupport::ScopedVariable;

TEST(Locale, LocaleNamesGiveTheLanguageIdsTheEditorKnows)
{
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"en_US.UTF-8", 0x0409},
        {"en_GB.UTF-8", 0x0809},
        {"en_AU", 0x0409},
        {"de_AT.UTF-8@euro", 0x0407},
        {"es", 0x0C0A},
        {"fr_CA", 0x040C},
        {"ja_JP", 0x0411},
        {"zh_CN.UTF-8", 0x0804},
        {"zh_TW", 0x0404},
        {"zh", 0x0404},
        {"C", 0x0409},
        {"POSIX", 0x0409},
        {"", 0x0409},
        {"nl_NL", 0x0409},
    };
    for (const auto& [locale, id] : cases)
    {
        EXPECT_EQ(LanguageIdFromLocale(locale), id) << locale;
    }
    const ScopedVariable all("LC_ALL", "");
    const ScopedVariable messages("LC_MESSAGES", "de_DE.UTF-8");
    const ScopedVariable lang("LANG", "en_GB.UTF-8");
    EXPECT_EQ(GetUserLanguageId(), 0x0407); // an empty LC_ALL is unset
}

TEST(UserFolders, XdgVariablesWhenAbsoluteElseUnderHomeElseNothing)
{
    struct Case
    {
        const char* home;
        const char* xdg;
        const char* config;
        const char* data;
    };
    const Case cases[] = {
        {"/home/u", nullptr, "/home/u/.config", "/home/u/.local/share"},
        {"/home/u/", "", "/home/u/.config", "/home/u/.local/share"},
        {"/home/u", "relative/cfg", "/home/u/.config", "/home/u/.local/share"},
        {"/home/u", "/x/cfg/", "/x/cfg", "/x/cfg"},
        {nullptr, "/x/cfg", "/x/cfg", "/x/cfg"},
        {nullptr, nullptr, "", ""},
        {"relative", nullptr, "", ""},
    };
    for (const Case& c : cases)
    {
        const ScopedVariable home("HOME", c.home);
        const ScopedVariable config("XDG_CONFIG_HOME", c.xdg);
        const ScopedVariable data("XDG_DATA_HOME", c.xdg);
        EXPECT_EQ(UserConfigFolder(), c.config) << (c.home ? c.home : "-") << " " << (c.xdg ? c.xdg : "-");
        EXPECT_EQ(UserDataFolder(), c.data) << (c.home ? c.home : "-") << " " << (c.xdg ? c.xdg : "-");
    }
}

TEST(UserFolders, DocumentsFromTheUserDirsFileElseHome)
{
    const KR::TestSupport::TempFolder folder;
    const ScopedVariable home("HOME", "/home/u");
    const ScopedVariable config("XDG_CONFIG_HOME", folder.Path().c_str());
    const std::pair<const char*, const char*> cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "/home/u/Dokumente"},
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/D\"\nXDG_DOCUMENTS_DIR=\"/data/docs/\"\n", "/data/docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/home/u"}, // switched off
        {"XDG_DOCUMENTS_DIR=\"docs\"\n", "/home/u"},   // relative: not a folder
        {"XDG_DOCUMENTS_DIR=\"$HOME/unterminated\n", "/home/u"},
        {nullptr, "/home/u"},
    };
    for (const auto& [content, expected] : cases)
    {
        const std::string file = (folder / "user-dirs.dirs").string();
        std::remove(file.c_str());
        if (content != nullptr)
        {
            std::ofstream(file) << content;
        }
        EXPECT_EQ(UserDocumentsFolder(), expected) << (content ? content : "no file");
    }
}

} // namespace
