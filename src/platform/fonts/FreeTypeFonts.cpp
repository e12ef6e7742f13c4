#include "platform/fonts/FreeTypeFonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_CACHE_H
#include FT_GLYPH_H

#include <cstdlib>
#include <cstring>

namespace KR::Platform
{
namespace
{

// Face ids travel through FreeType as pointers; one is added so that id 0 is not null.
FTC_FaceID ToFaceID(std::int32_t faceId)
{
    return reinterpret_cast<FTC_FaceID>(static_cast<std::intptr_t>(faceId) + 1);
}

class FreeTypeFontsImpl final : public FreeTypeFonts
{
public:
    explicit FreeTypeFontsImpl(FacePath path) : mPath(std::move(path)) {}
    ~FreeTypeFontsImpl() override
    {
        ReleaseGlyph();
        if (mManager != nullptr)
        {
            FTC_Manager_Done(mManager);
        }
        if (mLibrary != nullptr)
        {
            FT_Done_FreeType(mLibrary);
        }
    }

    bool Start(std::uint32_t maxFaces, std::uint32_t maxSizes, std::uint64_t maxBytes)
    {
        return FT_Init_FreeType(&mLibrary) == 0 &&
               FTC_Manager_New(mLibrary, maxFaces, maxSizes, static_cast<FT_ULong>(maxBytes), &RequestFace,
                               this, &mManager) == 0;
    }

    bool SelectSize(std::int32_t faceId, std::int32_t points64, std::uint32_t dpi,
                    FontSizeMetrics& metrics) override
    {
        ReleaseGlyph();
        mFace = nullptr;
        FTC_ScalerRec scaler{};
        scaler.face_id = ToFaceID(faceId);
        scaler.width = 0;
        scaler.height = static_cast<FT_UInt>(points64 > 0 ? points64 : 0);
        scaler.pixel = 0;
        scaler.x_res = dpi;
        scaler.y_res = dpi;
        FT_Size size = nullptr;
        if (points64 <= 0 || FTC_Manager_LookupSize(mManager, &scaler, &size) != 0 || size == nullptr)
        {
            return false;
        }
        mFace = size->face;
        metrics.ascender = static_cast<std::int32_t>(size->metrics.ascender);
        metrics.descender = static_cast<std::int32_t>(size->metrics.descender);
        metrics.height = static_cast<std::int32_t>(size->metrics.height);
        metrics.hasKerning = FT_HAS_KERNING(mFace);
        return true;
    }
    std::uint32_t GetCharIndex(std::uint32_t character) override
    {
        return mFace != nullptr ? FT_Get_Char_Index(mFace, character) : 0;
    }
    bool LoadGlyph(std::uint32_t index, std::int32_t& advanceX, std::int32_t& advanceY) override
    {
        ReleaseGlyph();
        if (mFace == nullptr || FT_Load_Glyph(mFace, index, FT_LOAD_DEFAULT) != 0 ||
            FT_Get_Glyph(mFace->glyph, &mGlyph) != 0)
        {
            mGlyph = nullptr;
            return false;
        }
        advanceX = static_cast<std::int32_t>(mFace->glyph->advance.x);
        advanceY = static_cast<std::int32_t>(mFace->glyph->advance.y);
        return true;
    }
    GlyphBox GetGlyphBox() override
    {
        GlyphBox box;
        if (mGlyph != nullptr)
        {
            FT_BBox bounds{};
            FT_Glyph_Get_CBox(mGlyph, FT_GLYPH_BBOX_PIXELS, &bounds);
            box = GlyphBox{static_cast<std::int32_t>(bounds.xMin), static_cast<std::int32_t>(bounds.yMin),
                           static_cast<std::int32_t>(bounds.xMax), static_cast<std::int32_t>(bounds.yMax)};
        }
        return box;
    }
    bool RenderGlyph(bool mono, GlyphBitmap& bitmap) override
    {
        if (mFace == nullptr || mGlyph == nullptr ||
            FT_Render_Glyph(mFace->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        {
            return false;
        }
        const FT_Bitmap& rendered = mFace->glyph->bitmap;
        bitmap.width = static_cast<std::int32_t>(rendered.width);
        bitmap.rows = static_cast<std::int32_t>(rendered.rows);
        bitmap.mono = rendered.pixel_mode == FT_PIXEL_MODE_MONO;
        const std::int32_t pitch = std::abs(rendered.pitch);
        bitmap.pitch = pitch;
        bitmap.bytes.assign(static_cast<std::size_t>(pitch) * bitmap.rows, 0);
        for (std::int32_t row = 0; row < bitmap.rows && rendered.buffer != nullptr; ++row)
        {
            // A negative pitch runs upwards from the last row.
            const std::int32_t source = rendered.pitch >= 0 ? row : bitmap.rows - 1 - row;
            std::memcpy(bitmap.bytes.data() + static_cast<std::size_t>(row) * pitch,
                        rendered.buffer + static_cast<std::ptrdiff_t>(source) * pitch,
                        static_cast<std::size_t>(pitch));
        }
        return true;
    }
    void ReleaseGlyph() override
    {
        if (mGlyph != nullptr)
        {
            FT_Done_Glyph(mGlyph);
            mGlyph = nullptr;
        }
    }
    std::int32_t GetKerningX(std::uint32_t previous, std::uint32_t current) override
    {
        FT_Vector kerning{};
        if (mFace == nullptr || FT_Get_Kerning(mFace, previous, current, FT_KERNING_DEFAULT, &kerning) != 0)
        {
            return 0;
        }
        return static_cast<std::int32_t>(kerning.x);
    }

private:
    static FT_Error RequestFace(FTC_FaceID faceId, FT_Library library, FT_Pointer data, FT_Face* face)
    {
        auto* self = static_cast<FreeTypeFontsImpl*>(data);
        const auto id = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(faceId) - 1);
        const std::string path = self->mPath ? self->mPath(id) : std::string();
        if (path.empty())
        {
            return FT_Err_Cannot_Open_Resource;
        }
        return FT_New_Face(library, path.c_str(), 0, face);
    }

    FacePath mPath;
    FT_Library mLibrary = nullptr;
    FTC_Manager mManager = nullptr;
    FT_Face mFace = nullptr;
    FT_Glyph mGlyph = nullptr;
};

} // namespace

std::unique_ptr<FreeTypeFonts> FreeTypeFonts::Create(FacePath path, std::uint32_t maxFaces,
                                                     std::uint32_t maxSizes, std::uint64_t maxBytes)
{
    auto fonts = std::make_unique<FreeTypeFontsImpl>(std::move(path));
    if (!fonts->Start(maxFaces, maxSizes, maxBytes))
    {
        return nullptr;
    }
    return fonts;
}

} // namespace KR::Platform
