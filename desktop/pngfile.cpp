#include "pngfile.h"

#include <png.h>

#include <csetjmp>

#include "shell/io/atomicfile.h"

namespace desktop {

namespace {

void append(png_structp png, png_bytep data, png_size_t size) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}

void noflush(png_structp) {}

// Rows of 8-bit samples: `channels` to a pixel, `stride` bytes apart.
struct Rows {
    int width, height, channels;
    size_t stride;
    const uint8_t* data;
};

// Appends the PNG to `out`. libpng reports its errors by jumping back to the
// setjmp below, so this frame owns nothing a jump would skip releasing, and
// `out` lives in the caller.
bool encodeinto(const Rows& rows, std::string& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, &out, append, noflush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(rows.width), png_uint_32(rows.height), 8,
                 rows.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < rows.height; ++y)
        png_write_row(png, const_cast<png_bytep>(rows.data + size_t(y) * rows.stride));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::string encode(const Rows& rows) {
    std::string out;
    if (rows.width <= 0 || rows.height <= 0 || !encodeinto(rows, out)) return {};
    return out;
}

bool write(const std::string& path, const std::string& bytes) {
    return !bytes.empty() && shell::writefileatomically(path, bytes).ok();
}

}  // namespace

std::string encodepng(const shell::Surface& s) {
    return encode(Rows{s.width(), s.height(), 3, size_t(s.stride()), s.data()});
}

std::string encodepng(const RgbaPicture& p) {
    if (p.rgba.size() != size_t(p.width) * size_t(p.height) * 4) return {};
    return encode(Rows{p.width, p.height, 4, size_t(p.width) * 4, p.rgba.data()});
}

bool writepng(const std::string& path, const shell::Surface& s) {
    return write(path, encodepng(s));
}

bool writepng(const std::string& path, const RgbaPicture& p) {
    return write(path, encodepng(p));
}

}  // namespace desktop
