// The gradient designer's file dialogs and its palette commands: saving the
// palette with the curve description, and opening a palette file.
#pragma once

#include <string>

#include "huewright/model/parameters.h"
#include "shell/io/result.h"
#include "shell/raster/palette.h"
#include "shell/window/window.h"

namespace huewright {

// The file dialogs. Each record's `file` and `filetitle` are the dialog's
// path and title buffers: smapn holds smapfile and smapfiletitle, omapn holds
// omapfile and omapfiletitle, stiffn holds tifffile and tifffiletitle.
struct FileRecords {
    shell::FileDialogRecord smapn;   // save palette
    shell::FileDialogRecord omapn;   // open palette
    shell::FileDialogRecord stiffn;  // save the screen as TIFF
};

// Prepares the three records: each dialog starts in the folder the program
// was started from, lists its own files, and has its title and default
// extension; saves ask before overwriting, the open dialog wants an existing
// file.
void InitOpenFile(FileRecords& files);

// The commands fail with Fault::cancelled when the dialog was cancelled;
// nothing is then written or shown.

// The save palette command: runs the save dialog on smapn, writes the palette
// and the description in the format the chosen name's extension names (MAP,
// the default, or any other writable palette format), and shows "Image saved
// as <name>" or an error box: "Not enough memory to save the palette" when
// the palette could not be encoded, "Error opening save file" when the file
// could not be written.
shell::Status savepalette(shell::Window& w, FileRecords& files, const shell::Palette& palette,
                          const std::string& descriptionstring);

// The open command: runs the open dialog on omapn and reads the file with
// openpalettefile.
shell::Status openpalette(shell::Window& w, FileRecords& files, shell::Palette& palette,
                          Parameters (&p)[3], int (&okdisplay)[3]);

// Reads a palette file of any readable format, the one its extension names
// or, when the name says none, the one its content shows. On success the
// palette is replaced, the three records become one-segment lines and every
// okdisplay flag is 0; the description is not recomposed. On failure the
// "Error opening MAP file" box says on a second line which file failed and
// why (it cannot be read, it is a folder, the format and its fault, or the
// MAP line that failed), and nothing changes.
shell::Status openpalettefile(shell::Window& w, const std::string& path, shell::Palette& palette,
                              Parameters (&p)[3], int (&okdisplay)[3]);

}  // namespace huewright
