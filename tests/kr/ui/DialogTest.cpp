#include "kr/ui/Dialog.h"

#include "ControlTestSupport.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using UiTest::Recorder;
using UiTest::TestControl;

// Keeps the focus while `refuses` holds.
class StubbornControl : public TestControl
{
public:
    using TestControl::TestControl;
    bool CanReleaseFocus() override { return !refuses; }
    bool refuses = true;
};

// Counts the calls of the slot that derived dialogs use.
class CountingDialog : public LDialog
{
public:
    using LDialog::LDialog;
    void OnClosed() override { ++closed; }
    int closed = 0;
};

// A dialog as the root control of a window over fake system services, with the buttons
// named; a listener records what the dialog sends.
struct DialogWindow
{
    explicit DialogWindow(std::initializer_list<const char16_t*> buttons)
    {
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        dialog = RCPtr<CountingDialog>(new CountingDialog(RCPtr<LControl>(), String(u"dialog")));
        dialog->SetFrame(PointD{}, PointD{200, 100});
        window->SetRootControl(dialog);
        double x = 0;
        for (const char16_t* name : buttons)
        {
            TestControl::Make(dialog, String(name), RectD{x, 70, 20, 20});
            x += 25;
        }
        dialog->Initialize();
        listener->Listen(dialog, {u"NID_DIALOG_CLOSING", u"NID_DIALOG_CLOSED"});
    }
    ~DialogWindow() { window->ReleaseInternalReferences(); }

    // The click a button sends, as the standard buttons do.
    void Click(const char16_t* name)
    {
        const RCPtr<LControl>& button = dialog->FindChildControl(String(name));
        ASSERT_TRUE(button) << String(name).ToUtf8().GetPtr();
        button->SendNotificationByName(u"NID_LEFT_CLICK");
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRenderer> renderer{new TestSupport::LRecordingRenderer};
    RCPtr<LRootWindow> window;
    RCPtr<CountingDialog> dialog;
    RCPtr<Recorder> listener = Recorder::Create();
};

const std::initializer_list<const char16_t*> kAllButtons = {u"buttonOK",    u"buttonClose", u"buttonCancel",
                                                            u"buttonAbort", u"buttonRetry", u"buttonIgnore",
                                                            u"buttonYes",   u"buttonNo"};

TEST(Dialog, EachStandardButtonClosesWithItsResultAtTheNextIdleStep)
{
    const std::pair<const char16_t*, Result> rows[] = {
        {u"buttonOK", 1},    {u"buttonClose", 1},  {u"buttonCancel", 2}, {u"buttonAbort", 3},
        {u"buttonRetry", 4}, {u"buttonIgnore", 5}, {u"buttonYes", 6},    {u"buttonNo", 7}};
    for (const auto& [name, result] : rows)
    {
        DialogWindow w(kAllButtons);
        w.Click(name);
        EXPECT_EQ(w.dialog->GetResult(), result);
        EXPECT_EQ(w.listener->received,
                  (std::vector<std::string>{"dialog:NID_DIALOG_CLOSING", "dialog:NID_DIALOG_CLOSED"}));
        EXPECT_EQ(w.dialog->closed, 1);
        EXPECT_TRUE(w.os->modalResults.empty()) << "the loop ends at the idle step, not before";
        w.window->OnIdle(false);
        EXPECT_EQ(w.os->modalResults, std::vector<Result>{result});
    }
}

TEST(Dialog, ACancelledCloseKeepsTheDialogOpenAndSendsNoClosed)
{
    DialogWindow w({u"buttonCancel"});
    class Canceller : public LNotificationClient
    {
    public:
        Result Receive(const RCPtr<LNotificationDistributor>&,
                       const RCPtr<LNotification>& notification) override
        {
            if (const RCPtr<LCancelArgs> args = notification->GetDataAs<LCancelArgs>())
            {
                args->cancel = true;
            }
            return kOk;
        }
    };
    const RCPtr<Canceller> canceller(new Canceller);
    canceller->RegisterForNotification(w.dialog, u"NID_DIALOG_CLOSING");
    w.Click(u"buttonCancel");
    w.window->OnIdle(false);
    EXPECT_TRUE(w.os->modalResults.empty());
    EXPECT_EQ(w.listener->received, std::vector<std::string>{"dialog:NID_DIALOG_CLOSING"});
    EXPECT_EQ(w.dialog->closed, 0);
    EXPECT_EQ(w.dialog->GetResult(), 2) << "the result is kept all the same";
}

TEST(Dialog, TwoClosesBeforeTheIdleStepEndTheLoopWithTheLastResult)
{
    DialogWindow w({});
    w.dialog->Close(3);
    w.dialog->Close(4);
    w.window->OnIdle(false);
    EXPECT_EQ(w.os->modalResults, std::vector<Result>{4});
    EXPECT_EQ(w.dialog->closed, 2);
}

TEST(Dialog, WithoutOkTheOtherButtonsCloseAndOtherNamesDoNothing)
{
    DialogWindow w({u"buttonNo", u"buttonHelp"});
    w.Click(u"buttonHelp");
    w.window->OnIdle(false);
    EXPECT_TRUE(w.os->modalResults.empty());
    EXPECT_TRUE(w.listener->received.empty());
    w.Click(u"buttonNo");
    w.window->OnIdle(false);
    EXPECT_EQ(w.os->modalResults, std::vector<Result>{7});
}

TEST(Dialog, OkDoesNothingWhileTheFocusedControlKeepsTheFocus)
{
    DialogWindow w({u"buttonOK"});
    const RCPtr<StubbornControl> field(new StubbornControl(RCPtr<LControl>(w.dialog), String(u"field")));
    field->SetFrame(PointD{100, 10}, PointD{50, 20});
    field->SetNotFocusable(false);
    field->InitializeConditions();
    ASSERT_GE(field->SetFocus(true), 0);
    w.Click(u"buttonOK");
    w.window->OnIdle(false);
    EXPECT_TRUE(w.os->modalResults.empty());
    EXPECT_TRUE(w.listener->received.empty());
    field->refuses = false;
    w.Click(u"buttonOK");
    w.window->OnIdle(false);
    EXPECT_EQ(w.os->modalResults, std::vector<Result>{1});
}

TEST(Dialog, TheWindowsCloseBoxCancelsAndDoModalGoesThroughTheApplication)
{
    DialogWindow w({u"buttonOK"});
    w.window->RequestClose();
    EXPECT_EQ(w.dialog->GetResult(), 2);
    w.window->OnIdle(false);
    EXPECT_EQ(w.os->modalResults, std::vector<Result>{2});

    w.app.modalResult = 6;
    EXPECT_EQ(w.dialog->DoModal(), 6);
    w.app.modalResult = kFail;
    EXPECT_EQ(w.dialog->DoModal(), kFail);
    EXPECT_EQ(w.app.modalRuns, 2);
}

} // namespace
} // namespace KR
