// The palette analysis in a side window of a designer: a key opens and
// closes it, it follows every change of the palette the user sees, and it
// lays itself out again when the user makes it wider or narrower.
//
// A program keeps one of these and
//   - on its key (kKey, plain): toggle(w, palette shown);
//   - on every change of its model (a hook on the model's changed notice):
//     follow(w, palette shown);
//   - on every message, before its own handling: sized(w, message), which
//     takes the resize of the window.
// The window's close button needs nothing: its default action closes it.
#pragma once

#include <memory>

#include "analysis/picture.h"
#include "shell/window/window.h"

namespace analysis {

class AnalysisWindow {
  public:
    static constexpr int kId = 1;     // the side window's id
    static constexpr int kKey = 'A';  // the key that opens and closes it

    bool isopen(shell::Window& w) const { return w.sidewindow(kId) != nullptr; }
    // Opens the window on palette p, or closes it. It opens beside the main
    // window as wide as the screen leaves room for, up to the picture's
    // preferred width and down to its narrowest.
    void toggle(shell::Window& w, const shell::Palette& p);
    // Shows palette p if the window is open and shows another one.
    void follow(shell::Window& w, const shell::Palette& p);
    // The window was resized: the picture is laid out for its new width.
    // True when m was that message.
    bool sized(shell::Window& w, const shell::Message& m);

  private:
    // Made on the first opening (it draws the frame, axes and labels) and
    // kept, so that opening again at the same width costs one frame.
    std::unique_ptr<Picture> picture_;
    shell::Palette shown_{};  // the palette the open window shows
};

}  // namespace analysis
