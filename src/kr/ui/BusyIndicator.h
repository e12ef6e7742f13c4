#pragma once
// KR::LBusyIndicator: the wait cursor and a status text on the window the user works in,
// for the length of a scope that holds the user-interface thread (a skin change).
//
//     {
//         KR::LBusyIndicator busy(u"Loading skin...");
//         ... the long operation ...
//     }   // the cursor and the status text as they were
//
// The window is the application's active root window, else its first; without one the
// cursor stays as it is. UI thread only.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/ui/RootWindowServices.h"

#include <cstdint>
#include <functional>

namespace KR
{

class LBusyIndicator
{
public:
    // Shows the wait cursor and the text at once, then runs one idle pass so that both
    // are painted before the operation starts.
    explicit LBusyIndicator(const String& text);
    // Gives back the cursor that was shown and the status bar's own text.
    ~LBusyIndicator();
    LBusyIndicator(const LBusyIndicator&) = delete;
    LBusyIndicator& operator=(const LBusyIndicator&) = delete;

    const RCPtr<IRootWindowServices>& GetRootWindow() const { return mRootWindow; }

private:
    std::uint32_t mSavedCursor = 0;
    RCPtr<IRootWindowServices> mRootWindow;
};

// Runs `work` on a thread of its own while the application's windows keep drawing (their
// loop turns, idle passes included) and take no input, as under a modal box: for an
// operation that may wait long on something outside the program, such as a MIDI transfer
// to a server that does not answer. Returns once the work has ended; false when a quit
// came meanwhile (it stays posted for the loops outside). What the work throws is thrown
// again here. UI thread only.
bool RunWhileWindowsWait(const std::function<void()>& work);

} // namespace KR
