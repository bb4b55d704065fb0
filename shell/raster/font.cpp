#include "font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <unordered_map>

namespace shell {

const char* uifontfile() {
    static const std::string path = [] {
        std::string found;
        if (!FcInit()) return found;
        FcPattern* pat =
            FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Serif:bold:italic"));
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult res;
        FcPattern* match = FcFontMatch(nullptr, pat, &res);
        if (match) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
                found = reinterpret_cast<const char*>(file);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pat);
        return found;
    }();
    return path.c_str();
}

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

struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> coverage;
};

}  // namespace

struct Font::Impl {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    // The logical cell.
    int cellheight = 0, ascent = 0, descent = 0;
    // The face's Windows ascent and descent in design units.
    double asc = 0, desc = 0;
    // The face at one scale: its cell is the scale times the logical cell,
    // so text on a surface of that scale is rendered at its size, not blown
    // up from the logical one.
    struct Size {
        FT_Size size = nullptr;
        int ascent = 0;
        std::unordered_map<char32_t, Glyph> cache;
    };
    // By scale; the face's own size serves scale 1.
    mutable std::map<int, Size> sizes;

    Size& sized(int scale) const {
        auto it = sizes.find(scale);
        if (it != sizes.end()) return it->second;
        Size z;
        if (scale == 1)
            z.size = face->size;
        else if (FT_New_Size(face, &z.size) != 0)
            z.size = nullptr;
        if (z.size) {
            FT_Activate_Size(z.size);
            // The cell height is the Windows ascent plus descent of the face,
            // as a font mapper asked for a height of `cellheight` would scale
            // it.
            const double ppem = cellheight * scale * double(face->units_per_EM) / (asc + desc);
            FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(ppem * 64)), 72, 72);
            z.ascent = int(std::lround(asc * ppem / face->units_per_EM));
        }
        return sizes.emplace(scale, std::move(z)).first->second;
    }

    const Glyph& glyph(Size& z, char32_t ch) const {
        auto it = z.cache.find(ch);
        if (it != z.cache.end()) return it->second;
        Glyph g;
        // Fixed load flags so that every machine renders the same pixels.
        if (z.size && FT_Activate_Size(z.size) == 0 &&
            FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP) ==
                0) {
            FT_GlyphSlot slot = face->glyph;
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = int(slot->bitmap.width);
            g.rows = int(slot->bitmap.rows);
            g.advance = int((slot->advance.x + 32) >> 6);
            g.coverage.resize(size_t(g.width) * g.rows);
            for (int r = 0; r < g.rows; ++r)
                for (int c = 0; c < g.width; ++c)
                    g.coverage[size_t(r) * g.width + c] =
                        slot->bitmap.buffer[r * slot->bitmap.pitch + c];
        }
        return z.cache.emplace(ch, std::move(g)).first->second;
    }
};

Font::Font(int cellheight) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->lib) != 0) return;
    if (FT_New_Face(impl_->lib, uifontfile(), 0, &impl_->face) != 0) {
        impl_->face = nullptr;
        return;
    }
    FT_Face f = impl_->face;
    impl_->cellheight = cellheight;
    impl_->asc = f->ascender;
    impl_->desc = -f->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2))) {
        impl_->asc = os2->usWinAscent;
        impl_->desc = os2->usWinDescent;
    }
    impl_->ascent = impl_->sized(1).ascent;
    impl_->descent = cellheight - impl_->ascent;
}

Font::~Font() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->lib) FT_Done_FreeType(impl_->lib);
}

bool Font::ok() const {
    return impl_->face != nullptr;
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
    const uint8_t over[3] = {color.r, color.g, color.b};
    int pen = x * s.scale();
    const int baseline = y * s.scale() + z.ascent;
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
