#include "editor/app/MessageBox.h"

#include "kr/app/FrameworkApp.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/FrameworkApp.h"

std::int32_t ShowMessageBox(const KR::String& text, const KR::String& caption, std::uint32_t flags)
{
    if (auto* app = dynamic_cast<KR::LFrameworkApp*>(&KR::IFrameworkApp::GetInstance()))
    {
        return app->ShowMessageBox(text, caption, flags);
    }
    // No application to show it (a test's stand-in): the log line the box would write.
    KR::GetDebugLog().Narrow() << "MessageBox: " << caption.ToUtf8().GetPtr() << " | "
                               << text.ToUtf8().GetPtr() << " | " << flags << '\n';
    return 1;
}
