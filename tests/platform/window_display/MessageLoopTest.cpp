#include "DisplayFixture.h"

#include <stdexcept>
#include <string>
#include <thread>

namespace KR::Platform::Test
{
namespace
{

TEST_F(DisplayTest, IdleRunsAtMostTwoPassesAfterEachMessage)
{
    std::vector<int> passes;
    MessageLoop loop(
        [&](int pass)
        {
            passes.push_back(pass);
            if (passes.size() == 2)
            {
                PostMessage(window, WM_USER, 0, 0); // starts the passes again
            }
            if (passes.size() == 4)
            {
                PostMessage(window, WM_USER + 1, 0, 0);
            }
            return true; // always wants more
        });
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_USER + 1)
        {
            loop.End();
        }
        return std::intptr_t{0};
    };
    EXPECT_EQ(loop.Run(), MessageLoop::kEnded);
    EXPECT_EQ(passes, (std::vector<int>{0, 1, 0, 1}));

    passes.clear();
    MessageLoop once(
        [&](int pass)
        {
            passes.push_back(pass);
            PostMessage(window, WM_USER + 1, 0, 0);
            return false;
        });
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_USER + 1 && passes.size() == 2)
        {
            once.End();
        }
        return std::intptr_t{0};
    };
    EXPECT_EQ(once.Run(), MessageLoop::kEnded);
    EXPECT_EQ(passes, (std::vector<int>{0, 0}))
        << "a pass that wants no more ends them until the next message";
}

TEST_F(DisplayTest, TheMainLoopsIdleFunctionDecidesHowManyPassesFollow)
{
    std::vector<int> passes;
    MessageLoop loop(
        [&](int pass)
        {
            passes.push_back(pass);
            if (pass == 4)
            {
                PostMessage(window, WM_USER + 1, 0, 0);
            }
            return pass < 4;
        },
        MessageLoop::kWhileIdleAsks);
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_USER + 1)
        {
            loop.End();
        }
        return std::intptr_t{0};
    };
    EXPECT_EQ(loop.Run(), MessageLoop::kEnded);
    EXPECT_EQ(passes, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(DisplayTest, AQuitEndsTheNestedLoopsAndTheOutermostTakesIt)
{
    std::vector<std::string> events;
    MessageLoop outer;
    MessageLoop inner;
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t)
    {
        if (message == WM_USER)
        {
            PostMessage(window, WM_USER + 1, 7, 0);
            events.push_back(inner.Run() == MessageLoop::kQuit ? "inner quit" : "inner ended");
            MessageLoop late;
            events.push_back(late.Run() == MessageLoop::kQuit ? "late quit" : "late ended");
        }
        if (message == WM_USER + 1)
        {
            events.push_back("posted " + std::to_string(wParam));
            PostQuitMessage(3);
        }
        return std::intptr_t{0};
    };
    PostMessage(window, WM_USER, 0, 0);
    EXPECT_EQ(outer.Run(), MessageLoop::kQuit);
    EXPECT_EQ(outer.GetQuitCode(), 3);
    EXPECT_EQ(events, (std::vector<std::string>{"posted 7", "inner quit", "late quit"}));

    // The quit was taken: a new loop runs until it is ended.
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_TIMER)
        {
            outer.End();
        }
        return std::intptr_t{0};
    };
    ASSERT_TRUE(SetTimer(window, 9, 10));
    EXPECT_EQ(outer.Run(), MessageLoop::kEnded);
    EXPECT_EQ(procedure.Of(WM_TIMER).back().wParam, 9u);
    EXPECT_TRUE(KillTimer(window, 9));
    EXPECT_FALSE(KillTimer(window, 9));
}

// A tick handler that takes longer than its period keeps its timer always due; the window
// must still paint between ticks.
TEST_F(DisplayTest, ATimerSlowerThanItsPeriodLeavesTheWindowItsPaints)
{
    MessageLoop loop;
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_TIMER)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
        }
        if (message == WM_PAINT)
        {
            loop.End();
        }
        return std::intptr_t{0};
    };
    ASSERT_TRUE(SetTimer(window, 5, 1));
    // Bounds the wait: a second window's tick ends the loop if no paint ever comes.
    RecordingProcedure watchdog;
    watchdog.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_TIMER)
        {
            loop.End();
        }
        return std::intptr_t{0};
    };
    WindowCreateParams params;
    params.procedure = &watchdog;
    const WindowHandle guard = CreateWindow(params);
    ASSERT_TRUE(SetTimer(guard, 1, 5000));
    const std::size_t paintsBefore = procedure.Of(WM_PAINT).size();
    ASSERT_TRUE(InvalidateRect(window, nullptr));
    loop.Run();
    KillTimer(window, 5);
    DestroyWindow(guard);
    EXPECT_GT(procedure.Of(WM_PAINT).size(), paintsBefore);
    EXPECT_TRUE(watchdog.Of(WM_TIMER).empty()) << "no paint came while the slow timer ticked";
}

// A handler's failure may not unwind through GTK's C frames: the loops end and the
// outermost Run throws it to its caller, where the application handles it.
TEST_F(DisplayTest, AFailureOutOfAHandlerOrIdleEndsTheLoopsAndLeavesRun)
{
    const auto thrownBy = [](MessageLoop& loop)
    {
        try
        {
            loop.Run();
        }
        catch (const std::runtime_error& error)
        {
            return std::string(error.what());
        }
        return std::string("nothing");
    };

    std::vector<std::string> events;
    MessageLoop outer;
    MessageLoop inner;
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_USER)
        {
            PostMessage(window, WM_USER + 1, 0, 0);
            events.push_back("inner " + thrownBy(inner));
            throw std::runtime_error("again from the outer handler");
        }
        if (message == WM_USER + 1)
        {
            throw std::runtime_error("from the inner handler");
        }
        return std::intptr_t{0};
    };
    PostMessage(window, WM_USER, 0, 0);
    EXPECT_EQ(thrownBy(outer), "again from the outer handler");
    EXPECT_EQ(events, (std::vector<std::string>{"inner from the inner handler"}));

    MessageLoop idle([](int) -> bool { throw std::runtime_error("from an idle step"); });
    EXPECT_EQ(thrownBy(idle), "from an idle step");

    // Nothing is left held: the next loop runs until it is ended.
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_USER + 2)
        {
            outer.End();
        }
        return std::intptr_t{0};
    };
    PostMessage(window, WM_USER + 2, 0, 0);
    EXPECT_EQ(outer.Run(), MessageLoop::kEnded);
}

} // namespace
} // namespace KR::Platform::Test
