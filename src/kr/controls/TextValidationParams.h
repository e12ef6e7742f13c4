#pragma once
// KR::LTextValidationParams: what a text box's "NID_TEXTBOX_VALIDATING" receivers see and
// may change (the text, whether it is valid), and what "NID_TEXTBOX_VALIDATED" reports.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"

namespace KR
{

class LTextValidationParams : public virtual LRefCountedObject
{
public:
    static RCPtr<LTextValidationParams> Create(const String& entered)
    {
        return RCPtr<LTextValidationParams>(new LTextValidationParams(entered));
    }

    // As typed; receivers leave it alone.
    String enteredText;
    // What the field will hold once valid; a receiver may replace it.
    String text;
    bool valid = true;

private:
    explicit LTextValidationParams(const String& entered) : enteredText(entered), text(entered) {}
};

} // namespace KR
