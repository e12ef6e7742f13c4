#include "kr/app/StartupOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::StartupOptions;

struct OptionRow
{
    const char* line;
    bool console;
    std::int32_t port; // -1: no target set
    const char* host;  // null: the host stays as it was
};

TEST(StartupOptions, TheDebugOptionsAreReadFromTheWholeLineWhateverTheirCase)
{
    const std::vector<OptionRow> rows = {
        {"/usr/bin/PresetEditor", false, -1, nullptr},
        {"/usr/bin/PresetEditor -debug_console", true, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:9000:loghost", false, 9000, "LOGHOST"},
        {"/usr/bin/PresetEditor -x -DEBUG_CONSOLE:9000", false, 9000, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:9:host", false, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:", false, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:9000:h -x", false, 9000, "H"},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:9000: -x", false, 9000, nullptr},
        // The port's digits end at its colon or blank, and never run past the 32-bit range.
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:99999999999:host", false, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:65536:host", false, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:65535:host", false, 65535, "HOST"},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:-9000:host", false, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:ab:host", false, -1, nullptr},
        {"/usr/bin/PresetEditor -DEBUG_CONSOLE:9 -a:b", false, -1, nullptr},
        {"/usr/bin/PresetEditor -debug_console:7000:127.0.0.1 -debug_console", false, 7000, "127.0.0.1"},
    };
    for (const OptionRow& row : rows)
    {
        const StartupOptions options = KR::ParseStartupOptions(row.line);
        EXPECT_EQ(options.openConsole, row.console) << row.line;
        EXPECT_EQ(options.setTarget, row.port != -1) << row.line;
        if (row.port != -1)
        {
            EXPECT_EQ(options.port, row.port) << row.line;
        }
        EXPECT_EQ(options.hasHost, row.host != nullptr) << row.line;
        if (row.host != nullptr)
        {
            EXPECT_EQ(options.host, row.host) << row.line;
        }
    }
}

TEST(StartupOptions, ATargetWithoutHostKeepsTheLogsHost)
{
    KR::DebugLog log;
    log.SetTarget("EARLIER", -1);
    KR::ApplyStartupOptions(KR::ParseStartupOptions("p -DEBUG_CONSOLE:9000"), log);
    EXPECT_EQ(log.GetHost(), "EARLIER");
    EXPECT_EQ(log.GetPort(), 9000);
    KR::ApplyStartupOptions(KR::ParseStartupOptions("p -DEBUG_CONSOLE:1:x"), log);
    EXPECT_EQ(log.GetPort(), 9000);
}

TEST(StartupOptions, TheCommandLineQuotesWhatSplittingWouldOtherwiseBreak)
{
    const struct
    {
        std::vector<const char*> argv;
        const char* line;
    } rows[] = {
        {{"/p/PresetEditor", "a", "b c"}, R"(/p/PresetEditor a "b c")"},
        {{"/p/PresetEditor", ""}, R"(/p/PresetEditor "")"},
        {{"/p/PresetEditor", R"(say "hi")"}, R"(/p/PresetEditor "say \"hi\"")"},
        {{"/p/PresetEditor", R"(C:\x\ y\)"}, R"(/p/PresetEditor "C:\x\ y\\")"},
        {{"/p/Preset Editor"}, R"("/p/Preset Editor")"},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(KR::JoinCommandLine(static_cast<int>(row.argv.size()), row.argv.data()), row.line);
    }
}

TEST(StartupOptions, BadUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(KR::Utf8ToStringReplacing("a\xC3\xA9z"), KR::String(u"a\u00E9z"));
    EXPECT_EQ(KR::Utf8ToStringReplacing("a\xFF"
                                        "b\xC3"),
              KR::String(u"a\uFFFDb\uFFFD"));
    EXPECT_EQ(KR::Utf8ToStringReplacing("\xF0\x9F\x8E\xB9"), KR::String(u"\U0001F3B9"));
}

} // namespace
