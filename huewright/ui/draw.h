// The gradient designer's screen: where everything sits on the 800 x 640
// window, and the drawing steps that build and refresh the picture.
//
// Everything is drawn into the offscreen surface offscreen first and then shown
// with Window::present, except the control-point dots, which go to the window
// surface onscreen only so that the next redraw or repaint removes them.
//
// On a window of a scale above 1 every drawing step also draws into a copy
// of the picture at scale 1, which is what a screen save writes: the 800 x
// 640 picture, whatever the screen's scale. Drawing it again costs a quarter
// of the window's own drawing at scale 2, and it is the very picture scale 1
// shows, text and artwork included, which no picture made from the larger
// one could be.
#pragma once

#include "huewright/model/model.h"
#include "huewright/ui/geometry.h"
#include "shell/raster/font.h"
#include "shell/window/window.h"

namespace huewright {

// Interior of the curve display, cleared before the curves are drawn.
constexpr shell::Rect erasecurves{500, 145, 758, 402};
// The hover readout under the palette strip.
constexpr shell::Rect erasevalues{495, 520, 700, 640};
// Each channel's parameter readout.
constexpr shell::Rect eraseparams[3] = {
    {220, 164, 495, 214}, {220, 262, 495, 312}, {220, 360, 495, 410}};
// The tick row under the palette strip.
constexpr shell::Rect erasehash{500, 501, 758, 518};

// Readout rows of each channel and the two readout columns.
constexpr int readoutrow[3][2] = {{164, 189}, {262, 287}, {360, 385}};
constexpr int readoutleft = 225, readoutright = 385;

// The ten boxes of the window, in the order a press tests them. The first six
// can carry the selection marker.
enum Button {
    btn_red,
    btn_green,
    btn_blue,
    btn_savepalette,
    btn_savescreen,
    btn_openmap,
    btn_exit,
    btn_help,
    btn_preview,
    btn_curves,
};
constexpr int kMarkable = 6;
constexpr shell::Rect clicks[10] = {
    {50, 154, 97, 198},   {50, 252, 97, 296},   {50, 350, 97, 394}, {50, 448, 97, 492},
    {272, 448, 319, 492}, {272, 546, 319, 590}, {50, 546, 97, 590}, {714, 546, 758, 590},
    {676, 12, 749, 85},   {499, 144, 758, 402},
};

// The pointer over either of these shows the hover readout.
constexpr shell::Rect mousemove[2] = {{500, 144, 757, 402}, {500, 450, 757, 500}};
// A drag ends as soon as the pointer is no longer strictly inside this.
constexpr shell::Rect curverect{499, 144, 758, 402};

// The pictures made at window creation and the interface font, and the copy
// of the window's picture at scale 1.
struct Screen {
    // For a window of `scale`.
    explicit Screen(int scale = 1);
    shell::Surface banner;  // 843 x 100; columns 800 ... 842 hold the help picture
    shell::Surface cursor;  // the 46 x 43 selection marker
    shell::Font font{20};
    // At a scale above 1: the window's picture at scale 1 and the artwork it
    // is drawn with; empty at scale 1, where the window's picture is it.
    shell::Surface plain, plainbanner, plaincursor;

    // The picture a screen save writes: the window's at scale 1.
    const shell::Surface& saved(const shell::Window& w) const {
        return plain.width() > 0 ? plain : w.offscreen;
    }
    // Runs draw(picture, banner, cursor) on the window's offscreen picture
    // and on the copy, each with the artwork of its scale.
    template <class Draw>
    void pictures(shell::Window& w, Draw draw) {
        draw(w.offscreen, banner, cursor);
        if (plain.width() > 0) draw(plain, plainbanner, plaincursor);
    }
};

// Colours of the screen.
constexpr shell::Rgb kTextColor{0, 192, 255};
constexpr shell::Rgb kWhite{255, 255, 255};
constexpr shell::Rgb kBlack{0, 0, 0};
constexpr shell::Rgb kChannelColor[3] = {{255, 0, 0}, {80, 192, 0}, {0, 0, 255}};
constexpr shell::Rgb kYellow{255, 255, 0};
constexpr shell::Rgb kMagenta{255, 128, 255};

// The static frame: help picture, outlines, labels, the marker on Red; then
// the whole surface is shown.
void drawboxes(shell::Window& w, Screen& s);

// The curves and the palette strip from the palette, then they are shown
// (with any control-point dots of the window removed).
void draw(shell::Window& w, Screen& s, const Model& m);

// Channel index's parameter readout from m.p[index]. Draws nothing and
// returns false while the channel's readout is switched off.
bool displayparams(shell::Window& w, Screen& s, const Model& m, int index);

// A 9 x 9 square centred on (x, y), pixel by pixel.
void drawdot(shell::Surface& hdc, int x, int y, shell::Rgb color);

// Moves the selection marker into button k (0 ... 5), on the surface and the
// window.
void markbutton(shell::Window& w, Screen& s, int k);

// The tick and the four texts for the palette entry under the pointer at
// client x (501 ... 756).
void showvalues(shell::Window& w, Screen& s, const Model& m, int x);

}  // namespace huewright
