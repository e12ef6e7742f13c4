#pragma once
// Textures of the GL renderer. KR::GLPixelImage carries pixels to GL (owned or borrowed);
// KR::LGLTexture is one GL texture filled from a bitmap's sheet or any pixel image, at a
// power-of-two size the GL accepts (made smaller, and the image scaled down, when the GL
// cannot hold it), drawn region by region.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/render/Bitmap.h"

#include <cstdint>

namespace KR
{

// 0 for n <= 0; else the least power of two >= n, at most 16384.
std::int32_t NextPowerOfTwo(std::int32_t n);

struct GLPixelImage
{
    GLPixelImage() = default;
    GLPixelImage(GLPixelImage&& other) noexcept;
    GLPixelImage& operator=(GLPixelImage&& other) noexcept;
    GLPixelImage(const GLPixelImage&) = delete;
    GLPixelImage& operator=(const GLPixelImage&) = delete;
    ~GLPixelImage() { Reset(); }

    // Borrows the pixels.
    void Set(void* pixels, std::int32_t stride, std::int32_t bytesPerPixel, std::int32_t width,
             std::int32_t height, std::uint32_t format, std::uint32_t type);
    // One alpha byte per pixel: 255 - luminance, and 0 for the all-zero pixel.
    void MakeAlpha();
    // Scaled by GLU to the size; the result is owned.
    void Rescale(std::int32_t newWidth, std::int32_t newHeight);
    void UploadTo(std::uint32_t target, std::int32_t internalFormat, bool mipmaps) const;
    // Frees owned pixels and zeroes every field.
    void Reset();

    std::uint32_t format = 0;
    std::uint32_t type = 0;
    bool ownsPixels = false;
    std::uint8_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::int32_t bytesPerPixel = 0;
};

class LGLTexture : public LRefCountedObject
{
public:
    static constexpr std::uint32_t kNoName = 0xFFFFFFFFu;
    enum Flags : std::uint32_t
    {
        kNearest = 1,
        kRepeat = 2,
        kMipmaps = 4,
    };

    LGLTexture() = default;
    ~LGLTexture() override;
    LGLTexture(const LGLTexture&) = delete;
    LGLTexture& operator=(const LGLTexture&) = delete;

    void SetBitmap(const ConstRCPtr<LBitmap>& bitmap);
    void Upload(GLPixelImage& image, std::int32_t internalFormat, std::uint32_t flags, float scale);
    // Source in image pixels, destination in drawing units; left, top, right, bottom each.
    void DrawRegion(const RectT<float>& source, const RectT<float>& destination) const;

    std::uint32_t GetName() const { return mName; }
    float GetTextureWidth() const { return mTextureWidth; }
    float GetTextureHeight() const { return mTextureHeight; }
    float GetImageWidth() const { return mImageWidth; }
    float GetImageHeight() const { return mImageHeight; }

private:
    std::uint32_t mTarget = 0x0DE1;
    std::uint32_t mName = kNoName;
    float mTextureWidth = 0.0f;
    float mTextureHeight = 0.0f;
    float mImageWidth = 0.0f;
    float mImageHeight = 0.0f;
    float mLogicalWidth = 0.0f;
    float mLogicalHeight = 0.0f;
    ConstRCPtr<LBitmap> mBitmap;
};

} // namespace KR
