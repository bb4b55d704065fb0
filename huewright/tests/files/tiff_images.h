// Pictures for the TIFF writer's tests and benchmark, made to resemble what
// the program saves: a black ground with outlines, three channel curves, a
// palette strip and text readouts, optionally with a Mandelbrot picture in
// the curve display. All deterministic.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "shell/raster/font.h"
#include "shell/raster/surface.h"

namespace huewright::tiffimages {

// The colour of palette index i with sine curves shifted per channel, like
// the start-up palette.
inline shell::Rgb palettecolor(int i) {
    const double pi = 3.14159265358979323846;
    auto channel = [&](int shift) {
        double v = 127.5 + 127.5 * std::sin(2 * pi * (i + shift) / 256.0);
        return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    };
    return shell::Rgb{channel(165), channel(90), channel(0)};
}

// Escape-time colouring of the area (-2.1 .. 0.6) x (-1.35 .. 1.35), drawn
// into the size x size square at (left, top).
inline void mandelbrot(shell::Surface& s, int left, int top, int size) {
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double cr = -2.1 + 2.7 * x / size, ci = -1.35 + 2.7 * y / size;
            double zr = 0, zi = 0;
            int n = 0;
            while (n < 255 && zr * zr + zi * zi < 4) {
                const double t = zr * zr - zi * zi + cr;
                zi = 2 * zr * zi + ci;
                zr = t;
                ++n;
            }
            s.setpixel(left + x, top + y, n == 255 ? shell::Rgb{} : palettecolor((n * 7) & 255));
        }
    }
}

// An 800 x 640 picture like the main window's: the curve display with its
// outline and three curves, the palette strip, buttons and readouts. With
// `withmset`, a 257 x 257 Mandelbrot picture covers part of the curve display.
inline shell::Surface screenlike(bool withmset = false) {
    const shell::Rgb white{255, 255, 255}, grey{128, 128, 128};
    shell::Surface s(800, 640);
    const shell::Rect curves{16, 16, 784, 296};
    // Outline and a dotted grid.
    shell::Point box[] = {{15, 15}, {784, 15}, {784, 296}, {15, 296}, {15, 15}};
    s.polyline(box, 5, white);
    for (int x = 16; x < 784; x += 64)
        for (int y = 16; y < 296; y += 4) s.setpixel(x, y, grey);
    // The three channel curves, 2 pixels wide.
    for (int c = 0; c < 3; ++c) {
        const shell::Rgb col = c == 0   ? shell::Rgb{255, 0, 0}
                               : c == 1 ? shell::Rgb{0, 255, 0}
                                        : shell::Rgb{0, 0, 255};
        s.moveto(curves.left, curves.bottom - 1);
        for (int i = 0; i < 256; ++i) {
            const shell::Rgb p = palettecolor(i);
            const int v = c == 0 ? p.r : c == 1 ? p.g : p.b;
            s.lineto(curves.left + i * 3, curves.bottom - 2 - v, col, 2);
        }
    }
    if (withmset) mandelbrot(s, 260, 24, 257);
    // The palette strip: each entry three columns wide.
    for (int i = 0; i < 256; ++i)
        s.fillrect(shell::Rect{16 + 3 * i, 312, 19 + 3 * i, 352}, palettecolor(i));
    // Buttons and readouts.
    shell::Font font(20);
    const char* labels[] = {"Red",         "Green",    "Blue", "Parameters",
                            "Save Screen", "Open MAP", "Help", "Exit"};
    for (int b = 0; b < 8; ++b) {
        const shell::Rect r{16 + 96 * b, 372, 104 + 96 * b, 400};
        shell::Point o[] = {{r.left, r.top},
                            {r.right, r.top},
                            {r.right, r.bottom},
                            {r.left, r.bottom},
                            {r.left, r.top}};
        s.polyline(o, 5, grey);
        font.draw(s, r.left + 4, r.top + 4, labels[b], white);
    }
    for (int line = 0; line < 9; ++line) {
        const int y = 420 + 22 * line;
        for (int c = 0; c < 3; ++c) {
            const std::string t = std::string(c == 0   ? "phase: "
                                              : c == 1 ? "index shift: "
                                                       : "amplitude: ") +
                                  std::to_string(line * 37 % 256);
            font.draw(s, 24 + 260 * c, y, t,
                      c == 0   ? shell::Rgb{255, 96, 96}
                      : c == 1 ? shell::Rgb{96, 255, 96}
                               : shell::Rgb{96, 160, 255});
        }
    }
    return s;
}

// Noise that no LZW coder can shrink (a fixed linear congruential sequence).
inline shell::Surface noise(int w, int h, uint32_t seed = 12345) {
    shell::Surface s(w, h);
    uint8_t* p = s.data();
    for (size_t i = 0; i < size_t(w) * h * 3; ++i) {
        seed = seed * 1664525u + 1013904223u;
        p[i] = static_cast<uint8_t>(seed >> 24);
    }
    return s;
}

}  // namespace huewright::tiffimages
