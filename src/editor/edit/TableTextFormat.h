#pragma once
// Formats a text from a string table with the panel's values, but only when the text's
// conversions fit them: string tables can come from a folder the user edits, and a
// "%s" given an integer would be read as a text pointer. A text that does not fit is
// shown as it stands.
//
//     FormatTableText(table->GetString(u"TEXT.CHANNEL"), {TableTextArgument(channel)});
//
// Accepted conversions: %d and %i (a signed 32-bit integer), %u (an unsigned 32-bit one:
// a negative value shows as the printf family shows it), %s (a text) and %%, each with
// optional flags (- + space # 0), width and precision written as digits. Anything else
// after a '%' (a length modifier, '*', another conversion, a '%' at the end) makes the
// text not fit, as does a count of conversions other than the count of arguments or an
// integer where a text stands or the other way round.

#include "kr/core/StringT.h"

#include <cstdint>
#include <initializer_list>

class TableTextArgument
{
public:
    TableTextArgument(std::int64_t number) : mNumber(number) {}
    TableTextArgument(const KR::String& text) : mText(&text), mIsText(true) {}

    bool IsText() const { return mIsText; }
    std::int64_t GetNumber() const { return mNumber; }
    const KR::String& GetText() const { return *mText; }

private:
    std::int64_t mNumber = 0;
    const KR::String* mText = nullptr;
    bool mIsText = false;
};

KR::String FormatTableText(const KR::String& format, std::initializer_list<TableTextArgument> arguments);
// Whether FormatTableText would format rather than hand the text back.
bool TableTextFits(const KR::String& format, std::initializer_list<TableTextArgument> arguments);
