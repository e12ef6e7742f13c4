#include "kr/controls/FileDialog.h"

#include "kr/ui/RootWindow.h"
#include "platform/window/FileChooser.h"
#include "platform/window/ToolkitTheme.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace KR
{
namespace
{

namespace P = Platform;

// The GTK chooser itself, over a window of the test's: the shown hook answers it the way a
// user would, and a timer cancels whatever is still open after ten seconds, so a dialog
// that never shows fails the test instead of hanging it.
class FileDialogDisplay : public P::Test::DisplayTest
{
protected:
    void SetUp() override
    {
        P::Test::DisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        os->handle = window;
        root = new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os.Get());
        app.activeRootWindow = root;
        P::ShowWindow(window, P::SW_SHOWNORMAL);
        procedure.hook = [this](P::WindowHandle, std::uint32_t message, std::uintptr_t id, std::intptr_t)
        {
            if (message == P::WM_TIMER && id == kGuardTimer && P::GetRunningFileChooser() != 0)
            {
                timedOut = true;
                P::AnswerFileChooser(P::GetRunningFileChooser(), false, "");
            }
            return std::intptr_t{0};
        };
        P::SetTimer(window, kGuardTimer, 10000);
    }
    void TearDown() override
    {
        P::SetFileChooserShownHook({});
        app.activeRootWindow = nullptr;
        if (root)
        {
            root->ReleaseInternalReferences();
        }
        P::Test::DisplayTest::TearDown();
    }

    static constexpr std::uintptr_t kGuardTimer = 9;
    TestSupport::LStandInFrameworkApp app;
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRootWindow> root;
    bool timedOut = false;
};

TEST_F(FileDialogDisplay, TheRealChooserShowsAboveItsOwnerAndAnswersCancelOrAChosenFile)
{
    RCPtr<LFileDialog> dialog(new LFileDialog(String(u".")));
    P::WindowHandle owner = 0;
    bool themeDeferred = true;
    P::SetFileChooserShownHook(
        [&](std::uintptr_t shown)
        {
            owner = P::GetFileChooserOwner(shown);
            themeDeferred = P::Detail::IsToolkitThemeDeferred();
            P::AnswerFileChooser(shown, false, "");
        });
    EXPECT_EQ(
        dialog->ShowOpenDialog(u"Presets|*.VantorPresetEditor", u"*.VantorPresetEditor", u"Load", false),
        kFail);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(owner, window);
    EXPECT_FALSE(themeDeferred) << "GTK drew the chooser without the user's theme";
    EXPECT_TRUE(dialog->GetPathName().IsEmpty());

    P::SetFileChooserShownHook(
        [](std::uintptr_t shown)
        { P::AnswerFileChooser(shown, true, "/tmp/kr-chooser/p.VantorPresetEditor"); });
    EXPECT_EQ(dialog->ShowSaveDialog(u"Presets|*.VantorPresetEditor", u"*.VantorPresetEditor", u"Save"), kOk);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(dialog->GetPathName(), String(u"/tmp/kr-chooser/p.VantorPresetEditor"));
    EXPECT_EQ(dialog->GetStartingFolder(), String(u"/tmp/kr-chooser"));
}

TEST_F(FileDialogDisplay, AChooserMadeBeforeAnyWindowWasActiveBelongsToTheWindowThereIsWhenItShows)
{
    char xid[32];
    std::snprintf(xid, sizeof xid, "0x%llx", static_cast<unsigned long long>(P::GetNativeWindowId(window)));
    for (const bool active : {true, false})
    {
        app.activeRootWindow = nullptr;
        RCPtr<LFileDialog> dialog(new LFileDialog(String(u".")));
        EXPECT_EQ(dialog->GetOwner(), 0u);
        // Shown while the window is active, or while it is only the first (the main) window.
        app.activeRootWindow = active ? root : nullptr;
        app.rootWindows = {RCPtr<IRootWindowServices>(root.Get())};
        std::string transientFor;
        P::SetFileChooserShownHook(
            [&](std::uintptr_t shown)
            {
                const std::string id =
                    P::Test::Capture("xdotool search --onlyvisible --name '^Owned Load$' 2>/dev/null");
                transientFor =
                    P::Test::Capture("xprop -id " + id.substr(0, id.find('\n')) + " WM_TRANSIENT_FOR");
                P::AnswerFileChooser(shown, false, "");
            });
        dialog->ShowOpenDialog(u"Presets|*.VantorPresetEditor", u"*.VantorPresetEditor", u"Owned Load",
                               false);
        EXPECT_FALSE(timedOut);
        EXPECT_NE(transientFor.find(std::string("window id # ") + xid), std::string::npos)
            << active << ": " << transientFor;
        app.rootWindows.clear();
    }
}

} // namespace
} // namespace KR
