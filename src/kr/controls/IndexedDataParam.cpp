#include "kr/controls/IndexedDataParam.h"

#include "kr/controls/IndexedDataWithValueParam.h"

namespace KR
{

RCPtr<LIndexedDataParam> LIndexedDataParam::Create(const RCPtr<LRefCountedObject>& data, std::int32_t index)
{
    return RCPtr<LIndexedDataParam>(new LIndexedDataParam(data, index));
}

RCPtr<LIndexedDataWithValueParam> LIndexedDataWithValueParam::Create(const RCPtr<LRefCountedObject>& data,
                                                                     std::int32_t index, double value)
{
    return RCPtr<LIndexedDataWithValueParam>(new LIndexedDataWithValueParam(data, index, value));
}

} // namespace KR
