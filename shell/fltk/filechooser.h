// The open and save file chooser of the desktop host.
#pragma once

#include <functional>

#include "shell/window/window.h"

class Fl_Window;

namespace shell::fltk {

// Runs the chooser for a record, modal over `owner`, at `scale` times its
// size at scale 1 (chooserlayout.h); false when cancelled. `afterevent` runs
// after each event of its loop.
bool choosefile(FileDialogRecord& rec, bool save, Fl_Window* owner, int scale,
                const std::function<void()>& afterevent);

}  // namespace shell::fltk
