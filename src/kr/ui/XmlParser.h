#pragma once
// One pass of the expat parser over a whole document in memory, turning its three events
// into calls on a handler with the element's name and its attributes gathered. Nothing
// else of the program sees expat.

#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/ui/XmlAttributes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace KR
{

class IXmlHandler
{
public:
    virtual ~IXmlHandler() = default;
    // Names are well-formed UTF-8 (the parser refuses anything else), so two names are the
    // same text exactly when their bytes are equal.
    virtual void XMLStartElement(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual void XMLEndElement(std::string_view name) = 0;
    // A run of character data: UTF-8, not terminated. One text may come in several runs.
    virtual void XMLCharacterData(const char* data, std::int32_t length) = 0;

protected:
    IXmlHandler() = default;
    IXmlHandler(const IXmlHandler&) = default;
    IXmlHandler(IXmlHandler&&) = default;
    IXmlHandler& operator=(const IXmlHandler&) = default;
    IXmlHandler& operator=(IXmlHandler&&) = default;
};

struct XmlParseOutcome
{
    Result result = kOk;
    // The parser's error code (0 when the document was well formed), its message and the
    // line it stopped at.
    std::int32_t errorCode = 0;
    String errorText;
    std::int32_t errorLine = 0;
    // When a handler threw: its text and the line being read then; the parse ended there.
    bool handlerThrew = false;
    std::string handlerErrorText;
    std::int32_t handlerErrorLine = 0;
};

// Parses `length` bytes as one complete document; kFail for malformed XML, a document
// longer than the parser takes, or a handler that threw (its exception is not passed on:
// it ends the parse, and its text is in the outcome). Everything the handler received
// before the failure stays with it. A document of kParseInTwoPartsBytes or more is parsed
// in two parts at once (ParseXmlInTwoParts).
XmlParseOutcome ParseXml(const char* bytes, std::size_t length, IXmlHandler& handler);

// The same on the caller's thread alone, in one pass.
XmlParseOutcome ParseXmlInOnePass(const char* bytes, std::size_t length, IXmlHandler& handler);

// The same, with the document's second half parsed on a thread of its own while the caller's
// thread parses the first and hands its events to the handler; the second half's events,
// recorded, follow. The second half starts at the first start tag at or after `splitNear`
// (the middle when 0), inside the elements a quick scan finds open there. Only when the
// first half's parse ends exactly there, its last event just before, with those very
// elements open, is the second half's parse taken: otherwise the caller's thread goes on to
// the end itself. The handler gets the same calls, and the outcome is the same, lines
// included, as from one pass. A document with a document type declaration (whose entities
// the second half would not know), one with character data sections, one not in UTF-8, and
// a parse whose thread cannot be had are parsed in one pass. `apart`, when given, tells
// whether the second half's own parse was taken.
XmlParseOutcome ParseXmlInTwoParts(const char* bytes, std::size_t length, IXmlHandler& handler,
                                   std::size_t splitNear = 0, bool* apart = nullptr);
inline constexpr std::size_t kParseInTwoPartsBytes = 256 * 1024;

} // namespace KR
