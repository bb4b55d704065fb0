// What the text drawing of font.cpp needs of the system's font machinery:
// the interface face at one pixel size, and its glyphs as coverage bitmaps.
// FreeType provides it on Linux (fontface_freetype.cpp) and GDI on Windows
// (fontface_gdi.cpp); the blending onto a Surface is the same everywhere.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace shell {

// One glyph: a coverage bitmap (0 nothing, 255 full) whose top-left lies
// `left` pixels right of the pen and `top` pixels above the baseline, and
// how far the pen moves after it.
struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> coverage;
};

class FontFace {
  public:
    virtual ~FontFace() = default;
    // Pixels of the cell above the baseline; the rest of it lies below.
    virtual int ascent() const = 0;
    // The glyph of a character; an empty one where the face has nothing.
    virtual Glyph glyph(char32_t ch) const = 0;
};

// The user-interface face, a bold italic serif, scaled so that its cell
// (the face's Windows ascent plus descent, as the system's font mapper
// measures a height) is `cellheight` pixels. Null when no such face can be
// had.
std::unique_ptr<FontFace> openuiface(int cellheight);

}  // namespace shell
