#include "kr/render/gl/GLTexture.h"

#include "kr/render/NativeImage.h"
#include "platform/gl/GLFunctions.h"

#include <cstring>
#include <utility>

namespace KR
{

using namespace Platform::GLc;
using Platform::GetGL;

namespace
{

void SetUnpackRows(std::int32_t stride, std::int32_t bytesPerPixel)
{
    if (bytesPerPixel <= 0)
    {
        return;
    }
    const std::int32_t remainder = stride % bytesPerPixel;
    std::int32_t alignment = 1;
    while (remainder != 0 && alignment <= remainder)
    {
        alignment *= 2;
    }
    GetGL().glPixelStorei(kUnpackRowLength, stride / bytesPerPixel);
    GetGL().glPixelStorei(kUnpackAlignment, alignment);
}

} // namespace

std::int32_t NextPowerOfTwo(std::int32_t n)
{
    if (n <= 0)
    {
        return 0;
    }
    std::int32_t power = 1;
    while (power < n && power < 16384)
    {
        power *= 2;
    }
    return power;
}

GLPixelImage::GLPixelImage(GLPixelImage&& other) noexcept
{
    *this = std::move(other);
}

GLPixelImage& GLPixelImage::operator=(GLPixelImage&& other) noexcept
{
    if (this != &other)
    {
        Reset();
        format = std::exchange(other.format, 0);
        type = std::exchange(other.type, 0);
        ownsPixels = std::exchange(other.ownsPixels, false);
        pixels = std::exchange(other.pixels, nullptr);
        width = std::exchange(other.width, 0);
        height = std::exchange(other.height, 0);
        stride = std::exchange(other.stride, 0);
        bytesPerPixel = std::exchange(other.bytesPerPixel, 0);
    }
    return *this;
}

void GLPixelImage::Set(void* newPixels, std::int32_t newStride, std::int32_t newBytesPerPixel,
                       std::int32_t newWidth, std::int32_t newHeight, std::uint32_t newFormat,
                       std::uint32_t newType)
{
    Reset();
    pixels = static_cast<std::uint8_t*>(newPixels);
    stride = newStride;
    bytesPerPixel = newBytesPerPixel;
    width = newWidth;
    height = newHeight;
    format = newFormat;
    type = newType;
}

void GLPixelImage::MakeAlpha()
{
    GLPixelImage source = std::move(*this);
    const std::int32_t alphaStride = (source.width + 3) / 4 * 4;
    pixels =
        new std::uint8_t[static_cast<std::size_t>(alphaStride) * static_cast<std::size_t>(source.height)]();
    ownsPixels = true;
    format = kAlpha;
    type = kUnsignedByte;
    width = source.width;
    height = source.height;
    stride = alphaStride;
    bytesPerPixel = 1;
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            std::uint32_t value = 0;
            std::memcpy(&value, source.pixels + static_cast<std::ptrdiff_t>(y) * source.stride + x * 4, 4);
            std::uint8_t alpha = 0;
            if (value != 0)
            {
                const double luminance =
                    0.3 * ((value >> 16) & 0xFF) + 0.59 * ((value >> 8) & 0xFF) + 0.11 * (value & 0xFF);
                alpha = static_cast<std::uint8_t>(255 - static_cast<std::int32_t>(luminance));
            }
            pixels[static_cast<std::ptrdiff_t>(y) * stride + x] = alpha;
        }
    }
}

void GLPixelImage::Rescale(std::int32_t newWidth, std::int32_t newHeight)
{
    GLPixelImage source = std::move(*this);
    const std::int32_t newStride = (source.bytesPerPixel * newWidth + 3) / 4 * 4;
    pixels = new std::uint8_t[static_cast<std::size_t>(newStride) * static_cast<std::size_t>(newHeight)]();
    ownsPixels = true;
    format = source.format;
    type = source.type;
    width = newWidth;
    height = newHeight;
    stride = newStride;
    bytesPerPixel = source.bytesPerPixel;
    SetUnpackRows(source.stride, source.bytesPerPixel);
    GetGL().glPixelStorei(kPackAlignment, 4);
    GetGL().gluScaleImage(format, source.width, source.height, source.type, source.pixels, width, height,
                          type, pixels);
}

void GLPixelImage::UploadTo(std::uint32_t target, std::int32_t internalFormat, bool mipmaps) const
{
    SetUnpackRows(stride, bytesPerPixel);
    if (mipmaps)
    {
        GetGL().gluBuild2DMipmaps(target, internalFormat, width, height, format, type, pixels);
    }
    else
    {
        GetGL().glTexSubImage2D(target, 0, 0, 0, width, height, format, type, pixels);
    }
    Platform::DrainGLErrors();
}

void GLPixelImage::Reset()
{
    if (ownsPixels)
    {
        delete[] pixels;
    }
    format = 0;
    type = 0;
    ownsPixels = false;
    pixels = nullptr;
    width = 0;
    height = 0;
    stride = 0;
    bytesPerPixel = 0;
}

LGLTexture::~LGLTexture()
{
    if (mName != kNoName && GetGL().glIsTexture(mName))
    {
        GetGL().glDeleteTextures(1, &mName);
    }
}

void LGLTexture::SetBitmap(const ConstRCPtr<LBitmap>& bitmap)
{
    if (bitmap != mBitmap)
    {
        mBitmap = bitmap;
    }
    NativeImage* sheet = mBitmap ? mBitmap->GetNativeImage() : nullptr;
    if (sheet == nullptr)
    {
        return;
    }
    GLPixelImage image;
    image.Set(sheet->GetPixels(), sheet->GetStride(), 4, sheet->GetWidth(), sheet->GetHeight(), kBGRA,
              kUnsignedByte);
    Upload(image, static_cast<std::int32_t>(kRGBA8), 0, 1.0f);
}

void LGLTexture::Upload(GLPixelImage& image, std::int32_t internalFormat, std::uint32_t flags, float scale)
{
    const Platform::GLFunctions& gl = GetGL();
    const bool alpha = internalFormat == static_cast<std::int32_t>(kAlpha4) ||
                       internalFormat == static_cast<std::int32_t>(kAlpha8);
    if (mName == kNoName || !gl.glIsTexture(mName))
    {
        gl.glGenTextures(1, &mName);
    }
    gl.glBindTexture(mTarget, mName);
    const std::uint32_t format = alpha ? kAlpha : image.format;
    const std::uint32_t type = alpha ? kUnsignedByte : image.type;
    mImageWidth = static_cast<float>(image.width);
    mImageHeight = static_cast<float>(image.height);
    mLogicalWidth = mImageWidth / scale;
    mLogicalHeight = mImageHeight / scale;
    std::int32_t width = NextPowerOfTwo(image.width);
    std::int32_t height = NextPowerOfTwo(image.height);

    const bool nearest = (flags & kNearest) != 0;
    const bool mipmaps = (flags & kMipmaps) != 0;
    namespace C = Platform::GLc;
    const Platform::GLint minFilter = nearest ? (mipmaps ? C::kNearestMipmapNearest : C::kNearest)
                                              : (mipmaps ? C::kLinearMipmapLinear : C::kLinear);
    gl.glTexParameteri(mTarget, kTextureMinFilter, minFilter);
    gl.glTexParameteri(mTarget, kTextureMagFilter, nearest ? C::kNearest : C::kLinear);
    Platform::DrainGLErrors();
    const Platform::GLint wrap = (flags & kRepeat) != 0 ? C::kRepeat : C::kClamp;
    gl.glTexParameteri(mTarget, kTextureWrapS, wrap);
    gl.glTexParameteri(mTarget, kTextureWrapT, wrap);
    Platform::DrainGLErrors();

    std::int32_t reduction = 1;
    while (width > 1 && height > 1)
    {
        gl.glTexImage2D(kProxyTexture2D, 0, internalFormat, width, height, 0, format, type, nullptr);
        if (gl.glGetError() == kNoError)
        {
            break;
        }
        Platform::GLint proxyWidth = 0;
        Platform::GLint proxyHeight = 0;
        gl.glGetTexLevelParameteriv(kProxyTexture2D, 0, kTextureWidth, &proxyWidth);
        gl.glGetTexLevelParameteriv(kProxyTexture2D, 0, kTextureHeight, &proxyHeight);
        if (proxyWidth == width && proxyHeight == height)
        {
            break;
        }
        width /= 2;
        height /= 2;
        reduction *= 2;
    }
    mTextureWidth = static_cast<float>(width);
    mTextureHeight = static_cast<float>(height);
    gl.glTexImage2D(mTarget, 0, internalFormat, width, height, 0, format, type, nullptr);
    Platform::DrainGLErrors();

    if ((reduction >= 2 || (flags & kRepeat) != 0) && (image.width != width || image.height != height))
    {
        image.Rescale(width, height);
        mImageWidth = static_cast<float>(width);
        mImageHeight = static_cast<float>(height);
    }
    if (alpha)
    {
        image.MakeAlpha();
    }
    image.UploadTo(mTarget, internalFormat, mipmaps);
}

void LGLTexture::DrawRegion(const RectT<float>& source, const RectT<float>& destination) const
{
    const Platform::GLFunctions& gl = GetGL();
    if (mTextureWidth <= 0.0f || mTextureHeight <= 0.0f || mImageWidth <= 0.0f || mImageHeight <= 0.0f)
    {
        return;
    }
    gl.glEnable(mTarget);
    gl.glBindTexture(mTarget, mName);
    // The fields are left, top, right, bottom here, not x, y, width, height.
    const float sScale = mImageWidth / mTextureWidth;
    const float tScale = mImageHeight / mTextureHeight;
    const float s0 = source.x / mImageWidth * sScale;
    const float s1 = source.width / mImageWidth * sScale;
    const float t0 = source.y / mImageHeight * tScale;
    const float t1 = source.height / mImageHeight * tScale;
    gl.glBegin(kQuads);
    gl.glTexCoord2f(s0, t0);
    gl.glVertex2f(destination.x, destination.y);
    gl.glTexCoord2f(s0, t1);
    gl.glVertex2f(destination.x, destination.height);
    gl.glTexCoord2f(s1, t1);
    gl.glVertex2f(destination.width, destination.height);
    gl.glTexCoord2f(s1, t0);
    gl.glVertex2f(destination.width, destination.y);
    gl.glEnd();
    gl.glDisable(mTarget);
}

} // namespace KR
