// A seeded random loop over the readers of untrusted variant bytes: random bytes, and
// valid records and lists with a few mutations each. Run under the sanitizers it is the
// everyday fuzz target; KR_FUZZ_ITERATIONS sets a longer run, KR_FUZZ_SEED another seed.

#include "kr/core/VariantFuzzInput.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <iostream>
#include <random>

namespace
{

using KR::Variant;
using namespace KRTest;

class Generator
{
public:
    explicit Generator(std::uint64_t seed) : mRandom(seed) {}

    std::uint32_t Below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(mRandom() % n); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(mRandom()); }

    Bytes RandomBytes(std::uint32_t maxLength)
    {
        Bytes out(Below(maxLength + 1));
        for (auto& b : out)
        {
            b = Byte();
        }
        return out;
    }

    Variant RandomVariant(int depth)
    {
        Variant v;
        const Bytes bytes = RandomBytes(24);
        switch (Below(depth > 0 ? 13 : 10))
        {
        case 0:
            break;
        case 1:
            v.SetValue(Variant::kBool, bytes.data(), bytes.empty() ? 0 : 1);
            break;
        case 2:
            v.SetInt32(static_cast<std::int32_t>(mRandom()));
            break;
        case 3:
            v.SetInt64(static_cast<std::int64_t>(mRandom()));
            break;
        case 4:
            v.SetFloat(std::bit_cast<float>(static_cast<std::uint32_t>(mRandom())));
            break;
        case 5:
            v.SetDouble(Below(4) == 0 ? static_cast<double>(Below(5)) : std::bit_cast<double>(mRandom()));
            break;
        case 6:
        case 7:
            v.SetBlob(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            break;
        case 8:
        case 9:
        {
            std::string text(bytes.begin(), bytes.end());
            v.SetString(text.c_str()); // ends at the first zero, if any
            break;
        }
        case 10:
        case 11:
        {
            std::vector<Variant> elements(Below(5));
            for (auto& e : elements)
            {
                e = RandomVariant(depth - 1);
            }
            v.SetArray(elements.data(), static_cast<std::uint32_t>(elements.size()));
            break;
        }
        default:
            v = RandomList(depth - 1);
            break;
        }
        return v;
    }

    Variant RandomList(int depth)
    {
        const std::uint32_t count = 1 + Below(6);
        switch (Below(3))
        {
        case 0:
        {
            std::vector<KR::ParamValue> values(count);
            for (auto& value : values)
            {
                value = KR::ParamValue(KR::ParamDescriptor(static_cast<std::int32_t>(Below(300)) - 20,
                                                           Below(3) == 0 ? RandomVariant(depth) : Variant()),
                                       RandomVariant(depth));
            }
            KR::ParamValues list;
            list.SetValues(values.data(), count);
            return list;
        }
        case 1:
        {
            std::vector<KR::ParamDescriptor> descriptors(count);
            for (auto& d : descriptors)
            {
                d = KR::ParamDescriptor(static_cast<std::int32_t>(mRandom()), RandomVariant(depth));
            }
            KR::ParamDescriptors list;
            list.SetDescriptors(descriptors.data(), count);
            return list;
        }
        default:
        {
            std::vector<KR::ParamRange> ranges(count);
            for (auto& r : ranges)
            {
                r = {static_cast<std::int32_t>(Below(200)) - 50, static_cast<std::int32_t>(Below(40)) - 5};
            }
            KR::ParamRanges list;
            list.SetRanges(ranges.data(), count);
            return list;
        }
        }
    }

    void StoreWord(Bytes& bytes, std::uint32_t at, std::uint32_t word)
    {
        for (std::uint32_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        {
            bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
        }
    }

    void Mutate(Bytes& bytes)
    {
        const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
        switch (Below(5))
        {
        case 0:
            if (!bytes.empty())
            {
                bytes[Below(size)] ^= static_cast<std::uint8_t>(1u << Below(8));
            }
            break;
        case 1:
        {
            // Length, reserved and type fields are where the readers decide.
            const std::uint32_t interesting[] = {0,           1,
                                                 4,           10,
                                                 11,          12,
                                                 13,          16,
                                                 0xFFFFFFFFu, 0x80000000u,
                                                 size,        size + 1,
                                                 size - 1,    static_cast<std::uint32_t>(mRandom())};
            const std::uint32_t at = Below(4) != 0 ? Below(size / 4 + 1) * 4 : Below(size + 1);
            StoreWord(bytes, at, interesting[Below(std::size(interesting))]);
            break;
        }
        case 2:
            bytes.resize(Below(size + 1));
            break;
        case 3:
        {
            const Bytes tail = RandomBytes(16);
            bytes.insert(bytes.end(), tail.begin(), tail.end());
            break;
        }
        default:
            if (!bytes.empty())
            {
                const std::uint32_t from = Below(size);
                const std::uint32_t length = Below(size - from + 1);
                const Bytes slice(bytes.begin() + from, bytes.begin() + from + length);
                bytes.insert(bytes.begin() + Below(size + 1), slice.begin(), slice.end());
            }
            break;
        }
    }

    Bytes NextInput()
    {
        if (Below(5) == 0)
        {
            return RandomBytes(64);
        }
        const Variant v = Below(2) == 0 ? RandomVariant(3) : RandomList(2);
        Bytes bytes = Below(2) == 0 ? Serialized(v) : PayloadOf(v);
        for (std::uint32_t m = Below(4); m > 0; --m)
        {
            Mutate(bytes);
        }
        return bytes;
    }

private:
    std::mt19937_64 mRandom;
};

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(VariantFuzz, RandomAndMutatedRecordsKeepEveryReaderSound)
{
    const std::uint64_t seed = EnvNumber("KR_FUZZ_SEED", 0x5EED'1106);
    const std::uint64_t iterations = EnvNumber("KR_FUZZ_ITERATIONS", 200000);
    Generator generator(seed);
    std::uint64_t bytesRun = 0;
    for (std::uint64_t i = 0; i < iterations; ++i)
    {
        const Bytes input = generator.NextInput();
        bytesRun += input.size();
        const char* fault = ExerciseVariantBytes(input.data(), input.size());
        ASSERT_EQ(fault, nullptr) << "input " << i << " (seed " << seed << "): " << Hex(input);
    }
    RecordProperty("inputs", static_cast<int>(iterations));
    std::cout << "[ fuzz     ] " << iterations << " inputs, " << bytesRun << " bytes, seed " << seed << "\n";
}

} // namespace
