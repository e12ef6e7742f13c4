// libFuzzer entry: the same checks as the short seeded loop in VariantFuzzTest.cpp.

#include "kr/core/VariantFuzzInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const char* fault = KRTest::ExerciseVariantBytes(data, size))
    {
        std::fprintf(stderr, "variant invariant broken: %s\n", fault);
        std::abort();
    }
    return 0;
}
