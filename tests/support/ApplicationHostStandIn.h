#pragma once
// A program host with nothing of a program's own: no application object, no main window.
// Tests derive from it to drive the host's own steps (start-up, boxes, splash).

#include "kr/app/ApplicationHost.h"
#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"

#include <string>

namespace KR::TestSupport
{

class LApplicationHostStandIn : public LApplicationHost
{
protected:
    RCPtr<LControlFactory> CreateControlFactory(const String& name) override
    {
        return new LControlFactory(name);
    }
    RCPtr<LFrameworkApp> CreateApplication(const RCPtr<LControlFactory>&, const RCPtr<LStringTable>&,
                                           const String&) override
    {
        return nullptr;
    }
    String GetApplicationTitle() override { return u"Host Test"; }
    Result CreateMainWindow() override { return kFail; }
    String GetMainControlName() override { return u"mainControl"; }
    void ShowMainWindow() override {}
    std::string GetHostName() const override { return "KR::MFCFrameworkApp<class LApplication>"; }
};

} // namespace KR::TestSupport
