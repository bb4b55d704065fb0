// The picture of the palette analysis window: the palette strip, the OKLab
// lightness curve with its extremes, the neighbour differences with the
// largest and the wrap seam marked, and the palette as seen with the three
// colour-vision deficiencies and as lightness alone.
//
// A window shows it like this:
//   Picture pic(width);                  frame, axes and labels drawn once
//   Window of pic.width() x pic.height(), titled Picture::kTitle
//   pic.drawall(w.offscreen, palette);      the first frame; w.presentall()
//   each palette change: w.present(pic.update(w.offscreen, palette));
//   a new width: pic.setwidth(width), then drawall again.
#pragma once

#include "analysis.h"
#include "layout.h"
#include "shell/raster/font.h"
#include "shell/raster/surface.h"

namespace analysis {

class Picture {
  public:
    static constexpr int kWidth = Layout::kPreferredWidth, kHeight = Layout::kHeight;
    static constexpr int kMinWidth = Layout::kMinWidth;
    static constexpr const char* kTitle = "Palette Analysis";

    // Lays the picture out at `width` (kMinWidth at least) and draws the
    // parts that never change (frames, axes, labels) once, at `scale`, the
    // scale of the surfaces it is then drawn on: the text stays sharp.
    explicit Picture(int width = kWidth, int scale = 1);

    // Lays the picture out again at another width; the next drawall draws
    // it there.
    void setwidth(int width);
    const Layout& layout() const { return layout_; }
    int width() const { return layout_.width; }
    int height() const { return layout_.height; }
    int scale() const { return scale_; }

    // The whole picture for palette p, on a surface of width() x height()
    // (a surface of another size gets the part that fits).
    void drawall(shell::Surface& s, const shell::Palette& p);

    // Analyses p and redraws only what depends on it, on a surface that holds
    // an earlier picture of drawall or update; the parts that never change are
    // left alone. Returns the rectangle that changed, for the window to show.
    shell::Rect update(shell::Surface& s, const shell::Palette& p);

    // The data of palette p with analysis a over the static parts. update
    // is analyse followed by this.
    shell::Rect drawdata(shell::Surface& s, const shell::Palette& p, const Analysis& a) const;

    // The analysis of the palette last given to drawall or update.
    const Analysis& analysis() const { return analysis_; }
    // The parts that never change.
    const shell::Surface& background() const { return background_; }

  private:
    void drawbackground();

    int scale_;
    shell::Font font_{Layout::kCell};
    Layout layout_;
    shell::Surface background_;
    Analysis analysis_;
    shell::Rect lightreadout_, stepreadout_;  // where the heading lines' readouts go
};

// Colours of the picture, shared with its tests.
namespace colours {
constexpr shell::Rgb kBack{30, 31, 35};       // window background
constexpr shell::Rgb kPlotBack{16, 17, 20};   // inside the plot boxes
constexpr shell::Rgb kCurve{236, 236, 236};   // the lightness curve
constexpr shell::Rgb kBar{128, 140, 160};     // a neighbour difference
constexpr shell::Rgb kMin{90, 180, 255};      // the darkest entry
constexpr shell::Rgb kMax{255, 150, 50};      // the brightest entry
constexpr shell::Rgb kLargest{250, 215, 60};  // the largest difference
constexpr shell::Rgb kSeam{235, 90, 215};     // the wrap seam
}  // namespace colours

}  // namespace analysis
