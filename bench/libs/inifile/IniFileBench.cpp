#include "libs/inifile/IniFileManagerApi.h"

#include "libs/RunTimeLibrary.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

// A settings file of `keys` integer values in a fresh folder, open in the library.
class OpenSettings
{
public:
    OpenSettings(const KRTest::RunTimeLibrary& library, int keys)
        : open_(library.Resolve<PFN_OpenIniFile>("OpenIniFile")),
          close_(library.Resolve<PFN_CloseIniFile>("CloseIniFile")),
          set_(library.Resolve<PFN_SetIniValueInt>("SetIniValueInt"))
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kr-inibench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        open_((folder_ / "UserSettings.ini").c_str(), "1_0_0", "PresetEditor", &handle_);
        for (int i = 0; i < keys; ++i)
        {
            set_(handle_, ("Section" + std::to_string(i % 8) + "/Key" + std::to_string(i)).c_str(), i);
        }
    }
    ~OpenSettings()
    {
        close_(handle_, 0);
        std::filesystem::remove_all(folder_);
    }
    std::int32_t Handle() const { return handle_; }

private:
    PFN_OpenIniFile open_;
    PFN_CloseIniFile close_;
    PFN_SetIniValueInt set_;
    std::filesystem::path folder_;
    std::int32_t handle_ = 0;
};

void SetIntegerWritesTheFile(benchmark::State& state)
{
    KRTest::RunTimeLibrary library(INIFM_LIBRARY_FILE_NAME);
    OpenSettings settings(library, static_cast<int>(state.range(0)));
    auto set = library.Resolve<PFN_SetIniValueInt>("SetIniValueInt");
    int value = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(set(settings.Handle(), "CurrentSkinIndex", ++value));
    }
}
BENCHMARK(SetIntegerWritesTheFile)->Arg(10)->Arg(1000);

void GetInteger(benchmark::State& state)
{
    KRTest::RunTimeLibrary library(INIFM_LIBRARY_FILE_NAME);
    OpenSettings settings(library, static_cast<int>(state.range(0)));
    auto get = library.Resolve<PFN_GetIniValueInt>("GetIniValueInt");
    std::int32_t value = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(get(settings.Handle(), "Section3/Key3", 0, &value));
    }
}
BENCHMARK(GetInteger)->Arg(10)->Arg(1000);

} // namespace
