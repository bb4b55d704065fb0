// Saving the screen as a TIFF file: the main window's commands cmd_askname
// (ask for the author's name) and cmd_savescreen (choose the file and write
// it), and the save itself as the user sees it: the title counting, the wait
// cursor, the boxes.
#pragma once

#include <string>

#include "huewright/files/metadata.h"
#include "huewright/files/tiff.h"
#include "huewright/ui/filecommands.h"
#include "shell/window/window.h"

namespace huewright {

// What the file says besides the picture.
struct MetadataInputs {
    // The curve description. Padded in place to an odd length (the program's
    // own copy keeps that space until the description is next composed).
    std::string& descriptionstring;
    // The author, as the Name Entry dialog stored it.
    std::string username = defaultusername;
    // When the copyright notice is dated (in UTC).
    Clock clock = systemclock;
};

// Writes `picture` to `file` with `compression` 1 or 5. While it works the
// window's title counts "1 %" to "100 %", the window is busy and takes no
// input; title and busy state are restored before it returns. The file is
// written under a temporary name in the same folder and renamed over `file`
// only when complete, so a failure leaves an existing file as it was. When
// LZW does not pay, the "TIFF LZW" box is shown (after the window is
// restored) and the save fails with Fault::content. The other failures are
// encodetiff's and the atomic save's, all naming `file`.
shell::Status writetiff(shell::Window& window, const shell::Surface& picture, int compression,
                        const std::string& file, MetadataInputs& meta);

// cmd_askname: when `nameflag` is set, runs the Name Entry dialog (which may
// change username and nameflag); if that is cancelled the save ends here.
// Otherwise posts cmd_savescreen. True when cmd_savescreen was posted.
bool askauthor(shell::Window& w, std::string& username, bool& nameflag);

// cmd_savescreen: runs the save dialog on files.stiffn, shows the window again,
// writes `picture` (the window's picture at scale 1, whatever the screen's
// scale: Screen::saved) with `compression` and tells the user the
// outcome: "Image saved as <file title>" in an ownerless box captioned "Xo
// Gradient", or the save error in a box captioned "Save file error". The
// window's title, cursor and input are restored before any box. Returns the
// writetiff result, or Fault::cancelled when the dialog was cancelled:
// nothing was written and nothing shown then.
shell::Status writescreen(shell::Window& w, const shell::Surface& picture, FileRecords& files,
                          std::string& descriptionstring, const std::string& username,
                          int compression, const Clock& clock = systemclock);

}  // namespace huewright
