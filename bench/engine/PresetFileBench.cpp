// Saving and loading the keyboard's preset: the file's byte form alone, and the whole
// way through the preset manager (engine values, file on disk, values back into the
// engine).

#include "device/ParamLayout.h"
#include "engine/PresetFile.h"
#include "engine/PresetManager.h"
#include "engine/RootModuleEngine.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/NotificationCenterManager.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace
{

KR::Array<KR::ParamValue> SomePreset()
{
    KR::Array<KR::ParamValue> values;
    for (std::int32_t i = 0; i < ParamLayout::kParamCount; ++i)
    {
        std::vector<std::uint8_t> block(ParamLayout::BlockSize(i));
        for (std::size_t k = 0; k < block.size(); ++k)
        {
            block[k] = static_cast<std::uint8_t>((i * 7 + k) & 0x7F);
        }
        KR::Variant value;
        value.SetBlob(block.data(), static_cast<std::uint32_t>(block.size()));
        values.AddItem(KR::ParamValue(KR::ParamDescriptor(i), value));
    }
    return values;
}

void BM_BuildPresetFile(benchmark::State& state)
{
    const KR::Array<KR::ParamValue> preset = SomePreset();
    std::vector<std::uint8_t> image;
    for (auto _ : state)
    {
        KR::PresetFile::BuildPresetFile(preset, image);
        benchmark::DoNotOptimize(image.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * KR::PresetFile::kPresetFileSize);
}
BENCHMARK(BM_BuildPresetFile);

void BM_ReadPresetFile(benchmark::State& state)
{
    std::vector<std::uint8_t> image;
    KR::PresetFile::BuildPresetFile(SomePreset(), image);
    KR::Array<KR::ParamValue> values;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::PresetFile::ReadPresetFile(image, values));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * KR::PresetFile::kPresetFileSize);
}
BENCHMARK(BM_ReadPresetFile);

// The engine as the program makes it, a preset manager over it, and a file path.
class ManagerFixture
{
public:
    ManagerFixture()
        : mPath(std::filesystem::temp_directory_path() /
                ("bench-" + std::to_string(std::random_device{}()) + ".preset"))
    {
        mEngine = LRootModuleEngine::Create();
        mEngine->Initialize(0);
        mManager = KR::LPresetManager::Create(mEngine);
        const KR::Array<KR::ParamValue> preset = SomePreset();
        for (std::uint32_t i = 0; i < preset.GetCount(); ++i)
        {
            mEngine->SetParamValue(preset.ElementAt(i).descriptor, preset.ElementAt(i).value);
        }
        Drain();
        mWidePath.AssignUtf8(mPath.c_str());
    }
    ~ManagerFixture()
    {
        mManager = nullptr;
        mEngine = nullptr;
        std::filesystem::remove(mPath);
        KR::LNotificationCenterManager::ReleaseInstance();
    }

    // What the UI thread's idle step would deliver; nobody listens here.
    static void Drain() { KR::GetApplicationNotificationCenter()->ProcessNotifications(false); }

    KR::LPresetManager& Manager() { return *mManager; }
    const KR::String& Path() const { return mWidePath; }

private:
    std::filesystem::path mPath;
    KR::String mWidePath;
    KR::RCPtr<LRootModuleEngine> mEngine;
    KR::RCPtr<KR::LPresetManager> mManager;
};

void BM_SavePresetFile(benchmark::State& state)
{
    ManagerFixture fixture;
    for (auto _ : state)
    {
        if (fixture.Manager().SavePresetFile(fixture.Path()) != KR::kOk)
        {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SavePresetFile);

void BM_LoadPresetFile(benchmark::State& state)
{
    ManagerFixture fixture;
    fixture.Manager().SavePresetFile(fixture.Path());
    for (auto _ : state)
    {
        if (fixture.Manager().LoadPresetFile(fixture.Path()) != KR::PresetFile::kLoaded)
        {
            state.SkipWithError("load failed");
            break;
        }
        ManagerFixture::Drain();
    }
}
BENCHMARK(BM_LoadPresetFile);

} // namespace
