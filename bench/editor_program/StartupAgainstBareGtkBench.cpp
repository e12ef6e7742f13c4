// The editor's start against a program of nothing but GTK 3 (bare_gtk/: a window of the
// editor's size painting one rectangle), both started the same way under the same display
// and environment, one after the other in turns, and watched from outside through the
// display server:
//   mapped    exec to the map of the process's top-level window;
//   painted   exec to the first frame that is not all one colour;
//   settled   exec to the first frame from which on every frame is one of those shown in
//             the last second of the watch (the complete window, not a partly drawn one;
//             a blinking caret makes the settled window two frames, not one);
// and, at the end of the watch (3 s after exec), RssAnon and VmHWM from /proc. Medians
// and the editor / bare ratios are the counters; every run goes to standard error.
//
// Run it from the release build, under an X server and without a JACK server (the memory
// figures are meant without one): Xvfb :5 -screen 0 1280x1024x24 & DISPLAY=:5
// build/release/bench/.../bench_editor_program --benchmark_filter=AgainstBareGtk
// (KR_BENCH_EDITOR_PROGRAM names another build of the program to measure instead).

#include "platform/window/ForeignWindowWatch.h"
#include "support/editor/EditorProcess.h"

#include "BareGtkProgram.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace
{

using Clock = std::chrono::steady_clock;
using KR::Platform::ForeignFrame;
using KR::Platform::ForeignWindowWatch;
using KR::TestSupport::EditorFolders;

constexpr std::chrono::milliseconds kWatch{3000};
// Longer than a caret's blink: what the window shows over this span at the end is settled.
constexpr std::chrono::duration<double, std::milli> kSettledSpan{1200};

struct StartFigures
{
    double mappedMs = -1;
    double paintedMs = -1;
    double settledMs = -1;
    double rssAnonMb = 0;
    double hwmMb = 0;
};

double StatusMegabytes(pid_t pid, const char* key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::size_t length = std::strlen(key);
    while (std::getline(status, line))
    {
        if (line.compare(0, length, key) == 0 && line.size() > length && line[length] == ':')
        {
            return std::strtod(line.c_str() + length + 1, nullptr) / 1024.0;
        }
    }
    return 0.0;
}

// The caller's environment with the folders' HOME and XDG folders, the same for both programs.
std::vector<std::string> Environment(const EditorFolders& folders)
{
    std::map<std::string, std::string> values;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
        {
            values[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    values["HOME"] = folders.Home();
    values["XDG_CONFIG_HOME"] = folders.Home() + "/config";
    values["XDG_DATA_HOME"] = folders.Home() + "/data";
    values["XDG_RUNTIME_DIR"] = folders.Runtime();
    values.erase("KR_RESOURCE_FOLDER");
    std::vector<std::string> lines;
    for (const auto& [name, value] : values)
    {
        lines.push_back(name + "=" + value);
    }
    return lines;
}

// Starts the program, watches it for kWatch and ends it.
bool MeasureStart(ForeignWindowWatch& watch, const std::string& program, std::vector<std::string> environment,
                  StartFigures& figures)
{
    std::vector<char*> envp;
    for (std::string& line : environment)
    {
        envp.push_back(line.data());
    }
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    watch.MappedWindowOf(0); // drops events of earlier windows
    watch.ForgetCachedVisuals();
    pid_t pid = -1;
    const auto start = Clock::now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
    {
        return false;
    }
    const auto since = [&start](Clock::time_point at)
    { return std::chrono::duration<double, std::milli>(at - start).count(); };
    struct Seen
    {
        double at;
        std::uint64_t hash;
    };
    std::vector<Seen> frames;
    std::uint64_t window = 0;
    while (Clock::now() - start < kWatch)
    {
        if (window == 0)
        {
            window = watch.MappedWindowOf(pid);
            if (window != 0)
            {
                figures.mappedMs = since(Clock::now());
            }
            continue;
        }
        ForeignFrame frame;
        if (!watch.Grab(window, frame))
        {
            continue;
        }
        const double at = since(Clock::now());
        if (!frame.uniform && figures.paintedMs < 0)
        {
            figures.paintedMs = at;
        }
        frames.push_back({at, frame.hash});
    }
    figures.rssAnonMb = StatusMegabytes(pid, "RssAnon");
    figures.hwmMb = StatusMegabytes(pid, "VmHWM");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    watch.WaitUntilGone(window, 2000);
    if (frames.empty())
    {
        return false;
    }
    if (std::getenv("KR_BENCH_FRAME_CHANGES") != nullptr)
    {
        // When a window never settles, which frames kept changing it.
        for (std::size_t i = 0; i < frames.size(); ++i)
        {
            if (i == 0 || frames[i].hash != frames[i - 1].hash)
            {
                std::fprintf(stderr, "  %s frame %016llx from %7.1f ms\n", program.c_str(),
                             static_cast<unsigned long long>(frames[i].hash), frames[i].at);
            }
        }
    }
    std::vector<std::uint64_t> settled;
    for (const Seen& frame : frames)
    {
        if (frame.at >= frames.back().at - kSettledSpan.count() &&
            std::find(settled.begin(), settled.end(), frame.hash) == settled.end())
        {
            settled.push_back(frame.hash);
        }
    }
    std::size_t first = frames.size() - 1;
    while (first > 0 && std::find(settled.begin(), settled.end(), frames[first - 1].hash) != settled.end())
    {
        --first;
    }
    figures.settledMs = frames[first].at;
    return figures.mappedMs >= 0 && figures.paintedMs >= 0;
}

double Median(std::vector<double> values)
{
    if (values.empty())
    {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void Report(benchmark::State& state, const char* name, const std::vector<StartFigures>& editor,
            const std::vector<StartFigures>& bare, double StartFigures::*field)
{
    std::vector<double> editorValues, bareValues;
    for (const StartFigures& figures : editor)
    {
        editorValues.push_back(figures.*field);
    }
    for (const StartFigures& figures : bare)
    {
        bareValues.push_back(figures.*field);
    }
    const double e = Median(editorValues);
    const double b = Median(bareValues);
    state.counters[std::string("editor_") + name] = e;
    state.counters[std::string("bare_") + name] = b;
    state.counters[std::string("ratio_") + name] = b > 0 ? e / b : 0.0;
}

void EditorStartAgainstBareGtkWindow(benchmark::State& state)
{
    ForeignWindowWatch watch;
    if (!watch.IsOpen())
    {
        state.SkipWithError("no X display");
        return;
    }
    watch.ShowBackdrop();
    EditorFolders folders;
    const std::vector<std::string> environment = Environment(folders);
    // Another build of the program (an earlier one kept aside, say) when the caller names it.
    const char* other = std::getenv("KR_BENCH_EDITOR_PROGRAM");
    const std::string editorProgram =
        other != nullptr && *other != '\0' ? other : KR::TestSupport::EditorProcess::ProgramPath();
    std::vector<StartFigures> editor, bare;
    for (auto _ : state)
    {
        // In turns, so a change of the machine's load falls on both alike.
        StartFigures e, b;
        if (!MeasureStart(watch, editorProgram, environment, e) ||
            !MeasureStart(watch, KR_BARE_GTK_PROGRAM, environment, b))
        {
            state.SkipWithError("a program did not map or paint its window");
            return;
        }
        std::fprintf(
            stderr,
            "run %zu  editor: mapped %6.1f painted %6.1f settled %6.1f ms  RssAnon %5.1f VmHWM %5.1f MB"
            "  |  bare: mapped %6.1f painted %6.1f settled %6.1f ms  RssAnon %5.1f VmHWM %5.1f MB\n",
            editor.size() + 1, e.mappedMs, e.paintedMs, e.settledMs, e.rssAnonMb, e.hwmMb, b.mappedMs,
            b.paintedMs, b.settledMs, b.rssAnonMb, b.hwmMb);
        editor.push_back(e);
        bare.push_back(b);
        state.SetIterationTime((e.settledMs + b.settledMs) / 1000.0);
    }
    Report(state, "mapped_ms", editor, bare, &StartFigures::mappedMs);
    Report(state, "painted_ms", editor, bare, &StartFigures::paintedMs);
    Report(state, "settled_ms", editor, bare, &StartFigures::settledMs);
    Report(state, "RssAnon_MB", editor, bare, &StartFigures::rssAnonMb);
    Report(state, "VmHWM_MB", editor, bare, &StartFigures::hwmMb);
    // The yardstick: the editor complete against the bare window's first paint.
    std::vector<double> barePainted, editorSettled;
    for (std::size_t run = 0; run < editor.size(); ++run)
    {
        barePainted.push_back(bare[run].paintedMs);
        editorSettled.push_back(editor[run].settledMs);
    }
    const double barePaint = Median(barePainted);
    state.counters["ratio_editor_settled_to_bare_painted"] =
        barePaint > 0 ? Median(editorSettled) / barePaint : 0;
}
BENCHMARK(EditorStartAgainstBareGtkWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
