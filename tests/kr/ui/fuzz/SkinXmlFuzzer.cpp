// libFuzzer entry: the same body as the seeded loop in SkinXmlFuzzTest.cpp.

#include "kr/ui/SkinXmlFuzzInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const char* fault = KRTest::ExerciseSkinXmlBytes(data, size))
    {
        std::fprintf(stderr, "skin reader invariant broken: %s\n", fault);
        std::abort();
    }
    return 0;
}
