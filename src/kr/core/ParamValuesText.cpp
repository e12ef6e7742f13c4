// The text form of parameter records. Apart from the lists so that the list code stands
// without the string library (the fuzz target builds the lists alone).

#include "kr/core/ParamValues.h"

namespace KR
{

String ParamDescriptorToString(const ParamDescriptor& descriptor)
{
    return String::Format(u"%u", static_cast<std::uint32_t>(descriptor.id));
}

} // namespace KR
