#pragma once
// KR::Variant: the framework's tagged value. Every device parameter value travels as a
// variant holding a byte blob, and the parameter lists are variants of the array type
// whose payload is a run of serialised records. The serialised record is the one byte
// form of a variant: the element format inside arrays and the form preset files store.

#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

class Variant
{
public:
    // Type codes; the same numbers stand in the serialised record.
    enum Type : std::uint32_t
    {
        kEmpty = 0,
        kBool = 1,
        kInt32 = 2,
        kInt64 = 3,
        kFloat = 4,
        kDouble = 5,
        // Bytes that someone else keeps alive: copied as a pointer, never freed. The two
        // kinds differ only in GetElements, which the second one answers with nothing.
        kByteRange = 6,
        kOpaqueByteRange = 7,
        kBlob = 8,
        // Narrow text; the size counts the terminating zero byte.
        kString = 9,
        // Serialised records laid end to end.
        kArray = 10,
    };
    static constexpr std::uint32_t kTypeCount = 11;

    // What Serialize answers for a record it cannot write (E_FAIL, as an unsigned length).
    static constexpr std::uint32_t kSerializeFailed = 0x80004005u;

    Variant() = default;
    Variant(const Variant& other);
    // Moves hand the payload over. Allocate and Free work on the process heap in every
    // class, so a payload may end its life in another variant than the one that made it.
    Variant(Variant&& other) noexcept;
    virtual ~Variant();

    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;

    // Frees an owned payload; the variant is empty afterwards.
    void Clear();

    // Setting. Each setter replaces the whole value; the new payload is made before the
    // old one is freed, so the source bytes may lie inside this variant's own payload.
    void SetBool(bool value);
    void SetInt32(std::int32_t value);
    void SetInt64(std::int64_t value);
    void SetFloat(float value);
    void SetDouble(double value);
    // An owned copy of the bytes, type 8; a count of 0 gives an empty blob.
    void SetBlob(const void* data, std::uint32_t count);
    // Narrow text up to its zero byte, stored with that byte; returns 9. Null reads as "".
    std::uint32_t SetString(const char* text);
    // Points at bytes that the caller keeps alive (type 6, or 7 when `type` says so);
    // returns the type, or 0 and an empty variant for any other type code.
    std::uint32_t SetByteRange(const void* data, std::uint32_t count, std::uint32_t type = kByteRange);
    // Sets from a type code and raw bytes, as a record's payload is read: scalars only
    // when the count is exactly their width, byte ranges become owned blobs, text ends at
    // the first zero byte or at the count, whichever comes first. Returns the resulting
    // type (0 when the variant stayed empty).
    std::uint32_t SetValue(std::uint32_t type, const void* data, std::uint32_t count);
    // An array of the given variants, each serialised in order; returns 10.
    std::uint32_t SetArray(const Variant* elements, std::uint32_t count);

    std::uint32_t GetType() const { return mType; }
    // Payload bytes for types 6 to 10; 0 for scalars and the empty variant.
    std::uint32_t GetSize() const { return mSize; }
    bool IsEmpty() const { return mType == kEmpty; }

    // Conversions. Rounding is half away from zero; a rounded value outside the target
    // range gives the target's smallest value. Integer reads of byte payloads take the
    // first 4 or 8 bytes little-endian, and only those that exist.
    virtual bool ToBool() const;
    virtual std::int32_t ToInt32() const;
    virtual std::int64_t ToInt64() const;
    virtual float ToFloat() const;
    virtual double ToDouble() const;

    // The bytes of the value: a scalar's little-endian bytes (1, 4 or 8), a payload whole.
    virtual const std::uint8_t* GetBytes(std::uint32_t& count) const;
    // Like GetBytes, but scalars count as one element and types 7 and 10 give nothing.
    virtual const std::uint8_t* GetElements(std::uint32_t& count) const;
    // The text of a string variant, else null.
    virtual const char* GetString() const;

    // Payload storage. Overrides must stay on the process heap (see the move constructor).
    virtual std::uint8_t* Allocate(std::uint32_t count);
    virtual void Free(const std::uint8_t* payload);

    // Arrays. A malformed record length ends the walk: what lies from there on is not
    // counted and cannot be read.
    std::uint32_t GetArraySize() const;
    // 0 when a record was found (a malformed one reads as empty), -1 otherwise; `out` is
    // emptied whatever happens.
    std::int32_t GetArrayElement(std::uint32_t index, Variant& out) const;

    // Writes one record; its length, or kSerializeFailed when the buffer is null or too
    // small or the variant is a byte range without bytes.
    static std::uint32_t Serialize(const Variant& variant, void* buffer, std::uint32_t bufferSize);
    // Reads one record; kOk, or kFail with `out` untouched when the record is bad.
    static Result Deserialize(Variant& out, const void* record, std::uint32_t available);
    // The length Serialize would write (12 + the byte count).
    static std::uint64_t GetRecordLength(const Variant& variant);

    // Same type and same contents; byte ranges are equal only when they are the same bytes.
    bool operator==(const Variant& other) const;

    // The total order that sorts parameter sub-keys: negative when a comes first, 0 when
    // neither does, positive otherwise. It is 0 exactly for equal variants, save that NaN
    // orders equal to NaN (after every number) so the order stays total.
    static int Compare(const Variant& a, const Variant& b);
    friend bool operator<(const Variant& a, const Variant& b) { return Compare(a, b) < 0; }

protected:
    // Builds an array of `count` elements, each itself an array of `width` parts, from
    // parts[i * width + k], in one allocation. The parameter lists are made this way.
    void SetNestedArray(const Variant* const* parts, std::uint32_t width, std::uint32_t count);

private:
    union Value
    {
        std::uint8_t bytes[8];
        const std::uint8_t* payload;
    };

    bool OwnsPayload() const { return mType >= kBlob && mType < kTypeCount; }
    void SetScalar(std::uint32_t type, std::uint64_t bits, std::uint32_t width);
    void SetText(const std::uint8_t* text, std::uint32_t length);
    std::uint64_t ScalarBits() const;
    void Adopt(std::uint32_t type, const std::uint8_t* payload, std::uint32_t size);
    std::uint8_t* AllocatePayload(std::uint32_t count);
    std::uint8_t* CopyPayload(const void* data, std::uint32_t count);
    static std::uint8_t* WriteRecord(const Variant& variant, std::uint8_t* at);
    static std::uint32_t CheckedPayloadSize(std::uint64_t size);

    Value mValue{};
    std::uint32_t mSize = 0;
    std::uint32_t mType = kEmpty;
};

} // namespace KR
