#include "editor/picture/PicturePanel.h"

#include "editor/edit/TableTextFormat.h"
#include "kr/core/Exception.h"

#include <stdexcept>
#include <string>

namespace PicturePanelDetail
{

void ThrowMissingChild(const char* detail, const char* operation, const char* source, int line)
{
    KR::Throw<std::runtime_error>(
        KR::ErrorText<std::runtime_error>({"Null Pointer", detail}, operation, source, line));
}

void ThrowIfFailed(KR::Result result, const char* operation, const char* source, int line)
{
    KR::ThrowIfFailed(result,
                      std::string(" : ") + operation + " : " + source + " : Line " + std::to_string(line));
}

void FormatNumberLabel(KR::LControl& label, std::uint32_t number)
{
    label.SetTextFromString(FormatTableText(label.GetText(), {std::int64_t{number}}));
}

} // namespace PicturePanelDetail
