// Status texts set from worker threads: they reach the status bar through the UI thread's
// idle step, while that thread goes on changing the control tree a worker must not read,
// and the last one set is the one shown.

#include "kr/app/FrameworkApp.h"
#include "kr/controls/StatusBar.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::RCPtr;
using KR::String;
using KR::UiTest::TestControl;

TEST(StatusTextFromThreads, ReachesTheBarAtTheUIThreadsIdleStepWhileTheTreeChanges)
{
    KR::LFrameworkApp app(u"Test");
    RCPtr<KR::TestSupport::LFakeWindowServices> os(new KR::TestSupport::LFakeWindowServices);
    RCPtr<KR::LRootWindow> window(
        new KR::LRootWindow(RCPtr<KR::LRenderer>(new KR::TestSupport::LRecordingRenderer), os.Get()));
    app.AddRootWindow(window);
    const auto root = TestControl::Make(nullptr, u"root", KR::RectD{0, 0, 100, 100});
    window->SetRootControl(root);
    const RCPtr<KR::LStatusBar> bar(new KR::LStatusBar(root, u"status"));
    const auto label = TestControl::Make(bar, u"label1");
    bar->Initialize();
    bar->SetCreationFinished();
    const auto shown = [&] { return std::string(label->GetText().ToUtf8().GetPtr()); };

    std::vector<std::thread> workers;
    for (int worker = 0; worker < 2; ++worker)
    {
        workers.emplace_back(
            [&app]
            {
                for (int i = 0; i < 300; ++i)
                {
                    EXPECT_EQ(i % 7 == 0 ? app.ResetStatusText(false) : app.SetStatusText(u"Working", false),
                              KR::kOk);
                }
            });
    }
    for (int pass = 0; pass < 300; ++pass)
    {
        const auto passing = TestControl::Make(root, u"passing");
        app.OnIdle(pass == 0);
        passing->Detach();
    }
    for (std::thread& worker : workers)
    {
        worker.join();
    }
    std::thread([&app] { app.SetStatusText(u"Saved", false); }).join();
    EXPECT_NE(shown(), "Saved") << "shown on the worker's thread";
    app.OnIdle(true);
    app.OnIdle(false);
    EXPECT_EQ(shown(), "Saved");

    bar->ReleaseInternalReferences();
    window->ReleaseInternalReferences();
}

} // namespace
