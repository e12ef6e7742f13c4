#pragma once
// KR::LItemConditionsParam: a list row's condition change as the list passes it on, with
// the item the row shows, the row's active look and whether the pointer is on the row
// itself. Rows change conditions with every pointer crossing, so these come from a pool of
// their own (the conditions' pool is sized for the smaller base class).

#include "kr/ui/NotificationParams.h"

#include <cstdint>

namespace KR
{

class LItemConditionsParam : public LConditionsParam,
                             public PooledObject<LItemConditionsParam, kParamPoolStep, false>
{
    using Pool = PooledObject<LItemConditionsParam, kParamPoolStep, false>;

public:
    using Pool::GetPool;
    using Pool::operator new;
    using Pool::operator delete;

    static RCPtr<LItemConditionsParam> Create(const LConditionsParam& conditions, std::int32_t itemIndex,
                                              std::int32_t lookIndex, bool hover);

    std::int32_t itemIndex = -1;
    std::int32_t lookIndex = 0;
    bool hover = false;

private:
    LItemConditionsParam(const LConditionsParam& conditions, std::int32_t item, std::int32_t look,
                         bool rowHover)
        : LConditionsParam(conditions.previous, conditions.current, conditions.point), itemIndex(item),
          lookIndex(look), hover(rowHover)
    {
    }
};

} // namespace KR
