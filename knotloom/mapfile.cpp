#include "knotloom/mapfile.h"

#include <algorithm>
#include <charconv>

#include "shell/atomicfile.h"
#include "shell/filedialog.h"

namespace knotloom {

namespace {

void appendint(std::string& s, int v) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}

// One decimal, rounded as printf's "%.1f" rounds, but never with a locale's
// decimal comma: the file must read the same wherever it was written.
void appendfixed1(std::string& s, double v) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
    s.append(buf, r.ptr);
}

void appendtriplet(std::string& s, const uint8_t* v, int invert) {
    for (int c = 0; c < 3; ++c) {
        appendint(s, invert ? 255 - v[c] : v[c]);
        s += c < 2 ? ' ' : '\n';
    }
}

}  // namespace

void InitOpenFile(MapFiles& files) {
    files.smapn = shell::filerecord("Fractint .map files (*.map)", "*.map",
                                    "Select a file for saving parameters", "map", true);
}

std::string maptext(const shell::Palette& palette, const uint8_t (&spectrum)[768][3],
                    const int (&nd)[3], const double (&dp)[3][13][2], int invert) {
    static const char* const names[3] = {"Red", "Green", "Blue"};
    std::string s;
    s.reserve((256 + 768) * 12 + 3 * 13 * 40 + 64);
    for (const auto& e : palette) appendtriplet(s, e.data(), invert);
    s += '\n';
    for (const auto& column : spectrum) appendtriplet(s, column, invert);
    for (int k = 0; k < 3; ++k) {
        s += '\n';
        s += names[k];
        s += '\n';
        // The count comes from the model; bounding it keeps a bad count
        // from reading past the points.
        int count = std::clamp(nd[k], 0, 13);
        for (int j = 0; j < count; ++j) {
            s += "dp[";
            appendint(s, j);
            s += "][0]: ";
            appendfixed1(s, dp[k][j][0]);
            s += "  dp[";
            appendint(s, j);
            s += "][1]: ";
            appendfixed1(s, dp[k][j][1]);
            s += '\n';
        }
    }
    // The file ends without a line end after the inversion state.
    s += invert ? "\nInversion: True" : "\nInversion: False";
    return s;
}

int writemapfile(const std::string& path, const shell::Palette& palette,
                 const uint8_t (&spectrum)[768][3], const int (&nd)[3],
                 const double (&dp)[3][13][2], int invert) {
    std::string text = maptext(palette, spectrum, nd, dp, invert);
    return shell::writefileatomically(path, text) == 0 ? 0 : 1;
}

int SaveMapFile(shell::Window& w, MapFiles& files, const shell::Palette& palette,
                const uint8_t (&spectrum)[768][3], const int (&nd)[3], const double (&dp)[3][13][2],
                int invert) {
    if (!w.filedialog(files.smapn, true)) return map_cancelled;
    // Restore the picture under the closed dialog before the save.
    w.presentall();
    if (writemapfile(files.smapn.file, palette, spectrum, nd, dp, invert) != 0) {
        w.messagebox("Error opening save file", "Save file error", shell::Icon::exclamation, true);
        return map_error;
    }
    w.messagebox("Image saved as " + files.smapn.filetitle, "Xo B-Spline", shell::Icon::none,
                 false);
    return map_ok;
}

}  // namespace knotloom
