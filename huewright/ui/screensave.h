// Saving the screen as a TIFF file: the main window's commands 120 (ask for
// the author's name) and 130 (choose the file and write it).
#pragma once

#include <string>

#include "huewright/ui/mapfile.h"
#include "huewright/files/metadata.h"
#include "shell/window.h"

namespace huewright {

// What savescreen returns when it was ignored or its dialog was cancelled:
// nothing was written and nothing shown. Results 0 and up are those of
// writetiff, reported in a box.
constexpr int screensave_cancelled = -1;

// Command 120. While the Parameters dialog is closed: when nameflag is 1,
// runs the Name Entry dialog (which may change username and nameflag); if
// that is cancelled the save ends here. Otherwise posts command 130. Returns
// 1 when command 130 was posted, 0 when not.
int askauthor(shell::Window& w, int parameterflag, std::string& username, int& nameflag);

// Command 130. While the Parameters dialog is closed: runs the save dialog on
// files.stiffn, shows the window again, writes the offscreen surface with
// `compression` and tells the user the outcome: "Image saved as <file title>"
// in an ownerless box captioned "Xo Gradient", or the save error in a box
// captioned "Save file error". The window's title, cursor and input are
// restored before any box. Returns the writetiff result, or
// screensave_cancelled.
int writescreen(shell::Window& w, int parameterflag, MapFiles& files, const std::string& username,
                int compression, const Clock& clock = systemclock);

}  // namespace huewright
