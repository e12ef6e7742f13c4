#include "kr/core/StringT.h"

#include "kr/core/CaseMapping.h"
#include "kr/core/Exception.h"
#include "kr/core/Format.h"
#include "kr/core/IArray.h"
#include "kr/core/Utf.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace KR
{
namespace
{

template <typename C>
using Traits = std::char_traits<C>;

// Units before the first NUL, looking at most at max units.
template <typename C>
std::size_t ScanLength(const C* text, std::size_t max)
{
    const C* nul = Traits<C>::find(text, max, C());
    return nul ? static_cast<std::size_t>(nul - text) : max;
}

template <typename C>
constexpr const char* kLockFailedText = "Runtime Error : KR::StringT<wchar_t,char>::Lock : "
                                        "krframework\\utilities\\Storage/StringT : Line 760";
template <>
constexpr const char* kLockFailedText<char> = "Runtime Error : KR::StringT<char,wchar_t>::Lock : "
                                              "krframework\\utilities\\Storage/StringT : Line 760";

// Whether p points into the n bytes from begin (a pointer into the own buffer must be
// copied before the buffer is resized).
bool PointsInto(const void* p, const char* begin, std::size_t n)
{
    const std::less<const void*> before;
    return !before(p, begin) && before(p, begin + n);
}

} // namespace

// --- Buffers -------------------------------------------------------------------------

template <typename C, typename O>
const RCPtr<LIBuffer>& StringT<C, O>::EmptyBuffer()
{
    // The holder is never destroyed, so the buffer outlives every string (also those
    // released during process exit) and its count never falls to 1: no string ever
    // writes into it.
    static const RCPtr<LIBuffer>* const buffer = new RCPtr<LIBuffer>(CreateBuffer(sizeof(C), 0, true));
    return *buffer;
}

template <typename C, typename O>
const StringT<C, O>& StringT<C, O>::Empty()
{
    static const StringT* const empty = new StringT();
    return *empty;
}

template <typename C, typename O>
RCPtr<LIBuffer> StringT<C, O>::NewBuffer(std::size_t units)
{
    if (units > SIZE_MAX / sizeof(C))
    {
        throw std::bad_alloc();
    }
    return CreateBuffer(units * sizeof(C), 0, false);
}

template <typename C, typename O>
void StringT<C, O>::ShareEmpty()
{
    mBuffer = EmptyBuffer();
}

template <typename C, typename O>
C* StringT<C, O>::PrepareWrite(std::size_t units)
{
    if (units > SIZE_MAX / sizeof(C))
    {
        throw std::bad_alloc();
    }
    const std::size_t bytes = units * sizeof(C);
    if (mBuffer->GetRefCount() > 1)
    {
        mBuffer = mBuffer->CreateResizedCopy(bytes, 0);
    }
    else if (IsLocked())
    {
        // The lock promised its writer a size; the text may grow it, never shrink it.
        if (bytes > mBuffer->GetSize() && mBuffer->Resize(bytes) != bytes)
        {
            throw std::bad_alloc();
        }
    }
    else if (mBuffer->Resize(bytes) != bytes)
    {
        throw std::bad_alloc();
    }
    return Data();
}

template <typename C, typename O>
void StringT<C, O>::FinishWrite(std::uint32_t length)
{
    if (IsLocked())
    {
        Data()[length] = 0;
        return;
    }
    if (length == 0)
    {
        ShareEmpty();
        return;
    }
    const std::size_t bytes = (std::size_t(length) + 1) * sizeof(C);
    if (mBuffer->Resize(bytes) != bytes)
    {
        // The length of an unlocked string is read from its size, so the size must fit
        // even when the heap refuses to shrink the block in place.
        RCPtr<LIBuffer> exact = NewBuffer(std::size_t(length) + 1);
        std::memcpy(exact->GetData(), mBuffer->GetData(), bytes - sizeof(C));
        mBuffer = std::move(exact);
    }
    Data()[length] = 0;
}

template <typename C, typename O>
std::uint32_t StringT<C, O>::LengthByScan() const
{
    const std::size_t units = mBuffer->GetSize() / sizeof(C);
    return static_cast<std::uint32_t>(ScanLength(GetPtr(), std::min<std::size_t>(units, kMaxLength)));
}

template <typename C, typename O>
std::uint32_t StringT<C, O>::GetLength() const
{
    if (IsLocked())
    {
        return LengthByScan();
    }
    return static_cast<std::uint32_t>(mBuffer->GetSize() / sizeof(C) - 1);
}

// --- Construction and assignment -------------------------------------------------------

template <typename C, typename O>
StringT<C, O>::StringT() : mBuffer(EmptyBuffer())
{
}

template <typename C, typename O>
StringT<C, O>::StringT(const StringT& other) : mBuffer(other.IsLocked() ? EmptyBuffer() : other.mBuffer)
{
    if (other.IsLocked())
    {
        Assign(other.GetPtr(), other.GetLength());
    }
}

template <typename C, typename O>
StringT<C, O>::StringT(StringT&& other) noexcept : mBuffer(std::move(other.mBuffer))
{
    other.mBuffer = EmptyBuffer();
}

template <typename C, typename O>
StringT<C, O>::StringT(const C* text) : StringT(text, kMaxLength)
{
}

template <typename C, typename O>
StringT<C, O>::StringT(const C* text, std::uint32_t maxLength) : mBuffer(EmptyBuffer())
{
    Assign(text, maxLength);
}

template <typename C, typename O>
StringT<C, O>::StringT(View text) : mBuffer(EmptyBuffer())
{
    Assign(text.data(), static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), kMaxLength)));
}

template <typename C, typename O>
StringT<C, O>::StringT(C character) : mBuffer(EmptyBuffer())
{
    Assign(&character, 1);
}

template <typename C, typename O>
StringT<C, O>::StringT(const O* text) : mBuffer(EmptyBuffer())
{
    if constexpr (kWide)
    {
        Utf8ToUtf16(*this, text, -1);
    }
    else
    {
        Utf16ToUtf8(*this, text, -1);
    }
}

template <typename C, typename O>
StringT<C, O>::StringT(const OtherString& other) : mBuffer(EmptyBuffer())
{
    const auto length = static_cast<std::int32_t>(other.GetLength());
    if constexpr (kWide)
    {
        Utf8ToUtf16(*this, other.GetPtr(), length);
    }
    else
    {
        Utf16ToUtf8(*this, other.GetPtr(), length);
    }
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::operator=(const StringT& other)
{
    if (IsLocked() || other.IsLocked())
    {
        if (this != &other)
        {
            Assign(other.GetPtr(), other.GetLength());
        }
    }
    else
    {
        mBuffer = other.mBuffer;
    }
    return *this;
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::operator=(StringT&& other)
{
    if (this == &other)
    {
        return *this;
    }
    if (IsLocked())
    {
        return Assign(other.GetPtr(), other.GetLength());
    }
    mBuffer = std::move(other.mBuffer);
    other.mBuffer = EmptyBuffer();
    return *this;
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::Assign(const C* text, std::uint32_t maxLength)
{
    const std::size_t n = text ? ScanLength(text, std::min(maxLength, kMaxLength)) : 0;
    if (IsLocked())
    {
        const char* own = mBuffer->GetData();
        if (PointsInto(text, own, mBuffer->GetSize()))
        {
            // A part of the own text, so it fits where it is.
            Traits<C>::move(Data(), text, n);
        }
        else
        {
            Traits<C>::copy(PrepareWrite(n + 1), text, n);
        }
        Data()[n] = 0;
        return *this;
    }
    if (n == 0)
    {
        ShareEmpty();
        return *this;
    }
    RCPtr<LIBuffer> buffer = NewBuffer(n + 1);
    C* units = reinterpret_cast<C*>(buffer->GetData());
    Traits<C>::copy(units, text, n);
    units[n] = 0;
    mBuffer = std::move(buffer);
    return *this;
}

template <typename C, typename O>
void StringT<C, O>::Clear()
{
    if (IsLocked())
    {
        Data()[0] = 0;
    }
    else
    {
        ShareEmpty();
    }
}

// --- Reading ---------------------------------------------------------------------------

template <typename C, typename O>
StringT<C, O> StringT<C, O>::SubString(std::int32_t start, std::uint32_t count) const
{
    const std::int64_t length = GetLength();
    std::int64_t first = start;
    std::int64_t n = count;
    if (first < 0)
    {
        first += length;
        if (first < 0)
        {
            n += first;
            first = 0;
        }
    }
    if (n <= 0 || first >= length)
    {
        return StringT();
    }
    n = std::min(n, length - first);
    return StringT(GetPtr() + first, static_cast<std::uint32_t>(n));
}

template <typename C, typename O>
std::int32_t StringT<C, O>::Find(const StringT& other) const
{
    const std::size_t at = GetView().find(other.GetView());
    return at == View::npos ? -1 : static_cast<std::int32_t>(at);
}

template <typename C, typename O>
std::int32_t StringT<C, O>::Find(C unit, std::uint32_t from) const
{
    const std::size_t at = GetView().find(unit, from);
    return at == View::npos ? -1 : static_cast<std::int32_t>(at);
}

template <typename C, typename O>
std::uint32_t StringT<C, O>::Split(IArray<StringT>& out, const C* separators) const
{
    out.RemoveAll();
    const View set = separators ? View(separators) : View();
    View rest = GetView();
    if (rest.find_first_of(set) == View::npos)
    {
        out.AddItem(*this);
        return out.GetCount();
    }
    while (!rest.empty())
    {
        const std::size_t k = std::min(rest.find_first_of(set), rest.size());
        out.AddItem(StringT(rest.substr(0, k)));
        rest = k < rest.size() ? rest.substr(k + 1) : View();
    }
    return out.GetCount();
}

template <typename C, typename O>
StringT<C, O> StringT<C, O>::MapUnits(C (*map)(C)) const
{
    if (IsEmpty())
    {
        return StringT();
    }
    StringT result(*this);
    const std::uint32_t length = GetLength();
    C* units = result.PrepareWrite(std::size_t(length) + 1);
    std::transform(units, units + length, units, map);
    result.FinishWrite(length);
    return result;
}

template <typename C, typename O>
StringT<C, O> StringT<C, O>::ToUpper() const
{
    return MapUnits(&ToUpperUnit);
}

template <typename C, typename O>
StringT<C, O> StringT<C, O>::ToLower() const
{
    return MapUnits(&ToLowerUnit);
}

// --- Conversion ------------------------------------------------------------------------

template <typename C, typename O>
typename StringT<C, O>::OtherString StringT<C, O>::ToUtf8() const requires kWideUnit<C>
{
    OtherString result;
    if constexpr (kWide)
    {
        Utf16ToUtf8(result, GetPtr(), static_cast<std::int32_t>(GetLength()));
    }
    return result;
}

template <typename C, typename O>
typename StringT<C, O>::OtherString StringT<C, O>::ToUtf16() const requires(!kWideUnit<C>)
{
    OtherString result;
    if constexpr (!kWide)
    {
        Utf8ToUtf16(result, GetPtr(), static_cast<std::int32_t>(GetLength()));
    }
    return result;
}

template <typename C, typename O>
Result StringT<C, O>::AssignUtf8(const char* bytes, std::uint32_t maxCount) requires kWideUnit<C>
{
    if (!bytes)
    {
        Clear();
        return kOk;
    }
    if constexpr (kWide)
    {
        const std::size_t n = ScanLength(bytes, std::min(maxCount, kMaxLength));
        return Utf8ToUtf16(*this, bytes, static_cast<std::int32_t>(n));
    }
    return kFail;
}

// --- Changing --------------------------------------------------------------------------

template <typename C, typename O>
C* StringT<C, O>::Lock(std::uint32_t count)
{
    if (IsLocked())
    {
        return nullptr;
    }
    const std::size_t units = count == 0 ? std::size_t(GetLength()) + 1 : count;
    const std::size_t bytes = units * sizeof(C);
    if (mBuffer->GetRefCount() > 1)
    {
        RCPtr<LIBuffer> copy;
        try
        {
            copy = mBuffer->CreateResizedCopy(bytes, 0);
        }
        catch (const std::bad_alloc&)
        {
        }
        if (!copy)
        {
            throw Exception<std::runtime_error>(kLockFailedText<C>);
        }
        mBuffer = std::move(copy);
    }
    if (mBuffer->Resize(bytes) != bytes)
    {
        throw Exception<std::runtime_error>(kLockFailedText<C>);
    }
    mBuffer->SetUnshareable(true);
    Data()[units - 1] = 0;
    return Data();
}

template <typename C, typename O>
Result StringT<C, O>::Unlock()
{
    if (!IsLocked())
    {
        return kNothingDone;
    }
    const std::uint32_t length = LengthByScan();
    mBuffer->SetUnshareable(false);
    FinishWrite(length);
    return kOk;
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::operator+=(const StringT& other)
{
    const std::uint32_t n = GetLength();
    const std::uint32_t m = std::min(other.GetLength(), kMaxLength - n);
    if (m == 0)
    {
        return *this;
    }
    // `other` may be this string or share its buffer: it is read only after the write
    // area is ready, which leaves other's own buffer intact (shared) or moved with it (same).
    C* units = PrepareWrite(std::size_t(n) + m + 1);
    Traits<C>::copy(units + n, other.GetPtr(), m);
    FinishWrite(n + m);
    return *this;
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::operator+=(const C* text)
{
    return Append(text, kMaxLength);
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::operator+=(char character) requires kWideUnit<C>
{
    return AppendChar(static_cast<unsigned char>(character) < 0x80 ? C(character) : C(0xFFFD));
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::AppendChar(C character)
{
    return Append(&character, 1);
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::Append(const C* text, std::uint32_t count)
{
    if (!text)
    {
        return *this;
    }
    if (PointsInto(text, mBuffer->GetData(), mBuffer->GetSize()))
    {
        return *this += StringT(text, count);
    }
    const std::uint32_t n = GetLength();
    const auto m = static_cast<std::uint32_t>(ScanLength(text, std::min(count, kMaxLength - n)));
    if (m == 0)
    {
        return *this;
    }
    C* units = PrepareWrite(std::size_t(n) + m + 1);
    Traits<C>::copy(units + n, text, m);
    FinishWrite(n + m);
    return *this;
}

template <typename C, typename O>
Result StringT<C, O>::Insert(std::uint32_t position, const StringT& s)
{
    const std::uint32_t n = GetLength();
    if (position > n)
    {
        return kInvalidArg;
    }
    // Holding s keeps its characters where they are while this string's buffer changes
    // (s may be this string).
    const StringT inserted(s);
    const std::uint32_t m = std::min(inserted.GetLength(), kMaxLength - n);
    if (m == 0)
    {
        return kOk;
    }
    C* units = PrepareWrite(std::size_t(n) + m + 1);
    Traits<C>::move(units + position + m, units + position, n - position);
    Traits<C>::copy(units + position, inserted.GetPtr(), m);
    FinishWrite(n + m);
    return kOk;
}

template <typename C, typename O>
Result StringT<C, O>::Insert(std::uint32_t position, const C* text, std::uint32_t count)
{
    if (position > GetLength())
    {
        return kInvalidArg;
    }
    return Insert(position, StringT(text, count));
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::ReplaceChars(const C* set, C replacement)
{
    if (!set || replacement == 0)
    {
        return *this;
    }
    const View members(set);
    const View text = GetView();
    const std::size_t first = text.find_first_of(members);
    if (first == View::npos)
    {
        return *this;
    }
    const auto length = static_cast<std::uint32_t>(text.size());
    C* units = PrepareWrite(std::size_t(length) + 1);
    for (std::size_t i = first; i < length; ++i)
    {
        if (members.find(units[i]) != View::npos)
        {
            units[i] = replacement;
        }
    }
    FinishWrite(length);
    return *this;
}

template <typename C, typename O>
StringT<C, O> StringT<C, O>::FormatV(const C* format, std::va_list args) requires kWideUnit<C>
{
    FormatBuffer out;
    if constexpr (kWide)
    {
        KR::FormatV(out, format, args);
        return StringT(out.GetData(),
                       static_cast<std::uint32_t>(std::min<std::size_t>(out.GetSize(), kMaxLength)));
    }
    return StringT();
}

template <typename C, typename O>
StringT<C, O> StringT<C, O>::Format(const C* format, ...) requires kWideUnit<C>
{
    StringT result;
    if constexpr (kWide)
    {
        std::va_list args;
        va_start(args, format);
        result = FormatV(format, args);
        va_end(args);
    }
    return result;
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::AssignFormatV(const C* format, std::va_list args) requires kWideUnit<C>
{
    FormatBuffer out;
    if constexpr (kWide)
    {
        KR::FormatV(out, format, args);
        return Assign(out.GetData(),
                      static_cast<std::uint32_t>(std::min<std::size_t>(out.GetSize(), kMaxLength)));
    }
    return *this;
}

template <typename C, typename O>
StringT<C, O>& StringT<C, O>::AssignFormat(const C* format, ...) requires kWideUnit<C>
{
    if constexpr (kWide)
    {
        std::va_list args;
        va_start(args, format);
        AssignFormatV(format, args);
        va_end(args);
    }
    return *this;
}

// --- Comparison ------------------------------------------------------------------------

template <typename C, typename O>
bool StringT<C, O>::operator==(const StringT& other) const
{
    return mBuffer == other.mBuffer || GetView() == other.GetView();
}

template <typename C, typename O>
bool StringT<C, O>::operator==(const C* text) const
{
    if (!text)
    {
        return IsEmpty();
    }
    const C* own = GetPtr();
    while (*own != 0 && *own == *text)
    {
        ++own;
        ++text;
    }
    return *own == *text;
}

template <typename C, typename O>
bool StringT<C, O>::operator<(const StringT& other) const
{
    // char_traits compare units as unsigned values, also for char.
    return mBuffer != other.mBuffer && GetView().compare(other.GetView()) < 0;
}

template class StringT<char16_t, char>;
template class StringT<char, char16_t>;

// --- Conversion between the two -----------------------------------------------------------

Result Utf16ToUtf8(Utf8String& target, const char16_t* text, std::int32_t length)
{
    if (!text || length == 0 || text[0] == 0)
    {
        target.Clear();
        return kOk;
    }
    const std::size_t n = length < 0 ? Traits<char16_t>::length(text) + 1 : std::size_t(length);
    // A unit needs at most three bytes (a pair needs four for two units).
    const std::size_t room = n * 3;
    Utf8String converted;
    converted.mBuffer = Utf8String::NewBuffer(room + 1);
    char* const begin = converted.Data();
    const char16_t* source = text;
    char* out = begin;
    const ConversionResult result =
        ConvertUtf16ToUtf8(source, text + n, out, begin + room, ConversionMode::Lenient);
    const std::size_t written = ScanLength(begin, static_cast<std::size_t>(out - begin));
    converted.FinishWrite(static_cast<std::uint32_t>(std::min<std::size_t>(written, Utf8String::kMaxLength)));
    target = converted;
    return result == ConversionResult::Ok ? kOk : kFail;
}

Result Utf8ToUtf16(String& target, const char* text, std::int32_t length)
{
    if (!text || length == 0 || text[0] == 0)
    {
        target.Clear();
        return kOk;
    }
    const std::size_t n = length < 0 ? Traits<char>::length(text) + 1 : std::size_t(length);
    // A byte gives at most one unit (four bytes give two).
    String converted;
    converted.mBuffer = String::NewBuffer(n + 1);
    char16_t* const begin = converted.Data();
    const char* source = text;
    char16_t* out = begin;
    const ConversionResult result =
        ConvertUtf8ToUtf16(source, text + n, out, begin + n, ConversionMode::Lenient);
    const std::size_t written = ScanLength(begin, static_cast<std::size_t>(out - begin));
    converted.FinishWrite(static_cast<std::uint32_t>(std::min<std::size_t>(written, String::kMaxLength)));
    target = converted;
    return result == ConversionResult::Ok ? kOk : kFail;
}

} // namespace KR
