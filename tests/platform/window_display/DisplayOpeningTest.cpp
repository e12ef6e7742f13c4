// Opening the display maps nothing of OpenGL: the program paints with Cairo, and GDK's probe
// for GL visuals alone would map the GL driver (with Mesa's software driver, LLVM too).
// Each case runs in a process of its own, where the window system has not been opened yet.

#include "platform/window/ForeignWindowWatch.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace KR::Platform
{
namespace
{

bool MapsAnyOf(std::initializer_list<const char*> names)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
    {
        for (const char* name : names)
        {
            if (line.find(name) != std::string::npos)
            {
                return true;
            }
        }
    }
    return false;
}

// Exit codes of the child: 0 all well, else which check failed.
int OpenDisplayAndCheck(const char* userChoice)
{
    if (userChoice != nullptr)
    {
        setenv("GDK_GL", userChoice, 1);
    }
    // As on a display where no GTK program has chosen its visuals yet.
    ForeignWindowWatch().ForgetCachedVisuals();
    if (!InitializeWindowSystem())
    {
        return 2;
    }
    if (MapsAnyOf({"libGLX_mesa", "_dri.so", "libLLVM"}))
    {
        return 3;
    }
    const char* after = std::getenv("GDK_GL");
    const bool kept =
        userChoice == nullptr ? after == nullptr : after != nullptr && std::strcmp(after, userChoice) == 0;
    return kept ? 0 : 4;
}

class DisplayOpeningTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "needs the X display scripts/test starts";
        }
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_P(DisplayOpeningTest, MapsNoOpenGLAndLeavesTheEnvironmentAsItWas)
{
    EXPECT_EXIT(std::exit(OpenDisplayAndCheck(GetParam())), ::testing::ExitedWithCode(0), "");
}

// Without a choice of the user's, and with one that also keeps GL away, which stays set.
INSTANTIATE_TEST_SUITE_P(UserChoices, DisplayOpeningTest, ::testing::Values(nullptr, "disable"));

} // namespace
} // namespace KR::Platform
