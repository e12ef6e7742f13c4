#pragma once
// The one printf-style formatter of the framework's wide text. Formats have the meaning
// they have in the Windows wide printf family:
//
//   %s        wide string (const char16_t*)       %S, %hs   narrow UTF-8 string (const char*)
//   %ls, %ws  wide string                          %c, %lc   wide character (char16_t as int)
//   %C, %hc   narrow character (char as int)
//   %d %i %u %o %x %X   32-bit integers, also with l (a Windows long is 32 bits);
//                       h and hh narrow them to 16 and 8 bits;
//                       ll, I64, I, z, j, t make them 64-bit; I32 keeps them 32-bit
//   %e %E %f %F %g %G %a %A   double (l changes nothing; L takes a long double)
//   %p        the pointer as 16 upper-case hexadecimal digits
//   %%        a percent sign;  %n  writes nothing (its pointer argument is skipped)
//
// Flags (- + space # 0), width and precision (digits or *) work as in printf; for strings
// the precision is the most UTF-16 units written. A null string argument prints "(null)".
// A narrow character or string is decoded as UTF-8; a byte that is not UTF-8 gives
// U+FFFD for a character and ends a string. An unknown conversion is copied as it stands
// and takes no argument. Numbers are printed by the C library in the "C" locale, so the
// decimal point is always '.' whatever locale the program runs in.
// There is no length limit: the output grows as far as the text needs.

#include <cstdarg>
#include <cstddef>
#include <memory>

namespace KR
{

// The formatter's growable output. Texts up to kInlineUnits stay inside the object, so
// formatting a typical label allocates nothing of its own.
class FormatBuffer
{
public:
    static constexpr std::size_t kInlineUnits = 256;

    FormatBuffer() = default;
    FormatBuffer(const FormatBuffer&) = delete;
    FormatBuffer& operator=(const FormatBuffer&) = delete;

    const char16_t* GetData() const { return mData; }
    std::size_t GetSize() const { return mSize; }

    void Append(char16_t unit) { *Extend(1) = unit; }
    void Append(const char16_t* text, std::size_t count);
    // ASCII bytes, one unit each.
    void AppendAscii(const char* text, std::size_t count);
    void AppendRepeated(char16_t unit, std::size_t count);
    // Inserts count copies of unit at position, moving what follows.
    void InsertRepeated(std::size_t position, char16_t unit, std::size_t count);
    // Makes room for count more units at the end, counts them as written, and returns
    // where they start; ShrinkTo takes back what a writer did not use.
    char16_t* Extend(std::size_t count);
    void ShrinkTo(std::size_t size) { mSize = size < mSize ? size : mSize; }

private:
    char16_t mInline[kInlineUnits];
    std::unique_ptr<char16_t[]> mHeap;
    char16_t* mData = mInline;
    std::size_t mSize = 0;
    std::size_t mCapacity = kInlineUnits;
};

// Appends the formatted text to out.
void FormatV(FormatBuffer& out, const char16_t* format, std::va_list args);
void FormatTo(FormatBuffer& out, const char16_t* format, ...);

} // namespace KR
