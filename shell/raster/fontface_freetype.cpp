// The interface face through FreeType, from a font file fontconfig finds.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <string>

#include "font.h"
#include "fontface.h"

namespace shell {

const char* uifontname() {
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

class FreeTypeFace : public FontFace {
  public:
    ~FreeTypeFace() override {
        if (face_) FT_Done_Face(face_);
        if (lib_) FT_Done_FreeType(lib_);
    }

    bool open(int cellheight) {
        if (FT_Init_FreeType(&lib_) != 0) return false;
        if (FT_New_Face(lib_, uifontname(), 0, &face_) != 0) {
            face_ = nullptr;
            return false;
        }
        double asc = face_->ascender, desc = -face_->descender;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2))) {
            asc = os2->usWinAscent;
            desc = os2->usWinDescent;
        }
        // The cell height is the Windows ascent plus descent of the face, as
        // a font mapper asked for a height of `cellheight` would scale it.
        const double ppem = cellheight * double(face_->units_per_EM) / (asc + desc);
        FT_Set_Char_Size(face_, 0, FT_F26Dot6(std::lround(ppem * 64)), 72, 72);
        ascent_ = int(std::lround(asc * ppem / face_->units_per_EM));
        return true;
    }

    int ascent() const override { return ascent_; }

    Glyph glyph(char32_t ch) const override {
        Glyph g;
        // Fixed load flags so that every machine renders the same pixels.
        if (FT_Load_Char(face_, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP) !=
            0)
            return g;
        FT_GlyphSlot slot = face_->glyph;
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
        return g;
    }

  private:
    FT_Library lib_ = nullptr;
    FT_Face face_ = nullptr;
    int ascent_ = 0;
};

}  // namespace

std::unique_ptr<FontFace> openuiface(int cellheight) {
    auto face = std::make_unique<FreeTypeFace>();
    if (!face->open(cellheight)) return nullptr;
    return face;
}

}  // namespace shell
