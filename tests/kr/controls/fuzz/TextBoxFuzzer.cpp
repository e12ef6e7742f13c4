// libFuzzer entry: the same body as the seeded loop in TextBoxTest.cpp.

#include "kr/controls/TextBoxFuzzInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const char* fault = KRTest::ExerciseTextBoxBytes(data, size))
    {
        std::fprintf(stderr, "text box invariant broken: %s\n", fault);
        std::abort();
    }
    return 0;
}
