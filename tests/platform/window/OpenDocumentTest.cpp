#include "platform/window/OpenDocument.h"
#include "platform/window/MessageLoop.h"
#include "support/Files.h"
#include "support/ScopedVariable.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <optional>

namespace
{

using KR::TestSupport::ScopedVariable;
using KR::TestSupport::TempFolder;

// An opener that records the path it was given and ends with `status`; none for -1.
void WriteOpener(const TempFolder& folder, int status)
{
    if (status < 0)
    {
        return;
    }
    const std::string script = (folder / "xdg-open").string();
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << (folder / "opened").string()
                          << "'\nexit " << status << "\n";
    ::chmod(script.c_str(), 0755);
}

TEST(OpenDocument, TellsOnceWhetherTheOpenerTookThePath)
{
    const struct
    {
        int status;
        bool opened;
        bool recorded;
    } cases[] = {{0, true, true}, {1, false, true}, {-1, false, false}};
    for (const auto& c : cases)
    {
        const TempFolder folder;
        WriteOpener(folder, c.status);
        // Only the test's folder, so a missing opener is really missing.
        const ScopedVariable path("PATH", folder.Path().c_str());
        std::optional<bool> answer;
        int answers = 0;
        const std::string document = "/no where/User Guide - v1.0.pdf";
        KR::Platform::OpenDocument(document,
                                   [&](bool opened)
                                   {
                                       answer = opened;
                                       ++answers;
                                   });
        EXPECT_TRUE(KR::TestSupport::WaitUntil(
            [&]
            {
                KR::Platform::DispatchPendingMessages();
                return answer.has_value();
            }))
            << c.status;
        EXPECT_EQ(answer, c.opened) << c.status;
        EXPECT_EQ(answers, 1) << c.status;
        const std::vector<std::uint8_t> recorded =
            c.recorded ? KR::TestSupport::FileBytes(folder / "opened") : std::vector<std::uint8_t>();
        EXPECT_EQ(std::string(recorded.begin(), recorded.end()), c.recorded ? document + "\n" : "")
            << c.status;
    }
}

} // namespace
