// libFuzzer entry over the UTF-16 and UTF-8 conversions: the input read as UTF-8 and,
// pair by pair, as UTF-16, each way strict and lenient, into a target that fits and
// into one that is a character short.

#include "kr/core/StringT.h"
#include "kr/core/Utf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

using KR::ConversionMode;
using KR::ConversionResult;

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "conversion invariant broken: %s\n", what);
    std::abort();
}

template <typename From, typename To>
using Converter = ConversionResult (*)(const From*&, const From*, To*&, To*, ConversionMode);

// Runs one conversion into a target of `room` units; checks that it stops inside both
// ranges and at their ends when it reports Ok.
template <typename From, typename To>
ConversionResult Run(Converter<From, To> convert, const std::vector<From>& in, std::size_t room,
                     ConversionMode mode, std::vector<To>& out)
{
    out.assign(room, To{});
    const From* source = in.data();
    To* target = out.data();
    const ConversionResult result = convert(source, in.data() + in.size(), target, out.data() + room, mode);
    if (source < in.data() || source > in.data() + in.size() || target < out.data() ||
        target > out.data() + room)
    {
        Broken("a conversion stopped outside its ranges");
    }
    if (result == ConversionResult::Ok && source != in.data() + in.size())
    {
        Broken("Ok before the end of the input");
    }
    out.resize(static_cast<std::size_t>(target - out.data()));
    return result;
}

// One direction: strict and lenient agree where strict succeeds, strict output comes back
// unchanged the other way, and a target one unit short stops at a character boundary.
template <typename From, typename To>
void CheckDirection(Converter<From, To> there, Converter<To, From> back, const std::vector<From>& in,
                    std::size_t roomPerUnit)
{
    std::vector<To> strict;
    std::vector<To> lenient;
    const std::size_t room = in.size() * roomPerUnit;
    const ConversionResult strictResult = Run(there, in, room, ConversionMode::Strict, strict);
    const ConversionResult lenientResult = Run(there, in, room, ConversionMode::Lenient, lenient);
    if (strictResult == ConversionResult::TargetExhausted ||
        lenientResult == ConversionResult::TargetExhausted)
    {
        Broken("a target of full size ran out");
    }
    if (lenient.size() < strict.size() || !std::equal(strict.begin(), strict.end(), lenient.begin()))
    {
        Broken("lenient output does not begin with the strict output");
    }
    if (strictResult != ConversionResult::Ok)
    {
        return;
    }
    if (lenientResult != ConversionResult::Ok || lenient != strict)
    {
        Broken("strict succeeded where lenient did not, or differently");
    }
    std::vector<From> again;
    if (Run(back, strict, strict.size() * 3, ConversionMode::Strict, again) != ConversionResult::Ok ||
        again != in)
    {
        Broken("a strict conversion does not come back unchanged");
    }
    if (!strict.empty())
    {
        std::vector<To> cut;
        if (Run(there, in, strict.size() - 1, ConversionMode::Strict, cut) !=
                ConversionResult::TargetExhausted ||
            cut.size() >= strict.size() || !std::equal(cut.begin(), cut.end(), strict.begin()))
        {
            Broken("a short target does not stop with a prefix of the output");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<char> utf8(data, data + size);
    CheckDirection<char, char16_t>(&KR::ConvertUtf8ToUtf16, &KR::ConvertUtf16ToUtf8, utf8, 1);

    std::vector<char16_t> utf16(size / 2);
    for (std::size_t i = 0; i < utf16.size(); ++i)
    {
        utf16[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    CheckDirection<char16_t, char>(&KR::ConvertUtf16ToUtf8, &KR::ConvertUtf8ToUtf16, utf16, 3);

    // The string forms stop at the first zero and never fail loudly.
    KR::String wide;
    wide.AssignUtf8(utf8.data(), static_cast<std::uint32_t>(utf8.size()));
    const KR::String units(utf16.data(), static_cast<std::uint32_t>(utf16.size()));
    if (KR::String(units.ToUtf8().ToUtf16()).GetLength() > units.GetLength())
    {
        Broken("a string grew on its way through UTF-8");
    }
    return 0;
}
