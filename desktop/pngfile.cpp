#include "pngfile.h"

#include <png.h>

#include <csetjmp>

#include "shell/atomicfile.h"

namespace desktop {

namespace {

void append(png_structp png, png_bytep data, png_size_t size) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}

void noflush(png_structp) {}

}  // namespace

namespace {

// Appends the PNG to `out`. libpng reports its errors by jumping back to the
// setjmp below, so this frame owns nothing a jump would skip releasing, and
// `out` lives in the caller.
bool encodeinto(const shell::Surface& s, std::string& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, &out, append, noflush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(s.width()), png_uint_32(s.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < s.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(s.data() + size_t(y) * s.stride()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string encodepng(const shell::Surface& s) {
    std::string out;
    if (s.width() <= 0 || s.height() <= 0 || !encodeinto(s, out)) return {};
    return out;
}

bool writepng(const std::string& path, const shell::Surface& s) {
    const std::string bytes = encodepng(s);
    return !bytes.empty() && shell::writefileatomically(path, bytes) == 0;
}

}  // namespace desktop
