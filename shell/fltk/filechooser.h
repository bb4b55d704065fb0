// The open and save file chooser of the desktop host.
#pragma once

#include <functional>

#include "shell/window/window.h"

class Fl_Window;

namespace shell::fltk {

// Runs the chooser for a record, modal over `owner`; false when cancelled.
// `afterevent` runs after each event of its loop.
bool choosefile(FileDialogRecord& rec, bool save, Fl_Window* owner,
                const std::function<void()>& afterevent);

}  // namespace shell::fltk
