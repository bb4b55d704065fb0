// Everything knotloom shows: the full redraw, the control polygon and the
// readout under the palette strip. All of it is drawn into the offscreen
// picture and then copied to the window.
#pragma once

#include "model.h"
#include "shell/raster/font.h"
#include "shell/window/window.h"

namespace knotloom {

// Curve pens, 2 pixels wide: red, green, blue.
constexpr shell::Rgb pencolor[kChannels] = {{255, 0, 0}, {64, 192, 96}, {0, 128, 224}};
// Marker fills: user points, end points, control points.
constexpr shell::Rgb cr[3] = {{255, 0, 0}, {0, 192, 40}, {255, 255, 0}};
enum Marker { marker_user, marker_end, marker_control };
// The interface font's colour.
constexpr shell::Rgb kTextColor{0, 192, 255};

// The drawing objects made when the window is created and the scratch space
// of a redraw, so that a drag step allocates nothing.
class Display {
  public:
    // For a window of `scale`: the pictures are drawn at it.
    explicit Display(int scale = 1);

    shell::Surface banner;      // 1024 x 124
    shell::Surface cursor;      // the 42 x 39 selection marker
    shell::Surface markers[3];  // the 9 x 9 markers, indexed by Marker
    shell::Font font{20};

    // The full redraw; runs curvecalc for the active channel on the way.
    void draw(shell::Window& w, Model& m, int showcp);
    // The control polygon and its markers, into the offscreen picture only.
    void drawcp(shell::Surface& s, const Model& m);
    // The readout for the pointer's column x (128 … 895).
    void drawreadout(shell::Window& w, const Model& m, int x, int showcp);
    // A line of text in the readout's band instead of the readout, until
    // the pointer's readout or a full redraw takes its place.
    void drawnote(shell::Window& w, const Model& m, const std::string& text, int showcp);

    // The selection marker in the top-left corner of box i, or that corner
    // blanked, on both the offscreen picture and the window.
    void putcursor(shell::Window& w, int box);
    void blankbox(shell::Window& w, int box);

    // The polyline of the active curve as the last redraw sampled it.
    const CurveSamples& samples() const { return samples_; }

    // The column the readout on the picture was drawn for; -1 once a full
    // redraw has wiped it.
    int readoutx = -1;

  private:
    CurveSamples samples_;
    // A note stands in the band. Its letters may reach below the rows the
    // readout clears, so the readout that follows it clears the whole band.
    bool noteshown_ = false;
    shell::Point columnline_[kColumns];
};

// The text of the readout for column x with the palette as it stands.
std::string readouttext(const Model& m, int x);

}  // namespace knotloom
