#include "huewright/ui/mapfile.h"

#include <cstdarg>
#include <cstdio>

#include "shell/atomicfile.h"
#include "shell/filedialog.h"

namespace huewright {

namespace {

// Appends printf-style text. Every piece written here is short: one line of
// at most a few integers.
void appendf(std::string& s, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& s, const char* format, ...) {
    char buf[128];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (n > 0) s.append(buf, static_cast<size_t>(n) < sizeof buf ? n : sizeof buf - 1);
}

bool isspacechar(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool isdecimal(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

void InitOpenFile(MapFiles& files) {
    const char* map = "Fractint .map files (*.map)";
    files.smapn =
        shell::filerecord(map, "*.map", "Select a file for saving parameters", "map", true);
    files.omapn = shell::filerecord(map, "*.map", "Select a Fractint .MAP File", "map", false);
    files.stiffn = shell::filerecord("TIFF files (*.tif)", "*.tif",
                                     "Select a file for saving your image:", "tif", true);
}

void writedescription(std::string& descriptionstring, const PARAMETERS (&p)[3],
                      const int (&stretchflag)[3]) {
    static const char* const heading[3] = {"\nRed: ", "\nGreen: ", "\nBlue: "};
    std::string& s = descriptionstring;
    s = "Xo Gradient curve parameters\n";
    for (int i = 0; i < 3; ++i) {
        const PARAMETERS& q = p[i];
        s += heading[i];
        switch (q.ct) {
            case 0:
                s += "Sine\n";
                appendf(s, "phase: %d\nindex shift: %d\n", q.sp, q.xsh);
                appendf(s, "amplitude: %d\nvertical shift: %d\n", q.amp, q.ysh);
                break;
            case 1:
                s += "Arc\n";
                appendf(s, "anchor: %d\nvertex: %d\n", q.aan, q.avt);
                break;
            case 2:
                s += "Bezier\n";
                appendf(s, "(0, y): %d\n", q.b0);
                appendf(s, "(255, y): %d\n", q.b255);
                appendf(s, "control 1: (%d, %d)\n", q.bc1x, q.bc1y);
                if (q.bd == 1) appendf(s, "control 2: (%d, %d)\n", q.bc2x, q.bc2y);
                if (stretchflag[i] != 0) s += "stretched\n";
                break;
            default:
                // Synthesis draws every other curve type as a line, so the
                // description names it so too.
                s += "Line\n";
                appendf(s, "Number of line segments: %d\n", q.Ln);
                appendf(s, "(0, y): %d\n", q.L0);
                appendf(s, "(255, y): %d\n", q.L255);
                if (q.Ln == 2) appendf(s, "Middle (x, y): (%d, %d)\n", q.Lmx, q.Lmy);
                break;
        }
    }
}

std::string maptext(const shell::Palette& palette, const std::string& descriptionstring) {
    std::string s;
    s.reserve(256 * 12 + 1 + descriptionstring.size());
    for (const auto& e : palette) appendf(s, "%d %d %d\n", e[0], e[1], e[2]);
    s += '\n';
    s += descriptionstring;
    return s;
}

int writemapfile(const std::string& path, const shell::Palette& palette,
                 const std::string& descriptionstring) {
    return shell::writefileatomically(path, maptext(palette, descriptionstring)) == 0 ? 0 : 1;
}

void resetmapparameters(PARAMETERS (&p)[3]) {
    static const int32_t start[3] = {128, 255, 0};
    static const int32_t end[3] = {128, 0, 255};
    for (int c = 0; c < 3; ++c) {
        p[c].ct = 3;
        p[c].Ln = 1;
        p[c].L0 = start[c];
        p[c].L255 = end[c];
    }
}

// ---------------------------------------------------------------- reading

// Every number stands for the low eight bits of its exact value in two's
// complement, however many digits it has: 300 is 44, -5 is 251, and a number
// beyond the range of int is reduced the same way (it is accumulated modulo
// 256 digit by digit, so nothing can overflow). For numbers that fit an int
// this is the same as storing the int's low byte.
//
// The data may end before 256 entries in two ways that old palette
// collections use: blank lines that run to the end of the file, and a DOS
// end-of-file byte (0x1A) at the start of a line, where reading in text mode
// stopped. A blank line followed by another entry is still a bad line.
bool MapParser::feed(const char* data, size_t size) {
    for (size_t k = 0; k < size && !bad_ && !ended_ && entry_ < 256; ++k) {
        char c = data[k];
        if (c == '\n') {
            endline();
            continue;
        }
        if (!linestarted_ && c == kEndOfFile) {
            ended_ = true;
            break;
        }
        linestarted_ = true;
        // After a blank line only white space may follow, up to the end.
        if (blankseen_ && !isspacechar(c)) {
            bad_ = true;
            break;
        }
        switch (stage_) {
            case rest:
                break;
            case sign:
                if (isdecimal(c)) {
                    value_ = static_cast<uint8_t>(c - '0');
                    stage_ = digits;
                } else {
                    bad_ = true;
                }
                break;
            case digits:
                if (isdecimal(c)) {
                    value_ = static_cast<uint8_t>(value_ * 10 + (c - '0'));
                    break;
                }
                // The number ends here. The next one may follow at once
                // ("1-2-3" is three numbers), so this character is looked at
                // again as the start of the next field.
                endnumber();
                if (stage_ == rest) break;
                [[fallthrough]];
            case blank:
                if (isspacechar(c)) break;
                if (c == '+' || c == '-') {
                    negative_ = c == '-';
                    stage_ = sign;
                } else if (isdecimal(c)) {
                    value_ = static_cast<uint8_t>(c - '0');
                    stage_ = digits;
                } else {
                    bad_ = true;
                }
                break;
        }
    }
    return !bad_ && !ended_ && entry_ < 256;
}

void MapParser::endnumber() {
    scratch_[entry_][field_] = negative_ ? static_cast<uint8_t>(-value_) : value_;
    ++field_;
    negative_ = false;
    stage_ = field_ == 3 ? rest : blank;
}

void MapParser::endline() {
    if (stage_ == digits) endnumber();
    if (stage_ == rest)
        ++entry_;
    else if (stage_ == blank && field_ == 0)
        blankseen_ = true;  // nothing but white space: the data may end here
    else
        bad_ = true;
    field_ = 0;
    stage_ = blank;
    negative_ = false;
    value_ = 0;
    linestarted_ = false;
}

bool MapParser::finish(shell::Palette& out) {
    // A last line without a line end is still a line.
    if (!bad_ && !ended_ && entry_ < 256 && linestarted_) endline();
    if (bad_) return false;
    // A line that failed may have written some fields of its entry, but then
    // the parse failed as a whole; after a success every entry from entry_ on
    // is still black.
    out = scratch_;
    return true;
}

bool parsemap(const char* data, size_t size, shell::Palette& palette) {
    MapParser parser;
    parser.feed(data, size);
    return parser.finish(palette);
}

int readmapfile(const std::string& path, shell::Palette& palette) {
    // The name is used as the user chose it: Linux names are case-sensitive
    // and already in the file system's encoding.
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr) return 1;
    MapParser parser;
    bool ok = true;
    char buf[65536];
    for (;;) {
        size_t n = fread(buf, 1, sizeof buf, f);
        if (n > 0 && !parser.feed(buf, n)) break;
        if (n < sizeof buf) {
            // A folder opens but cannot be read: that is an error, not an
            // empty file.
            if (ferror(f)) ok = false;
            break;
        }
    }
    fclose(f);
    if (!ok) return 1;
    return parser.finish(palette) ? 0 : 1;
}

// ---------------------------------------------------------------- commands

int SaveMapFile(shell::Window& w, MapFiles& files, const shell::Palette& palette) {
    if (!w.filedialog(files.smapn, true)) return map_cancelled;
    // Restore the picture under the closed dialog before the save.
    w.presentall();
    if (writemapfile(files.smapn.file, palette, files.descriptionstring) != 0) {
        w.messagebox("Error opening save file", "Save file error", shell::Icon::exclamation, true);
        return map_error;
    }
    w.messagebox("Image saved as " + files.smapn.filetitle, "Palette Curves", shell::Icon::none,
                 false);
    return map_ok;
}

int OpenMapFile(shell::Window& w, MapFiles& files, shell::Palette& palette, PARAMETERS (&p)[3],
                int (&okdisplay)[3]) {
    if (!w.filedialog(files.omapn, false)) return map_cancelled;
    w.presentall();
    // Reading into a scratch palette keeps the model whole when the file
    // turns out to be bad part-way.
    shell::Palette loaded;
    if (readmapfile(files.omapn.file, loaded) != 0) {
        w.messagebox("Error opening MAP file", "MAP file error", shell::Icon::exclamation, true);
        return map_error;
    }
    palette = loaded;
    resetmapparameters(p);
    for (int& f : okdisplay) f = 0;
    return map_ok;
}

}  // namespace huewright
