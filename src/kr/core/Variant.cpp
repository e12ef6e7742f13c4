#include "kr/core/Variant.h"

#include "kr/core/VariantRecord.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace KR
{

using namespace VariantRecord;

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "float and double conversions assume IEEE 754");

namespace
{

float FloatOf(std::uint64_t bits)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(bits));
}

double DoubleOf(std::uint64_t bits)
{
    return std::bit_cast<double>(bits);
}

// Half away from zero: add or subtract 0.5, then cut toward zero. Anything that lands
// outside the target (NaN included) gives the target's smallest value; the range test
// comes before the cast, which would be undefined otherwise.
std::int32_t RoundToInt32(double v)
{
    const double r = std::trunc(v >= 0.0 ? v + 0.5 : v - 0.5);
    if (r >= -2147483648.0 && r <= 2147483647.0)
    {
        return static_cast<std::int32_t>(r);
    }
    return std::numeric_limits<std::int32_t>::min();
}

std::int64_t RoundToInt64(double v)
{
    const double r = std::trunc(v >= 0.0 ? v + 0.5 : v - 0.5);
    if (r >= -9223372036854775808.0 && r < 9223372036854775808.0)
    {
        return static_cast<std::int64_t>(r);
    }
    return std::numeric_limits<std::int64_t>::min();
}

// A float's 64-bit conversion adds the half in single precision, which is why 0.49999997f
// rounds to 1 here but to 0 through the 32-bit conversion.
std::int64_t RoundToInt64(float v)
{
    const float r = std::trunc(v >= 0.0f ? v + 0.5f : v - 0.5f);
    if (r >= -9223372036854775808.0f && r < 9223372036854775808.0f)
    {
        return static_cast<std::int64_t>(r);
    }
    return std::numeric_limits<std::int64_t>::min();
}

bool IsByteRange(std::uint32_t type)
{
    return type == Variant::kByteRange || type == Variant::kOpaqueByteRange;
}

} // namespace

Variant::Variant(const Variant& other)
{
    *this = other;
}

Variant::Variant(Variant&& other) noexcept : mValue(other.mValue), mSize(other.mSize), mType(other.mType)
{
    other.mValue = {};
    other.mSize = 0;
    other.mType = kEmpty;
}

Variant::~Variant()
{
    Clear();
}

Variant& Variant::operator=(const Variant& other)
{
    if (this == &other)
    {
        return *this;
    }
    if (other.OwnsPayload())
    {
        Adopt(other.mType, CopyPayload(other.mValue.payload, other.mSize), other.mSize);
        return *this;
    }
    Clear();
    mValue = other.mValue;
    mSize = other.mSize;
    mType = other.mType;
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        mValue = other.mValue;
        mSize = other.mSize;
        mType = other.mType;
        other.mValue = {};
        other.mSize = 0;
        other.mType = kEmpty;
    }
    return *this;
}

void Variant::Clear()
{
    if (OwnsPayload())
    {
        Free(mValue.payload);
    }
    mValue = {};
    mSize = 0;
    mType = kEmpty;
}

std::uint8_t* Variant::Allocate(std::uint32_t count)
{
    return new std::uint8_t[count];
}

void Variant::Free(const std::uint8_t* payload)
{
    delete[] payload;
}

std::uint8_t* Variant::AllocatePayload(std::uint32_t count)
{
    std::uint8_t* payload = Allocate(count);
    if (payload == nullptr)
    {
        throw std::bad_alloc();
    }
    return payload;
}

std::uint8_t* Variant::CopyPayload(const void* data, std::uint32_t count)
{
    std::uint8_t* payload = AllocatePayload(count);
    if (count != 0)
    {
        if (data != nullptr)
        {
            std::memcpy(payload, data, count);
        }
        else
        {
            std::memset(payload, 0, count);
        }
    }
    return payload;
}

void Variant::Adopt(std::uint32_t type, const std::uint8_t* payload, std::uint32_t size)
{
    const std::uint8_t* old = OwnsPayload() ? mValue.payload : nullptr;
    mValue = {};
    mValue.payload = payload;
    mSize = size;
    mType = type;
    if (old != nullptr)
    {
        Free(old);
    }
}

void Variant::SetScalar(std::uint32_t type, std::uint64_t bits, std::uint32_t width)
{
    Clear();
    StoreLittleEndian(mValue.bytes, bits, width);
    mType = type;
}

std::uint64_t Variant::ScalarBits() const
{
    return LoadLittleEndian(mValue.bytes, sizeof mValue.bytes);
}

void Variant::SetBool(bool value)
{
    SetScalar(kBool, value ? 1 : 0, 1);
}

void Variant::SetInt32(std::int32_t value)
{
    SetScalar(kInt32, static_cast<std::uint32_t>(value), 4);
}

void Variant::SetInt64(std::int64_t value)
{
    SetScalar(kInt64, static_cast<std::uint64_t>(value), 8);
}

void Variant::SetFloat(float value)
{
    SetScalar(kFloat, std::bit_cast<std::uint32_t>(value), 4);
}

void Variant::SetDouble(double value)
{
    SetScalar(kDouble, std::bit_cast<std::uint64_t>(value), 8);
}

void Variant::SetBlob(const void* data, std::uint32_t count)
{
    Adopt(kBlob, CopyPayload(data, count), count);
}

std::uint32_t Variant::SetString(const char* text)
{
    const char* source = text != nullptr ? text : "";
    SetText(reinterpret_cast<const std::uint8_t*>(source), CheckedPayloadSize(std::strlen(source)));
    return kString;
}

void Variant::SetText(const std::uint8_t* text, std::uint32_t length)
{
    const std::uint32_t size = CheckedPayloadSize(std::uint64_t{length} + 1);
    std::uint8_t* payload = AllocatePayload(size);
    if (length != 0)
    {
        std::memcpy(payload, text, length);
    }
    payload[length] = 0;
    Adopt(kString, payload, size);
}

std::uint32_t Variant::SetByteRange(const void* data, std::uint32_t count, std::uint32_t type)
{
    if (!IsByteRange(type))
    {
        Clear();
        return kEmpty;
    }
    Adopt(type, static_cast<const std::uint8_t*>(data), data != nullptr ? count : 0);
    return type;
}

std::uint32_t Variant::SetValue(std::uint32_t type, const void* data, std::uint32_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr)
    {
        count = 0;
    }
    switch (type)
    {
    case kBool:
        if (count == 1)
        {
            SetScalar(kBool, bytes[0], 1);
            return kBool;
        }
        break;
    case kInt32:
    case kFloat:
        if (count == 4)
        {
            SetScalar(type, LoadLittleEndian(bytes, 4), 4);
            return type;
        }
        break;
    case kInt64:
    case kDouble:
        if (count == 8)
        {
            SetScalar(type, LoadLittleEndian(bytes, 8), 8);
            return type;
        }
        break;
    case kByteRange:
    case kOpaqueByteRange:
    case kBlob:
        SetBlob(bytes, count);
        return kBlob;
    case kString:
    {
        // The text ends at its zero byte, but never beyond the bytes given: a record whose
        // text lacks its terminator is read within the record and terminated here.
        const void* zero = count != 0 ? std::memchr(bytes, 0, count) : nullptr;
        const std::uint32_t length =
            zero != nullptr ? static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(zero) - bytes)
                            : count;
        SetText(bytes, length);
        return kString;
    }
    case kArray:
        Adopt(kArray, CopyPayload(bytes, count), count);
        return kArray;
    default:
        break;
    }
    Clear();
    return kEmpty;
}

std::uint32_t Variant::CheckedPayloadSize(std::uint64_t size)
{
    if (size > std::numeric_limits<std::uint32_t>::max())
    {
        throw std::length_error("KR::Variant: payload above 4 GiB");
    }
    return static_cast<std::uint32_t>(size);
}

// ---------------------------------------------------------------------------------------
// Conversions

bool Variant::ToBool() const
{
    switch (mType)
    {
    case kBool:
        return mValue.bytes[0] != 0;
    case kInt32:
    case kInt64:
        return ScalarBits() != 0;
    case kFloat:
        return FloatOf(ScalarBits()) != 0.0f; // a NaN is not 0, so it reads true
    case kDouble:
        return DoubleOf(ScalarBits()) != 0.0;
    case kByteRange:
    case kOpaqueByteRange:
        return mValue.payload != nullptr;
    case kBlob:
    case kArray:
        return mSize != 0;
    case kString:
        return mSize > 1;
    default:
        return false;
    }
}

std::int32_t Variant::ToInt32() const
{
    switch (mType)
    {
    case kBool:
        return mValue.bytes[0];
    case kInt32:
    case kInt64: // the low 32 bits
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(ScalarBits()));
    case kFloat:
        return RoundToInt32(static_cast<double>(FloatOf(ScalarBits())));
    case kDouble:
        return RoundToInt32(DoubleOf(ScalarBits()));
    case kByteRange:
    case kOpaqueByteRange:
    case kBlob:
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(LoadLittleEndian(mValue.payload, mSize < 4 ? mSize : 4)));
    case kString:
        return mSize != 0 ? static_cast<std::int32_t>(mSize - 1) : 0;
    default:
        return 0;
    }
}

std::int64_t Variant::ToInt64() const
{
    switch (mType)
    {
    case kBool:
        return mValue.bytes[0];
    case kInt32:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(ScalarBits()));
    case kInt64:
        return static_cast<std::int64_t>(ScalarBits());
    case kFloat:
        return RoundToInt64(FloatOf(ScalarBits()));
    case kDouble:
        return RoundToInt64(DoubleOf(ScalarBits()));
    case kByteRange:
    case kOpaqueByteRange:
    case kBlob:
        return static_cast<std::int64_t>(LoadLittleEndian(mValue.payload, mSize < 8 ? mSize : 8));
    case kString:
        return mSize != 0 ? std::int64_t{mSize - 1} : 0;
    default:
        return 0;
    }
}

float Variant::ToFloat() const
{
    switch (mType)
    {
    case kBool:
        return mValue.bytes[0];
    case kInt32:
        return static_cast<float>(ToInt32());
    case kInt64:
        return static_cast<float>(static_cast<std::int64_t>(ScalarBits()));
    case kFloat:
        return FloatOf(ScalarBits());
    case kDouble:
        return static_cast<float>(DoubleOf(ScalarBits()));
    case kByteRange:
    case kOpaqueByteRange:
    case kBlob:
    case kString:
        return static_cast<float>(ToInt32());
    default:
        return 0.0f;
    }
}

double Variant::ToDouble() const
{
    switch (mType)
    {
    case kBool:
        return mValue.bytes[0];
    case kInt32:
        return ToInt32();
    case kInt64:
        return static_cast<double>(static_cast<std::int64_t>(ScalarBits()));
    case kFloat:
        return FloatOf(ScalarBits());
    case kDouble:
        return DoubleOf(ScalarBits());
    case kByteRange:
    case kOpaqueByteRange:
    case kBlob:
    case kString:
        return static_cast<double>(ToInt64());
    default:
        return 0.0;
    }
}

const std::uint8_t* Variant::GetBytes(std::uint32_t& count) const
{
    switch (mType)
    {
    case kBool:
        count = 1;
        return mValue.bytes;
    case kInt32:
    case kFloat:
        count = 4;
        return mValue.bytes;
    case kInt64:
    case kDouble:
        count = 8;
        return mValue.bytes;
    case kByteRange:
    case kOpaqueByteRange:
    case kBlob:
    case kString:
    case kArray:
        count = mSize;
        return mValue.payload;
    default:
        count = 0;
        return nullptr;
    }
}

const std::uint8_t* Variant::GetElements(std::uint32_t& count) const
{
    switch (mType)
    {
    case kBool:
    case kInt32:
    case kInt64:
    case kFloat:
    case kDouble:
        count = 1;
        return mValue.bytes;
    case kByteRange:
    case kBlob:
    case kString:
        count = mSize;
        return mValue.payload;
    default:
        count = 0;
        return nullptr;
    }
}

const char* Variant::GetString() const
{
    return mType == kString ? reinterpret_cast<const char*>(mValue.payload) : nullptr;
}

bool Variant::operator==(const Variant& other) const
{
    if (mType != other.mType)
    {
        return false;
    }
    switch (mType)
    {
    case kEmpty:
        return true;
    case kBool:
        return mValue.bytes[0] == other.mValue.bytes[0];
    case kInt32:
    case kInt64:
        return ScalarBits() == other.ScalarBits();
    case kFloat:
        return FloatOf(ScalarBits()) == FloatOf(other.ScalarBits());
    case kDouble:
        return DoubleOf(ScalarBits()) == DoubleOf(other.ScalarBits());
    case kByteRange:
    case kOpaqueByteRange:
        return mValue.payload == other.mValue.payload && mSize == other.mSize;
    case kBlob:
    case kString:
    case kArray:
        return mSize == other.mSize &&
               (mSize == 0 || std::memcmp(mValue.payload, other.mValue.payload, mSize) == 0);
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------
// Arrays and the serialised record

std::uint64_t Variant::GetRecordLength(const Variant& variant)
{
    std::uint32_t count = 0;
    variant.GetBytes(count);
    return std::uint64_t{kHeaderSize} + count;
}

std::uint8_t* Variant::WriteRecord(const Variant& variant, std::uint8_t* at)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = variant.GetBytes(count);
    // A byte range without bytes has no record of its own; inside an array it stands as
    // an empty record, so the array stays well formed and reads back as empty there.
    const std::uint32_t type = IsByteRange(variant.mType) && count == 0 ? kEmpty : variant.mType;
    WriteHeader(at, kHeaderSize + count, type);
    if (count != 0)
    {
        std::memcpy(at + kHeaderSize, bytes, count);
    }
    return at + kHeaderSize + count;
}

std::uint32_t Variant::Serialize(const Variant& variant, void* buffer, std::uint32_t bufferSize)
{
    const std::uint64_t length = GetRecordLength(variant);
    if (length == kHeaderSize && IsByteRange(variant.mType))
    {
        return kSerializeFailed;
    }
    // A length that would read as the failure code is refused rather than mistaken for it.
    if (buffer == nullptr || length > bufferSize || length >= kSerializeFailed)
    {
        return kSerializeFailed;
    }
    WriteRecord(variant, static_cast<std::uint8_t*>(buffer));
    return static_cast<std::uint32_t>(length);
}

Result Variant::Deserialize(Variant& out, const void* record, std::uint32_t available)
{
    const auto* bytes = static_cast<const std::uint8_t*>(record);
    if (bytes == nullptr || available < kHeaderSize)
    {
        return kFail;
    }
    const std::uint32_t total = LoadU32(bytes + kLengthOffset);
    const std::uint32_t type = LoadU32(bytes + kTypeOffset);
    if (total > available || total < kHeaderSize || LoadU32(bytes + kReservedOffset) != 0 ||
        type >= kTypeCount)
    {
        return kFail;
    }
    if (total == kHeaderSize)
    {
        if (type != kEmpty && type != kArray)
        {
            return kFail;
        }
        out.Clear();
        out.mType = type;
        return kOk;
    }
    if (type == kEmpty)
    {
        return kFail;
    }
    // A payload whose length does not fit a scalar leaves the variant empty; the record
    // itself was well formed, so that still counts as read.
    out.SetValue(type, bytes + kHeaderSize, total - kHeaderSize);
    return kOk;
}

std::uint32_t Variant::SetArray(const Variant* elements, std::uint32_t count)
{
    if (elements == nullptr || count == 0)
    {
        Clear();
        mType = kArray;
        return kArray;
    }
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        total += GetRecordLength(elements[i]);
    }
    const std::uint32_t size = CheckedPayloadSize(total);
    std::uint8_t* payload = AllocatePayload(size); // every byte is written below
    std::uint8_t* at = payload;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        at = WriteRecord(elements[i], at);
    }
    Adopt(kArray, payload, size);
    return kArray;
}

void Variant::SetNestedArray(const Variant* const* parts, std::uint32_t width, std::uint32_t count)
{
    std::uint64_t total = 0;
    for (std::uint64_t i = 0; i < std::uint64_t{count} * width; ++i)
    {
        total += GetRecordLength(*parts[i]);
    }
    total += std::uint64_t{kHeaderSize} * count;
    const std::uint32_t size = CheckedPayloadSize(total);
    std::uint8_t* payload = AllocatePayload(size); // every byte is written below
    std::uint8_t* at = payload;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::uint8_t* element = at;
        at += kHeaderSize;
        for (std::uint32_t k = 0; k < width; ++k)
        {
            at = WriteRecord(*parts[std::uint64_t{i} * width + k], at);
        }
        WriteHeader(element, static_cast<std::uint32_t>(at - element), kArray);
    }
    Adopt(kArray, payload, size);
}

std::uint32_t Variant::GetArraySize() const
{
    if (mType != kArray)
    {
        return 0;
    }
    return Walker(mValue.payload, mSize).Count();
}

std::int32_t Variant::GetArrayElement(std::uint32_t index, Variant& out) const
{
    Span span;
    if (mType != kArray || !Walker(mValue.payload, mSize).Seek(index, span))
    {
        out.Clear();
        return -1;
    }
    // The record lies inside this payload; when `out` is this variant, Deserialize makes
    // the new payload before it frees the old one.
    if (Failed(Deserialize(out, span.data, span.length)))
    {
        out.Clear();
    }
    return 0;
}

} // namespace KR
