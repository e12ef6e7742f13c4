#include "kr/controls/ItemConditionsParam.h"

// The parameters' control lists need the whole control class where their copies are made.
#include "kr/ui/Control.h"

namespace KR
{

RCPtr<LItemConditionsParam> LItemConditionsParam::Create(const LConditionsParam& conditions,
                                                         std::int32_t itemIndex, std::int32_t lookIndex,
                                                         bool hover)
{
    return RCPtr<LItemConditionsParam>(new LItemConditionsParam(conditions, itemIndex, lookIndex, hover));
}

} // namespace KR
