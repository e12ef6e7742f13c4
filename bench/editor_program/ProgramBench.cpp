// The editor's start as its user sees it: from starting the program to the first paint of
// its main window (a 300-control test skin, and its own skin), read back from the X
// server, and its resident memory then; the same
// for a bare window of the window layer painting one rectangle, measured the same way in
// the same run. And the round trip of a hand-off over the single-instance socket.

#include "platform/graphics/Present.h"
#include "platform/graphics/Surface.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/SingleInstance.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/editor/EditorProcess.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLastColour = 0x30A050;
constexpr std::uint32_t kStatusBarColour = 0x1B1D21;
constexpr int kWidth = 1200;
constexpr int kHeight = 750;

// --- The bare window: one rectangle, painted whenever asked -----------------------------

class BareWindow : public P::IWindowProcedure
{
public:
    std::intptr_t WindowProc(P::WindowHandle window, std::uint32_t message, std::uintptr_t,
                             std::intptr_t) override
    {
        if (message == P::WM_PAINT)
        {
            P::PresentToWindow(reinterpret_cast<P::WindowKey>(window), mImage, {{0, 0, kWidth, kHeight}});
        }
        return 0;
    }
    BareWindow() : mImage(kWidth, kHeight)
    {
        mImage.WritePixels({0, 0, kWidth, kHeight}, 0xFF000000u | kLastColour);
    }

private:
    P::Surface mImage;
};

int RunBareWindow()
{
    if (!P::InitializeWindowSystem())
    {
        return 1;
    }
    BareWindow procedure;
    P::WindowCreateParams params;
    params.title = "bare";
    params.className = "BareWindow";
    params.client = {0, 0, kWidth, kHeight};
    params.procedure = &procedure;
    const P::WindowHandle window = P::CreateWindow(params);
    P::ShowWindow(window, P::SW_SHOWNORMAL);
    P::MessageLoop loop;
    loop.Run();
    return 0;
}

// --- Measuring a started program ---------------------------------------------------------

// Polls the program's window of that class until its pixel at (x, y) has the colour.
bool WaitForPaint(pid_t pid, const char* windowClass, int x, int y, std::uint32_t colour)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    std::uint64_t window = 0;
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    while (Clock::now() < deadline)
    {
        if (window == 0)
        {
            window = std::strtoull(KR::Platform::Test::Capture("xdotool search --all --onlyvisible --pid " +
                                                               std::to_string(pid) + " --class '" +
                                                               windowClass + "' 2>/dev/null")
                                       .c_str(),
                                   nullptr, 10);
        }
        if (window != 0 && P::CaptureNativeWindow(window, pixels, width, height) && x < width && y < height &&
            (pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu) == colour)
        {
            return true;
        }
    }
    return false;
}

double ResidentMegabytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind("VmRSS:", 0) == 0)
        {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0.0;
}

// 300 panels in a grid below "mainControl", the last one in kLastColour.
std::string ThreeHundredControlSkin()
{
    std::string controls;
    for (int index = 0; index < 300; ++index)
    {
        const int x = (index % 20) * 60;
        const int y = (index / 20) * 50;
        controls += "<SubControl Class=\"Framework.Panel\" Name=\"p" + std::to_string(index) +
                    "\" XPositionAbs=\"" + std::to_string(x) + "\" YPositionAbs=\"" + std::to_string(y) +
                    "\" XSizeAbs=\"56\" YSizeAbs=\"46\"><Skin Name=\"p" + std::to_string(index) +
                    "\" LookList=\"" + (index == 299 ? "LL.last" : "LL.cell") + "\"/></SubControl>\n";
    }
    return R"(<?xml version="1.0" encoding="utf-8"?>
<Bench_Skin_Definitions><Application Name="PresetEditor">
<Colorizers>
  <Colorizer Name="C.back" ColorType="SolidFill" Color="0xFF202020"/>
  <Colorizer Name="C.cell" ColorType="SolidFill" Color="0xFF404850"/>
  <Colorizer Name="C.last" ColorType="SolidFill" Color="0xFF30A050"/>
</Colorizers>
<Parts>
  <Part Name="P.back" Width="1" Height="1" ResizeType="Stretch" ColorizerName="C.back"/>
  <Part Name="P.cell" Width="1" Height="1" ResizeType="Stretch" ColorizerName="C.cell"/>
  <Part Name="P.last" Width="1" Height="1" ResizeType="Stretch" ColorizerName="C.last"/>
</Parts>
<Looks>
  <Look Name="L.back"><ClientPart Name="P.back" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look>
  <Look Name="L.cell"><ClientPart Name="P.cell" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look>
  <Look Name="L.last"><ClientPart Name="P.last" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look>
</Looks>
<LookLists>
  <LookList Name="LL.back" NumLooks="1"><Look Name="L.back" Index="0"/></LookList>
  <LookList Name="LL.cell" NumLooks="1"><Look Name="L.cell" Index="0"/></LookList>
  <LookList Name="LL.last" NumLooks="1"><Look Name="L.last" Index="0"/></LookList>
</LookLists>
<Skins><Skin Name="Bench" FontName="Arial" FontSize="8.25" FontStyle="0">
<SubControl Class="Framework.Panel" Name="mainControl" XPositionAbs="0" YPositionAbs="0" XSizeAbs="1200" YSizeAbs="750" XMinSizeAbs="1200" YMinSizeAbs="750" XMaxSizeAbs="1200" YMaxSizeAbs="750"><Skin Name="mainControl" LookList="LL.back">
)" + controls +
           R"(</Skin></SubControl>
</Skin></Skins>
</Application></Bench_Skin_Definitions>
)";
}

void StartToFirstPaintOfTheEditor(benchmark::State& state)
{
    EditorFolders folders;
    const std::string resources = folders.Home() + "/resources";
    std::filesystem::create_directories(resources);
    std::ofstream(resources + "/Skins.xml") << ThreeHundredControlSkin();
    std::ofstream(resources + "/FrameworkStrings.xml") << "<Tarsil_StringTable_Definitions/>";
    std::ofstream(resources + "/StringTables.xml") << "<Tarsil_StringTable_Definitions/>";
    double resident = 0.0;
    for (auto _ : state)
    {
        EditorProcess editor(folders);
        editor.SetResourceFolder(resources);
        const auto start = Clock::now();
        editor.Start();
        // The last cell of the grid, in its colour: every control has painted.
        if (!WaitForPaint(editor.Pid(), EditorProcess::kWindowClass, 19 * 60 + 10, 14 * 50 + 10, kLastColour))
        {
            state.SkipWithError("the editor's window did not paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        resident = ResidentMegabytes(editor.Pid());
        editor.Kill(SIGKILL);
        editor.WaitForExit();
    }
    state.counters["resident_MB"] = resident;
}
BENCHMARK(StartToFirstPaintOfTheEditor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The same with the program's own embedded skin: the whole keyboard picture below the real
// main control and keyboard view, the engine started; first paint when the status bar
// shows in its colour.
void StartToFirstPaintOfTheEditorsOwnSkin(benchmark::State& state)
{
    EditorFolders folders;
    double resident = 0.0;
    for (auto _ : state)
    {
        EditorProcess editor(folders);
        const auto start = Clock::now();
        editor.Start();
        if (!WaitForPaint(editor.Pid(), EditorProcess::kWindowClass, 800, 740, kStatusBarColour))
        {
            state.SkipWithError("the editor's window did not paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        resident = ResidentMegabytes(editor.Pid());
        editor.Kill(SIGKILL);
        editor.WaitForExit();
    }
    state.counters["resident_MB"] = resident;
}
BENCHMARK(StartToFirstPaintOfTheEditorsOwnSkin)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void StartToFirstPaintOfABareWindow(benchmark::State& state)
{
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    double resident = 0.0;
    for (auto _ : state)
    {
        std::string option = "--bare-window";
        char* argv[] = {program.data(), option.data(), nullptr};
        pid_t pid = -1;
        const auto start = Clock::now();
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0 ||
            !WaitForPaint(pid, "BareWindow", 10, 10, kLastColour))
        {
            state.SkipWithError("the bare window did not paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        resident = ResidentMegabytes(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    state.counters["resident_MB"] = resident;
}
BENCHMARK(StartToFirstPaintOfABareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// --- The hand-off ---------------------------------------------------------------------------

void HandOffRoundTrip(benchmark::State& state)
{
    EditorFolders folders;
    const std::string path = folders.Runtime() + "/bench.socket";
    P::CommandLineListener listener;
    std::string problem;
    std::size_t received = 0;
    listener.Start(
        path, [&](const std::string&) { ++received; }, problem);
    // The receiving side's loop on a thread of its own, as the first instance's UI thread.
    std::thread loop(
        []
        {
            P::MessageLoop messages;
            messages.Run();
        });
    const std::string line = "/usr/bin/PresetEditor -debug_console \"a preset.VantorPresetEditor\"";
    for (auto _ : state)
    {
        if (P::SendCommandLine(path, line) != P::HandOffResult::kDelivered)
        {
            state.SkipWithError("the hand-off failed");
            break;
        }
    }
    P::PostQuitMessage(0);
    loop.join();
    listener.Stop();
    state.counters["received"] = static_cast<double>(received);
}
BENCHMARK(HandOffRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--bare-window")
    {
        return RunBareWindow();
    }
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr, "bench_editor_program needs an X display (scripts/lib/services.sh)\n");
    }
    P::InitializeWindowSystem();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
