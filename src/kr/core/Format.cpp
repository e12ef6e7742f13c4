#include "kr/core/Format.h"

#include "kr/core/Utf.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <locale.h>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace KR
{

void FormatBuffer::Append(const char16_t* text, std::size_t count)
{
    if (count != 0)
    {
        std::memcpy(Extend(count), text, count * sizeof(char16_t));
    }
}

void FormatBuffer::AppendAscii(const char* text, std::size_t count)
{
    char16_t* out = Extend(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        out[i] = static_cast<unsigned char>(text[i]);
    }
}

void FormatBuffer::AppendRepeated(char16_t unit, std::size_t count)
{
    std::fill_n(Extend(count), count, unit);
}

void FormatBuffer::InsertRepeated(std::size_t position, char16_t unit, std::size_t count)
{
    const std::size_t tail = mSize - position;
    Extend(count);
    std::memmove(mData + position + count, mData + position, tail * sizeof(char16_t));
    std::fill_n(mData + position, count, unit);
}

char16_t* FormatBuffer::Extend(std::size_t count)
{
    if (count > mCapacity - mSize)
    {
        if (count > SIZE_MAX / sizeof(char16_t) / 2 - mSize)
        {
            throw std::bad_alloc();
        }
        const std::size_t capacity = std::max(mCapacity * 2, mSize + count);
        auto heap = std::make_unique_for_overwrite<char16_t[]>(capacity);
        std::memcpy(heap.get(), mData, mSize * sizeof(char16_t));
        mHeap = std::move(heap);
        mData = mHeap.get();
        mCapacity = capacity;
    }
    char16_t* at = mData + mSize;
    mSize += count;
    return at;
}

namespace
{

enum class Length
{
    Default,
    Char,     // hh
    Short,    // h
    Long,     // l (32 bits, as a Windows long)
    LongLong, // ll, I64, I, z, j, t
    Wide,     // w
    LongDouble,
};

struct Directive
{
    bool plus = false;
    bool space = false;
    bool alternate = false;
    int width = -1;
    int precision = -1;
    Length length = Length::Default;
    bool left = false;
    bool zero = false;
};

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Prints one number with the C library and appends it. Integers print alike in every
// locale; floating point is printed in the "C" locale, for its decimal point.
void AppendPrinted(FormatBuffer& out, bool inCLocale, const char* spec, ...)
{
    const locale_t previous = inCLocale ? uselocale(CLocale()) : static_cast<locale_t>(nullptr);
    char local[128];
    std::va_list args;
    va_start(args, spec);
    std::va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(local, sizeof local, spec, args);
    va_end(args);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof local)
    {
        out.AppendAscii(local, static_cast<std::size_t>(n));
    }
    else if (n > 0)
    {
        std::vector<char> large(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(large.data(), large.size(), spec, again);
        out.AppendAscii(large.data(), static_cast<std::size_t>(n));
    }
    va_end(again);
    if (inCLocale)
    {
        uselocale(previous);
    }
}

// "%" + flags + width + precision, resolved, + the length and conversion, for the C library.
class CSpec
{
public:
    CSpec(const Directive& d, std::string_view lengthAndConversion)
    {
        char* out = mText;
        *out++ = '%';
        const std::pair<bool, char> flags[] = {
            {d.left, '-'}, {d.plus, '+'}, {d.space, ' '}, {d.alternate, '#'}, {d.zero, '0'}};
        for (const auto& [set, flag] : flags)
        {
            if (set)
            {
                *out++ = flag;
            }
        }
        if (d.width >= 0)
        {
            out = std::to_chars(out, std::end(mText), d.width).ptr;
        }
        if (d.precision >= 0)
        {
            *out++ = '.';
            out = std::to_chars(out, std::end(mText), d.precision).ptr;
        }
        out = std::copy(lengthAndConversion.begin(), lengthAndConversion.end(), out);
        *out = 0;
    }

    const char* c_str() const { return mText; }

private:
    // '%', five flags, two numbers of at most ten digits, '.', at most three more, NUL.
    char mText[1 + 5 + 10 + 1 + 10 + 3 + 1];
};

// Appends text cut to the precision and padded to the width. The text has already been
// appended from `mark` on, so only the cut and the padding are left to do.
void FinishField(FormatBuffer& out, std::size_t mark, const Directive& d)
{
    std::size_t length = out.GetSize() - mark;
    if (d.precision >= 0 && length > static_cast<std::size_t>(d.precision))
    {
        out.ShrinkTo(mark + static_cast<std::size_t>(d.precision));
        length = static_cast<std::size_t>(d.precision);
    }
    if (d.width > 0 && static_cast<std::size_t>(d.width) > length)
    {
        const std::size_t pad = static_cast<std::size_t>(d.width) - length;
        if (d.left)
        {
            out.AppendRepeated(u' ', pad);
        }
        else
        {
            out.InsertRepeated(mark, d.zero ? u'0' : u' ', pad);
        }
    }
}

void AppendWide(FormatBuffer& out, const char16_t* text, const Directive& d)
{
    if (!text)
    {
        text = u"(null)";
    }
    std::size_t length = 0;
    const std::size_t limit = d.precision >= 0 ? static_cast<std::size_t>(d.precision) : SIZE_MAX;
    while (length < limit && text[length] != 0)
    {
        ++length;
    }
    const std::size_t mark = out.GetSize();
    out.Append(text, length);
    FinishField(out, mark, d);
}

void AppendNarrow(FormatBuffer& out, const char* text, const Directive& d)
{
    if (!text)
    {
        text = "(null)";
    }
    const std::size_t mark = out.GetSize();
    const std::size_t bytes = std::strlen(text);
    // UTF-8 never needs more UTF-16 units than it has bytes.
    char16_t* start = out.Extend(bytes);
    char16_t* end = start;
    ConvertUtf8ToUtf16(text, text + bytes, end, start + bytes, ConversionMode::Lenient);
    out.ShrinkTo(static_cast<std::size_t>(end - out.GetData()));
    FinishField(out, mark, d);
}

char16_t NarrowCharToWide(int value)
{
    const auto byte = static_cast<unsigned char>(value);
    return byte < 0x80 ? char16_t(byte) : char16_t(0xFFFD);
}

void AppendChar(FormatBuffer& out, char16_t unit, const Directive& d)
{
    const std::size_t mark = out.GetSize();
    out.Append(unit);
    Directive noCut = d;
    noCut.precision = -1;
    FinishField(out, mark, noCut);
}

// Reads a decimal number, stopping growth at INT_MAX.
int ReadNumber(const char16_t*& p)
{
    long long value = 0;
    while (*p >= u'0' && *p <= u'9')
    {
        value = std::min<long long>(value * 10 + (*p - u'0'), INT_MAX);
        ++p;
    }
    return static_cast<int>(value);
}

Length ReadLength(const char16_t*& p)
{
    switch (*p)
    {
    case u'h':
        if (p[1] == u'h')
        {
            p += 2;
            return Length::Char;
        }
        ++p;
        return Length::Short;
    case u'l':
        if (p[1] == u'l')
        {
            p += 2;
            return Length::LongLong;
        }
        ++p;
        return Length::Long;
    case u'L':
        ++p;
        return Length::LongDouble;
    case u'w':
        ++p;
        return Length::Wide;
    case u'q':
    case u'z':
    case u'j':
    case u't':
        ++p;
        return Length::LongLong;
    case u'I':
        if (p[1] == u'6' && p[2] == u'4')
        {
            p += 3;
            return Length::LongLong;
        }
        if (p[1] == u'3' && p[2] == u'2')
        {
            p += 3;
            return Length::Default;
        }
        ++p;
        return Length::LongLong; // pointer-sized
    default:
        return Length::Default;
    }
}

// Integers without flags, width or precision, the common case, skip the C library.
template <typename T>
void AppendInteger(FormatBuffer& out, const Directive& d, char conversion, T value)
{
    if (d.left || d.plus || d.space || d.alternate || d.zero || d.width >= 0 || d.precision >= 0)
    {
        const char spec[] = {'l', 'l', conversion, 0};
        AppendPrinted(out, false, CSpec(d, spec).c_str(), value);
        return;
    }
    const int base = conversion == 'o' ? 8 : conversion == 'x' || conversion == 'X' ? 16 : 10;
    char digits[24];
    char* const end = std::to_chars(digits, std::end(digits), value, base).ptr;
    if (conversion == 'X')
    {
        std::transform(digits, end, digits,
                       [](char c) { return c >= 'a' ? static_cast<char>(c - 0x20) : c; });
    }
    out.AppendAscii(digits, static_cast<std::size_t>(end - digits));
}

void AppendSigned(FormatBuffer& out, const Directive& d, char conversion, std::va_list* args)
{
    long long value = 0;
    switch (d.length)
    {
    case Length::LongLong:
        value = va_arg(*args, long long);
        break;
    case Length::Short:
        value = static_cast<short>(va_arg(*args, int));
        break;
    case Length::Char:
        value = static_cast<signed char>(va_arg(*args, int));
        break;
    default:
        value = va_arg(*args, int);
        break;
    }
    AppendInteger(out, d, conversion, value);
}

void AppendUnsigned(FormatBuffer& out, const Directive& d, char conversion, std::va_list* args)
{
    unsigned long long value = 0;
    switch (d.length)
    {
    case Length::LongLong:
        value = va_arg(*args, unsigned long long);
        break;
    case Length::Short:
        value = static_cast<unsigned short>(va_arg(*args, unsigned int));
        break;
    case Length::Char:
        value = static_cast<unsigned char>(va_arg(*args, unsigned int));
        break;
    default:
        value = va_arg(*args, unsigned int);
        break;
    }
    AppendInteger(out, d, conversion, value);
}

void AppendFloating(FormatBuffer& out, const Directive& d, char conversion, std::va_list* args)
{
    if (d.length == Length::LongDouble)
    {
        const long double value = va_arg(*args, long double);
        const char spec[] = {'L', conversion, 0};
        AppendPrinted(out, true, CSpec(d, spec).c_str(), value);
    }
    else
    {
        const double value = va_arg(*args, double);
        const char spec[] = {conversion, 0};
        AppendPrinted(out, true, CSpec(d, spec).c_str(), value);
    }
}

// Formats one directive; p points after the '%'. Returns false for an unknown
// conversion, which the caller copies literally.
bool AppendDirective(FormatBuffer& out, const char16_t*& p, std::va_list* args)
{
    Directive d;
    for (;; ++p)
    {
        bool* flag = *p == u'-'   ? &d.left
                     : *p == u'0' ? &d.zero
                     : *p == u'+' ? &d.plus
                     : *p == u' ' ? &d.space
                     : *p == u'#' ? &d.alternate
                                  : nullptr;
        if (!flag)
        {
            break;
        }
        *flag = true;
    }
    if (*p == u'*')
    {
        ++p;
        d.width = va_arg(*args, int);
        if (d.width < 0)
        {
            // A negative width from the arguments means left-justified, as in printf.
            d.left = true;
            d.width = d.width == INT_MIN ? INT_MAX : -d.width;
        }
    }
    else if (*p >= u'0' && *p <= u'9')
    {
        d.width = ReadNumber(p);
    }
    if (*p == u'.')
    {
        ++p;
        if (*p == u'*')
        {
            ++p;
            d.precision = va_arg(*args, int);
            d.precision = d.precision < 0 ? -1 : d.precision;
        }
        else
        {
            d.precision = ReadNumber(p);
        }
    }
    d.length = ReadLength(p);

    const char16_t conversion = *p;
    switch (conversion)
    {
    case u'd':
    case u'i':
        AppendSigned(out, d, static_cast<char>(conversion), args);
        break;
    case u'u':
    case u'o':
    case u'x':
    case u'X':
        AppendUnsigned(out, d, static_cast<char>(conversion), args);
        break;
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
        AppendFloating(out, d, static_cast<char>(conversion), args);
        break;
    case u's':
        if (d.length == Length::Short)
        {
            AppendNarrow(out, va_arg(*args, const char*), d);
        }
        else
        {
            AppendWide(out, va_arg(*args, const char16_t*), d);
        }
        break;
    case u'S':
        if (d.length == Length::Long || d.length == Length::Wide)
        {
            AppendWide(out, va_arg(*args, const char16_t*), d);
        }
        else
        {
            AppendNarrow(out, va_arg(*args, const char*), d);
        }
        break;
    case u'c':
    {
        const int value = va_arg(*args, int);
        AppendChar(out, d.length == Length::Short ? NarrowCharToWide(value) : static_cast<char16_t>(value),
                   d);
        break;
    }
    case u'C':
    {
        const int value = va_arg(*args, int);
        const bool wide = d.length == Length::Long || d.length == Length::Wide;
        AppendChar(out, wide ? static_cast<char16_t>(value) : NarrowCharToWide(value), d);
        break;
    }
    case u'p':
    {
        const void* pointer = va_arg(*args, const void*);
        Directive hex;
        hex.width = d.width;
        hex.precision = 16;
        hex.left = d.left;
        AppendPrinted(out, false, CSpec(hex, "llX").c_str(),
                      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
        break;
    }
    case u'n':
        // Writing through a format is a classic attack vector; Windows refuses it too.
        (void)va_arg(*args, void*);
        break;
    case u'%':
        out.Append(u'%');
        break;
    default:
        return false;
    }
    ++p;
    return true;
}

} // namespace

void FormatV(FormatBuffer& out, const char16_t* format, std::va_list args)
{
    if (!format)
    {
        return;
    }
    std::va_list ap;
    va_copy(ap, args);
    const char16_t* p = format;
    while (*p != 0)
    {
        const char16_t* literal = p;
        while (*p != 0 && *p != u'%')
        {
            ++p;
        }
        out.Append(literal, static_cast<std::size_t>(p - literal));
        if (*p == 0)
        {
            break;
        }
        const char16_t* directive = p++;
        if (!AppendDirective(out, p, &ap))
        {
            // Unknown or unfinished: copy it through its conversion character, if any.
            if (*p != 0)
            {
                ++p;
            }
            out.Append(directive, static_cast<std::size_t>(p - directive));
        }
    }
    va_end(ap);
}

void FormatTo(FormatBuffer& out, const char16_t* format, ...)
{
    std::va_list args;
    va_start(args, format);
    FormatV(out, format, args);
    va_end(args);
}

} // namespace KR
