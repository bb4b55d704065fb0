// curvetoy's window procedure and program description.
#pragma once

#include <utility>

#include "curve.h"
#include "history.h"
#include "shell/window/program.h"

namespace curvetoy {

enum Command { cmd_showcp = 100, cmd_exit = 200 };

class MainWindow : public shell::Program {
  public:
    int proc(shell::Window& w, const shell::Message& m) override;

    Demo demo;
    int okdrag = 0;
    int dpindex = 0;
    // Ends a drag in progress (for the undo keys); true when one was.
    bool enddrag() { return std::exchange(okdrag, 0) != 0; }
    WindowHistory history;  // undo and redo (history.h)

  private:
    void redraw(shell::Window& w);
};

// The program's icon, size x size, on black.
shell::Surface makeicon(int size);
// The same picture drawn over what `s` holds, at the size of `s`.
void painticon(shell::Surface& s);

// Title, client size, the File menu and the C and Esc accelerators.
shell::ProgramDesc programdesc();

}  // namespace curvetoy
