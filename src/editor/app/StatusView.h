#pragma once
// The device view's status object: it carries nothing yet, but the view hands it out, so
// it is an object of its own rather than a null.

#include "kr/core/RefCountedObject.h"

class LStatusView : public virtual KR::LRefCountedObject
{
};
