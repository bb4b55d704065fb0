// The palette analysis in a side window of a designer: a key opens and
// closes it, and it follows every change of the palette the user sees.
//
// A program keeps one of these and
//   - on its key (kKey, plain): toggle(w, palette shown);
//   - wherever it redraws what depends on the palette: follow(w, palette shown).
// The window's close button needs nothing: its default action closes it.
#pragma once

#include <memory>

#include "analysis/picture.h"
#include "shell/window.h"

namespace analysis {

class AnalysisWindow {
  public:
    static constexpr int kId = 1;     // the side window's id
    static constexpr int kKey = 'A';  // the key that opens and closes it

    bool isopen(shell::Window& w) const { return w.sidewindow(kId) != nullptr; }
    // Opens the window on palette p, or closes it.
    void toggle(shell::Window& w, const shell::Palette& p);
    // Shows palette p if the window is open and shows another one.
    void follow(shell::Window& w, const shell::Palette& p);

  private:
    // Made on the first opening (it draws the frame, axes and labels) and
    // kept, so that opening again costs one frame.
    std::unique_ptr<Picture> picture_;
    shell::Palette shown_{};  // the palette the open window shows
};

}  // namespace analysis
