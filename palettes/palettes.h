// Palette and gradient files: reading and writing the formats people exchange
// palettes in, for both palette designers and the palette-convert program.
//
// Everything here works on bytes in memory. Encoders return the file's bytes
// and never touch the disk; the caller saves them (atomically, with
// shell::writefileatomically). Decoders take the bytes and the file name
// (its extension names the format; the content decides only when it does
// not) and change the caller's palette only when the whole file was read.
// The MAP format's own entry points, which the designers also use directly,
// are in palettes/map.h.
//
// Every palette is 256 entries. Gradient formats become a palette by sampling
// entry i at t = i / 255, rounded to the nearest byte; palette formats with
// fewer than 256 colours leave the remaining entries black, as a short MAP
// file does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/raster/palette.h"

namespace palettes {

enum class Format { map, ggr, gpl, ugr, act, kfp, svg, css, png, json };

struct FormatInfo {
    Format format;
    const char* key;   // a short name for command lines ("ggr"), also the main extension
    const char* name;  // a name for file choosers ("GIMP gradient")
    std::vector<const char*> extensions;  // without the dot, lower case, the main one first
    bool canread;
    bool canwrite;
};

// Every format, MAP first (the designers' default).
const std::vector<FormatInfo>& formats();
const FormatInfo& info(Format format);

// The format with this key or extension (any case, a leading dot allowed), or
// nullptr.
const FormatInfo* findformat(std::string_view word);
// The format a file name's extension stands for, or nullptr.
const FormatInfo* formatofpath(std::string_view path);

// One type of file a chooser lists: "GIMP gradient (*.ggr)" with the pattern
// "*.ggr", or "Ultra Fractal gradient (*.ugr; *.gradient)" with
// "*.ugr;*.gradient".
struct ChooserType {
    std::string name;
    std::string patterns;  // separated by ';'
};
ChooserType choosertype(const FormatInfo& format);
// The types a palette chooser offers, MAP first: for saving, every writable
// format; for opening, MAP, then all readable palette files together, then
// each readable format.
std::vector<ChooserType> choosertypes(bool writing);

// The name a palette gets from its file: the file name without its folder
// and its last extension ("/tmp/Sun set.ggr" gives "Sun set"). Writers make
// it safe for their format themselves.
std::string namefrompath(std::string_view path);

// ---- Reading

struct ReadResult {
    bool ok = false;
    Format format = Format::map;  // the format the bytes were taken to be
    // One line on failure, naming the format and what is wrong, such as
    // "Not a GIMP gradient: segment 4 has 9 numbers, 13 or 15 expected" or
    // "Not a MAP palette: line 17: expected three numbers".
    std::string error;
    std::string name;         // the palette's own name, where the file has one
    std::string description;  // how the palette was made, where the file says
    // The colours the file holds beyond the 256 a palette keeps (a GIMP
    // palette may hold more); they were not read.
    int dropped = 0;
};

// The format of a file. A name whose extension a format claims is read by
// that format's rules alone, so that a damaged file fails with its own
// format's reason instead of passing for another format by chance (a bad
// MAP file of 768 bytes is not a colour table). A name that says nothing (no
// extension, or one no format claims) is recognised by its content: a
// signature, a first line, a block structure, the size. Nothing when neither
// tells.
std::optional<Format> detectformat(std::string_view bytes, std::string_view filename);

// Reads bytes of any readable format, recognised as detectformat does. On
// success `palette` holds the file's palette; on failure it is untouched.
ReadResult decodepalette(std::string_view bytes, std::string_view filename,
                         shell::Palette& palette);
// The same for a format chosen by the caller.
ReadResult decodepalette(Format format, std::string_view bytes, shell::Palette& palette);

// ---- Writing

// The bytes of a file in a writable format. `name` is the palette's name
// (usually namefrompath of the target), `description` says how the palette
// was made (may be empty or several lines; formats without a place for it
// leave it out). For MAP the description is the trailer, byte for byte.
// Empty only when the PNG encoder ran out of memory.
std::string encodepalette(Format format, const shell::Palette& palette, std::string_view name,
                          std::string_view description);

// ---- Files

// The largest file loadfile reads: far above any palette file, and small
// enough that an accidental huge file is refused rather than read.
constexpr size_t kMaxFileBytes = 64u << 20;

// Reads a whole file. False with a one-line reason in `error` when it cannot
// be read, is a folder or is larger than kMaxFileBytes, such as "cannot be
// read: Permission denied" (said of the file, not naming it); `bytes` is then
// untouched.
bool loadfile(const std::string& path, std::string& bytes, std::string& error);

// Reads a palette file of any readable format: loadfile, then decodepalette
// with the path as the file name. On failure `palette` is untouched and
// `error` is loadfile's reason or the reader's.
ReadResult readpalettefile(const std::string& path, shell::Palette& palette);

}  // namespace palettes
