#include "editor/edit/OwnHandlerPanel.h"

#include "kr/core/Exception.h"

#include <stdexcept>
#include <string>

namespace EditPanelDetail
{

void ThrowMissingChild(const char* operation, const char* source, const char* detail, int line)
{
    KR::Throw<std::runtime_error>(
        KR::ErrorText<std::runtime_error>({"Null Pointer", detail}, operation, source, line));
}

void ThrowRegistrationRefused(KR::Result result, const EditPanelErrorSite& site)
{
    KR::ThrowFailedResult(result, std::string(" : ") + site.operation + " : " + site.source + " : Line " +
                                      std::to_string(site.refusedRegistrationLine));
}

} // namespace EditPanelDetail
