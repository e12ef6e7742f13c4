#pragma once
// Reference-counted buffers: the storage that several owners share (the characters of
// every string, preset-file data). A shared buffer is only read; a writer first gets a
// private one, either because it is the only holder or through a copy (copy on write,
// RCPtr.h).

#include "kr/core/BufferT.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace KR
{

// A reference-counted buffer seen through the byte-buffer interface.
class LIBuffer : public virtual IBuffer, public virtual LRefCountedObject
{
public:
    // A new buffer of the same kind, newSize bytes, zero-filled, holding this buffer's
    // bytes from offset on as far as they fit (nothing when offset is not below the size).
    // Throws std::bad_alloc when the heap cannot supply it.
    virtual RCPtr<LIBuffer> CreateResizedCopy(std::size_t newSize, std::size_t offset) const = 0;
};

// A BufferT that is also reference-counted. Made only on the heap, through Create.
template <std::size_t G, std::size_t S, std::size_t A = 8, typename T = char*,
          AllocatorSource Alloc = &GetSystemAllocator>
class LBufferT final : public BufferT<G, S, A, T, Alloc>, public LIBuffer
{
    using Storage = BufferT<G, S, A, T, Alloc>;

public:
    // A new buffer held once. Throws std::bad_alloc when the heap cannot supply size bytes.
    static RCPtr<LBufferT> Create(std::size_t size, std::size_t reserve, bool zeroFill)
    {
        RCPtr<LBufferT> buffer(new LBufferT(size, reserve, zeroFill));
        if (buffer->GetSize() != size)
        {
            throw std::bad_alloc();
        }
        return buffer;
    }

    // A shareable copy with the same bytes.
    ConstRCPtr<LRefCountedObject> CreateCopy() const override
    {
        RCPtr<LBufferT> copy = Create(this->GetSize(), 0, false);
        if (this->GetSize() != 0)
        {
            std::memcpy(copy->GetData(), this->GetData(), this->GetSize());
        }
        return copy;
    }

    RCPtr<LIBuffer> CreateResizedCopy(std::size_t newSize, std::size_t offset) const override
    {
        RCPtr<LBufferT> copy = Create(newSize, 0, true);
        if (offset < this->GetSize())
        {
            const std::size_t count = std::min(newSize, this->GetSize() - offset);
            if (count != 0)
            {
                std::memcpy(copy->GetData(), this->GetData() + offset, count);
            }
        }
        return copy;
    }

private:
    LBufferT(std::size_t size, std::size_t reserve, bool zeroFill) : Storage(size, reserve, zeroFill) {}
};

extern template class LBufferT<1, 128>;
extern template class LBufferT<1, 0>;
extern template class LBufferT<512, 512>;

// The instance behind every string: grows byte by byte and keeps up to 128 spare bytes.
using StringBuffer = LBufferT<1, 128>;
// Exact-size byte buffers.
using ExactBuffer = LBufferT<1, 0>;
// Preset-file data, in steps of 512 bytes.
using PresetFileBuffer = LBufferT<512, 512>;

// A new string-instance buffer held once; throws std::bad_alloc when the heap cannot
// supply size bytes.
RCPtr<LIBuffer> CreateBuffer(std::size_t size, std::size_t reserve, bool zeroFill);

} // namespace KR
