// The interface face through GDI. Windows has Times New Roman; wine has no
// face of that name and would silently give a sans serif for it, so where
// the face GDI picks is not the one asked for, Liberation Serif (which has
// Times New Roman's metrics) is asked for next.
#include <windows.h>

#include <string>

#include "font.h"
#include "fontface.h"
#include "shell/io/wide.h"

namespace shell {

namespace {

const wchar_t* const kFaces[] = {L"Times New Roman", L"Liberation Serif"};

HFONT makefont(const wchar_t* name, int cellheight) {
    // A positive height asks for the cell height (ascent plus descent), as
    // the programs measure their text.
    return CreateFontW(cellheight, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       VARIABLE_PITCH | FF_ROMAN, name);
}

// The face GDI really selected for a font, by name.
std::wstring facename(HDC dc) {
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    return name;
}

// The first of kFaces the system has, by its index; the last when none.
int chosenface() {
    static const int chosen = [] {
        HDC dc = CreateCompatibleDC(nullptr);
        int found = int(std::size(kFaces)) - 1;
        for (int k = 0; k < int(std::size(kFaces)); ++k) {
            HFONT f = makefont(kFaces[k], 20);
            HGDIOBJ old = SelectObject(dc, f);
            const bool same = _wcsicmp(facename(dc).c_str(), kFaces[k]) == 0;
            SelectObject(dc, old);
            DeleteObject(f);
            if (same) {
                found = k;
                break;
            }
        }
        DeleteDC(dc);
        return found;
    }();
    return chosen;
}

// GDI's grey glyph bitmaps have 65 levels of coverage, 0 to 64.
constexpr int kGreyLevels = 64;

class GdiFace : public FontFace {
  public:
    ~GdiFace() override {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
        if (font_) DeleteObject(font_);
    }

    bool open(int cellheight) {
        dc_ = CreateCompatibleDC(nullptr);
        font_ = makefont(kFaces[chosenface()], cellheight);
        if (!dc_ || !font_) return false;
        old_ = SelectObject(dc_, font_);
        TEXTMETRICW tm;
        if (!GetTextMetricsW(dc_, &tm)) return false;
        ascent_ = tm.tmAscent;
        return true;
    }

    int ascent() const override { return ascent_; }

    Glyph glyph(char32_t ch) const override {
        Glyph g;
        // GDI names a glyph by a UTF-16 unit; characters beyond the basic
        // plane go by their glyph index.
        UINT code = UINT(ch), format = GGO_GRAY8_BITMAP;
        if (ch > 0xFFFF) {
            wchar_t pair[2] = {wchar_t(0xD800 + ((ch - 0x10000) >> 10)),
                               wchar_t(0xDC00 + ((ch - 0x10000) & 0x3FF))};
            WORD index[2] = {};
            if (GetGlyphIndicesW(dc_, pair, 2, index, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
                return g;
            code = index[0];
            format |= GGO_GLYPH_INDEX;
        }
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS gm;
        const DWORD size = GetGlyphOutlineW(dc_, code, format, &gm, 0, nullptr, &identity);
        if (size == GDI_ERROR) return g;
        g.advance = gm.gmCellIncX;
        // A blank glyph (a space) has a one-pixel box and no bitmap.
        if (size == 0) return g;
        std::vector<uint8_t> bits(size);
        if (GetGlyphOutlineW(dc_, code, format, &gm, size, bits.data(), &identity) == GDI_ERROR)
            return g;
        g.left = gm.gmptGlyphOrigin.x;
        g.top = gm.gmptGlyphOrigin.y;
        g.width = int(gm.gmBlackBoxX);
        g.rows = int(gm.gmBlackBoxY);
        // Rows are padded to four bytes.
        const size_t pitch = (size_t(g.width) + 3) & ~size_t(3);
        g.coverage.resize(size_t(g.width) * g.rows);
        for (int r = 0; r < g.rows && (r + 1) * pitch <= bits.size(); ++r)
            for (int c = 0; c < g.width; ++c) {
                const int level = std::min<int>(bits[r * pitch + c], kGreyLevels);
                g.coverage[size_t(r) * g.width + c] =
                    uint8_t((level * 255 + kGreyLevels / 2) / kGreyLevels);
            }
        return g;
    }

  private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int ascent_ = 0;
};

}  // namespace

const char* uifontname() {
    static const std::string name = narrow(kFaces[chosenface()]);
    return name.c_str();
}

std::unique_ptr<FontFace> openuiface(int cellheight) {
    auto face = std::make_unique<GdiFace>();
    if (!face->open(cellheight)) return nullptr;
    return face;
}

}  // namespace shell
