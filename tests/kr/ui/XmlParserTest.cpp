// A parse in two parts gives the handler the very calls, and the caller the very outcome, of
// one pass: over the program's own skin document split at many places, and over documents
// broken in either half, whose handler throws in either half, or whose split the quick scan
// guesses wrong.

#include "kr/ui/XmlParser.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace KR
{
namespace
{

// Writes down every call; throws at call number `throwAt` (from 1; 0 never).
class Transcript final : public IXmlHandler
{
public:
    explicit Transcript(std::size_t throwAt) : mThrowAt(throwAt) {}
    void XMLStartElement(std::string_view name, const XmlAttributes& attributes) override
    {
        // Every attribute the readers know, by its place in the list of names.
        std::string line = "<" + std::string(name) + " " + std::to_string(attributes.GetCount());
        for (std::size_t i = 0; i < static_cast<std::size_t>(XmlName::Count); ++i)
        {
            if (const char* value = attributes.Find(static_cast<XmlName>(i)))
            {
                line += " " + std::to_string(i) + "=" + value;
            }
        }
        Note(line);
    }
    void XMLEndElement(std::string_view name) override { Note("</" + std::string(name)); }
    void XMLCharacterData(const char* data, std::int32_t length) override
    {
        Note("'" + std::string(data, static_cast<std::size_t>(length)));
    }
    std::string text;

private:
    void Note(const std::string& line)
    {
        text += line + "\n";
        if (++mCalls == mThrowAt)
        {
            throw std::runtime_error("thrown at " + line);
        }
    }
    std::size_t mThrowAt;
    std::size_t mCalls = 0;
};

std::string Describe(const XmlParseOutcome& outcome)
{
    return std::to_string(static_cast<std::uint32_t>(outcome.result)) + " code " +
           std::to_string(outcome.errorCode) + " '" + outcome.errorText.ToUtf8().GetPtr() + "' line " +
           std::to_string(outcome.errorLine) + " handler " + std::to_string(outcome.handlerThrew) + " '" +
           outcome.handlerErrorText + "' line " + std::to_string(outcome.handlerErrorLine);
}

std::string SkinDocument()
{
    std::ifstream in(KR_EDITOR_SKIN_FILE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to, std::size_t after = 0)
{
    const std::size_t at = text.find(from, after);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string WithLinesEndingIn(const std::string& text, const std::string& ending)
{
    std::string out;
    for (const char c : text)
    {
        out += c == '\n' ? ending : std::string(1, c);
    }
    return out;
}

struct Case
{
    const char* what;
    std::string document;
    std::size_t splitNear; // 0: the middle
    std::size_t throwAt;
    bool apart; // whether the halves are to be parsed apart
};

TEST(XmlParserInTwoParts, GivesTheHandlerAndTheCallerWhatOnePassGives)
{
    const std::string skin = SkinDocument();
    ASSERT_GT(skin.size(), kParseInTwoPartsBytes);
    const std::size_t half = skin.size() / 2;
    const std::size_t line = skin.find('\n', half);
    std::vector<Case> cases;
    for (const double near : {0.1, 0.3, 0.5, 0.7, 0.9, 0.999})
    {
        cases.push_back(
            {"the skin", skin, static_cast<std::size_t>(near * static_cast<double>(skin.size())), 0, true});
    }
    // A throw in the first half ends the parse before the halves meet.
    for (const std::size_t throwAt : {std::size_t{50}, std::size_t{30000}, std::size_t{40000}})
    {
        cases.push_back(
            {"a throw, lines ending in CR LF", WithLinesEndingIn(skin, "\r\n"), 0, throwAt, throwAt > 1000});
        cases.push_back(
            {"a throw, lines ending in CR", WithLinesEndingIn(skin, "\r"), 0, throwAt, throwAt > 1000});
    }
    cases.push_back(
        {"a tag left open in the first half", Replaced(skin, "/>", ">", half - 2000), 0, 0, false});
    cases.push_back({"a tag closed twice in the second half", Replaced(skin, "/>", "/></Skin>", half + 2000),
                     0, 0, true});
    cases.push_back(
        {"bad bytes in the second half", Replaced(skin, "\n", "\n\x01", half + 5000), 0, 0, true});
    cases.push_back({"the end cut off", skin.substr(0, skin.size() - 30), 0, 0, true});
    // The parser holds a carriage return back until it sees what follows.
    cases.push_back({"a carriage return just before the split",
                     skin.substr(0, line) + "\r<Mark/>" + skin.substr(line), line + 1, 0, false});
    cases.push_back({"the split in a comment",
                     skin.substr(0, line) + "<!--\n<Skin Name=\"x\">\n-->" + skin.substr(line), line + 5, 0,
                     false});
    cases.push_back({"the split in an instruction",
                     skin.substr(0, line) + "<?x\n<Skin Name=\"x\">?>" + skin.substr(line), line + 4, 0,
                     false});
    cases.push_back(
        {"character data sections", Replaced(skin, "\n", "<![CDATA[\n<a>]]>", half), 0, 0, false});
    cases.push_back({"another encoding",
                     Replaced(Replaced(skin, "utf-8", "ISO-8859-1"), "Name=\"", "Name=\"\xE9", half + 100), 0,
                     0, false});
    cases.push_back({"a document type",
                     Replaced(Replaced(skin, "<Tarsil", "<!DOCTYPE T [<!ENTITY e \"\n<x/>\">]>\n<Tarsil"),
                              "/>", ">&e;</Skin>", half + 300),
                     0, 0, false});
    for (const Case& c : cases)
    {
        Transcript onePass(c.throwAt), twoParts(c.throwAt);
        const XmlParseOutcome expected = ParseXmlInOnePass(c.document.data(), c.document.size(), onePass);
        bool apart = false;
        const XmlParseOutcome got =
            ParseXmlInTwoParts(c.document.data(), c.document.size(), twoParts, c.splitNear, &apart);
        EXPECT_EQ(apart, c.apart) << c.what << " at " << c.splitNear;
        EXPECT_EQ(Describe(got), Describe(expected)) << c.what << " at " << c.splitNear;
        EXPECT_TRUE(twoParts.text == onePass.text) << c.what << " at " << c.splitNear << ": calls differ";
    }
}

} // namespace
} // namespace KR
