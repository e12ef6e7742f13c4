// The status bar: texts posted from another thread reach the label at idle in order, the
// immediate form applies older posts first, and releasing the internal references ends
// the queue and frees the bar.

#include "kr/controls/StatusBar.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace KR
{
namespace
{

class CountedStatusBar : public LStatusBar
{
public:
    using LStatusBar::LStatusBar;
    ~CountedStatusBar() override { ++*destroyed; }
    int* destroyed = nullptr;
};

struct StatusBarTest : ::testing::Test
{
    StatusBarTest()
    {
        bar = new CountedStatusBar(root, String(u"status"));
        bar->destroyed = &destroyed;
        bar->SetFrame(PointD{0, 80}, PointD{100, 20});
        UiTest::TestControl::Make(RCPtr<LControl>(bar), String(u"label1"));
        bar->Initialize();
        bar->SetCreationFinished();
    }
    ~StatusBarTest() override
    {
        if (bar)
        {
            bar->ReleaseInternalReferences();
        }
        root->ReleaseInternalReferences();
    }
    std::string Shown() const { return bar->GetLabel()->GetText().ToUtf8().GetPtr(); }
    // Posts from a thread of its own and waits until it has.
    void PostFromThread(std::initializer_list<const char16_t*> texts)
    {
        std::thread poster(
            [this, texts]
            {
                for (const char16_t* text : texts)
                {
                    EXPECT_EQ(bar->PostText(String(text)), kOk);
                }
            });
        poster.join();
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<UiTest::TestControl> root = UiTest::TestControl::MakeRoot(window);
    int destroyed = 0;
    RCPtr<CountedStatusBar> bar;
};

TEST_F(StatusBarTest, TextsPostedFromAnotherThreadShowInOrderAtTheNextIdlePass)
{
    PostFromThread({u"first", u"second"});
    EXPECT_EQ(Shown(), "");
    window->Idle();
    EXPECT_EQ(Shown(), "second");
    window->Idle();
    EXPECT_EQ(Shown(), "second");
    EXPECT_TRUE(bar->IsNotFocusable(false));
}

TEST_F(StatusBarTest, PostsRacingTheIdlePassesAllArriveAndTheLastStays)
{
    constexpr int kTexts = 200;
    std::thread poster(
        [this]
        {
            for (int i = 1; i <= kTexts; ++i)
            {
                bar->PostText(String(std::to_string(i).c_str()));
            }
        });
    EXPECT_TRUE(TestSupport::WaitUntil(
        [this]
        {
            window->Idle();
            return Shown() == std::to_string(kTexts);
        }));
    poster.join();
}

TEST_F(StatusBarTest, SetTextNowAppliesTheOlderPostFirstAndShowsItsOwnText)
{
    PostFromThread({u"posted"});
    EXPECT_EQ(bar->SetTextNow(String(u"now")), kOk);
    EXPECT_EQ(Shown(), "now");
    window->Idle();
    EXPECT_EQ(Shown(), "now");
}

TEST_F(StatusBarTest, AfterTheInternalReferencesGoAPostFailsAndTheBarIsFreed)
{
    const RCPtr<LControl> label = bar->GetLabel();
    PostFromThread({u"dropped"});
    bar->ReleaseInternalReferences();
    EXPECT_EQ(bar->PostText(String(u"late")), kFail);
    window->Idle();
    EXPECT_TRUE(label->GetText().IsEmpty());
    root->GetChildren().RemoveAll();
    bar = nullptr;
    EXPECT_EQ(destroyed, 1);
}

TEST_F(StatusBarTest, WithoutALabelTextsAreDropped)
{
    RCPtr<LStatusBar> bare(new LStatusBar(RCPtr<LControl>(root), String(u"bare")));
    bare->Initialize();
    bare->SetCreationFinished();
    EXPECT_EQ(bare->PostText(String(u"lost")), kOk);
    window->Idle();
    EXPECT_EQ(bare->SetTextNow(String(u"lost too")), kOk);
    EXPECT_TRUE(bare->GetDefaultText().IsEmpty());
    bare->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
