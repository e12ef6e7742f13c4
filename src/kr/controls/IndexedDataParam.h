#pragma once
// KR::LIndexedDataParam: a notification payload naming an item by index, with an object
// of the sender's choosing (may be null).

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"

#include <cstdint>

namespace KR
{

class LIndexedDataParam : public virtual LRefCountedObject
{
public:
    static RCPtr<LIndexedDataParam> Create(const RCPtr<LRefCountedObject>& data, std::int32_t index);

    RCPtr<LRefCountedObject> data;
    std::int32_t index = -1;

protected:
    LIndexedDataParam(const RCPtr<LRefCountedObject>& object, std::int32_t itemIndex)
        : data(object), index(itemIndex)
    {
    }
};

} // namespace KR
