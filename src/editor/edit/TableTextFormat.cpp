#include "editor/edit/TableTextFormat.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{

struct Conversion
{
    std::uint32_t start = 0; // the '%'
    std::uint32_t end = 0;   // one past the conversion letter
    char16_t letter = 0;     // 'd', 'i', 'u', 's' or '%'
};

bool IsFlag(char16_t c)
{
    return c == u'-' || c == u'+' || c == u' ' || c == u'#' || c == u'0';
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The text's conversions in order; false when one of them is not accepted.
bool Parse(const char16_t* text, std::uint32_t length, std::vector<Conversion>& out)
{
    for (std::uint32_t i = 0; i < length; ++i)
    {
        if (text[i] != u'%')
        {
            continue;
        }
        Conversion conversion;
        conversion.start = i++;
        while (i < length && IsFlag(text[i]))
        {
            ++i;
        }
        while (i < length && IsDigit(text[i]))
        {
            ++i;
        }
        if (i < length && text[i] == u'.')
        {
            ++i;
            while (i < length && IsDigit(text[i]))
            {
                ++i;
            }
        }
        if (i >= length)
        {
            return false;
        }
        const char16_t letter = text[i];
        if (letter == u'%' && i != conversion.start + 1)
        {
            return false; // "%5%" means nothing portable
        }
        if (letter != u'd' && letter != u'i' && letter != u'u' && letter != u's' && letter != u'%')
        {
            return false;
        }
        conversion.letter = letter;
        conversion.end = i + 1;
        out.push_back(conversion);
    }
    return true;
}

bool Fits(const std::vector<Conversion>& conversions, std::initializer_list<TableTextArgument> arguments)
{
    auto argument = arguments.begin();
    for (const Conversion& conversion : conversions)
    {
        if (conversion.letter == u'%')
        {
            continue;
        }
        if (argument == arguments.end() || argument->IsText() != (conversion.letter == u's'))
        {
            return false;
        }
        ++argument;
    }
    return argument == arguments.end();
}

} // namespace

bool TableTextFits(const KR::String& format, std::initializer_list<TableTextArgument> arguments)
{
    std::vector<Conversion> conversions;
    return Parse(format.GetPtr(), format.GetLength(), conversions) && Fits(conversions, arguments);
}

KR::String FormatTableText(const KR::String& format, std::initializer_list<TableTextArgument> arguments)
{
    const char16_t* const text = format.GetPtr();
    std::vector<Conversion> conversions;
    if (!Parse(text, format.GetLength(), conversions) || !Fits(conversions, arguments))
    {
        return format;
    }
    KR::String out;
    std::uint32_t at = 0;
    auto argument = arguments.begin();
    for (const Conversion& conversion : conversions)
    {
        out.Append(text + at, conversion.start - at);
        at = conversion.end;
        if (conversion.letter == u'%')
        {
            out += u"%";
            continue;
        }
        // The conversion as written, each piece through the one formatter with exactly
        // the argument it was checked against.
        const KR::String piece(text + conversion.start, conversion.end - conversion.start);
        if (conversion.letter == u's')
        {
            out += KR::String::Format(piece.GetPtr(), argument->GetText().GetPtr());
        }
        else if (conversion.letter == u'u')
        {
            out += KR::String::Format(piece.GetPtr(), static_cast<std::uint32_t>(argument->GetNumber()));
        }
        else
        {
            out += KR::String::Format(piece.GetPtr(), static_cast<std::int32_t>(argument->GetNumber()));
        }
        ++argument;
    }
    out.Append(text + at, format.GetLength() - at);
    return out;
}
