#include "kr/render/DrawingData.h"

#include <atomic>

namespace KR
{

std::int32_t NextDrawingHandle()
{
    static std::atomic<std::int32_t> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace KR
