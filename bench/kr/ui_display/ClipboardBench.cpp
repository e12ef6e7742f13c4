// The clipboard on a display (Xvfb), with xclip as the other program: taking the
// clipboard with a 10 kB text, reading a 10 kB text another program holds, and GetText
// when nothing changed (one round trip to the display server to learn that).

#include "kr/ui/Clipboard.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Window.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

namespace P = KR::Platform;

constexpr std::size_t kTextBytes = 10 * 1024;

bool HaveDisplayAndXclip(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") || !P::InitializeWindowSystem() ||
        std::system("command -v xclip >/dev/null 2>&1") != 0)
    {
        state.SkipWithError("no display or no xclip");
        return false;
    }
    return true;
}

KR::RCPtr<KR::LRefCountedObject> TenKilobytes()
{
    std::u16string text(kTextBytes, u'a');
    for (std::size_t i = 0; i < text.size(); i += 64)
    {
        text[i] = u'\n';
    }
    return KR::LClipboard::TextHolder::Create(KR::String(text.c_str()));
}

void BM_CopyTenKilobytes(benchmark::State& state)
{
    if (!HaveDisplayAndXclip(state))
    {
        return;
    }
    const KR::RCPtr<KR::LClipboard> clipboard = KR::LClipboard::Create();
    const KR::RCPtr<KR::LRefCountedObject> text = TenKilobytes();
    for (auto _ : state)
    {
        if (clipboard->SetText(text) != KR::kOk)
        {
            state.SkipWithError("the clipboard could not be taken");
            break;
        }
    }
}
BENCHMARK(BM_CopyTenKilobytes)->Unit(benchmark::kMicrosecond);

void BM_ReadTenKilobytesAnotherProgramHolds(benchmark::State& state)
{
    if (!HaveDisplayAndXclip(state))
    {
        return;
    }
    const std::string file = "/tmp/kr-clipboard-bench-" + std::to_string(getpid());
    if (FILE* out = std::fopen(file.c_str(), "wb"))
    {
        const std::string bytes(kTextBytes, 'b');
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    std::system(("xclip -i -selection clipboard < " + file + " >/dev/null 2>&1").c_str());
    std::remove(file.c_str());
    P::ClipboardContents contents;
    for (auto _ : state)
    {
        if (!P::ReadClipboard(contents) || contents.text.size() != kTextBytes)
        {
            // xclip takes the clipboard a moment after it returns.
            continue;
        }
    }
    if (contents.text.size() != kTextBytes)
    {
        state.SkipWithError("the other program's text did not arrive");
    }
}
BENCHMARK(BM_ReadTenKilobytesAnotherProgramHolds)->Unit(benchmark::kMicrosecond);

void BM_GetTextWhenNothingChanged(benchmark::State& state)
{
    if (!HaveDisplayAndXclip(state))
    {
        return;
    }
    const KR::RCPtr<KR::LClipboard> clipboard = KR::LClipboard::Create();
    clipboard->SetText(TenKilobytes());
    KR::RCPtr<KR::LRefCountedObject> content;
    for (auto _ : state)
    {
        clipboard->GetText(content);
        benchmark::DoNotOptimize(content.Get());
    }
}
BENCHMARK(BM_GetTextWhenNothingChanged)->Unit(benchmark::kMicrosecond);

} // namespace
