#include "editor/edit/ControlUtilities.h"

namespace ControlUtilitiesDetail
{

void ThrowRegistrationRefused(KR::Result result)
{
    KR::ThrowFailedResult(result, " : SetNotificationForAllArrayItems : ControlUtilities : Line 433");
}

} // namespace ControlUtilitiesDetail
