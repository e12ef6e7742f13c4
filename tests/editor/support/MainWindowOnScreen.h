#pragma once
// The editor's main window made as the program makes it ("mainControl" from the embedded
// skin and string tables, the framework's and the editor's classes, the program's plain
// panels for the classes not built yet) and shown on the test display.
//
//     KR::TestSupport::InstalledEngine engine;
//     const RCPtr<KR::LFrameworkApp> app(new KR::LFrameworkApp(u"PresetEditor"));
//     KR::TestSupport::MainWindowOnScreen shown(*app);
//     ASSERT_NO_FATAL_FAILURE(shown.Open());

#include "editor/app/ApplicationControlClasses.h"
#include "editor/program/PlainClasses.h"
#include "kr/ui/ControlFactory.h"
#include "support/ShownWindow.h"

#include <gtest/gtest.h>

namespace KR::TestSupport
{

class MainWindowOnScreen : public ShownWindow
{
public:
    using ShownWindow::ShownWindow;

    void Open()
    {
        const RCPtr<LControlFactory> factory = mApp.GetControlFactory();
        ASSERT_EQ(factory->LoadStringTablesAndSkins(String(u"::"), 1033), kOk);
        RegisterApplicationControlClasses(*factory);
        ASSERT_EQ(mApp.RunApplicationStartup(), kOk);
        RegisterPlainPanelsForUnbuiltClasses(*factory);
        main = factory->CreateControlByName(String(u"mainControl"), nullptr);
        ASSERT_TRUE(main);
        Show(main);
    }

    RCPtr<LControl> main;
};

} // namespace KR::TestSupport
