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

} // namespace KR
