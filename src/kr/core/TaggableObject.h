#pragma once
// The base of the objects that list items, menu entries and controls carry as their tag.
// A tag is shown through its text form (ToString), so any reference-counted object that
// wants to be shown as an item derives from this.

#include "kr/core/RefCountedObject.h"

namespace KR
{

class LTaggableObject : public virtual LRefCountedObject
{
};

} // namespace KR
