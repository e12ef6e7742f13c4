// A dialog from a skin of 40 controls on a display (Xvfb): from DoModal to the first idle
// step of its modal loop (the window made, the tree placed, shown and painted once), then
// closed by its Cancel button's result.

#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/Dialog.h"
#include "kr/ui/RootWindow.h"
#include "platform/window/Window.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

// The dialog, 38 panels in rows and a Cancel button: 40 controls.
std::string DialogSkin()
{
    std::string children;
    for (int i = 0; i < 38; ++i)
    {
        children +=
            "<SubControl Class=\"Bench.Panel\" Name=\"field" + std::to_string(i) + "\" XPositionAbs=\"" +
            std::to_string(10 + (i % 4) * 95) + "\" YPositionAbs=\"" + std::to_string(10 + (i / 4) * 28) +
            "\" XSizeAbs=\"90\" YSizeAbs=\"24\"><Skin Name=\"field\" LookList=\"field\"/></SubControl>";
    }
    return R"(<?xml version="1.0" encoding="utf-8"?>
<Bench_Skins><Application Name="PresetEditor">
  <Colorizers><Colorizer Name="grey" ColorType="SolidFill" Color="0xFF808080"/>
    <Colorizer Name="blue" ColorType="SolidFill" Color="0xFF0000FF"/></Colorizers>
  <Parts><Part Name="grey" Width="1" Height="1" ResizeType="Stretch" ColorizerName="grey"/>
    <Part Name="blue" Width="1" Height="1" ResizeType="Stretch" ColorizerName="blue"/></Parts>
  <Looks><Look Name="grey"><ClientPart Name="grey" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look>
    <Look Name="blue"><ClientPart Name="blue" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look></Looks>
  <LookLists><LookList Name="dialog" NumLooks="1"><Look Name="grey" Index="0"/></LookList>
    <LookList Name="field" NumLooks="1"><Look Name="blue" Index="0"/></LookList></LookLists>
  <Skins><Skin Name="One">
    <SubControl Class="Bench.Dialog" Name="dialog" IsVisible="False"
                XPositionToControl="Client" XSizeToControl="Client" XSizeRel="1" XSizeAbs="0"
                YPositionToControl="Client" YSizeToControl="Client" YSizeRel="1" YSizeAbs="0">
      <Skin Name="dialog" LookList="dialog">)" +
           children +
           R"(<SubControl Class="Bench.Panel" Name="buttonCancel" XPositionAbs="300" YPositionAbs="300" XSizeAbs="80" YSizeAbs="24"><Skin Name="buttonCancel" LookList="field"/></SubControl>
      </Skin></SubControl></Skin></Skins>
</Application></Bench_Skins>)";
}

// Times DoModal to its first idle step and ends the dialog there.
class TimingApp : public KR::LFrameworkApp
{
public:
    using KR::LFrameworkApp::LFrameworkApp;
    bool OnIdle(bool sendIdle) override
    {
        const bool more = KR::LFrameworkApp::OnIdle(sendIdle);
        if (dialog && !idled)
        {
            idled = true;
            firstIdle = std::chrono::steady_clock::now();
            dialog->Close(KR::LDialog::kCancel);
        }
        return more;
    }
    KR::RCPtr<KR::LDialog> dialog;
    bool idled = false;
    std::chrono::steady_clock::time_point firstIdle;
};

void BM_DialogDoModalToFirstIdle(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") || !KR::Platform::InitializeWindowSystem())
    {
        state.SkipWithError("no display");
        return;
    }
    const std::string path = "/tmp/kr-dialog-bench-" + std::to_string(getpid()) + ".xml";
    if (FILE* out = std::fopen(path.c_str(), "wb"))
    {
        const std::string skin = DialogSkin();
        std::fwrite(skin.data(), 1, skin.size(), out);
        std::fclose(out);
    }
    TimingApp app(u"PresetEditor");
    const KR::RCPtr<KR::LControlFactory> factory = app.GetControlFactory();
    factory->RegisterControlClass(KR::String(u"Bench.Dialog"), &KR::LControl::CreateFromSkin<KR::LDialog>);
    factory->RegisterControlClass(KR::String(u"Bench.Panel"), &KR::LControl::CreateFromSkin<KR::LControl>);
    const KR::Result loaded = factory->LoadSkins(KR::String(path.c_str()));
    std::remove(path.c_str());
    if (loaded != KR::kOk)
    {
        state.SkipWithError("the skin did not load");
        return;
    }
    app.SetDefaultFont(KR::LFont::GetFont(KR::String(u"Sans"), 9.0f, 0));
    // A main window, as in the program: the dialog is owned by it.
    const KR::RCPtr<KR::LControl> main(new KR::LControl(KR::RCPtr<KR::LControl>(), KR::String(u"main")));
    main->SetFrame(KR::PointD{}, KR::PointD{300, 200});
    app.RunModal(main, false);
    for (auto _ : state)
    {
        app.dialog = KR::RCPtr<KR::LDialog>(factory->CreateControlByName(KR::String(u"dialog"), nullptr));
        if (!app.dialog)
        {
            state.SkipWithError("no dialog");
            break;
        }
        app.dialog->SetFrame(KR::PointD{}, KR::PointD{400, 340});
        app.idled = false;
        const auto start = std::chrono::steady_clock::now();
        const KR::Result result = app.dialog->DoModal();
        state.SetIterationTime(std::chrono::duration<double>(app.firstIdle - start).count());
        if (result != KR::LDialog::kCancel)
        {
            state.SkipWithError("the dialog did not end with its result");
            break;
        }
    }
    app.dialog = nullptr;
    if (const auto* root = dynamic_cast<KR::LRootWindow*>(main->GetRootWindow().Get()))
    {
        root->GetOSServices()->EndModal(0);
    }
}
BENCHMARK(BM_DialogDoModalToFirstIdle)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
