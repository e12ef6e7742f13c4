// libFuzzer entry: the same checks as the short seeded loop in PresetFileFuzzTest.cpp.

#include "engine/PresetFileFuzzInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const char* fault = KRTest::ExercisePresetFileBytes(data, size))
    {
        std::fprintf(stderr, "preset file invariant broken: %s\n", fault);
        std::abort();
    }
    return 0;
}
