#include "kr/ui/Clipboard.h"

#include "kr/notify/NotificationCenter.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <set>

namespace KR
{
namespace
{

// A control that takes edit operations: those in `possible`, recording what it was asked.
class EditBox : public LControl
{
public:
    using LControl::LControl;
    bool IsEditTarget() override { return editTarget; }
    bool CanPerformEdit(std::int32_t operation) override { return possible.count(operation) != 0; }
    Result PerformEdit(std::int32_t operation) override
    {
        performed.push_back(operation);
        return 7;
    }
    bool editTarget = true;
    std::set<std::int32_t> possible{EditOperation::kDelete, EditOperation::kCut, EditOperation::kCopy,
                                    EditOperation::kPaste};
    std::vector<std::int32_t> performed;
};

class ClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        box = new EditBox(RCPtr<LControl>(), String(u"box"));
        child = new LControl(RCPtr<LControl>(box), String(u"child"));
        app.activeRootWindow = window;
        window->focus = child.Get(); // the box is the edit target of its focused child
    }
    void TearDown() override { box->Detach(); }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<EditBox> box;
    RCPtr<LControl> child;
    RCPtr<LClipboard> clipboard = LClipboard::Create();
};

TEST_F(ClipboardTest, EditsReachTheFocusedControlsEditTargetOnlyWhenItCanPerformThem)
{
    struct Case
    {
        const char* what;
        std::function<void()> arrange;
        bool can;
        Result performed;
    };
    const Case cases[] = {
        {"possible", [] {}, true, 7},
        {"not possible now", [&] { box->possible.clear(); }, false, 1},
        {"no edit target", [&] { box->editTarget = false; }, false, 1},
        {"no focused control", [&] { window->focus = nullptr; }, false, 1},
        {"no active window", [&] { app.activeRootWindow = nullptr; }, false, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        c.arrange();
        EXPECT_EQ(clipboard->CanPerformEdit(EditOperation::kPaste), c.can);
        EXPECT_EQ(clipboard->PerformEdit(EditOperation::kPaste), c.performed);
        EXPECT_EQ(box->performed.size(), c.can ? 1u : 0u);
    }
}

TEST_F(ClipboardTest, EachEditRequestPerformsItsOperationAndIsTakenWhateverTheResult)
{
    const RCPtr<LNotificationCenter> center(new LNotificationCenter(String(u"test")));
    EXPECT_EQ(center->SendNotificationByName(u"NID_EDIT_COPY_REQ"), 1) << "deaf before Initialize";
    clipboard->Initialize(center);
    EXPECT_TRUE(clipboard->IsInitialized());
    box->possible = {EditOperation::kCut, EditOperation::kCopy, EditOperation::kDelete};
    for (const char16_t* name :
         {u"NID_EDIT_CUT_REQ", u"NID_EDIT_COPY_REQ", u"NID_EDIT_PASTE_REQ", u"NID_EDIT_DELETE_REQ"})
    {
        EXPECT_EQ(center->SendNotificationByName(name), 0);
    }
    EXPECT_EQ(box->performed, (std::vector<std::int32_t>{1, 2, 0})) << "paste was not possible";

    app.activeRootWindow = nullptr;
    EXPECT_EQ(center->SendNotificationByName(u"NID_EDIT_PASTE_REQ"), 0) << "handled, with nothing to do";
    clipboard->UnregisterForAllNotifications();
}

TEST_F(ClipboardTest, ARefusedRegistrationThrowsItsLineAndLeavesTheClipboardDeaf)
{
    try
    {
        clipboard->Initialize(nullptr);
        FAIL() << "no throw";
    }
    catch (const std::exception& error)
    {
        EXPECT_STREQ(error.what(), "Failed Result : KRRESULT = 80070057 : KR::LClipboard::Initialize : "
                                   "System\\ClipBoard : Line 41");
    }
    EXPECT_FALSE(clipboard->IsInitialized());
}

} // namespace
} // namespace KR
