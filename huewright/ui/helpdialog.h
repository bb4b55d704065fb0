// The Help dialog: fixed texts on the curve types, the Invert and Restore
// buttons and the file formats, with three pictures of the curves.
#pragma once

#include <memory>

#include "shell/window/dialog.h"
#include "shell/window/window.h"

namespace huewright {

// Control identifiers: the Close button and the three pictures.
enum HelpId {
    id_helpclose = 1,
    id_helppicture1 = 410,
    id_helppicture2 = 420,
    id_helppicture3 = 430,
};

// The six texts of the dialog, as shown.
extern const char* const helptexts[6];

// The dialog as data, in 11-point dialog units, 394 x 296 at (2, 2) from the
// main window's client origin, without a caption bar.
shell::DialogTemplate helptemplate();

// Makes the three pictures when the dialog opens and releases them when
// Close (or Enter) ends it with 1. Escape does not close it: the dialog has
// no Cancel.
class HelpDialogProc : public shell::DialogProc {
  public:
    // The pictures are drawn at `scale`, the scale of the window the dialog
    // opens over.
    explicit HelpDialogProc(int scale = 1) : scale_(scale) {}
    int handle(shell::DialogView& view, const shell::DialogMessage& msg) override;
    // How many pictures are held right now (3 while open, 0 once closed).
    int pictures() const;

  private:
    void release(shell::DialogView& view);
    int scale_;
    std::unique_ptr<shell::Surface> pictures_[3];
};

// cmd_help: the modal Help dialog.
void showhelp(shell::Window& w);

}  // namespace huewright
