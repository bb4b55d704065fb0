// GIMP palettes (.gpl): a header, then one colour per line.
//
//   GIMP Palette
//   Name: Sunset
//   Columns: 16
//   # how it was made
//     0   0   0	Index 0
#include "palettes/codec.h"

namespace palettes {

namespace {

const char* const kWhat = "Not a GIMP palette";
constexpr std::string_view kHeader = "GIMP Palette";
constexpr std::string_view kNameKey = "Name:";
constexpr std::string_view kColumnsKey = "Columns:";
// How many swatches a row of GIMP's palette view shows: 16 makes the 256
// entries a square.
constexpr int kColumns = 16;

void appendpadded(std::string& s, int v) {
    if (v < 100) s += ' ';
    if (v < 10) s += ' ';
    appendint(s, v);
}

// Three numbers separated by spaces or tabs; the colour's name, if any,
// follows and is not kept.
bool parsecolour(std::string_view t, std::array<uint8_t, 3>& colour) {
    size_t at = 0;
    for (int c = 0; c < 3; ++c) {
        at = t.find_first_not_of(" \t", at);
        size_t end = at == std::string_view::npos ? at : t.find_first_of(" \t", at);
        long long v = -1;
        if (at == std::string_view::npos || !parseint(t.substr(at, end - at), v) || v < 0 ||
            v > 255)
            return false;
        colour[c] = static_cast<uint8_t>(v);
        at = end;
    }
    return true;
}

}  // namespace

shell::Result<PaletteInfo> readgpl(std::string_view bytes, shell::Palette& palette) {
    LineReader lines(withoutbom(bytes));
    std::string_view line;
    if (!lines.next(line) || trim(line) != kHeader)
        return failure(kWhat, "line 1 is not \"GIMP Palette\"");
    PaletteInfo r;
    shell::Palette scratch{};
    int count = 0;
    while (lines.next(line)) {
        std::string_view t = trim(line);
        if (t.empty()) continue;
        // Colours after the 256th have no entry to go to: they are only
        // counted, so that the caller can say what was left out.
        if (count == 256) {
            std::array<uint8_t, 3> unused;
            if (t[0] != '#' && parsecolour(t, unused)) ++r.dropped;
            continue;
        }
        if (t[0] == '#') {
            // The comments are the palette's description, without the space
            // that usually follows the mark.
            t.remove_prefix(1);
            if (!t.empty() && t[0] == ' ') t.remove_prefix(1);
            r.description.append(t);
            r.description += '\n';
            continue;
        }
        if (startswith(t, kNameKey)) {
            r.name = std::string(trim(t.substr(kNameKey.size())));
            continue;
        }
        // The column count only shapes GIMP's view.
        if (startswith(t, kColumnsKey)) continue;
        if (!parsecolour(t, scratch[count]))
            return failure(kWhat, "line " + std::to_string(lines.number()) +
                                      " is not a colour: three numbers 0 to 255 expected");
        ++count;
    }
    if (count == 0) return failure(kWhat, "it holds no colours");
    palette = scratch;
    r.colours = count;
    return r;
}

std::string writegpl(const shell::Palette& palette, std::string_view name,
                     std::string_view description) {
    std::string s;
    s.reserve(256 * 24 + description.size() + 64);
    s += kHeader;
    s += '\n';
    s += kNameKey;
    s += ' ';
    s += oneline(validutf8(name), "Palette");
    s += '\n';
    // Columns may only follow the name directly.
    s += kColumnsKey;
    s += ' ';
    appendint(s, kColumns);
    s += '\n';
    for (std::string_view line : textlines(description)) {
        s += '#';
        if (!line.empty()) s += ' ';
        s += plaintext(line);
        s += '\n';
    }
    // Every colour gets a name: some readers skip colours without one.
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) {
            if (c > 0) s += ' ';
            appendpadded(s, palette[i][c]);
        }
        s += "\tIndex ";
        appendint(s, i);
        s += '\n';
    }
    return s;
}

}  // namespace palettes
