#pragma once
// The byte-buffer interface through which code that only needs bytes sees any buffer.

#include "kr/core/Types.h"

#include <cstddef>
#include <cstdint>

namespace KR
{

class IBuffer
{
public:
    virtual ~IBuffer() = default;

    // Bytes in use.
    virtual std::size_t GetSize() const = 0;
    // Sets the size to n without keeping the contents. Returns the size the buffer has
    // afterwards: n, or the old size when the heap could not supply n bytes.
    virtual std::size_t Allocate(std::size_t n) = 0;
    // Sets the size to n keeping the contents up to the smaller size. Returns the size
    // afterwards: n, or the old size (old block and contents kept) when the heap failed.
    virtual std::size_t Resize(std::size_t n) = 0;
    // Writes count copies of value from offset; a negative count means up to the end.
    // kInvalidArg, and nothing written, when the range leaves the buffer.
    virtual Result Fill(std::uint8_t value, std::size_t offset, std::ptrdiff_t count) = 0;
    // The same with 16-bit units from a byte offset; a negative count means as many whole
    // units as fit up to the end. The offset need not be aligned.
    virtual Result Fill16(std::uint16_t value, std::size_t offset, std::ptrdiff_t count) = 0;
    // Bytes allocated; 0 when no block is held.
    virtual std::size_t GetCapacity() const = 0;
    // The bytes; null while no block is held.
    virtual char* GetData() = 0;
    virtual const char* GetData() const = 0;

    // The byte at index, or null when index is not below the size.
    char* GetAt(std::size_t index) { return index < GetSize() ? GetData() + index : nullptr; }
    const char* GetAt(std::size_t index) const { return index < GetSize() ? GetData() + index : nullptr; }

protected:
    // The range checks and writes of Fill and Fill16, shared by every buffer instance.
    static Result FillBytes(char* data, std::size_t size, std::uint8_t value, std::size_t offset,
                            std::ptrdiff_t count);
    static Result FillUnits16(char* data, std::size_t size, std::uint16_t value, std::size_t offset,
                              std::ptrdiff_t count);
};

} // namespace KR
