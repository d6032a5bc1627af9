#include "pngfile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace skysim {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool writePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb, std::string& err)
{
    if (w < 1 || h < 1 || rgb.size() != std::size_t(w) * std::size_t(h) * 3) {
        err = "bad picture size";
        return false;
    }
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        err = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        err = "libpng could not start";
        return false;
    }
    // libpng reports faults by longjmp; nothing with a destructor lives between here and the end.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        err = "libpng failed writing " + path;
        return false;
    }
    png_init_io(png, f.get());
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, const_cast<png_bytep>(rgb.data() + std::size_t(y) * std::size_t(w) * 3));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(f.get()) != 0) {
        err = "cannot write " + path;
        return false;
    }
    return true;
}

bool readPng(const std::string& path, int& w, int& h, std::vector<std::uint8_t>& rgb)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    if (image.width < 1 || image.height < 1 || image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        return false;
    }
    rgb.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    w = int(image.width);
    h = int(image.height);
    return true;
}

} // namespace skysim
