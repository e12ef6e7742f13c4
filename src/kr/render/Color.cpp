#include "kr/render/Color.h"

#include <cstddef>

namespace KR
{
namespace
{

std::uint32_t PackChannel(float channel)
{
    const float v = channel * 255.0f;
    // Compared before the cast, so a channel far outside 0..1 (or NaN) never reaches an
    // out-of-range conversion.
    if (!(v > 0.0f))
    {
        return 0;
    }
    if (v >= 255.0f)
    {
        return 255;
    }
    return static_cast<std::uint32_t>(v + 0.5f);
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

// At most eight digits are read into the 32-bit value by hand: the counts that reach
// here are 2, 6 and 8, so nothing is cut, and no scan writes past the variable.
std::uint32_t ReadHex(const char* text)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 8; ++i)
    {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
        {
            break;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

float ByteToChannel(std::uint32_t value, int shift)
{
    return static_cast<float>((value >> shift) & 0xFFu) * ColorF::kByteToChannel;
}

} // namespace

void ColorT<float>::SetARGB(std::uint32_t argb)
{
    alpha = ByteToChannel(argb, 24);
    red = ByteToChannel(argb, 16);
    green = ByteToChannel(argb, 8);
    blue = ByteToChannel(argb, 0);
}

std::uint32_t ColorT<float>::GetARGB() const
{
    return PackChannel(alpha) << 24 | PackChannel(red) << 16 | PackChannel(green) << 8 | PackChannel(blue);
}

ColorT<float>& ColorT<float>::SetFromHexText(const char* text)
{
    if (!text)
    {
        return *this;
    }
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    {
        text += 2;
    }
    std::size_t count = 0;
    while (text[count] != '\0' && count < 9)
    {
        ++count;
    }
    if (count != 2 && count != 6 && count != 8)
    {
        return *this;
    }
    const std::uint32_t value = ReadHex(text);
    if (count == 2)
    {
        alpha = ByteToChannel(value, 0);
    }
    else if (count == 6)
    {
        red = ByteToChannel(value, 16);
        green = ByteToChannel(value, 8);
        blue = ByteToChannel(value, 0);
    }
    else
    {
        SetARGB(value);
    }
    return *this;
}

} // namespace KR
