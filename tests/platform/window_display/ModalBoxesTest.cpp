// The boxes cancelled for an end of the program that cannot wait for the user: GTK's chooser
// and the question it asks over itself, each in a loop of its own, go as if cancelled, the
// innermost first, and a chooser asked for afterwards returns at once without a window. The
// cancel comes from a timer of the test's window, which every loop serves, the boxes' own
// included. (The program's own test ends the editor by signals with each box open.)

#include "DisplayFixture.h"

#include "platform/window/FileChooser.h"
#include "platform/window/ModalBoxes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace KR::Platform::Test
{
namespace
{

class ModalBoxesDisplay : public DisplayTest
{
protected:
    static constexpr std::uintptr_t kTick = 4;

    void TearDown() override
    {
        KillTimer(window, kTick);
        procedure.hook = {};
        SetFileChooserShownHook({});
        AllowModalBoxes();
        DisplayTest::TearDown();
    }

    // `onTick` at each tick; after ten seconds Escape and a cancelled chooser instead, so a box
    // the cancel missed fails the test instead of hanging it.
    void OnTick(std::function<void()> onTick)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        procedure.hook = [onTick = std::move(onTick), deadline](WindowHandle, std::uint32_t message,
                                                                std::uintptr_t id, std::intptr_t)
        {
            if (message == WM_TIMER && id == kTick)
            {
                if (std::chrono::steady_clock::now() < deadline)
                {
                    onTick();
                }
                else
                {
                    Xdo("key Escape");
                    AnswerFileChooser(GetRunningFileChooser(), false, "");
                }
            }
            return std::intptr_t{0};
        };
        // Far enough apart that a tick which asks the X server does not keep GTK from laying out
        // and mapping the box.
        SetTimer(window, kTick, 100);
    }

    static bool Mapped(const std::string& title)
    {
        return !Capture("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null").empty();
    }
};

TEST_F(ModalBoxesDisplay, TheQuestionOverTheChooserAndTheChooserAreCancelledAndNoChooserFollows)
{
    const std::string name = "modal-boxes-kept.txt";
    const std::string existing = ::testing::TempDir() + name;
    std::ofstream(existing) << "old";
    FileChooserRequest request;
    request.save = true;
    request.owner = window;
    request.title = "Save Over";
    request.folder = ::testing::TempDir();
    request.initialName = name; // GTK answers nothing while its name field is empty
    request.confirmOverwrite = true;

    // The chosen file exists: the question comes over the chooser, and the chooser waits.
    int shown = 0;
    bool cancelledInQuestion = false;
    SetFileChooserShownHook(
        [&](std::uintptr_t dialog)
        {
            ++shown;
            AnswerFileChooser(dialog, true, existing);
        });
    OnTick(
        [&]
        {
            if (!cancelledInQuestion && Mapped("Confirm Save"))
            {
                cancelledInQuestion = true;
                CancelModalBoxes();
            }
        });
    const FileChooserAnswer answer = GetFileChooser().Run(request);
    EXPECT_TRUE(cancelledInQuestion);
    EXPECT_FALSE(answer.accepted);
    EXPECT_TRUE(answer.paths.empty());
    EXPECT_EQ(GetRunningFileChooser(), 0u);
    std::ifstream kept(existing);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");

    EXPECT_FALSE(GetFileChooser().Run(request).accepted);
    EXPECT_EQ(shown, 1) << "a chooser showed after the cancel";
}

} // namespace
} // namespace KR::Platform::Test
