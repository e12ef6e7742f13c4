#include "kr/core/Wrapper.h"

namespace KR
{

RCPtr<LTaggableObject> MakeStringTag(const String& text)
{
    return LWrapperStringable<String>::Create(text);
}

} // namespace KR
