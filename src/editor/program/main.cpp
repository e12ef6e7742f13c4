// PresetEditor: the editor program. The host object is the one process-wide object of the
// program; it exists before `main` runs, as the framework's start-up expects.

#include "PlainClasses.h"
#include "editor/app/Application.h"
#include "kr/app/MFCFrameworkApp.h"

namespace
{

class EditorHost : public KR::MFCFrameworkApp<LApplication>
{
protected:
    void OnBeforeMainWindow() override
    {
        if (const KR::RCPtr<KR::LControlFactory> factory = GetApp()->GetControlFactory())
        {
            RegisterPlainPanelsForUnbuiltClasses(*factory);
        }
    }
};

EditorHost theApp;

} // namespace

int main(int argc, char** argv)
{
    return theApp.WinMain(argc, argv, -1);
}
