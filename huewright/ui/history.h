// Undo and redo in the gradient designer's main window.
//
// A step is one Parameters dialog closed with OK (or closed with Cancel
// after it changed the stretch flag, which Cancel keeps), or one palette
// file opened. Saves and the preview are no steps. While the dialog is open,
// the undo keys walk the dialog's own steps instead (editsteps.h).
#pragma once

#include <cstddef>
#include <string>

#include "huewright/model/parameters.h"
#include "huewright/ui/commands.h"
#include "shell/raster/palette.h"
#include "shell/window/history.h"

namespace huewright {

class MainWindow;

// What a step holds, before and after the edit.
//
// The edit itself: the three records, the palette (a loaded palette does not
// follow its records, so it is kept whole rather than recomputed), which
// readouts are on, the stretch flags and the description that a MAP save
// writes. Those decide every saved byte and, with the rest below, every
// pixel.
//
// What the window showed with it, so that an undo shows exactly the picture
// of that moment: the channel last edited, the button pressed last and the
// selection marker (which stays where it was for keys such as F1) and
// whether the preview was showing, which is drawn again from the entries the
// window keeps. The hover readout is not the step's: it shows what is under
// the pointer when the step is restored. The file dialogs' folders, the
// author's name and the TIFF settings are no part of an edit and stay as
// they are.
struct WindowState {
    Parameters p[3];
    shell::Palette palette;
    int okdisplay[3];
    int stretchflag[3];
    std::string description;
    std::string loadedfrom;

    int cndx;
    int button;
    int marker;
    bool previewshown;

    bool sameedit(const WindowState& o) const;
    size_t bytes() const {
        return sizeof(WindowState) + description.capacity() + loadedfrom.capacity();
    }
};

class WindowHistory {
  public:
    // --- hooks of the main window ---
    // A button or its key, before it takes effect: an edit it starts
    // begins from here, marker and all.
    void pressed(const MainWindow& mw, int b);
    // An edit starts; it keeps the state of the press that started it.
    void begin(const MainWindow& mw);
    // The edit is over: a step if it changed anything.
    void end(const MainWindow& mw);
    // Runs cmd_undo and cmd_redo; false for any other command.
    bool command(MainWindow& mw, int id);

    // What the window shows that the main window does not keep itself.
    int marker = 0;

    shell::History<WindowState> steps;

  private:
    WindowState capture(const MainWindow& mw) const;
    void restore(MainWindow& mw, const WindowState& s);
};

}  // namespace huewright
