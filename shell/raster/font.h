// Text onto a Surface in the user-interface face: a FreeType face found once
// through fontconfig, or on Windows the face GDI gives for the name.
#pragma once

#include <memory>
#include <string_view>

#include "surface.h"

namespace shell {

class Font {
  public:
    // The user-interface face: a bold italic serif whose character cell
    // (ascent + descent) is `cellheight` pixels.
    explicit Font(int cellheight = 20);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool ok() const;
    int ascent() const;
    int descent() const;
    int cellheight() const { return ascent() + descent(); }
    // Advance width of a UTF-8 text in pixels.
    int textwidth(std::string_view utf8) const;

    // The metrics above are logical pixels. Drawing takes logical positions
    // too, and renders the text at the surface's scale times the cell
    // height, so it stays sharp on a surface of any scale.

    // Draws with the cell's top-left at (x, y), blending glyph coverage over
    // what lies beneath.
    void draw(Surface& s, int x, int y, std::string_view utf8, Rgb color) const;
    // Fills `box` with `bg` first, then draws as above, clipped to `box`.
    void drawopaque(Surface& s, const Rect& box, int x, int y, std::string_view utf8, Rgb color,
                    Rgb bg) const;

  private:
    void render(Surface& s, const Rect& clip, int x, int y, std::string_view utf8, Rgb color) const;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Which face the user-interface font is, found once: the font file on
// Linux, the face's name on Windows.
const char* uifontname();

}  // namespace shell
