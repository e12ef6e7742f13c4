#include "kr/core/RCPtr.h"

#include "kr/core/Exception.h"

namespace KR::Detail
{

void ThrowUnshareFailed(const std::string& typeName, const std::string& pointerClass)
{
    Throw<std::logic_error>("Logic Error : " + typeName + " : " + pointerClass +
                            "::Unshare : krframework\\objectbase\\RefCountedObject : Line 369");
}

} // namespace KR::Detail
