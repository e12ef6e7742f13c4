#include "kr/render/FrameworkTexts.h"

#include <utility>

namespace KR
{
namespace
{

FrameworkTextSource& Source()
{
    static FrameworkTextSource source;
    return source;
}

} // namespace

void SetFrameworkTextSource(FrameworkTextSource source)
{
    Source() = std::move(source);
}

std::string GetFrameworkText(std::string_view key)
{
    return Source() ? Source()(key) : std::string();
}

} // namespace KR
