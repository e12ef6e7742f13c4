#include "kr/ui/BusyIndicator.h"

#include "kr/system/CursorNames.h"
#include "kr/ui/FrameworkApp.h"

namespace KR
{

LBusyIndicator::LBusyIndicator(const String& text)
{
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    mRootWindow = app.GetActiveRootWindow();
    if (!mRootWindow)
    {
        mRootWindow = app.GetRootWindow(0);
    }
    if (mRootWindow)
    {
        mSavedCursor = mRootWindow->SetCursor(app.LoadCursorByName(kCursorWait));
    }
    app.SetStatusText(text, true);
    app.OnIdle(true);
}

LBusyIndicator::~LBusyIndicator()
{
    if (mRootWindow)
    {
        mRootWindow->SetCursor(mSavedCursor);
    }
    IFrameworkApp::GetInstance().ResetStatusText(true);
    mRootWindow = nullptr;
}

} // namespace KR
