// A preset's worth of values: 131 blobs of 5 to 17 bytes (1338 bytes in all), written and
// read as the preset file does (one record each) and as a ParamValues list travels.

#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using KR::ParamValue;
using KR::ParamValues;
using KR::Variant;

std::vector<ParamValue> PresetLikeValues()
{
    const struct
    {
        int count;
        std::uint32_t size;
    } runs[] = {{1, 6}, {4, 9}, {2, 5}, {1, 6}, {1, 6}, {16, 14}, {36, 17}, {36, 6}, {32, 6}, {2, 15}};
    std::vector<ParamValue> values;
    for (const auto& run : runs)
    {
        for (int i = 0; i < run.count; ++i)
        {
            std::vector<std::uint8_t> block(run.size);
            for (std::size_t b = 0; b < block.size(); ++b)
            {
                block[b] = static_cast<std::uint8_t>(values.size() + b);
            }
            Variant value;
            value.SetBlob(block.data(), run.size);
            values.emplace_back(KR::ParamDescriptor(static_cast<std::int32_t>(values.size())), value);
        }
    }
    return values;
}

std::vector<std::uint8_t> SerializeEach(const std::vector<ParamValue>& values)
{
    std::vector<std::uint8_t> out(1338 + 131 * 12);
    std::uint32_t at = 0;
    for (const ParamValue& v : values)
    {
        at += Variant::Serialize(v.value, out.data() + at, static_cast<std::uint32_t>(out.size()) - at);
    }
    return out;
}

// The preset file's way: one record per value into one buffer.
void BM_Serialize131Records(benchmark::State& state)
{
    const std::vector<ParamValue> values = PresetLikeValues();
    std::vector<std::uint8_t> out(1338 + 131 * 12);
    for (auto _ : state)
    {
        std::uint32_t at = 0;
        for (const ParamValue& v : values)
        {
            at += Variant::Serialize(v.value, out.data() + at, static_cast<std::uint32_t>(out.size()) - at);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 131);
}
BENCHMARK(BM_Serialize131Records);

void BM_Deserialize131Records(benchmark::State& state)
{
    const std::vector<std::uint8_t> records = SerializeEach(PresetLikeValues());
    std::vector<Variant> values(131);
    for (auto _ : state)
    {
        std::uint32_t at = 0;
        for (Variant& v : values)
        {
            Variant::Deserialize(v, records.data() + at, static_cast<std::uint32_t>(records.size()) - at);
            at += v.GetSize() + 12;
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * 131);
}
BENCHMARK(BM_Deserialize131Records);

// The list's way: build a ParamValues of all 131 and write it as one record.
void BM_SerializeParamValues131(benchmark::State& state)
{
    const std::vector<ParamValue> values = PresetLikeValues();
    std::vector<std::uint8_t> out(16384);
    for (auto _ : state)
    {
        ParamValues list;
        list.SetValues(values.data(), 131);
        benchmark::DoNotOptimize(
            Variant::Serialize(list, out.data(), static_cast<std::uint32_t>(out.size())));
    }
    state.SetItemsProcessed(state.iterations() * 131);
}
BENCHMARK(BM_SerializeParamValues131);

// Read the record back and every entry with GetAt; each GetAt walks from the start.
void BM_DeserializeParamValues131(benchmark::State& state)
{
    const std::vector<ParamValue> values = PresetLikeValues();
    ParamValues list;
    list.SetValues(values.data(), 131);
    std::vector<std::uint8_t> record(16384);
    const std::uint32_t length =
        Variant::Serialize(list, record.data(), static_cast<std::uint32_t>(record.size()));
    ParamValues back;
    ParamValue entry;
    for (auto _ : state)
    {
        Variant::Deserialize(back, record.data(), length);
        for (std::uint32_t i = 0; i < 131; ++i)
        {
            back.GetAt(i, entry);
        }
        benchmark::DoNotOptimize(entry.value.GetSize());
    }
    state.SetItemsProcessed(state.iterations() * 131);
}
BENCHMARK(BM_DeserializeParamValues131);

// Sub-key ordering as the parameter cache's merge uses it.
void BM_CompareSubKeys(benchmark::State& state)
{
    Variant a;
    a.SetString("selector-a");
    Variant b;
    b.SetString("selector-b");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(Variant::Compare(a, b));
    }
}
BENCHMARK(BM_CompareSubKeys);

} // namespace
