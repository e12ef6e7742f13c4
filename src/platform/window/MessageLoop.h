#pragma once
// Message loops: the program's main loop and the nested loops of modal windows. A loop
// runs until it is ended or a quit is posted; the quit ends every loop running, inner to
// outer, and the outermost one takes it.
//
// Idle passes: after any message (a repeated move of the pointer to the same place and
// painting excepted) the innermost loop calls its idle function once no message waits,
// with the pass count from 0; a second pass follows when the first asks for more, never
// a third until the next message (the rule of modal loops). The program's main loop lets
// its idle function decide instead: passes follow while it asks for more. A window's
// timer (the 33 ms tick) counts as a message.
//
//     MessageLoop loop([](int pass) { return app.OnIdle(pass == 0); });
//     if (loop.Run() == MessageLoop::kQuit) ...
//
// An exception that a window procedure or an idle step lets out is caught before it
// could unwind through GTK: every running loop ends, and Run (or DispatchPendingMessages)
// throws it again to its own caller.
//
// UI thread only.

#include <functional>

struct _GMainLoop;

namespace KR::Platform
{

class MessageLoop
{
public:
    enum Outcome
    {
        kEnded, // End was called
        kQuit,  // a quit was posted
    };

    enum IdleRule
    {
        kAtMostTwoPasses, // modal loops
        kWhileIdleAsks,   // the main loop: the idle function bounds its own passes
    };

    // The idle function answers whether it wants another pass.
    explicit MessageLoop(std::function<bool(int pass)> idle = {}, IdleRule rule = kAtMostTwoPasses);
    ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    Outcome Run();
    // Ends the loop once the message being handled returns; before Run, Run returns at once.
    void End();
    bool IsRunning() const { return mRunning; }
    // The code given to PostQuitMessage, after kQuit.
    int GetQuitCode() const { return mQuitCode; }

private:
    friend struct LoopStack;
    std::function<bool(int)> mIdle;
    IdleRule mIdleRule = kAtMostTwoPasses;
    _GMainLoop* mLoop = nullptr;
    bool mRunning = false;
    bool mEnded = false;
    int mQuitCode = 0;
};

// Runs `work` on a thread of its own while this thread's loop keeps turning (drawing,
// timers, posted messages, idle passes by `idle`), for work that may wait long on something
// outside the program. Returns once the work has ended: kEnded, or kQuit when a quit was
// posted meanwhile (it stays posted for the loops outside). What the work throws is thrown
// again here. Keeping the user's input away meanwhile is the caller's part.
MessageLoop::Outcome RunWhileWorking(const std::function<void()>& work,
                                     std::function<bool(int pass)> idle = {});

// Ends every running loop with kQuit; the outermost one consumes the quit. Any thread.
void PostQuitMessage(int exitCode);

// Starts the idle passes again as a message would.
void RearmIdle();

// Handles what waits now (drawing, timers that are due, posted messages) without waiting
// for more (an idle pass only inside a running loop); at most `limit` dispatches, so a source that is
// always ready cannot keep the caller. For work that holds the thread for long, such as
// the start-up while the splash window shows. The number handled.
int DispatchPendingMessages(int limit = 256);

} // namespace KR::Platform
