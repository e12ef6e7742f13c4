// The key path of every keystroke that no control takes: the hot-key lookup, and the
// parsing done once per binding when a string table is read.

#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/ShortcutText.h"
#include "kr/ui/StringTable.h"

#include <benchmark/benchmark.h>

namespace
{

// Two dozen bindings, more than the application binds, all read from text.
KR::RCPtr<KR::LStringTable> GlobalHotKeys()
{
    KR::RCPtr<KR::LStringTable> table(new KR::LStringTable);
    for (int i = 1; i <= 24; ++i)
    {
        table->SetString(KR::String::Format(u"GHK.NID_BENCH_COMMAND_%d", i),
                         KR::String::Format(u"SHIFT+CTRL+VKEY_F%d", i));
    }
    return table;
}

// An unbound key walks every binding: the cost paid by ordinary typing.
void BM_HandleUnboundKey(benchmark::State& state)
{
    const auto manager = KR::LGlobalHotKeyManager::Create(nullptr);
    manager->GetHotKeyMap().AddFromStringTable(GlobalHotKeys(), u"GHK");
    const KR::KeyCode key = KR::KeyCode::FromVirtualKey(0x41, true, 0, 0);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(manager->HandleKey(key));
    }
}
BENCHMARK(BM_HandleUnboundKey);

void BM_ReadGlobalHotKeyTable(benchmark::State& state)
{
    const auto table = GlobalHotKeys();
    for (auto _ : state)
    {
        KR::HotKeyMap map;
        benchmark::DoNotOptimize(map.AddFromStringTable(table, u"GHK"));
    }
}
BENCHMARK(BM_ReadGlobalHotKeyTable);

void BM_ParseShortcutText(benchmark::State& state)
{
    const KR::String text(u"SHIFT+CTRL+VKEY_S");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::ParseShortcutText(text));
    }
}
BENCHMARK(BM_ParseShortcutText);

} // namespace
