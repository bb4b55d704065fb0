#include "icofile.h"

#include <cstdint>

namespace desktop {

namespace {

// The sizes of the file's header, of one directory entry and of a bitmap's
// information header.
constexpr uint32_t kHeader = 6, kEntry = 16, kInfo = 40;
constexpr int kLargest = 256;

void put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF), s += char((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF), put16(s, v >> 16);
}

// One picture as the icon format keeps it: the information header (whose
// height counts the colour rows and the mask's), blue, green, red and alpha
// rows from the bottom up, and a one-bit mask, set where the picture is
// transparent, for systems that ignore the alpha.
std::string bitmap(const RgbaPicture& p) {
    std::string s;
    const uint32_t maskrow = ((uint32_t(p.width) + 31) / 32) * 4;
    const uint32_t size = uint32_t(p.width) * p.height * 4 + maskrow * p.height;
    put32(s, kInfo);
    put32(s, uint32_t(p.width));
    put32(s, uint32_t(p.height) * 2);
    put16(s, 1);   // planes
    put16(s, 32);  // bits per pixel
    put32(s, 0);   // no compression
    put32(s, size);
    for (int k = 0; k < 4; ++k) put32(s, 0);  // resolution and colour counts
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* px = &p.rgba[(size_t(y) * p.width + x) * 4];
            s += char(px[2]), s += char(px[1]), s += char(px[0]), s += char(px[3]);
        }
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(maskrow, '\0');
        for (int x = 0; x < p.width; ++x)
            if (p.rgba[(size_t(y) * p.width + x) * 4 + 3] == 0) row[x / 8] |= char(0x80 >> (x % 8));
        s += row;
    }
    return s;
}

}  // namespace

std::string icofile(const std::vector<RgbaPicture>& pictures) {
    std::vector<std::string> images;
    for (const RgbaPicture& p : pictures) {
        if (p.width < 1 || p.height < 1 || p.width > kLargest || p.height > kLargest ||
            p.rgba.size() != size_t(p.width) * p.height * 4)
            return {};
        images.push_back(bitmap(p));
    }
    std::string out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon, not a cursor
    put16(out, uint32_t(images.size()));
    uint32_t offset = kHeader + kEntry * uint32_t(images.size());
    for (size_t k = 0; k < images.size(); ++k) {
        // A side of 256 is written as 0, the byte's only room for it.
        out += char(pictures[k].width % kLargest);
        out += char(pictures[k].height % kLargest);
        out += '\0';  // no palette
        out += '\0';
        put16(out, 1);
        put16(out, 32);
        put32(out, uint32_t(images[k].size()));
        put32(out, offset);
        offset += uint32_t(images[k].size());
    }
    for (const std::string& i : images) out += i;
    return out;
}

}  // namespace desktop
