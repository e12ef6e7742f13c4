#include "kr/core/SharedBuffer.h"

namespace KR
{

template class LBufferT<1, 128>;
template class LBufferT<1, 0>;
template class LBufferT<512, 512>;

RCPtr<LIBuffer> CreateBuffer(std::size_t size, std::size_t reserve, bool zeroFill)
{
    return StringBuffer::Create(size, reserve, zeroFill);
}

} // namespace KR
