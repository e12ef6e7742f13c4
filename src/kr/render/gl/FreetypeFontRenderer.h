#pragma once
// KR::LFreetypeFontRenderer: the font renderer over FreeType. Fonts become files through
// the font-file registry (rebuilt when the renderer is made, emptied when it goes), sizes
// are points x 64 at 96 dpi, and faces and sizes stay in FreeType's cache manager (8
// faces, 16 sizes, 4 MiB). Glyphs are loaded and rendered only when the processor asks.

#include "kr/render/gl/FontRenderer.h"
#include "platform/fonts/FreeTypeFonts.h"

#include <memory>

namespace KR
{

class LFreetypeFontRenderer : public LFontRenderer
{
public:
    static constexpr std::uint32_t kMaxFaces = 8;
    static constexpr std::uint32_t kMaxSizes = 16;
    static constexpr std::uint64_t kMaxBytes = 0x400000;
    static constexpr std::uint32_t kDpi = 96;
    // Below this size glyphs render monochrome.
    static constexpr float kMonochromeBelow = 8.0f;

    LFreetypeFontRenderer(RCPtr<LGlyphProcessor> first, RCPtr<LGlyphProcessor> second);
    ~LFreetypeFontRenderer() override;

    Result GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override;
    std::int32_t ProcessText(const String& text, const ConstRCPtr<LFont>& font,
                             const RCPtr<LGlyphProcessor>& processor, std::uint32_t textPosition,
                             float widthLimit, std::uint32_t flags) override;

    // The registry's path of a file id, as UTF-8.
    static std::string RequestFace(std::int32_t faceId);

private:
    bool LookupSize(const ConstRCPtr<LFont>& font, Platform::FontSizeMetrics& metrics);
    // The loaded glyph's bitmap in one of the two modes, the preferred first.
    RCPtr<LPixelBuffer<unsigned char>> RenderBitmap(bool mono);

    std::unique_ptr<Platform::FreeTypeFonts> mFonts;
};

} // namespace KR
