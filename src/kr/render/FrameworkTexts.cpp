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

FrameworkMessageBox& Box()
{
    static FrameworkMessageBox box;
    return box;
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

void SetFrameworkMessageBox(FrameworkMessageBox box)
{
    Box() = std::move(box);
}

bool ShowFrameworkMessageBox(const std::string& text, const std::string& caption, std::uint32_t style)
{
    if (!Box())
    {
        return false;
    }
    Box()(text, caption, style);
    return true;
}

} // namespace KR
