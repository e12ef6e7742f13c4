#pragma once
// UTF-16 <-> UTF-8 conversion of one run of text. The string-level conversions
// (Utf16ToUtf8, Utf8ToUtf16 in StringT.h) are built on these.

namespace KR
{

enum class ConversionResult
{
    Ok = 0,
    SourceExhausted = 1, // the input ends inside a character
    TargetExhausted = 2, // the output has no room for the next character
    SourceIllegal = 3,   // the input holds a sequence that is not allowed
};

enum class ConversionMode
{
    // Unpaired surrogates are errors both ways.
    Strict,
    // UTF-16 -> UTF-8: an unpaired surrogate is written as its own three bytes, so no text
    // is lost. UTF-8 -> UTF-16: a code point that UTF-16 cannot hold becomes U+FFFD.
    // Illegal UTF-8 (overlong forms, encoded surrogates, 5- and 6-byte forms, stray
    // continuation bytes) stops the conversion in both modes.
    Lenient,
};

// Converts [source, sourceEnd) into [target, targetEnd). On return source and target point
// where the conversion stopped: after all input for Ok, else at the first unit or byte of
// the character that could not be converted; everything before it has been written.
ConversionResult ConvertUtf16ToUtf8(const char16_t*& source, const char16_t* sourceEnd, char*& target,
                                    char* targetEnd, ConversionMode mode);
ConversionResult ConvertUtf8ToUtf16(const char*& source, const char* sourceEnd, char16_t*& target,
                                    char16_t* targetEnd, ConversionMode mode);

} // namespace KR
