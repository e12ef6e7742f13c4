#pragma once
// KR::LIndexedDataWithValueParam: an indexed payload with the item's new value, as the
// checked list sends it when a check box is clicked (1 checked, 0 clear).

#include "kr/controls/IndexedDataParam.h"

namespace KR
{

class LIndexedDataWithValueParam : public LIndexedDataParam
{
public:
    static RCPtr<LIndexedDataWithValueParam> Create(const RCPtr<LRefCountedObject>& data, std::int32_t index,
                                                    double value);

    double value = 0.0;

private:
    LIndexedDataWithValueParam(const RCPtr<LRefCountedObject>& object, std::int32_t itemIndex,
                               double newValue)
        : LIndexedDataParam(object, itemIndex), value(newValue)
    {
    }
};

} // namespace KR
