#include "kr/ui/XmlParser.h"

#include <expat.h>

#include <climits>
#include <exception>
#include <memory>

namespace KR
{

namespace
{

// A C++ exception must not unwind through expat's C frames: the callbacks catch it, stop
// the parser, and the parse reports it once expat has returned.
struct ParseContext
{
    XML_Parser parser = nullptr;
    IXmlHandler* handler = nullptr;
    bool handlerThrew = false;
    std::string handlerErrorText;
    std::int32_t handlerErrorLine = 0;
};

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

template <typename Call>
void Guarded(ParseContext& context, Call call)
{
    // After a stop, expat may still deliver an event it already had in hand.
    if (context.handlerThrew)
    {
        return;
    }
    try
    {
        call();
    }
    catch (const std::exception& e)
    {
        context.handlerErrorText = e.what();
        context.handlerThrew = true;
    }
    catch (...)
    {
        context.handlerErrorText = "unknown exception";
        context.handlerThrew = true;
    }
    if (context.handlerThrew)
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
}

void XMLCALL OnEnd(void* userData, const XML_Char* name)
{
    auto& context = *static_cast<ParseContext*>(userData);
    Guarded(context, [&] { context.handler->XMLEndElement(name); });
}

void XMLCALL OnCharacterData(void* userData, const XML_Char* data, int length)
{
    auto& context = *static_cast<ParseContext*>(userData);
    Guarded(context, [&] { context.handler->XMLCharacterData(data, length); });
}

struct ParserDeleter
{
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

} // namespace

XmlParseOutcome ParseXml(const char* bytes, std::size_t length, IXmlHandler& handler)
{
    XmlParseOutcome outcome;
    if (length > static_cast<std::size_t>(INT_MAX))
    {
        outcome.result = kFail;
        outcome.errorCode = XML_ERROR_NO_MEMORY;
        outcome.errorText = String(u"document too large");
        return outcome;
    }
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
    if (!parser)
    {
        outcome.result = kFail;
        outcome.errorCode = XML_ERROR_NO_MEMORY;
        outcome.errorText = FromUtf8(XML_ErrorString(XML_ERROR_NO_MEMORY));
        return outcome;
    }
    ParseContext context;
    context.parser = parser.get();
    context.handler = &handler;
    XML_SetUserData(parser.get(), &context);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnCharacterData);

    const XML_Status status = XML_Parse(parser.get(), bytes, static_cast<int>(length), XML_TRUE);
    if (context.handlerThrew)
    {
        outcome.result = kFail;
        outcome.handlerThrew = true;
        outcome.handlerErrorText = std::move(context.handlerErrorText);
        outcome.handlerErrorLine = context.handlerErrorLine;
    }
    else if (status != XML_STATUS_OK)
    {
        const XML_Error code = XML_GetErrorCode(parser.get());
        outcome.result = kFail;
        outcome.errorCode = static_cast<std::int32_t>(code);
        outcome.errorText = FromUtf8(XML_ErrorString(code));
        outcome.errorLine = ClampLine(XML_GetCurrentLineNumber(parser.get()));
    }
    return outcome;
}

} // namespace KR
