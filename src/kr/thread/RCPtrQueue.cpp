#include "kr/thread/RCPtrQueue.h"

#include "kr/core/Exception.h"

#include <stdexcept>

namespace KR::Detail
{
namespace
{

constexpr std::string_view kRCPtrQueueSource = "krframework\\utilities\\Storage/RCPtrQueue";
constexpr int kDequeueLine = 104;

} // namespace

void ThrowDequeueFromEmptyQueue(const std::string& elementType, std::size_t n)
{
    const std::string operation = "KR::RCPtrQueue<" + elementType + "," + std::to_string(n) + ">::Dequeue";
    Throw<std::runtime_error>(ErrorText<std::runtime_error>({}, operation, kRCPtrQueueSource, kDequeueLine));
}

} // namespace KR::Detail
