// The ordering of variants that keeps sub-keyed parameter records sorted. Array elements
// are compared in place, as views of their records, and nested arrays are walked with an
// explicit stack: a hostile array nested thousands of levels deep costs memory in
// proportion to its size, never the call stack.

#include "kr/core/Variant.h"
#include "kr/core/VariantRecord.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <compare>
#include <cstring>
#include <vector>

namespace KR
{

using namespace VariantRecord;

namespace
{

int Sign(bool less, bool greater)
{
    return less ? -1 : (greater ? 1 : 0);
}

template <typename T>
int Three(T a, T b)
{
    return Sign(a < b, b < a);
}

// What a variant, or an array record read as a variant, holds, without copying it. A
// scalar keeps its 8 value bytes (zero above its width). Text from a record may lack its
// terminator, so the view counts the zero byte in `size` but only `readable` bytes lie
// behind `data`; the missing last byte reads as 0.
struct View
{
    std::uint32_t type = Variant::kEmpty;
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    std::uint32_t readable = 0;
    std::uint8_t scalar[8] = {};

    bool IsScalar() const { return type > Variant::kEmpty && type < Variant::kByteRange; }
    const std::uint8_t* Bytes() const { return IsScalar() ? scalar : data; }
    std::uint32_t ByteCount() const { return IsScalar() ? sizeof scalar : size; }
    std::uint32_t ReadableCount() const { return IsScalar() ? sizeof scalar : readable; }
    std::uint8_t ByteAt(std::uint32_t i) const { return i < ReadableCount() ? Bytes()[i] : 0; }

    std::uint64_t Bits() const { return LoadLittleEndian(scalar, sizeof scalar); }
    double Number() const
    {
        switch (type)
        {
        case Variant::kBool:
            return scalar[0];
        case Variant::kInt32:
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(Bits()));
        case Variant::kInt64:
            return static_cast<double>(static_cast<std::int64_t>(Bits()));
        case Variant::kFloat:
            return std::bit_cast<float>(static_cast<std::uint32_t>(Bits()));
        default:
            return std::bit_cast<double>(Bits());
        }
    }
};

View ViewOf(const Variant& v)
{
    View view;
    view.type = v.GetType();
    std::uint32_t count = 0;
    const std::uint8_t* bytes = v.GetBytes(count);
    if (view.IsScalar())
    {
        std::memcpy(view.scalar, bytes, count);
    }
    else
    {
        view.data = bytes;
        view.size = count;
        view.readable = count;
    }
    return view;
}

// Reads a record as Deserialize would, into a view: a record that does not read, or a
// scalar payload of the wrong width, is empty; byte ranges read as blobs.
View ViewOf(const Span& record)
{
    View view;
    const std::uint32_t type = record.Type();
    const std::uint32_t length = record.PayloadLength();
    const std::uint8_t* payload = record.Payload();
    if (record.Reserved() != 0 || type >= Variant::kTypeCount)
    {
        return view;
    }
    switch (type)
    {
    case Variant::kBool:
    case Variant::kInt32:
    case Variant::kInt64:
    case Variant::kFloat:
    case Variant::kDouble:
    {
        const std::uint32_t width =
            type == Variant::kBool ? 1 : (type == Variant::kInt64 || type == Variant::kDouble ? 8 : 4);
        if (length == width)
        {
            view.type = type;
            std::memcpy(view.scalar, payload, width);
        }
        return view;
    }
    case Variant::kByteRange:
    case Variant::kOpaqueByteRange:
    case Variant::kBlob:
        if (length != 0)
        {
            view = View{Variant::kBlob, payload, length, length};
        }
        return view;
    case Variant::kString:
        if (length != 0)
        {
            const void* zero = std::memchr(payload, 0, length);
            const std::uint32_t text =
                zero != nullptr ? static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(zero) - payload)
                                : length;
            view = View{Variant::kString, payload, text + 1, text};
        }
        return view;
    case Variant::kArray:
        view = View{Variant::kArray, payload, length, length};
        return view;
    default:
        return view;
    }
}

int CompareNumbers(double a, double b)
{
    const bool nanA = std::isnan(a);
    const bool nanB = std::isnan(b);
    if (nanA || nanB)
    {
        return Three(nanA, nanB); // NaN after every number, equal to NaN
    }
    return Three(a, b);
}

// Shorter first, then the first differing byte, unsigned.
int CompareBytes(const View& a, const View& b)
{
    if (a.ByteCount() != b.ByteCount())
    {
        return Three(a.ByteCount(), b.ByteCount());
    }
    const std::uint32_t direct = std::min(a.ReadableCount(), b.ReadableCount());
    if (direct != 0)
    {
        const int c = std::memcmp(a.Bytes(), b.Bytes(), direct);
        if (c != 0)
        {
            return Sign(c<0, c> 0);
        }
    }
    for (std::uint32_t i = direct; i < a.ByteCount(); ++i)
    {
        const int c = Three(a.ByteAt(i), b.ByteAt(i));
        if (c != 0)
        {
            return c;
        }
    }
    return 0;
}

// Texts: shorter first; of equal length, the first differing character, signed.
int CompareText(const View& a, const View& b)
{
    if (a.size != b.size)
    {
        return Three(a.size, b.size);
    }
    for (std::uint32_t i = 0; i + 1 < a.size; ++i)
    {
        const int c = Three(static_cast<signed char>(a.ByteAt(i)), static_cast<signed char>(b.ByteAt(i)));
        if (c != 0)
        {
            return c;
        }
    }
    return 0;
}

// Everything but two arrays of the same type.
int CompareFlat(const View& a, const View& b)
{
    if (a.type != b.type)
    {
        int c = 0;
        if (a.type == Variant::kEmpty || b.type == Variant::kEmpty)
        {
            return Three(a.type, b.type);
        }
        if (a.IsScalar() && b.IsScalar())
        {
            c = CompareNumbers(a.Number(), b.Number());
        }
        else
        {
            c = CompareBytes(a, b);
        }
        // Values that tie across types still order by type, so that only equal variants
        // compare as 0.
        return c != 0 ? c : Three(a.type, b.type);
    }
    switch (a.type)
    {
    case Variant::kBool:
        return Three(a.scalar[0], b.scalar[0]);
    case Variant::kInt32:
        return Three(static_cast<std::int32_t>(static_cast<std::uint32_t>(a.Bits())),
                     static_cast<std::int32_t>(static_cast<std::uint32_t>(b.Bits())));
    case Variant::kInt64:
        return Three(static_cast<std::int64_t>(a.Bits()), static_cast<std::int64_t>(b.Bits()));
    case Variant::kFloat:
    case Variant::kDouble:
        return CompareNumbers(a.Number(), b.Number());
    case Variant::kByteRange:
    case Variant::kOpaqueByteRange:
    {
        // Equal byte ranges are the same bytes, so equal contents still order by address.
        const int c = CompareBytes(a, b);
        if (c != 0)
        {
            return c;
        }
        std::compare_three_way order;
        const auto where = order(a.data, b.data);
        return Sign(where<0, where> 0);
    }
    case Variant::kBlob:
        return CompareBytes(a, b);
    case Variant::kString:
        return CompareText(a, b);
    default:
        return 0;
    }
}

// Arrays element by element, a proper prefix first; nested arrays the same way. Elements
// that do not read are empty and tie with each other, and a byte range and a blob of the
// same bytes tie too, so when every element ties the raw payloads decide: only
// byte-equal arrays compare as 0, as operator== has it. That tie-break is taken once, at
// the top, which keeps the comparison linear in the payload size.
int CompareArrays(const View& a, const View& b)
{
    const int raw = CompareBytes(a, b);
    if (raw == 0)
    {
        return 0;
    }
    struct Level
    {
        Walker walkA, walkB;
    };
    std::vector<Level> levels;
    levels.push_back({Walker(a.data, a.size), Walker(b.data, b.size)});
    while (!levels.empty())
    {
        Level& level = levels.back();
        Span recordA;
        Span recordB;
        const bool hasA = level.walkA.Next(recordA);
        const bool hasB = level.walkB.Next(recordB);
        if (!hasA || !hasB)
        {
            if (hasA != hasB)
            {
                return hasA ? 1 : -1;
            }
            levels.pop_back();
            continue;
        }
        const View elementA = ViewOf(recordA);
        const View elementB = ViewOf(recordB);
        if (elementA.type == Variant::kArray && elementB.type == Variant::kArray)
        {
            levels.push_back({Walker(elementA.data, elementA.size), Walker(elementB.data, elementB.size)});
            continue;
        }
        const int c = CompareFlat(elementA, elementB);
        if (c != 0)
        {
            return c;
        }
    }
    return raw;
}

} // namespace

int Variant::Compare(const Variant& a, const Variant& b)
{
    const View viewA = ViewOf(a);
    const View viewB = ViewOf(b);
    if (viewA.type == kArray && viewB.type == kArray)
    {
        return CompareArrays(viewA, viewB);
    }
    return CompareFlat(viewA, viewB);
}

} // namespace KR
