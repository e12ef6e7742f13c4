#include "kr/ui/LayoutDescriptor.h"

namespace KR
{

RCPtr<LLayoutDescriptor> LLayoutDescriptor::Create()
{
    return RCPtr<LLayoutDescriptor>(new LLayoutDescriptor());
}

RCPtr<LLayoutDescriptor> LLayoutDescriptor::Clone() const
{
    // The copy constructor copies every field; the strings share their buffers until one
    // side writes, which gives that side its own characters. The count starts afresh.
    return RCPtr<LLayoutDescriptor>(new LLayoutDescriptor(*this));
}

} // namespace KR
