#include "editor/edit/ButtonModeRecord.h"

void NormalizeModeRecord(KR::Array<signed char>& record)
{
    using namespace ButtonModeRecord;
    if (record.GetCount() != kSize || record[kMessageKind] <= 0)
    {
        return;
    }
    // A second or third value only exists in a cycle: such an increment/decrement record
    // is the cycle it carries.
    const bool carriesMoreValues = record[kNoSecondValue] == 0 || record[kNoThirdValue] == 0;
    if (!carriesMoreValues)
    {
        return;
    }
    const std::int32_t code = record[kNumberOrType];
    if (code == kCcDecrement || code == kCcIncrement)
    {
        record[kNumberOrType] = kCcCycle;
    }
    else if (code == kProgramDecrement || code == kProgramIncrement)
    {
        record[kNumberOrType] = kProgramCycle;
    }
}
