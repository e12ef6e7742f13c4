#pragma once
// The boxes that wait for the user's answer (message boxes, the file chooser and the question
// it asks before a file is replaced), as they run: an end of the program that cannot wait
// for the user (a signal) closes them all as if cancelled, and no box shows from then on,
// so that the code a cancelled box returns to cannot begin new modal work.
//
//     if (AreModalBoxesRefused()) return kCancelled;           // before a box is made
//     ModalBoxScope scope([&] { EndTheBoxAsCancelled(); });     // while it runs
//     ... its loop ...
//
// UI thread only.

#include <functional>

namespace KR::Platform
{

// A running box and how it is cancelled (as its close box does), innermost last.
class ModalBoxScope
{
public:
    explicit ModalBoxScope(std::function<void()> cancel);
    ~ModalBoxScope();
    ModalBoxScope(const ModalBoxScope&) = delete;
    ModalBoxScope& operator=(const ModalBoxScope&) = delete;

private:
    std::function<void()> mCancel;
};

// Cancels every running box, innermost first, and refuses the boxes asked for later: each
// returns at once as cancelled, without a window. Each loop ends once control comes back to
// it, so the call returns before any box has.
void CancelModalBoxes();
bool AreModalBoxesRefused();
// Boxes show again (a program's new run).
void AllowModalBoxes();

} // namespace KR::Platform
