#include "kr/app/WindowPlacement.h"

#include <array>
#include <cstdint>
#include <string>

namespace KR
{
namespace
{

constexpr std::size_t kRecordValues = 11;
constexpr std::size_t kRecordBytes = kRecordValues * 4;
constexpr std::int32_t kShowNormal = 1;
constexpr std::int64_t kEdgeLimit = 1000000;

int HexDigit(char16_t digit)
{
    if (digit >= u'0' && digit <= u'9')
    {
        return digit - u'0';
    }
    if (digit >= u'A' && digit <= u'F')
    {
        return digit - u'A' + 10;
    }
    if (digit >= u'a' && digit <= u'f')
    {
        return digit - u'a' + 10;
    }
    return -1;
}

} // namespace

String FormatProfileBinary(const void* bytes, std::size_t count)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    const auto* data = static_cast<const unsigned char*>(bytes);
    for (std::size_t index = 0; index < count; ++index)
    {
        text += kDigits[data[index] >> 4];
        text += kDigits[data[index] & 0x0F];
    }
    return String(text.c_str());
}

std::optional<RectI> ParseWindowPlacement(const String& text)
{
    if (text.GetLength() != kRecordBytes * 2)
    {
        return std::nullopt;
    }
    std::array<std::int32_t, kRecordValues> values{};
    const std::u16string_view digits = text.GetView();
    for (std::size_t value = 0; value < kRecordValues; ++value)
    {
        std::uint32_t word = 0;
        for (std::size_t byte = 0; byte < 4; ++byte)
        {
            const std::size_t at = (value * 4 + byte) * 2;
            const int high = HexDigit(digits[at]);
            const int low = HexDigit(digits[at + 1]);
            if (high < 0 || low < 0)
            {
                return std::nullopt;
            }
            word |= static_cast<std::uint32_t>(high * 16 + low) << (8 * byte);
        }
        values[value] = static_cast<std::int32_t>(word);
    }
    const std::int64_t left = values[7];
    const std::int64_t top = values[8];
    const std::int64_t right = values[9];
    const std::int64_t bottom = values[10];
    const auto within = [](std::int64_t edge) { return edge >= -kEdgeLimit && edge <= kEdgeLimit; };
    if (values[0] != static_cast<std::int32_t>(kRecordBytes) || values[2] != kShowNormal || right <= left ||
        bottom <= top || !within(left) || !within(top) || !within(right) || !within(bottom))
    {
        return std::nullopt;
    }
    return RectI{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                 static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

} // namespace KR
