// libFuzzer entry over the font-file name reader that the GL renderer's font registry scans
// every TrueType file and collection with (the registry on top is exercised by the seeded
// loop in FontFileInfoTest.cpp).

#include "libs/fontnames/FontNameReader.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KR::FontNames::MemoryByteSource source(data, size);
    std::vector<KR::FontNames::FontNamePair> names;
    std::string error;
    const bool read = KR::FontNames::ReadFontNames(source, names, error);
    bool fits = true;
    for (const auto& name : names)
    {
        fits = fits && name.family.size() <= size && name.style.size() <= size;
    }
    // Names come out of the file: never more characters than it has bytes, and a refused
    // file says why and gives nothing.
    const bool sound = read ? error.empty() && fits : !error.empty() && names.empty();
    if (!sound)
    {
        std::fprintf(stderr, "font name reader invariant broken (%zu names, %s)\n", names.size(),
                     error.c_str());
        std::abort();
    }
    return 0;
}
