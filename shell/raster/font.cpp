#include "font.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "fontface.h"

namespace shell {

namespace {

// Decodes one UTF-8 character; malformed bytes come out as U+FFFD, one each.
char32_t nextchar(std::string_view s, size_t& i) {
    unsigned char c = s[i++];
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + extra > s.size()) return 0xFFFD;
    char32_t v = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        unsigned char n = s[i];
        if ((n & 0xC0) != 0x80) return 0xFFFD;
        v = (v << 6) | (n & 0x3F);
        ++i;
    }
    return v;
}

}  // namespace

struct Font::Impl {
    // The logical cell.
    int cellheight = 0, ascent = 0, descent = 0;
    // The face at one scale: its cell is the scale times the logical cell,
    // so text on a surface of that scale is rendered at its size, not blown
    // up from the logical one.
    struct Size {
        std::unique_ptr<FontFace> face;
        std::unordered_map<char32_t, Glyph> cache;
    };
    // By scale, each opened when first drawn at.
    mutable std::map<int, Size> sizes;

    Size& sized(int scale) const {
        auto it = sizes.find(scale);
        if (it != sizes.end()) return it->second;
        return sizes.emplace(scale, Size{openuiface(cellheight * scale), {}}).first->second;
    }

    const Glyph& glyph(Size& z, char32_t ch) const {
        auto it = z.cache.find(ch);
        if (it != z.cache.end()) return it->second;
        return z.cache.emplace(ch, z.face ? z.face->glyph(ch) : Glyph{}).first->second;
    }
};

Font::Font(int cellheight) : impl_(std::make_unique<Impl>()) {
    impl_->cellheight = cellheight;
    const Impl::Size& z = impl_->sized(1);
    if (!z.face) return;
    impl_->ascent = z.face->ascent();
    impl_->descent = cellheight - impl_->ascent;
}

Font::~Font() = default;

bool Font::ok() const {
    return impl_->sized(1).face != nullptr;
}
int Font::ascent() const {
    return impl_->ascent;
}
int Font::descent() const {
    return impl_->descent;
}

int Font::textwidth(std::string_view s) const {
    if (!ok()) return 0;
    Impl::Size& z = impl_->sized(1);
    int w = 0;
    for (size_t i = 0; i < s.size();) w += impl_->glyph(z, nextchar(s, i)).advance;
    return w;
}

void Font::render(Surface& s, const Rect& clip0, int x, int y, std::string_view text,
                  Rgb color) const {
    if (!ok()) return;
    const Rect clip = s.todevice(intersect(clip0, s.bounds()));
    if (clip.empty()) return;
    // Everything below is in device pixels: the text at the surface's scale
    // starts at the device pixel of its logical position.
    Impl::Size& z = impl_->sized(s.scale());
    if (!z.face) return;
    const uint8_t over[3] = {color.r, color.g, color.b};
    int pen = x * s.scale();
    const int baseline = y * s.scale() + z.face->ascent();
    for (size_t i = 0; i < text.size();) {
        const Glyph& g = impl_->glyph(z, nextchar(text, i));
        const int gx = pen + g.left, gy = baseline - g.top;
        pen += g.advance;
        // The rows and columns of the glyph inside the clip.
        const int r0 = std::max(0, clip.top - gy), r1 = std::min(g.rows, clip.bottom - gy);
        const int c0 = std::max(0, clip.left - gx), c1 = std::min(g.width, clip.right - gx);
        for (int r = r0; r < r1; ++r) {
            const uint8_t* cov = g.coverage.data() + size_t(r) * g.width;
            uint8_t* p = s.row(gy + r) + size_t(gx + c0) * 3;
            for (int c = c0; c < c1; ++c, p += 3) {
                // Coverage blends the text colour over what lies beneath;
                // full coverage gives the text colour itself.
                const unsigned a = cov[c];
                if (a == 0) continue;
                if (a == 255) {
                    p[0] = over[0], p[1] = over[1], p[2] = over[2];
                    continue;
                }
                for (int k = 0; k < 3; ++k)
                    p[k] = uint8_t((p[k] * (255 - a) + over[k] * a + 127) / 255);
            }
        }
    }
}

void Font::draw(Surface& s, int x, int y, std::string_view text, Rgb color) const {
    render(s, s.bounds(), x, y, text, color);
}

void Font::drawopaque(Surface& s, const Rect& box, int x, int y, std::string_view text, Rgb color,
                      Rgb bg) const {
    s.fillrect(box, bg);
    render(s, box, x, y, text, color);
}

}  // namespace shell
