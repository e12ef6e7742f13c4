#pragma once
// The framework's strings: KR::String (UTF-16, the string of the whole program: names,
// texts, paths) and KR::Utf8String (UTF-8, for XML text, MIDI port names and the bytes
// handed to C libraries).
//
// Characters live in a reference-counted byte buffer (SharedBuffer.h) that copies share:
// copying, assigning and passing a string by value move one pointer and one count. A
// writer never changes a shared buffer; it first gets a private one (copy on write).
//
// Lock(n) hands out a writable pointer to n characters of a private buffer; Unlock ends
// the text at its first NUL. While locked, a copy of the string gets its own characters,
// and the text ends at its first NUL. Every operation but Lock leaves a string unlocked.
//
// Lengths, positions and counts are in code units (char16_t or bytes), at most
// kMaxLength. Comparisons are by code unit, case-sensitive. StringFunctions.h has the
// case-insensitive ones, number texts, trims and StringToInt; Format.h the format rules.
//
// A string object is used by one thread at a time; strings that share a buffer may be used
// on different threads.
//
//     KR::String name = u"Encoder";
//     name += KR::String::Format(u" %d", 3);      // "Encoder 3"
//     KR::Utf8String bytes = name.ToUtf8();
//     using namespace KR::Literals;
//     auto label = u"Fader"_krs;

#include "kr/core/RCPtr.h"
#include "kr/core/SharedBuffer.h"
#include "kr/core/Types.h"

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <type_traits>

namespace KR
{

template <typename T>
class IArray;

// Whether C is the wide (UTF-16) unit. The members of one width are constrained on it
// rather than on a member of the class: clang 14 matches an out-of-line definition to its
// declaration only then. It also compiles every member of an explicit instantiation,
// constraints regardless, so their bodies compile only for their own width (if constexpr).
template <typename C>
inline constexpr bool kWideUnit = std::is_same_v<C, char16_t>;

// C: the unit held; O: the other unit, converted from and to (UTF-8 <-> UTF-16).
template <typename C, typename O>
class StringT
{
    static_assert((std::is_same_v<C, char16_t> && std::is_same_v<O, char>) ||
                      (std::is_same_v<C, char> && std::is_same_v<O, char16_t>),
                  "StringT holds UTF-16 (char16_t, char) or UTF-8 (char, char16_t)");

    static constexpr bool kWide = kWideUnit<C>;

public:
    using CharType = C;
    using OtherString = StringT<O, C>;
    using View = std::basic_string_view<C>;

    // Longest text a string takes; longer input is cut there.
    static constexpr std::uint32_t kMaxLength = 0x7FFFFFFE;

    // --- Construction and assignment ---------------------------------------------------

    // Empty: shares the process-wide empty buffer.
    StringT();
    StringT(const StringT& other);
    // Takes the other's buffer (and its lock, if any); the other becomes empty.
    StringT(StringT&& other) noexcept;
    // Text up to its NUL (null gives an empty string).
    StringT(const C* text);
    // At most maxLength units of text, fewer when a NUL comes first.
    StringT(const C* text, std::uint32_t maxLength);
    explicit StringT(View text);
    // One character (a NUL character gives an empty text).
    explicit StringT(C character);
    // Converts from the other encoding, leniently (see Utf16ToUtf8, Utf8ToUtf16); text
    // after an illegal sequence is dropped.
    explicit StringT(const O* text);
    explicit StringT(const OtherString& other);
    ~StringT() = default;

    // Into a locked string, copies the characters into its private buffer (growing it when
    // needed); otherwise shares the other's buffer (a locked one is copied instead).
    StringT& operator=(const StringT& other);
    StringT& operator=(StringT&& other);
    StringT& operator=(const C* text) { return Assign(text); }

    // Replaces the text by at most maxLength units of text (fewer when a NUL comes first).
    // A locked string keeps its buffer, grown when the text needs more room; the pointer
    // that Lock returned is then no longer valid.
    StringT& Assign(const C* text, std::uint32_t maxLength = kMaxLength);
    // A locked string keeps its buffer with a NUL first; otherwise shares the empty buffer.
    void Clear();
    StringT Copy() const { return *this; }

    // The process-wide empty string.
    static const StringT& Empty();

    // --- Reading -----------------------------------------------------------------------

    // The characters, NUL-terminated; valid until the string next changes.
    const C* GetPtr() const { return reinterpret_cast<const C*>(mBuffer->GetData()); }
    std::uint32_t GetLength() const;
    bool IsEmpty() const { return GetPtr()[0] == 0; }
    View GetView() const { return View(GetPtr(), GetLength()); }

    // At most count units from start. A negative start counts from the end (-3: the last
    // three units); a start before the beginning shortens the count by as much.
    StringT SubString(std::int32_t start, std::uint32_t count) const;
    // From start to the end; a negative start counts from the end.
    StringT SubString(std::int32_t start) const { return SubString(start, kMaxLength); }
    StringT Left(std::uint32_t count) const { return SubString(0, count); }
    // Index of the first occurrence of other, or -1.
    std::int32_t Find(const StringT& other) const;
    // Index of the first occurrence of unit at or after from, or -1.
    std::int32_t Find(C unit, std::uint32_t from = 0) const;

    // Empties out and fills it with the pieces between separators (any unit of the set).
    // A text without a separator gives one element, itself (an empty text one empty
    // element); two separators in a row give an empty element; a separator at the end
    // gives no empty last element. Returns the number of elements.
    std::uint32_t Split(IArray<StringT>& out, const C* separators) const;

    // Copies with ASCII and Latin-1 letters mapped, whatever the locale (CaseMapping.h).
    StringT ToUpper() const;
    StringT ToLower() const;

    // --- Conversion --------------------------------------------------------------------

    // The UTF-8 form (lenient: unpaired surrogates become three-byte sequences).
    OtherString ToUtf8() const requires kWideUnit<C>;
    // The UTF-16 form (lenient; text after illegal UTF-8 is dropped).
    OtherString ToUtf16() const requires(!kWideUnit<C>);
    // Replaces the text by the UTF-16 form of the UTF-8 bytes up to the first NUL or
    // maxCount bytes. kFail when they hold illegal or incomplete UTF-8; the text before it
    // is kept.
    Result AssignUtf8(const char* bytes, std::uint32_t maxCount = kMaxLength) requires kWideUnit<C>;

    // --- Changing ----------------------------------------------------------------------

    // Makes the buffer private and writable for count units (0: the length plus the NUL),
    // keeping the text that fits, and puts a NUL in the last unit. Returns the writable
    // units, or null when the string is already locked. Throws a Runtime Error when no
    // private buffer can be had.
    C* Lock(std::uint32_t count = 0);
    // Ends a lock; the text ends at its first NUL. 1 when the string was not locked, else 0.
    Result Unlock();
    bool IsLocked() const { return !mBuffer->IsShareable(); }

    StringT& operator+=(const StringT& other);
    StringT& operator+=(const C* text);
    // One narrow character, decoded as UTF-8 (a byte above 0x7F on its own is not a
    // character and appends U+FFFD).
    StringT& operator+=(char character) requires kWideUnit<C>;
    StringT& AppendChar(C character);
    StringT& Append(const C* text, std::uint32_t count);

    // Inserts s before position. kInvalidArg, and nothing changes, when position is beyond
    // the length.
    Result Insert(std::uint32_t position, const StringT& s);
    // Inserts at most count units of text (fewer when a NUL comes first).
    Result Insert(std::uint32_t position, const C* text, std::uint32_t count);

    // Replaces every unit that appears in set by replacement; a replacement of 0 (or an
    // empty set) changes nothing.
    StringT& ReplaceChars(const C* set, C replacement);

    // printf-style formatting with the Windows wide meaning (Format.h). No length limit.
    static StringT Format(const C* format, ...) requires kWideUnit<C>;
    static StringT FormatV(const C* format, std::va_list args) requires kWideUnit<C>;
    StringT& AssignFormat(const C* format, ...) requires kWideUnit<C>;
    StringT& AssignFormatV(const C* format, std::va_list args) requires kWideUnit<C>;

    // --- Comparison (by code unit, case-sensitive) ---------------------------------------

    // Strings sharing one buffer are equal without looking at the characters.
    bool operator==(const StringT& other) const;
    // A null or empty text equals only an empty string.
    bool operator==(const C* text) const;
    // Code units compared as unsigned values; a proper prefix is less.
    bool operator<(const StringT& other) const;
    bool operator>(const StringT& other) const { return other < *this; }
    bool operator<=(const StringT& other) const { return !(other < *this); }
    bool operator>=(const StringT& other) const { return !(*this < other); }

    // Whether both strings use one buffer.
    bool SharesBufferWith(const StringT& other) const { return mBuffer == other.mBuffer; }

private:
    // The conversions fill their target's buffer directly.
    friend Result Utf16ToUtf8(StringT<char, char16_t>& target, const char16_t* text, std::int32_t length);
    friend Result Utf8ToUtf16(StringT<char16_t, char>& target, const char* text, std::int32_t length);

    static const RCPtr<LIBuffer>& EmptyBuffer();
    static RCPtr<LIBuffer> NewBuffer(std::size_t units);

    std::uint32_t LengthByScan() const;
    C* Data() { return reinterpret_cast<C*>(mBuffer->GetData()); }
    // Makes the buffer private, sized for `units` units (contents kept as far as they fit),
    // without marking it locked; returns the units.
    C* PrepareWrite(std::size_t units);
    // Ends a PrepareWrite with `length` units of text written and NUL-terminated.
    void FinishWrite(std::uint32_t length);
    void ShareEmpty();
    // A copy with every unit passed through map.
    StringT MapUnits(C (*map)(C)) const;

    RCPtr<LIBuffer> mBuffer;
};

using String = StringT<char16_t, char>;
using Utf8String = StringT<char, char16_t>;

extern template class StringT<char16_t, char>;
extern template class StringT<char, char16_t>;

template <typename C, typename O>
StringT<C, O> operator+(const StringT<C, O>& a, const StringT<C, O>& b)
{
    StringT<C, O> result(a);
    result += b;
    return result;
}

template <typename C, typename O>
StringT<C, O> operator+(const StringT<C, O>& a, const C* b)
{
    StringT<C, O> result(a);
    result += b;
    return result;
}

template <typename C, typename O>
StringT<C, O> operator+(const C* a, const StringT<C, O>& b)
{
    StringT<C, O> result(a);
    result += b;
    return result;
}

// Fills target with the UTF-8 form of length UTF-16 units of text (negative: through the
// terminating NUL). Unpaired surrogates become three-byte sequences. kOk, or kFail when
// the text ends inside a surrogate pair; target then holds the text before it.
Result Utf16ToUtf8(Utf8String& target, const char16_t* text, std::int32_t length = -1);
// Fills target with the UTF-16 form of length bytes of UTF-8 text (negative: through the
// NUL). kOk, or kFail at illegal or incomplete UTF-8 (overlong forms, encoded surrogates,
// stray continuation bytes); target then holds the text before it.
Result Utf8ToUtf16(String& target, const char* text, std::int32_t length = -1);

namespace Literals
{
// u"text"_krs: a KR::String from a literal.
inline String operator""_krs(const char16_t* text, std::size_t length)
{
    return String(text, static_cast<std::uint32_t>(length));
}
// "text"_kru8: a KR::Utf8String from a (UTF-8) literal.
inline Utf8String operator""_kru8(const char* text, std::size_t length)
{
    return Utf8String(text, static_cast<std::uint32_t>(length));
}
} // namespace Literals

} // namespace KR

template <typename C, typename O>
struct std::hash<KR::StringT<C, O>>
{
    std::size_t operator()(const KR::StringT<C, O>& s) const noexcept
    {
        return std::hash<std::basic_string_view<C>>()(s.GetView());
    }
};
