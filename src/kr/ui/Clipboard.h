#pragma once
// KR::LClipboard: the application's clipboard object, made with the application and kept
// for its life. What it holds and the edit requests it answers grow here with the
// clipboard itself; until then it is the object the application hands out.

#include "kr/core/RefCountedObject.h"

namespace KR
{

class LClipboard : public virtual LRefCountedObject
{
};

} // namespace KR
