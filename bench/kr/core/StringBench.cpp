// UTF-16 <-> UTF-8 round trips and label formatting, each beside a baseline from the
// standard library: the (deprecated, but still shipped) codecvt converter, and narrow
// snprintf into a std::string.

#include "kr/core/StringT.h"

#include <benchmark/benchmark.h>

#include <codecvt>
#include <cstdio>
#include <locale>
#include <string>

namespace
{

// A control label with a Latin-1 letter and a character outside the BMP, repeated to the
// benchmark's length in units.
std::u16string SampleText(std::size_t units)
{
    const std::u16string piece = u"Encoder 7 \u00E9 CC#74 \U0001F39B ";
    std::u16string text;
    while (text.size() < units)
    {
        text += piece;
    }
    text.resize(units);
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
    {
        text.back() = u'x';
    }
    return text;
}

void BM_RoundTrip_KR(benchmark::State& state)
{
    const KR::String text(SampleText(static_cast<std::size_t>(state.range(0))).c_str());
    for (auto _ : state)
    {
        const KR::Utf8String bytes = text.ToUtf8();
        const KR::String back(bytes);
        benchmark::DoNotOptimize(back.GetPtr());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RoundTrip_KR)->Arg(24)->Arg(1024);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void BM_RoundTrip_Codecvt(benchmark::State& state)
{
    const std::u16string text = SampleText(static_cast<std::size_t>(state.range(0)));
    std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> convert;
    for (auto _ : state)
    {
        const std::string bytes = convert.to_bytes(text);
        const std::u16string back = convert.from_bytes(bytes);
        benchmark::DoNotOptimize(back.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RoundTrip_Codecvt)->Arg(24)->Arg(1024);
#pragma GCC diagnostic pop

void BM_FormatLabel_KR(benchmark::State& state)
{
    int index = 0;
    for (auto _ : state)
    {
        const KR::String label = KR::String::Format(u"%s %d: CC %3d (%.1f%%)", u"Fader", index & 7,
                                                    index & 127, (index & 127) / 1.27);
        benchmark::DoNotOptimize(label.GetPtr());
        ++index;
    }
}
BENCHMARK(BM_FormatLabel_KR);

void BM_FormatLabel_Snprintf(benchmark::State& state)
{
    int index = 0;
    for (auto _ : state)
    {
        char buffer[128];
        const int n = std::snprintf(buffer, sizeof buffer, "%s %d: CC %3d (%.1f%%)", "Fader", index & 7,
                                    index & 127, (index & 127) / 1.27);
        const std::string label(buffer, static_cast<std::size_t>(n));
        benchmark::DoNotOptimize(label.data());
        ++index;
    }
}
BENCHMARK(BM_FormatLabel_Snprintf);

void BM_FormatName_KR(benchmark::State& state)
{
    int index = 0;
    for (auto _ : state)
    {
        const KR::String name = KR::String::Format(u"pushButton%d", index++ & 63);
        benchmark::DoNotOptimize(name.GetPtr());
    }
}
BENCHMARK(BM_FormatName_KR);

void BM_FormatName_Snprintf(benchmark::State& state)
{
    int index = 0;
    for (auto _ : state)
    {
        char buffer[64];
        const int n = std::snprintf(buffer, sizeof buffer, "pushButton%d", index++ & 63);
        const std::string name(buffer, static_cast<std::size_t>(n));
        benchmark::DoNotOptimize(name.data());
    }
}
BENCHMARK(BM_FormatName_Snprintf);

void BM_CopyAndCompare_KR(benchmark::State& state)
{
    const KR::String a(u"NID_MIDIMANAGER_PARAMETER_RECIEVED");
    for (auto _ : state)
    {
        const KR::String copy = a;
        benchmark::DoNotOptimize(copy == a);
    }
}
BENCHMARK(BM_CopyAndCompare_KR);

void BM_CopyAndCompare_StdString(benchmark::State& state)
{
    const std::u16string a = u"NID_MIDIMANAGER_PARAMETER_RECIEVED";
    for (auto _ : state)
    {
        const std::u16string copy = a;
        benchmark::DoNotOptimize(copy == a);
    }
}
BENCHMARK(BM_CopyAndCompare_StdString);

} // namespace
