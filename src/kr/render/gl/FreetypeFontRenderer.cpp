#include "kr/render/gl/FreetypeFontRenderer.h"

#include "kr/render/gl/FontFileInfo.h"

#include <algorithm>

namespace KR
{

namespace
{

// Renderers alive: the registry they share is emptied only when the last one goes, so
// closing one window does not leave another without fonts.
std::int32_t gInstances = 0;

} // namespace

LFreetypeFontRenderer::LFreetypeFontRenderer(RCPtr<LGlyphProcessor> first, RCPtr<LGlyphProcessor> second)
    : LFontRenderer(std::move(first), std::move(second))
{
    LFontFileInfo::ScanFontFolder();
    ++gInstances;
    mFonts = Platform::FreeTypeFonts::Create(&RequestFace, kMaxFaces, kMaxSizes, kMaxBytes);
}

LFreetypeFontRenderer::~LFreetypeFontRenderer()
{
    mFonts.reset();
    if (--gInstances == 0)
    {
        LFontFileInfo::Clear();
    }
}

std::string LFreetypeFontRenderer::RequestFace(std::int32_t faceId)
{
    const Utf8String path = LFontFileInfo::GetFileName(faceId).ToUtf8();
    return std::string(path.GetView());
}

bool LFreetypeFontRenderer::LookupSize(const ConstRCPtr<LFont>& font, Platform::FontSizeMetrics& metrics)
{
    if (!mFonts || !font)
    {
        return false;
    }
    const std::int32_t fileId = LFontFileInfo::GetFileID(font);
    const float points64 = font->GetSize() * 64.0f;
    // NaN and sizes no face has fail the lookup.
    if (!(points64 >= 1.0f && points64 < 65536.0f * 64.0f))
    {
        return false;
    }
    return mFonts->SelectSize(fileId, static_cast<std::int32_t>(points64), kDpi, metrics);
}

Result LFreetypeFontRenderer::GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& lineHeight,
                                             std::int32_t& ascent, std::int32_t& descent)
{
    Platform::FontSizeMetrics metrics;
    if (!LookupSize(font, metrics))
    {
        return kFail;
    }
    ascent = -(metrics.ascender >> 6);
    descent = -(metrics.descender >> 6);
    lineHeight = std::max(metrics.height >> 6, static_cast<std::int32_t>(96.0f * font->GetSize() / 72.0f));
    lineHeight = std::max(lineHeight, descent - ascent);
    return kOk;
}

RCPtr<LPixelBuffer<unsigned char>> LFreetypeFontRenderer::RenderBitmap(bool mono)
{
    Platform::GlyphBitmap rendered;
    if (!mFonts->RenderGlyph(mono, rendered) && !mFonts->RenderGlyph(!mono, rendered))
    {
        return nullptr;
    }
    const auto width = static_cast<std::uint32_t>(std::max(rendered.width, 0));
    const auto rows = static_cast<std::uint32_t>(std::max(rendered.rows, 0));
    if (!rendered.mono)
    {
        return LPixelBuffer<unsigned char>::Create(width, rows, rendered.pitch,
                                                   rendered.bytes.empty() ? nullptr : rendered.bytes.data());
    }
    auto bitmap = LPixelBuffer<unsigned char>::Create(width, rows, static_cast<std::int32_t>(width), nullptr);
    for (std::uint32_t y = 0; y < rows; ++y)
    {
        const std::uint8_t* row = rendered.bytes.data() + static_cast<std::size_t>(y) * rendered.pitch;
        unsigned char* out = bitmap->GetPixels(0, y);
        for (std::uint32_t x = 0; x < width && out != nullptr; ++x)
        {
            out[x] = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
        }
    }
    return bitmap;
}

std::int32_t LFreetypeFontRenderer::ProcessText(const String& text, const ConstRCPtr<LFont>& font,
                                                const RCPtr<LGlyphProcessor>& processor,
                                                std::uint32_t textPosition, float widthLimit,
                                                std::uint32_t flags)
{
    Platform::FontSizeMetrics metrics;
    if (!processor || !LookupSize(font, metrics))
    {
        return 0;
    }
    const bool mono = font->GetSize() < kMonochromeBelow;
    LGlyphProcessor::SGlyphRecord record;
    record.textPosition = textPosition;
    std::uint32_t previous = 0;
    processor->BeginText(font, flags);
    const std::u16string_view units = text.GetView();
    for (std::uint32_t i = 0; i < units.size(); ++i)
    {
        record.character = units[i];
        record.glyphIndex = 0;
        record.bitmap = nullptr;
        record.left = record.top = record.right = record.bottom = 0;
        record.advanceX = record.advanceY = 0;

        const std::uint16_t requests = processor->QueryGlyph(record);
        const std::uint32_t index =
            requests != 0 ? mFonts->GetCharIndex(record.character) : record.glyphIndex;
        if (index == 0)
        {
            continue;
        }
        if (requests != 0)
        {
            std::int32_t advanceX = 0;
            std::int32_t advanceY = 0;
            if (!mFonts->LoadGlyph(index, advanceX, advanceY))
            {
                record.textPosition = i + 1;
                continue;
            }
            record.glyphIndex = index;
            record.advanceX = static_cast<std::int16_t>(advanceX);
            record.advanceY = static_cast<std::int16_t>(advanceY);
        }
        if ((requests & (LGlyphProcessor::kRequestBox | LGlyphProcessor::kRequestBitmap)) != 0)
        {
            const Platform::GlyphBox box = mFonts->GetGlyphBox();
            record.left = static_cast<std::int8_t>(box.xMin);
            record.top = static_cast<std::int8_t>(-box.yMax);
            record.right = static_cast<std::int8_t>(box.xMax);
            record.bottom = static_cast<std::int8_t>(-box.yMin);
        }
        if ((requests & LGlyphProcessor::kRequestBitmap) != 0)
        {
            record.bitmap = RenderBitmap(mono);
            if (!record.bitmap)
            {
                mFonts->ReleaseGlyph();
                record.textPosition = i + 1;
                continue;
            }
        }
        if (metrics.hasKerning)
        {
            if (previous != 0)
            {
                record.penX += static_cast<float>(mFonts->GetKerningX(previous, index) >> 6);
            }
            else if (record.left < 0)
            {
                record.penX -= record.left;
            }
        }
        if (widthLimit > 0.0f && record.penX + record.right > widthLimit)
        {
            mFonts->ReleaseGlyph();
            processor->EndText();
            return static_cast<std::int32_t>(i + 1);
        }
        processor->ProcessGlyph(record);
        if (requests != 0)
        {
            mFonts->ReleaseGlyph();
        }
        record.penX += static_cast<float>(record.advanceX >> 6);
        record.penY += static_cast<float>(record.advanceY >> 6);
        record.bitmap = nullptr;
        previous = record.glyphIndex;
        record.textPosition = i + 1;
    }
    processor->EndText();
    return static_cast<std::int32_t>(units.size());
}

} // namespace KR
