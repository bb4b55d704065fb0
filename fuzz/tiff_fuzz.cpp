// Feeds arbitrary bytes to the reader of screen images (the TIFF directory,
// its rows and the XMP description). Besides the sanitizers' checks: a
// failure says why on one line, and a row that is read is a whole row.
#include <string_view>

#include "huewright/files/tiffread.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    huewright::xmpdescription(bytes);

    const shell::Result<huewright::TiffImage> im = huewright::readtiff(bytes);
    if (!im.ok()) {
        check(!im.error().reason.empty() && im.error().reason.find('\n') == std::string::npos);
        return 0;
    }
    const huewright::TiffImage& t = im.value();
    check(t.width >= 0 && t.height >= 0);
    for (int y : {0, t.height / 2, t.height - 1, t.height}) {
        const auto row = huewright::tiffrow(bytes, t, y);
        if (row.ok())
            check(y >= 0 && y < t.height && row.value().size() == size_t(t.width) * 3);
        else
            check(row.error().reason.find('\n') == std::string::npos);
    }
    return 0;
}
