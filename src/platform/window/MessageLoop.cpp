#include "platform/window/MessageLoop.h"

#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <glib.h>

#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace KR::Platform
{

struct LoopStack
{
    std::vector<MessageLoop*> loops;
    // What a window procedure or idle step let out: it may not unwind through GLib's C
    // frames, so it is held, every loop is ended, and the loop's Run throws it again to
    // its caller (the application's handling of an exception out of the message loop).
    // The first one is kept.
    std::exception_ptr heldException;
    bool quitPending = false;
    int quitCode = 0;
    // The idle passes: one source at a time, counted from the last message.
    guint idleSource = 0;
    int idlePass = 0;

    static LoopStack& Get()
    {
        static LoopStack stack;
        return stack;
    }

    static bool Idle(MessageLoop& loop, int pass) { return loop.mIdle ? loop.mIdle(pass) : false; }
    static bool AllowsPass(const MessageLoop& loop, int pass)
    {
        return loop.mIdleRule == MessageLoop::kWhileIdleAsks || pass < 2;
    }

    void QuitAll()
    {
        for (MessageLoop* loop : loops)
        {
            g_main_loop_quit(loop->mLoop);
        }
    }

    void Hold(std::exception_ptr error)
    {
        if (!heldException)
        {
            heldException = std::move(error);
        }
        QuitAll();
    }

    void RethrowHeld()
    {
        if (heldException)
        {
            std::exception_ptr error = std::move(heldException);
            heldException = nullptr;
            std::rethrow_exception(error);
        }
    }
};

namespace
{

struct Posted
{
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// Posted messages come from any thread; the UI thread takes them one per dispatch, so
// a message that runs a nested loop leaves the rest to that loop.
struct PostedQueue
{
    std::mutex mutex;
    std::deque<Posted> messages;
    bool scheduled = false;

    static PostedQueue& Get()
    {
        static PostedQueue queue;
        return queue;
    }
};

gboolean DeliverPosted(gpointer);

void SchedulePostedLocked(PostedQueue& queue)
{
    if (!queue.scheduled && !queue.messages.empty())
    {
        queue.scheduled = true;
        g_idle_add_full(G_PRIORITY_DEFAULT, DeliverPosted, nullptr, nullptr);
    }
}

gboolean DeliverPosted(gpointer)
{
    PostedQueue& queue = PostedQueue::Get();
    Posted posted{};
    {
        std::lock_guard lock(queue.mutex);
        queue.scheduled = false;
        if (queue.messages.empty())
        {
            return G_SOURCE_REMOVE;
        }
        posted = queue.messages.front();
        queue.messages.pop_front();
        SchedulePostedLocked(queue);
    }
    if (posted.message == WM_QUIT && posted.window == 0)
    {
        LoopStack& stack = LoopStack::Get();
        stack.quitPending = true;
        stack.quitCode = static_cast<int>(posted.wParam);
        stack.QuitAll();
    }
    else
    {
        Detail::Dispatch(posted.window, posted.message, posted.wParam, posted.lParam);
    }
    return G_SOURCE_REMOVE;
}

gboolean RunIdlePass(gpointer)
{
    LoopStack& stack = LoopStack::Get();
    // The source is gone before the idle function runs, so a loop nested in it gets
    // passes of its own.
    stack.idleSource = 0;
    if (stack.loops.empty())
    {
        return G_SOURCE_REMOVE;
    }
    MessageLoop* loop = stack.loops.back();
    const int pass = stack.idlePass++;
    bool more = false;
    try
    {
        more = LoopStack::Idle(*loop, pass);
    }
    catch (...)
    {
        stack.Hold(std::current_exception());
        return G_SOURCE_REMOVE;
    }
    if (more && LoopStack::AllowsPass(*loop, pass + 1) && stack.idleSource == 0 && stack.idlePass == pass + 1)
    {
        stack.idleSource = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, RunIdlePass, nullptr, nullptr);
    }
    return G_SOURCE_REMOVE;
}

} // namespace

namespace
{

// What the worker of RunWhileWorking and the loop waiting for it share; the loop's
// pointer is only touched on the UI thread.
struct WorkingLoop
{
    MessageLoop* loop = nullptr;
};

gboolean EndWorkingLoop(gpointer data)
{
    if (MessageLoop* loop = (*static_cast<std::shared_ptr<WorkingLoop>*>(data))->loop)
    {
        loop->End();
    }
    return G_SOURCE_REMOVE;
}

} // namespace

MessageLoop::Outcome RunWhileWorking(const std::function<void()>& work, std::function<bool(int)> idle)
{
    MessageLoop loop(std::move(idle));
    const auto shared = std::make_shared<WorkingLoop>();
    shared->loop = &loop;
    std::exception_ptr failure;
    std::thread worker(
        [&work, &failure, shared]
        {
            try
            {
                work();
            }
            catch (...)
            {
                failure = std::current_exception();
            }
            // The loop may have ended on a quit by now: the source then finds no loop.
            g_idle_add_full(G_PRIORITY_DEFAULT, EndWorkingLoop, new std::shared_ptr<WorkingLoop>(shared),
                            [](gpointer data) { delete static_cast<std::shared_ptr<WorkingLoop>*>(data); });
        });
    MessageLoop::Outcome outcome = MessageLoop::kQuit;
    try
    {
        outcome = loop.Run();
    }
    catch (...)
    {
        shared->loop = nullptr;
        worker.join();
        throw;
    }
    shared->loop = nullptr;
    worker.join();
    if (failure)
    {
        std::rethrow_exception(failure);
    }
    return outcome;
}

void RearmIdle()
{
    LoopStack& stack = LoopStack::Get();
    stack.idlePass = 0;
    if (stack.idleSource == 0)
    {
        stack.idleSource = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, RunIdlePass, nullptr, nullptr);
    }
}

std::intptr_t Detail::Dispatch(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam, bool startsIdle)
{
    if (startsIdle)
    {
        RearmIdle();
    }
    try
    {
        return SendMessage(window, message, wParam, lParam);
    }
    catch (...)
    {
        LoopStack::Get().Hold(std::current_exception());
        return 0;
    }
}

bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (window == 0)
    {
        return false;
    }
    PostedQueue& queue = PostedQueue::Get();
    std::lock_guard lock(queue.mutex);
    queue.messages.push_back({window, message, wParam, lParam});
    SchedulePostedLocked(queue);
    return true;
}

int DispatchPendingMessages(int limit)
{
    int handled = 0;
    while (handled < limit && g_main_context_iteration(nullptr, FALSE))
    {
        ++handled;
        LoopStack::Get().RethrowHeld();
    }
    return handled;
}

void PostQuitMessage(int exitCode)
{
    PostedQueue& queue = PostedQueue::Get();
    std::lock_guard lock(queue.mutex);
    queue.messages.push_back({0, WM_QUIT, static_cast<std::uintptr_t>(exitCode), 0});
    SchedulePostedLocked(queue);
}

MessageLoop::MessageLoop(std::function<bool(int pass)> idle, IdleRule rule)
    : mIdle(std::move(idle)), mIdleRule(rule)
{
    mLoop = g_main_loop_new(nullptr, FALSE);
}

MessageLoop::~MessageLoop()
{
    g_main_loop_unref(mLoop);
}

MessageLoop::Outcome MessageLoop::Run()
{
    LoopStack& stack = LoopStack::Get();
    if (!mEnded && !stack.quitPending)
    {
        stack.loops.push_back(this);
        mRunning = true;
        RearmIdle();
        g_main_loop_run(mLoop);
        mRunning = false;
        stack.loops.pop_back();
        stack.RethrowHeld();
    }
    if (mEnded)
    {
        mEnded = false;
        return kEnded;
    }
    // The quit travels on outward; the outermost loop takes it.
    mQuitCode = stack.quitCode;
    if (stack.loops.empty())
    {
        stack.quitPending = false;
    }
    return kQuit;
}

void MessageLoop::End()
{
    mEnded = true;
    if (mRunning)
    {
        g_main_loop_quit(mLoop);
    }
}

} // namespace KR::Platform
