// PresetEditor: the editor program. The host object is the one process-wide object of the
// program; it exists before `main` runs, as the framework's start-up expects.

#include "editor/app/Application.h"
#include "kr/app/MFCFrameworkApp.h"

namespace
{

KR::MFCFrameworkApp<LApplication> theApp;

} // namespace

int main(int argc, char** argv)
{
    return theApp.WinMain(argc, argv, -1);
}
