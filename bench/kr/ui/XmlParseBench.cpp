// The editor's skin document (about 1 MB) through the parser, with a handler that does as
// little as it can, and through the skin reader: in one pass and in two parts at once. What
// the start-up's reading thread waits for.

#include "kr/ui/SkinXmlReader.h"
#include "kr/ui/XmlParser.h"

#include "TestPaths.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

namespace
{

using namespace KR;

const std::string& SkinDocument()
{
    static const std::string text = []
    {
        std::ifstream in(KR_EDITOR_SKIN_FILE, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return text;
}

class CountingHandler final : public IXmlHandler
{
public:
    void XMLStartElement(std::string_view, const XmlAttributes& attributes) override
    {
        count += attributes.GetCount();
    }
    void XMLEndElement(std::string_view) override { ++count; }
    void XMLCharacterData(const char*, std::int32_t length) override { count += length; }
    std::size_t count = 0;
};

XmlParseOutcome InTwoParts(const char* bytes, std::size_t length, IXmlHandler& handler)
{
    return ParseXmlInTwoParts(bytes, length, handler);
}

// The skin reader, fresh each time, as the start reads the document (pictures not decoded).
class FreshReader
{
public:
    FreshReader() { mReader.SetStringTableMode(false); }
    IXmlHandler& Handler() { return mReader; }
    std::size_t Count() const { return mReader.GetSkinRoots().GetCount(); }

private:
    SkinXmlReader mReader{String(u"PresetEditor")};
};

class Counting
{
public:
    IXmlHandler& Handler() { return mHandler; }
    std::size_t Count() const { return mHandler.count; }

private:
    CountingHandler mHandler;
};

template <typename Handler, XmlParseOutcome (*Parse)(const char*, std::size_t, IXmlHandler&)>
void BM_SkinDocument(benchmark::State& state)
{
    const std::string& text = SkinDocument();
    for (auto _ : state)
    {
        Handler handler;
        const XmlParseOutcome outcome = Parse(text.data(), text.size(), handler.Handler());
        benchmark::DoNotOptimize(handler.Count());
        if (Failed(outcome.result))
        {
            state.SkipWithError("the skin document did not parse");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
void Register(const char* name, void (*run)(benchmark::State&))
{
    benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond);
}

const bool kRegistered =
    (Register("XmlParse/SkinDocument/InOnePass", &BM_SkinDocument<Counting, ParseXmlInOnePass>),
     Register("XmlParse/SkinDocument/InTwoParts", &BM_SkinDocument<Counting, InTwoParts>),
     Register("XmlParse/SkinReader/InOnePass", &BM_SkinDocument<FreshReader, ParseXmlInOnePass>),
     Register("XmlParse/SkinReader/InTwoParts", &BM_SkinDocument<FreshReader, InTwoParts>), true);

} // namespace
