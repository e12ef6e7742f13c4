// libFuzzer entry over the PNG decoder that every bitmap is loaded through. The bitmap
// operations on top are exercised by the seeded loop in BitmapFuzzTest.cpp (the string
// library they use does not build with this clang).

#include "platform/png/PngCodec.h"
#include "support/PngChecksums.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KR::Platform::DecodedImage image;
    std::string error;
    const bool decoded = KR::Platform::DecodePng(data, size, image, error);
    const bool sound = decoded
                           ? image.width >= 1 && image.height >= 1 &&
                                 static_cast<std::uint32_t>(image.width) <= KR::Platform::kMaxPngSide &&
                                 static_cast<std::uint32_t>(image.height) <= KR::Platform::kMaxPngSide &&
                                 image.pixels.size() == static_cast<std::size_t>(image.width) * image.height
                           : image.pixels.empty() && !error.empty();
    if (!sound)
    {
        std::fprintf(stderr, "PNG decoder invariant broken (%d x %d, %s)\n", image.width, image.height,
                     error.c_str());
        std::abort();
    }
    return 0;
}

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// Three mutations in four get their checksums made right, so they reach the decoder.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed)
{
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 4 != 0)
    {
        KRTest::FixPngChecksums(data, size);
    }
    return size;
}
