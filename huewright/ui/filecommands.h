// The gradient designer's file dialogs and its palette commands: saving the
// palette with the curve description, and opening a palette file.
#pragma once

#include <string>

#include "huewright/model/model.h"
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

// What opening a file changes: the model's palette, records, readouts and
// stretch flags, the description, and what the description says of
// channels loaded from a file (describeloaded).
struct OpenTarget {
    Model& model;
    std::string& descriptionstring;
    std::string& loadedfrom;
};

// The open command: runs the open dialog on omapn and opens the chosen file
// with openpalettefile. Once a file is open, the save dialog starts from it
// (followopened).
shell::Status openpalette(shell::Window& w, FileRecords& files, const OpenTarget& t);

// A file named on the command line: the open dialog and, once the file is
// open, the save dialog start from it as if it had been opened with the
// open command. A relative name is taken in the start folder.
shell::Status openstartfile(shell::Window& w, FileRecords& files, const std::string& path,
                            const OpenTarget& t);

// Opens a palette file of any readable format (the one its extension names
// or, when the name says none, the one its content shows), or a screen image
// saved by this program.
//
// A palette whose description gives the three channels as this program
// describes them gets its curves back when the records made again give
// exactly the file's entries: each such channel follows its record again
// with its readout on, and a channel described as loaded stays loaded. Any
// other palette is loaded as it is, every channel a one-segment line record
// with its readout off, and the description says where the colours came
// from and, when the file describes curves that were damaged or did not
// match, why they were not taken.
//
// A screen image gives its curves from its description, checked against its
// palette strip the same way; where they are damaged or do not match, the
// strip's colours are loaded. A picture that is not one of this program's,
// or that carries no curves, fails.
//
// On failure the "Error opening MAP file" box says on a second line which
// file failed and why, and nothing changes.
shell::Status openpalettefile(shell::Window& w, const std::string& path, const OpenTarget& t);

// After a file was opened: the save dialog starts from it. A screen image
// starts the picture's save dialog from it, and the palette's from a MAP
// file of its name.
void followopened(FileRecords& files, const std::string& path);

}  // namespace huewright
