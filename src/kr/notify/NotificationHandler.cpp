#include "kr/notify/NotificationHandler.h"

#include <string_view>

namespace KR::Detail
{
namespace
{

constexpr std::string_view kDisablerSource = "krframework\\notification\\NotificationHandler";

} // namespace

void ThrowNotificationDisablerFailed(Result code, const std::string& disablerClass, bool restoring, int line)
{
    std::string site = " : " + disablerClass + (restoring ? "::~" : "::") + "CAutoNotificationDisabler : ";
    site += kDisablerSource;
    site += " : Line " + std::to_string(line);
    ThrowFailedResult(code, site);
}

} // namespace KR::Detail
