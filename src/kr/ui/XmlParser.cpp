#include "kr/ui/XmlParser.h"

#include "kr/thread/Thread.h"

#include <expat.h>

#include <climits>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

namespace KR
{

namespace
{

String FromUtf8(const XML_Char* text)
{
    String out;
    // expat hands over well-formed UTF-8 only.
    out.AssignUtf8(text);
    return out;
}

std::int32_t ClampLine(XML_Size line)
{
    return line > static_cast<XML_Size>(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(line);
}

// A handler's exception, caught: whether there was one, and its text.
struct HandlerFault
{
    bool threw = false;
    std::string text;
};

template <typename Call>
void CatchHandlerFault(HandlerFault& fault, Call call)
{
    try
    {
        call();
    }
    catch (const std::exception& e)
    {
        fault.text = e.what();
        fault.threw = true;
    }
    catch (...)
    {
        fault.text = "unknown exception";
        fault.threw = true;
    }
}

struct ParserDeleter
{
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using ParserPointer = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

// A parser for a document of `length` bytes, or null with the failure that stands for the
// parse in `outcome`.
ParserPointer MakeParser(std::size_t length, XmlParseOutcome& outcome)
{
    if (length > static_cast<std::size_t>(INT_MAX))
    {
        outcome.result = kFail;
        outcome.errorCode = XML_ERROR_NO_MEMORY;
        outcome.errorText = String(u"document too large");
        return nullptr;
    }
    ParserPointer parser(XML_ParserCreate(nullptr));
    if (!parser)
    {
        outcome.result = kFail;
        outcome.errorCode = XML_ERROR_NO_MEMORY;
        outcome.errorText = FromUtf8(XML_ErrorString(XML_ERROR_NO_MEMORY));
    }
    return parser;
}

// The parser's failure, its line counted from `firstLine`.
void RecordParserFailure(XML_Parser parser, XML_Size firstLine, XmlParseOutcome& outcome)
{
    const XML_Error code = XML_GetErrorCode(parser);
    outcome.result = kFail;
    outcome.errorCode = static_cast<std::int32_t>(code);
    outcome.errorText = FromUtf8(XML_ErrorString(code));
    outcome.errorLine = ClampLine(XML_GetCurrentLineNumber(parser) + firstLine - 1);
}

void RecordHandlerFault(HandlerFault& fault, std::int32_t line, XmlParseOutcome& outcome)
{
    outcome.result = kFail;
    outcome.handlerThrew = true;
    outcome.handlerErrorText = std::move(fault.text);
    outcome.handlerErrorLine = line;
}

// The line expat gives the byte at `index`: line feeds, carriage returns, and the two
// together, each count once.
XML_Size LineAt(const char* bytes, std::size_t index)
{
    XML_Size line = 1;
    for (std::size_t i = 0; i < index; ++i)
    {
        if (bytes[i] == '\n')
        {
            ++line;
        }
        else if (bytes[i] == '\r')
        {
            ++line;
            if (i + 1 < index && bytes[i + 1] == '\n')
            {
                ++i;
            }
        }
    }
    return line;
}

// --- The handler's parse --------------------------------------------------------------------

// A C++ exception must not unwind through expat's C frames: the callbacks catch it, stop
// the parser, and the parse reports it once expat has returned. For the first half of a
// parse in two parts, the parse also keeps what the second half's start is checked against.
struct ParseContext
{
    XML_Parser parser = nullptr;
    IXmlHandler* handler = nullptr;
    HandlerFault fault;
    std::int32_t handlerErrorLine = 0;

    bool watching = false;
    std::vector<std::string> open; // the names of the elements open
    XML_Index lastEventEnd = -1;   // the byte after the last event
};

void Watch(ParseContext& context)
{
    context.lastEventEnd = XML_GetCurrentByteIndex(context.parser) + XML_GetCurrentByteCount(context.parser);
}

template <typename Call>
void Guarded(ParseContext& context, Call call)
{
    // After a stop, expat may still deliver an event it already had in hand.
    if (context.fault.threw)
    {
        return;
    }
    CatchHandlerFault(context.fault, call);
    if (context.fault.threw)
    {
        context.handlerErrorLine = ClampLine(XML_GetCurrentLineNumber(context.parser));
        XML_StopParser(context.parser, XML_FALSE);
    }
}

void XMLCALL OnStart(void* userData, const XML_Char* name, const XML_Char** attributes)
{
    auto& context = *static_cast<ParseContext*>(userData);
    Guarded(context,
            [&]
            {
                const XmlAttributes gathered(attributes);
                context.handler->XMLStartElement(name, gathered);
            });
    if (context.watching)
    {
        context.open.emplace_back(name);
        Watch(context);
    }
}

void XMLCALL OnEnd(void* userData, const XML_Char* name)
{
    auto& context = *static_cast<ParseContext*>(userData);
    Guarded(context, [&] { context.handler->XMLEndElement(name); });
    if (context.watching)
    {
        if (!context.open.empty())
        {
            context.open.pop_back();
        }
        Watch(context);
    }
}

void XMLCALL OnCharacterData(void* userData, const XML_Char* data, int length)
{
    auto& context = *static_cast<ParseContext*>(userData);
    Guarded(context, [&] { context.handler->XMLCharacterData(data, length); });
    if (context.watching)
    {
        Watch(context);
    }
}

ParserPointer StartHandlerParse(std::size_t length, IXmlHandler& handler, ParseContext& context,
                                XmlParseOutcome& outcome)
{
    ParserPointer parser = MakeParser(length, outcome);
    if (parser)
    {
        context.parser = parser.get();
        context.handler = &handler;
        XML_SetUserData(parser.get(), &context);
        XML_SetElementHandler(parser.get(), OnStart, OnEnd);
        XML_SetCharacterDataHandler(parser.get(), OnCharacterData);
    }
    return parser;
}

void FinishHandlerParse(XML_Status status, ParseContext& context, XmlParseOutcome& outcome)
{
    if (context.fault.threw)
    {
        RecordHandlerFault(context.fault, context.handlerErrorLine, outcome);
    }
    else if (status != XML_STATUS_OK)
    {
        RecordParserFailure(context.parser, 1, outcome);
    }
}

// --- The second half, recorded --------------------------------------------------------------
//
// Each event goes on a tape: its kind, the byte index of its start in the document, then for
// a start element its name and every attribute name and value, each ended by a zero, and one
// more zero; for an end element its name; for character data its length and bytes.

enum class EventKind : char
{
    kStart,
    kEnd,
    kText,
};

class EventTape
{
public:
    explicit EventTape(std::size_t capacity) { Reserve(capacity); }
    void Append(const void* data, std::size_t length)
    {
        if (mSize + length > mCapacity)
        {
            Reserve(2 * (mSize + length));
        }
        std::memcpy(mData.get() + mSize, data, length);
        mSize += length;
    }
    void AppendText(const char* text) { Append(text, std::strlen(text) + 1); }
    const char* begin() const { return mData.get(); }
    const char* end() const { return mData.get() + mSize; }

private:
    void Reserve(std::size_t capacity)
    {
        std::unique_ptr<char[]> data(new char[capacity]);
        if (mSize > 0)
        {
            std::memcpy(data.get(), mData.get(), mSize);
        }
        mData = std::move(data);
        mCapacity = capacity;
    }
    std::unique_ptr<char[]> mData;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
};

// The second half's parse: the open elements its first half leaves, then the second half.
struct SecondHalf
{
    const char* bytes = nullptr;
    std::size_t split = 0;
    std::size_t length = 0;
    std::vector<std::string> open; // as the quick scan found them
    std::string opening;           // their start tags
    XML_Parser parser = nullptr;
    EventTape tape{0};
    bool parsed = false; // the parse was made, well formed or not
    XmlParseOutcome outcome;

    // The byte index in the document of the event in hand; -1 inside the opening tags.
    std::int64_t Index() const
    {
        const std::int64_t index =
            XML_GetCurrentByteIndex(parser) - static_cast<std::int64_t>(opening.size());
        return index < 0 ? -1 : index + static_cast<std::int64_t>(split);
    }
    bool Begin(EventKind kind, std::int64_t& index)
    {
        index = Index();
        if (index < 0)
        {
            return false;
        }
        const char code = static_cast<char>(kind);
        tape.Append(&code, 1);
        tape.Append(&index, sizeof index);
        return true;
    }
};

void XMLCALL RecordStart(void* userData, const XML_Char* name, const XML_Char** attributes)
{
    auto& half = *static_cast<SecondHalf*>(userData);
    std::int64_t index = 0;
    if (half.Begin(EventKind::kStart, index))
    {
        half.tape.AppendText(name);
        for (const XML_Char* const* text = attributes; *text != nullptr; ++text)
        {
            half.tape.AppendText(*text);
        }
        half.tape.Append("", 1);
    }
}

void XMLCALL RecordEnd(void* userData, const XML_Char* name)
{
    auto& half = *static_cast<SecondHalf*>(userData);
    std::int64_t index = 0;
    if (half.Begin(EventKind::kEnd, index))
    {
        half.tape.AppendText(name);
    }
}

void XMLCALL RecordText(void* userData, const XML_Char* data, int length)
{
    auto& half = *static_cast<SecondHalf*>(userData);
    std::int64_t index = 0;
    if (half.Begin(EventKind::kText, index))
    {
        const std::int32_t count = length;
        half.tape.Append(&count, sizeof count);
        half.tape.Append(data, static_cast<std::size_t>(length));
    }
}

bool IsNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The elements open at `end`, as a quick scan of the tags before it sees them: a guess,
// which the first half's real parse checks. False where the scan meets what it does not
// follow.
bool GuessOpenElements(std::string_view text, std::vector<std::string>& open)
{
    static constexpr std::string_view kSkipped[][2] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at))
    {
        bool skipped = false;
        for (const auto& [opens, closes] : kSkipped)
        {
            if (text.compare(at, opens.size(), opens) == 0)
            {
                at = text.find(closes, at + opens.size());
                if (at == std::string_view::npos)
                {
                    return false;
                }
                at += closes.size();
                skipped = true;
                break;
            }
        }
        if (skipped)
        {
            continue;
        }
        if (text.compare(at, 2, "<!") == 0)
        {
            return false;
        }
        const bool closing = text.compare(at, 2, "</") == 0;
        const std::size_t name = at + (closing ? 2 : 1);
        std::size_t nameEnd = name;
        while (nameEnd < text.size() && !IsSpace(text[nameEnd]) && text[nameEnd] != '/' &&
               text[nameEnd] != '>')
        {
            ++nameEnd;
        }
        // The tag's end, past quoted values.
        std::size_t close = nameEnd;
        for (char quote = 0; close < text.size() && (quote != 0 || text[close] != '>'); ++close)
        {
            if (quote != 0 ? text[close] == quote : text[close] == '"' || text[close] == '\'')
            {
                quote = quote != 0 ? 0 : text[close];
            }
        }
        if (close >= text.size() || nameEnd == name)
        {
            return false;
        }
        if (closing)
        {
            if (open.empty())
            {
                return false;
            }
            open.pop_back();
        }
        else if (text[close - 1] != '/')
        {
            open.emplace_back(text.substr(name, nameEnd - name));
        }
        at = close + 1;
    }
    return true;
}

void ParseSecondHalf(SecondHalf& half)
{
    if (!GuessOpenElements(std::string_view(half.bytes, half.split), half.open))
    {
        return;
    }
    for (const std::string& name : half.open)
    {
        half.opening += '<' + name + '>';
    }
    const ParserPointer parser = MakeParser(half.length - half.split + half.opening.size(), half.outcome);
    if (!parser)
    {
        return;
    }
    half.parser = parser.get();
    XML_SetUserData(parser.get(), &half);
    XML_SetElementHandler(parser.get(), RecordStart, RecordEnd);
    XML_SetCharacterDataHandler(parser.get(), RecordText);
    const int size = static_cast<int>(half.length - half.split);
    if (XML_Parse(parser.get(), half.opening.data(), static_cast<int>(half.opening.size()), XML_FALSE) !=
            XML_STATUS_OK ||
        XML_Parse(parser.get(), half.bytes + half.split, size, XML_TRUE) != XML_STATUS_OK)
    {
        RecordParserFailure(parser.get(), LineAt(half.bytes, half.split), half.outcome);
    }
    half.parsed = true;
    half.parser = nullptr;
}

// Plays the tape to the handler; false, with the fault and its byte index, when the handler
// threw.
bool Play(const EventTape& tape, IXmlHandler& handler, HandlerFault& fault, std::int64_t& faultAt)
{
    std::vector<const char*> pairs;
    for (const char* at = tape.begin(); at < tape.end();)
    {
        const auto kind = static_cast<EventKind>(*at++);
        std::int64_t index = 0;
        std::memcpy(&index, at, sizeof index);
        at += sizeof index;
        const char* name = at;
        switch (kind)
        {
        case EventKind::kStart:
            at += std::strlen(at) + 1;
            pairs.clear();
            while (*at != '\0')
            {
                pairs.push_back(at);
                at += std::strlen(at) + 1;
            }
            ++at;
            pairs.push_back(nullptr);
            CatchHandlerFault(fault,
                              [&]
                              {
                                  const XmlAttributes gathered(pairs.data());
                                  handler.XMLStartElement(name, gathered);
                              });
            break;
        case EventKind::kEnd:
            at += std::strlen(at) + 1;
            CatchHandlerFault(fault, [&] { handler.XMLEndElement(name); });
            break;
        case EventKind::kText:
        {
            std::int32_t length = 0;
            std::memcpy(&length, at, sizeof length);
            at += sizeof length;
            const char* data = at;
            at += length;
            CatchHandlerFault(fault, [&] { handler.XMLCharacterData(data, length); });
            break;
        }
        }
        if (fault.threw)
        {
            faultAt = index;
            return false;
        }
    }
    return true;
}

// Where the second half starts: a start tag at or after `near`; 0 when there is none.
std::size_t FindSplit(const char* bytes, std::size_t length, std::size_t near)
{
    const std::string_view text(bytes, length);
    for (std::size_t at = text.find('<', near); at != std::string_view::npos && at + 1 < length;
         at = text.find('<', at + 1))
    {
        if (IsNameStart(text[at + 1]))
        {
            return at;
        }
    }
    return 0;
}

// True for a document the second half can be parsed apart from: in UTF-8 (no byte-order mark
// of another form, no other encoding declared), without a document type declaration, and
// without character data sections. A section's text comes to the handler in runs that end
// where the parser's input ends, so a first half that ended inside one would split a run
// where one pass does not.
bool CanParseApart(std::string_view text)
{
    if (text.find("<!DOCTYPE") != std::string_view::npos || text.find("<![CDATA[") != std::string_view::npos)
    {
        return false;
    }
    if (text.size() >= 2 &&
        (static_cast<unsigned char>(text[0]) >= 0xFE || text[0] == '\0' || text[1] == '\0'))
    {
        return false;
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
    {
        text.remove_prefix(3);
    }
    if (text.compare(0, 5, "<?xml") != 0)
    {
        return true;
    }
    const std::string_view declaration = text.substr(0, text.find("?>"));
    const std::size_t encoding = declaration.find("encoding");
    if (encoding == std::string_view::npos)
    {
        return true;
    }
    const std::size_t quote = declaration.find_first_of("\"'", encoding);
    if (quote == std::string_view::npos || declaration.size() < quote + 7)
    {
        return false;
    }
    const std::string_view name = declaration.substr(quote + 1, 6);
    static constexpr std::string_view kUtf8 = "utf-8";
    for (std::size_t i = 0; i < kUtf8.size(); ++i)
    {
        if ((name[i] | 0x20) != kUtf8[i] && name[i] != kUtf8[i])
        {
            return false;
        }
    }
    return name[5] == declaration[quote];
}

} // namespace

XmlParseOutcome ParseXmlInOnePass(const char* bytes, std::size_t length, IXmlHandler& handler)
{
    XmlParseOutcome outcome;
    ParseContext context;
    const ParserPointer parser = StartHandlerParse(length, handler, context, outcome);
    if (parser)
    {
        FinishHandlerParse(XML_Parse(parser.get(), bytes, static_cast<int>(length), XML_TRUE), context,
                           outcome);
    }
    return outcome;
}

XmlParseOutcome ParseXmlInTwoParts(const char* bytes, std::size_t length, IXmlHandler& handler,
                                   std::size_t splitNear, bool* apart)
{
    if (apart != nullptr)
    {
        *apart = false;
    }
    const std::size_t split = length <= static_cast<std::size_t>(INT_MAX) && CanParseApart({bytes, length})
                                  ? FindSplit(bytes, length, splitNear != 0 ? splitNear : length / 2)
                                  : 0;
    if (split == 0)
    {
        return ParseXmlInOnePass(bytes, length, handler);
    }
    SecondHalf half;
    half.bytes = bytes;
    half.split = split;
    half.length = length;
    half.tape = EventTape(length - split + (length - split) / 4);
    Thread second(
        [&half]
        {
            ParseSecondHalf(half);
            return 0u;
        });
    if (!second.IsCreated())
    {
        return ParseXmlInOnePass(bytes, length, handler);
    }
    second.Resume();

    XmlParseOutcome outcome;
    ParseContext context;
    context.watching = true;
    const ParserPointer parser = StartHandlerParse(length, handler, context, outcome);
    if (!parser)
    {
        return outcome;
    }
    XML_Status status = XML_Parse(parser.get(), bytes, static_cast<int>(split), XML_FALSE);
    second.Join("ParseXmlInTwoParts");
    if (status != XML_STATUS_OK || context.fault.threw)
    {
        FinishHandlerParse(status, context, outcome);
        return outcome;
    }
    const bool taken =
        half.parsed && context.lastEventEnd == static_cast<XML_Index>(split) && context.open == half.open;
    if (!taken)
    {
        // The guess was wrong, or the second half could not be parsed: this parse goes on.
        status = XML_Parse(parser.get(), bytes + split, static_cast<int>(length - split), XML_TRUE);
        FinishHandlerParse(status, context, outcome);
        return outcome;
    }
    if (apart != nullptr)
    {
        *apart = true;
    }
    HandlerFault fault;
    std::int64_t faultAt = 0;
    if (!Play(half.tape, handler, fault, faultAt))
    {
        RecordHandlerFault(fault, ClampLine(LineAt(bytes, static_cast<std::size_t>(faultAt))), outcome);
        return outcome;
    }
    return half.outcome;
}

XmlParseOutcome ParseXml(const char* bytes, std::size_t length, IXmlHandler& handler)
{
    return length >= kParseInTwoPartsBytes ? ParseXmlInTwoParts(bytes, length, handler)
                                           : ParseXmlInOnePass(bytes, length, handler);
}

} // namespace KR
