// Message boxes and the one question the shell asks, as FLTK windows.
#pragma once

#include <functional>
#include <string>

#include "shell/window/window.h"

class Fl_Window;

namespace shell::fltk {

// A box with an OK button and an optional exclamation mark, modal. Centred on
// `owner` when given, else on the screen; `scale` times its size at scale 1,
// text included. `afterevent` runs after each event of its loop (the host
// handles what was posted meanwhile).
void showmessagebox(const std::string& text, const std::string& caption, Icon icon,
                    Fl_Window* owner, int scale, const std::function<void()>& afterevent);

// A question with Yes and No buttons and an exclamation mark; true for Yes.
// Its close button and Esc answer No.
bool askyesno(const std::string& text, const std::string& caption, Fl_Window* owner, int scale,
              const std::function<void()>& afterevent);

}  // namespace shell::fltk
