// libFuzzer entry: the same body as the seeded loop in BitmapFuzzTest.cpp.

#include "kr/render/BitmapFuzzInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const char* fault = KRTest::ExerciseBitmapPng(data, size))
    {
        std::fprintf(stderr, "bitmap invariant broken: %s\n", fault);
        std::abort();
    }
    return 0;
}
