// The Name Entry dialog: asks for the author's name that every saved screen
// image carries in its artist, copyright, IPTC and XMP fields, and whether to
// ask again before the next save.
#pragma once

#include <string>

#include "shell/window/dialog.h"

namespace huewright {

// Control identifiers of the dialog.
enum NameId {
    id_nameok = 1,
    id_namecancel = 2,
    id_namegroup = 310,
    id_namebox = 320,
    id_noask = 330,  // "No need to ask again"
};

// The dialog as data, in 8-point dialog units: a caption without a close
// box, the explanation, the name box and the tick box, OK and Cancel.
shell::DialogTemplate nametemplate();

// Fills the box from the stored name and ticks "No need to ask again" when
// the dialog is no longer asked for. OK stores the filtered name and the
// tick (the dialog is no longer asked for when ticked) and ends the dialog
// with 1; Cancel ends it with 2 and changes nothing.
class NameDialogProc : public shell::DialogProc {
  public:
    NameDialogProc(std::string& username, bool& nameflag)
        : username_(username), nameflag_(nameflag) {}
    int handle(shell::DialogView& view, const shell::DialogMessage& msg) override;

  private:
    std::string& username_;
    bool& nameflag_;
};

}  // namespace huewright
