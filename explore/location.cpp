#include "explore/location.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "explore/extended.h"
#include "explore/rule.h"
#include "shell/io/atomicfile.h"
#include "shell/io/files.h"

namespace explore {

namespace {

// No location file comes near this; anything larger is something else.
constexpr size_t kLargestFile = 64 * 1024;

std::string number(double v) {
    // The shortest text that reads back as the same double, never with a
    // locale's decimal comma.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool readdouble(std::string_view s, double& v) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(v);
}

bool readint(std::string_view s, int& v) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

shell::Error fault(const std::string& reason) {
    return shell::Error{shell::Fault::content, "", reason};
}

// The next line of `text` from `pos`, without its end (LF, CR LF or CR).
std::string_view nextline(std::string_view text, size_t& pos) {
    const size_t start = pos;
    while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') ++pos;
    const std::string_view line = text.substr(start, pos - start);
    if (pos < text.size() && text[pos] == '\r') {
        ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    } else if (pos < text.size()) {
        ++pos;  // the LF
    }
    return line;
}

}  // namespace

Location homelocation(int width) {
    Location l;
    l.re = latticecx(kLatticeCentre);
    l.im = latticecy(kLatticeCentre);
    l.width = st(ext(width) * latticestep());
    l.iterations = 512;
    return l;
}

Location clamped(Location l) {
    if (!(l.width >= kDeepestWidth)) l.width = kDeepestWidth;
    l.width = std::min(l.width, kWidestWidth);
    l.re = std::clamp(std::isfinite(l.re) ? l.re : 0.0, -kFarthestCentre, kFarthestCentre);
    l.im = std::clamp(std::isfinite(l.im) ? l.im : 0.0, -kFarthestCentre, kFarthestCentre);
    l.iterations = std::clamp(l.iterations, kMinIterations, kMaxIterations);
    return l;
}

// ---------------------------------------------------------------- the file

std::string formatloc(const LocFile& f) {
    const Location& l = f.location;
    const Colours& c = f.colours;
    std::string s;
    s += "centre-re: " + number(l.re) + "\n";
    s += "centre-im: " + number(l.im) + "\n";
    s += "width: " + number(l.width) + "\n";
    s += "iterations: " + std::to_string(l.iterations) + "\n";
    s += std::string("colouring: ") +
         (c.colouring == Colouring::smooth ? "smooth" : "escape-time") + "\n";
    s += "density: " + number(c.density) + "\n";
    s += "offset: " + number(c.offset) + "\n";
    s += "interior: ";
    switch (c.interior) {
        case Interior::angle:
            s += "angle";
            break;
        case Interior::black:
            s += "black";
            break;
        case Interior::entry:
            s += "entry " + std::to_string(c.interiorentry);
            break;
    }
    s += "\n";
    return s;
}

shell::Result<LocFile> parseloc(std::string_view text) {
    if (text.size() > kLargestFile) return fault("too large for a location file");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    LocFile f;
    Location& l = f.location;
    Colours& c = f.colours;
    l.iterations = 512;
    bool havere = false, haveim = false, havewidth = false;
    size_t pos = 0;
    for (int lineno = 1; pos < text.size(); ++lineno) {
        const std::string_view line = trim(nextline(text, pos));
        if (line.empty() || line.front() == '#') continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return fault("line " + std::to_string(lineno) + " is not \"key: value\"");
        const std::string key(trim(line.substr(0, colon)));
        const std::string_view value = trim(line.substr(colon + 1));
        auto bad = [&] { return fault("the " + key + " \"" + std::string(value) + "\" is wrong"); };
        if (key == "centre-re") {
            if (!readdouble(value, l.re)) return bad();
            havere = true;
        } else if (key == "centre-im") {
            if (!readdouble(value, l.im)) return bad();
            haveim = true;
        } else if (key == "width") {
            if (!readdouble(value, l.width) || !(l.width > 0)) return bad();
            havewidth = true;
        } else if (key == "iterations") {
            if (!readint(value, l.iterations) || l.iterations < kMinIterations ||
                l.iterations > kMaxIterations)
                return bad();
        } else if (key == "colouring") {
            if (value == "smooth")
                c.colouring = Colouring::smooth;
            else if (value == "escape-time")
                c.colouring = Colouring::escapetime;
            else
                return bad();
        } else if (key == "density") {
            if (!readdouble(value, c.density) || c.density < kMinDensity || c.density > kMaxDensity)
                return bad();
        } else if (key == "offset") {
            if (!readdouble(value, c.offset)) return bad();
            c.offset = std::fmod(c.offset, 256.0);
            if (c.offset < 0) c.offset += 256;
        } else if (key == "interior") {
            if (value == "angle") {
                c.interior = Interior::angle;
            } else if (value == "black") {
                c.interior = Interior::black;
            } else if (value.substr(0, 6) == "entry " &&
                       readint(trim(value.substr(6)), c.interiorentry) && c.interiorentry >= 0 &&
                       c.interiorentry <= 255) {
                c.interior = Interior::entry;
            } else {
                return bad();
            }
        }
        // Other keys belong to other versions or programs: they are ignored.
    }
    if (!havere || !haveim || !havewidth) return fault("the centre or the width is missing");
    if (l.width < kDeepestWidth) return fault("deepest zoom for this precision");
    if (l.width > kWidestWidth || std::abs(l.re) > kFarthestCentre ||
        std::abs(l.im) > kFarthestCentre)
        return fault("the location is too far out");
    return f;
}

shell::Status saveloc(const std::string& path, const LocFile& f) {
    return shell::writefileatomically(path, formatloc(f));
}

shell::Result<LocFile> loadloc(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(shell::openfile(path, "rb"), std::fclose);
    if (!file) return shell::Error{shell::Fault::open, path, "cannot be opened"};
    std::string text(kLargestFile + 1, '\0');
    const size_t n = std::fread(text.data(), 1, text.size(), file.get());
    if (std::ferror(file.get())) return shell::Error{shell::Fault::read, path, "cannot be read"};
    text.resize(n);
    shell::Result<LocFile> r = parseloc(text);
    if (!r.ok()) return shell::Error{r.error().fault, path, r.error().reason};
    return r;
}

// ---------------------------------------------------------------- the lattice

Lattice::Lattice(const Location& l, int w, int h) : l_(l), w_(w), h_(h) {
    // The home location of a picture n times as wide as the location's
    // width in lattice steps (a window on a screen of scale n) takes the
    // lattice at n times its density, the points a preview drawn at that
    // scale has.
    preview_ = false;
    if (l.re == latticecx(kLatticeCentre) && l.im == latticecy(kLatticeCentre))
        for (int n = 1; n <= kMaxDensity && !preview_; ++n)
            if (w % n == 0 && l.width == st(ext(w / n) * latticestep())) {
                preview_ = true;
                density_ = n;
            }
    step_ = preview_ ? st(ext(latticestep()) / density_) : st(ext(l.width) / w);
}

double Lattice::cx(int x) const {
    if (preview_) return latticecx(x - w_ / 2 + kLatticeCentre * density_, density_);
    return st(ext(l_.re) + ext(x - w_ / 2) * step_);
}

double Lattice::cy(int y) const {
    if (preview_) return latticecy(y - h_ / 2 + kLatticeCentre * density_, density_);
    return st(ext(l_.im) + ext(h_ / 2 - y) * step_);
}

Location zoomabout(const Location& l, int w, int h, double atx, double aty, double width) {
    const Lattice from(l, w, h);
    const double step = width / w;
    Location to = l;
    to.re = st(ext(l.re) + ext(atx - w / 2) * from.step() - ext(atx - w / 2) * step);
    to.im = st(ext(l.im) + ext(h / 2 - aty) * from.step() - ext(h / 2 - aty) * step);
    to.width = width;
    return to;
}

}  // namespace explore
