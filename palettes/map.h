// MAP palettes: 256 lines of three decimal numbers (red, green, blue), then a
// trailer that only people read. Lines end in "\n"; the reader also takes
// the line ends of other systems. Each designer writes what it needs to say
// about the palette as the trailer, which this format keeps byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/raster/palette.h"

namespace palettes {

// The file: 256 triplet lines, an empty line, the trailer.
std::string maptext(const shell::Palette& palette, std::string_view trailer);

// Reads MAP text fed in pieces of any size, so that a file is read in bounded
// memory however long its lines are (readpalettefile reads MAP files so).
// Each of the first 256 lines must start with three integers (white space
// first and between them is skipped, a sign may stand before each digit
// run, anything after the third is ignored); lines after the 256th are not
// looked at: they are the trailer, which decodepalette gives as the
// description, without the empty line that ends the entries. Lines end in
// LF, CR LF, CR alone or CR CR LF, as LineReader takes them. Missing lines
// leave their entries black, so an empty input is an all-black palette. The
// data also ends early at blank lines that run to the end of the input, and
// at a DOS end-of-file byte (0x1A) that starts a line.
class MapParser {
  public:
    // Takes the next bytes. Returns false once the outcome is known (256
    // lines read, or a bad line), after which the caller may stop feeding.
    bool feed(const char* data, size_t size);
    // Ends the input. True when it was a valid MAP palette; `out` then holds
    // it, and is untouched otherwise.
    bool finish(shell::Palette& out);
    // After a failed finish: which line failed and why, such as "line 17:
    // expected three numbers".
    std::string error() const;
    // After a successful finish: how many entries the lines gave.
    int entries() const { return entry_; }

  private:
    void endnumber();  // stores the number just read and moves to the next field
    void endline();
    void endpendinglines();  // the lines ended by CRs that no LF followed

    enum Stage : uint8_t {
        blank,   // skipping white space before a number
        sign,    // a sign was read, a digit must follow
        digits,  // inside a number
        rest,    // three numbers read: the rest of the line is ignored
    };
    shell::Palette scratch_{};  // the entries read so far; all black at first
    int entry_ = 0;             // lines accepted so far
    int line_ = 1;              // the number of the line being read
    int field_ = 0;             // number being read on this line: 0 red, 1 green, 2 blue
    Stage stage_ = blank;
    bool negative_ = false;
    uint8_t value_ = 0;         // the number so far, modulo 256
    uint8_t crs_ = 0;           // CRs just read, whose line end waits for what follows
    bool linestarted_ = false;  // a byte of the current line has been seen
    bool blankseen_ = false;    // a blank line was read: only blank lines may follow
    bool ended_ = false;        // an end-of-file byte started a line
    bool bad_ = false;
    static constexpr char kEndOfFile = 0x1a;
};

}  // namespace palettes
