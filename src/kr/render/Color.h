#pragma once
// Colours: four float channels (red, green, blue, alpha), nominally 0..1 and never
// clamped while stored; packed as 0xAARRGGBB for renderers and bitmaps. Skins write them
// as hexadecimal text with an optional "0x" and 2 (alpha only), 6 (red, green, blue) or
// 8 (alpha, red, green, blue) digits.
//
//     KR::ColorT<float> black("0xFF000000");
//     std::uint32_t packed = black.GetARGB();          // 0xFF000000
//     black.SetFromHexText("0x80");                    // half-transparent black

#include <cstdint>

namespace KR
{

template <typename T>
struct ColorT;

template <>
struct ColorT<float>
{
    // The float nearest to 1/255, as the packed form's bytes become channels.
    static constexpr float kByteToChannel = 0.003921569f;

    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;

    constexpr ColorT() = default;
    constexpr ColorT(float r, float g, float b, float a) : red(r), green(g), blue(b), alpha(a) {}
    // Every channel 0, then the text applied.
    explicit ColorT(const char* hexText) { SetFromHexText(hexText); }

    static ColorT FromARGB(std::uint32_t argb)
    {
        ColorT color;
        color.SetARGB(argb);
        return color;
    }

    void SetARGB(std::uint32_t argb);
    std::uint32_t GetARGB() const;

    // Changes the channels that the text gives (see above); a null text, or one whose
    // length after the prefix is not 2, 6 or 8 characters, changes nothing. Reading stops
    // at the first character that is not a hexadecimal digit, and what was read so far
    // is the value ("0xZZ" sets alpha to 0).
    ColorT& SetFromHexText(const char* text);

    friend constexpr bool operator==(const ColorT&, const ColorT&) = default;
};

using ColorF = ColorT<float>;

} // namespace KR
