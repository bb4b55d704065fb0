// Palette MAP files of the gradient designer: the description of the three
// channel curves, saving the palette with that description, and opening a
// MAP file written by either palette designer.
//
// A MAP file is text: one palette entry per line as three decimal numbers,
// red, green and blue, for the 256 entries, followed by a trailer that only
// people read. Lines end in "\n"; the reader also takes "\r\n".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "huewright/model/parameters.h"
#include "shell/palette.h"
#include "shell/window.h"

namespace huewright {

// The file dialogs of the gradient designer and the curve description.
// Each record's `file` and `filetitle` are the dialog's path and title
// buffers: smapn holds smapfile and smapfiletitle, omapn holds omapfile and
// omapfiletitle, stiffn holds tifffile and tifffiletitle.
struct MapFiles {
    shell::FileDialogRecord smapn;   // save palette
    shell::FileDialogRecord omapn;   // open palette
    shell::FileDialogRecord stiffn;  // save the screen as TIFF
    // The text composed by writedescription: the MAP trailer, and the TIFF
    // image description.
    std::string descriptionstring;
};

// Prepares the three records: each dialog starts in the folder the program
// was started from, lists its own files, and has its title and default
// extension; saves ask before overwriting, the open dialog wants an existing
// file.
void InitOpenFile(MapFiles& files);

// Recomposes the description of the three channel curves from their records
// and Bezier stretch flags, replacing the previous text.
void writedescription(std::string& descriptionstring, const PARAMETERS (&p)[3],
                      const int (&stretchflag)[3]);

// What the commands report. A cancelled dialog writes and shows nothing.
enum MapResult { map_ok = 0, map_error = 1, map_cancelled = 2 };

// The save palette command: runs the save dialog on smapn, writes the palette
// and the description, and shows "Image saved as <name>" or the error box.
int SaveMapFile(shell::Window& w, MapFiles& files, const shell::Palette& palette);

// The open MAP command: runs the open dialog on omapn and reads the file. On
// success the palette is replaced, the three records become one-segment
// lines and every okdisplay flag is 0; the description is not recomposed. On
// failure the error box is shown and nothing changes.
int OpenMapFile(shell::Window& w, MapFiles& files, shell::Palette& palette, PARAMETERS (&p)[3],
                int (&okdisplay)[3]);

// ---- The steps below the commands, for tests and other callers.

// The file's bytes: 256 triplet lines, an empty line, the description.
std::string maptext(const shell::Palette& palette, const std::string& descriptionstring);
// Saves maptext atomically. 0 on success, 1 on any failure (the target is
// then as it was).
int writemapfile(const std::string& path, const shell::Palette& palette,
                 const std::string& descriptionstring);

// Reads a MAP file into `palette`. 0 on success; 1 when the file cannot be
// read or is not a MAP file, and `palette` is then untouched.
int readmapfile(const std::string& path, shell::Palette& palette);

// The same for bytes already in memory; true on success.
bool parsemap(const char* data, size_t size, shell::Palette& palette);

// The records after a MAP file is loaded: one-segment lines, red flat at 128,
// green falling from 255 to 0, blue rising from 0 to 255. Other fields stay.
void resetmapparameters(PARAMETERS (&p)[3]);

// Reads MAP text fed in pieces of any size, so that a file is read in bounded
// memory however long its lines are. Each of the first 256 lines must start
// with three integers (white space first and between them is skipped, a
// sign may stand before each digit run, anything after the third is
// ignored); lines after the 256th are not looked at. Missing lines leave
// their entries black, so an empty input is an all-black palette. The data
// also ends early at blank lines that run to the end of the input, and at a
// DOS end-of-file byte (0x1A) that starts a line.
class MapParser {
  public:
    // Takes the next bytes. Returns false once the outcome is known (256
    // lines read, or a bad line), after which the caller may stop feeding.
    bool feed(const char* data, size_t size);
    // Ends the input. True when it was a valid MAP palette; `out` then holds
    // it, and is untouched otherwise.
    bool finish(shell::Palette& out);

  private:
    void endnumber();  // stores the number just read and moves to the next field
    void endline();

    enum Stage : uint8_t {
        blank,   // skipping white space before a number
        sign,    // a sign was read, a digit must follow
        digits,  // inside a number
        rest,    // three numbers read: the rest of the line is ignored
    };
    shell::Palette scratch_{};  // the entries read so far; all black at first
    int entry_ = 0;             // lines accepted so far
    int field_ = 0;             // number being read on this line: 0 red, 1 green, 2 blue
    Stage stage_ = blank;
    bool negative_ = false;
    uint8_t value_ = 0;         // the number so far, modulo 256
    bool linestarted_ = false;  // a byte of the current line has been seen
    bool blankseen_ = false;    // a blank line was read: only blank lines may follow
    bool ended_ = false;        // an end-of-file byte started a line
    bool bad_ = false;
    static constexpr char kEndOfFile = 0x1a;
};

}  // namespace huewright
