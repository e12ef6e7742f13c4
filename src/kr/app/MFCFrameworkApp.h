#pragma once
// KR::MFCFrameworkApp<T>: the process's host for the program's application class T (an
// LApplicationBase<T>). One object for the whole process, defined beside `main`:
//
//     KR::MFCFrameworkApp<LApplication> theApp;
//     int main(int argc, char** argv) { return theApp.WinMain(argc, argv, -1); }
//
// Everything but making T and asking it for its main window is LApplicationHost's.

#include "kr/app/ApplicationHost.h"
#include "kr/app/FrameworkApp.h"
#include "kr/core/TypeName.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/StringTable.h"

#include <string>

namespace KR
{

template <typename T>
class MFCFrameworkApp : public LApplicationHost
{
public:
    // The application object while it lives.
    T* GetApp() const { return dynamic_cast<T*>(GetApplication().Get()); }

protected:
    RCPtr<LControlFactory> CreateControlFactory(const String& productName) override
    {
        return T::CreateControlFactory(productName);
    }

    RCPtr<LFrameworkApp> CreateApplication(const RCPtr<LControlFactory>& factory,
                                           const RCPtr<LStringTable>& frameworkStrings,
                                           const String& commandLine) override
    {
        return RCPtr<LFrameworkApp>(new T(factory, frameworkStrings, commandLine));
    }

    String GetApplicationTitle() override { return T::GetApplicationTitle(); }

    Result CreateMainWindow() override
    {
        T* app = GetApp();
        return app->CreateMainWindow(app->GetRendererKind());
    }

    String GetMainControlName() override { return GetApp()->GetMainControlName(); }

    void ShowMainWindow() override { GetApp()->ShowMainWindow(); }

    std::string GetHostName() const override { return "KR::MFCFrameworkApp<" + TypeName<T>() + ">"; }
};

} // namespace KR
