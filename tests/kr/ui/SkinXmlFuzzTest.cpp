// A seeded loop of mutated skin and string-table documents: byte flips, cuts, deleted and
// repeated slices, and spliced-in elements of the vocabulary. Under the sanitizers it is the
// everyday fuzz target; KR_FUZZ_ITERATIONS sets a longer run, KR_FUZZ_SEED another seed.
// Every input must end in success or in a kept error, never in a crash.

#include "kr/ui/SkinDocuments.h"
#include "kr/ui/SkinXmlFuzzInput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace
{

constexpr const char* kSampleStrings = R"(<Root><Application Name="App"/><StringTable ID="Framework">
<String ID="A"><Locale LCID="9">a &amp; b</Locale><Locale LCID="0x7c04">c</Locale></String>
<String><Locale LCID="7">d</Locale></String></StringTable></Root>)";

// Pieces that make the reader go down its less travelled paths.
constexpr const char* kSplices[] = {
    "<SubControl Class=\"X\" Name=\"n\">",
    "</SubControl>",
    "<Skin Name=\"s\" LookList=\"panelLooks\">",
    "</Skin>",
    "<Look Name=\"panel\" Index=\"13\"/>",
    "<Look Name=\"panel\" Index=\"-1\"/>",
    "<LookLists>",
    "<Looks>",
    "</Looks>",
    "<CreateParamList><CreateParam ID=\"P\">v</CreateParam>",
    "<SubControl Name=\"n\"/>",
    "<LookList Name=\"x\" NumLooks=\"0x10\">",
    "<Locale LCID=\"9\">",
    "<StringTable>",
    "&amp;",
    "\xC3\xA9",
    "\xFF",
    "<![CDATA[x]]>",
    "<!-- c -->",
    "<?pi x?>",
    "<FontXLat Name=\"Sans\" XLat=\"Serif\"/>",
};

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text ? std::strtoull(text, nullptr, 0) : fallback;
}

std::string Mutate(std::string doc, std::mt19937_64& random)
{
    auto below = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random() % n); };
    const int edits = 1 + static_cast<int>(below(4));
    for (int i = 0; i < edits; ++i)
    {
        const std::size_t at = below(doc.size() + 1);
        switch (below(5))
        {
        case 0:
            if (!doc.empty())
            {
                doc[below(doc.size())] = static_cast<char>(random());
            }
            break;
        case 1:
            doc.resize(at);
            break;
        case 2:
            doc.erase(at, below(64));
            break;
        case 3:
        {
            const std::size_t from = below(doc.size() + 1);
            doc.insert(at, doc.substr(from, below(128)));
            break;
        }
        default:
            doc.insert(at, kSplices[below(std::size(kSplices))]);
            break;
        }
    }
    return doc;
}

TEST(SkinXmlFuzz, MutatedDocumentsEndInSuccessOrAKeptError)
{
    const std::uint64_t seed = EnvNumber("KR_FUZZ_SEED", 20240611);
    const std::uint64_t iterations = EnvNumber("KR_FUZZ_ITERATIONS", 3000);
    std::mt19937_64 random(seed);
    for (std::uint64_t i = 0; i < iterations; ++i)
    {
        const bool skin = random() % 2 == 0;
        // The mode byte, then the document; the size is passed, so zero bytes inside the
        // mutated text are read as bytes.
        const std::string input =
            std::string(1, skin ? '\0' : '\1') + Mutate(skin ? KRTest::kSampleSkin : kSampleStrings, random);
        const char* fault =
            KRTest::ExerciseSkinXmlBytes(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        ASSERT_EQ(fault, nullptr) << fault << ": seed " << seed << " iteration " << i;
    }
}

} // namespace
