#include "device/ModelErrors.h"

#include "kr/core/Exception.h"

#include <stdexcept>

namespace ModelErrors
{

void ThrowLogicError(const char* text)
{
    throw KR::Exception<std::logic_error>(std::logic_error(text));
}

} // namespace ModelErrors
