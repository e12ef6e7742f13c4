#include "editor/app/AppString.h"

#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/StringTable.h"

KR::String GetAppString(const KR::String& key)
{
    KR::IFrameworkApp& installed = KR::IFrameworkApp::GetInstance();
    KR::RCPtr<KR::LStringTable> table;
    if (const auto* app = dynamic_cast<const KR::LFrameworkApp*>(&installed))
    {
        table = app->GetApplicationStringTable();
    }
    else if (const KR::RCPtr<KR::LControlFactory> factory = installed.GetControlFactory())
    {
        // Tests that run the editor's tree without the application object.
        table = factory->GetApplicationStringTable();
    }
    KR::String text;
    if (table)
    {
        table->GetString(key, text);
    }
    return text;
}
