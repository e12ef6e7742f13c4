// Rewrites a PNG of 8-bit RGBA rows with no row filter and the strongest compression, the
// pixels and the other chunks unchanged:
//
//     kr_png_unfiltered rendered.png picture.png
//
// The SVG renderer writes each row with the filter that compresses it best, most often
// Paeth, and undoing Paeth cost more than half of decoding the keyboard's picture at every
// start. Unfiltered, with the strongest compression, the picture is no larger and decodes
// in under half the time. Any other kind of PNG is copied as it is.

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{

struct Picture
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::vector<png_byte> pixels;
    bool hasBackground = false;
    png_color_16 background{};
};

// False for a PNG this tool does not rewrite, or one that cannot be read.
bool Read(const char* path, Picture& picture)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
    {
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool read = false;
    // Made before the jump point: a failure jumps back over everything made after it.
    std::vector<png_bytep> rows;
    if (info && setjmp(png_jmpbuf(png)) == 0)
    {
        png_init_io(png, file);
        png_read_info(png, info);
        int depth = 0;
        int colorType = 0;
        int interlace = 0;
        png_get_IHDR(png, info, &picture.width, &picture.height, &depth, &colorType, &interlace, nullptr,
                     nullptr);
        if (depth == 8 && colorType == PNG_COLOR_TYPE_RGBA && interlace == PNG_INTERLACE_NONE)
        {
            const std::size_t stride = std::size_t{picture.width} * 4;
            picture.pixels.resize(stride * picture.height);
            rows.resize(picture.height);
            for (png_uint_32 y = 0; y < picture.height; ++y)
            {
                rows[y] = picture.pixels.data() + stride * y;
            }
            png_read_image(png, rows.data());
            png_read_end(png, info);
            png_color_16p background = nullptr;
            picture.hasBackground = png_get_bKGD(png, info, &background) != 0 && background;
            if (picture.hasBackground)
            {
                picture.background = *background;
            }
            read = true;
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return read;
}

bool Write(const char* path, const Picture& picture)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
    {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const std::size_t stride = std::size_t{picture.width} * 4;
    std::vector<png_bytep> rows(picture.height);
    for (png_uint_32 y = 0; y < picture.height; ++y)
    {
        rows[y] = const_cast<png_bytep>(picture.pixels.data() + stride * y);
    }
    png_color_16 background = picture.background;
    bool written = false;
    if (info && setjmp(png_jmpbuf(png)) == 0)
    {
        png_init_io(png, file);
        png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (picture.hasBackground)
        {
            png_set_bKGD(png, info, &background);
        }
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_level(png, 9);
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, info);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

bool Copy(const char* from, const char* to)
{
    std::ifstream in(from, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return in.good() || in.eof() ? static_cast<bool>(out) : false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s rendered.png picture.png\n", argv[0]);
        return 2;
    }
    Picture picture;
    const bool done = Read(argv[1], picture) ? Write(argv[2], picture) : Copy(argv[1], argv[2]);
    if (!done)
    {
        std::fprintf(stderr, "%s: could not rewrite %s as %s\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    return 0;
}
