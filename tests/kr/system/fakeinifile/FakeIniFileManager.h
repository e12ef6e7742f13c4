#pragma once
// The stand-in's script, set by a test through these two extra entry points.

#include <stdint.h>

extern "C"
{
    // The next text getter call returns firstResult; when that is -2 it stores
    // neededSize. A second call then copies text into the caller's buffer and returns
    // secondResult. Any other first result copies text first.
    typedef void (*PFN_FakeIni_Script)(int32_t firstResult, uint32_t neededSize, int32_t secondResult,
                                       const char* text);
    // Calls of any entry point since the last script.
    typedef int32_t (*PFN_FakeIni_CallCount)();
}
