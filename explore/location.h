// Where the Explore window looks, how it colours what it sees, and the small
// text file (.loc) that keeps both.
//
// A .loc file has one `key: value` a line:
//   centre-re: -0.743643887037151
//   centre-im: 0.131825904205330
//   width: 1e-10
//   iterations: 20000
//   colouring: smooth
//   density: 1
//   offset: 0
//   interior: black
// Numbers are written so that they read back as the same doubles. Reading
// takes lines ended by LF, CR LF or CR, a byte-order mark, blank lines and
// lines starting with '#'; it ignores keys it does not know, and needs the
// centre and the width. Everything else has its default when missing.
#pragma once

#include <string>
#include <string_view>

#include "shell/io/result.h"

namespace explore {

// The widths the window shows: the smallest that doubles compute (below it
// neighbouring pixels would share their points), and the whole set and then
// some.
constexpr double kDeepestWidth = 1e-13;
constexpr double kWidestWidth = 16;
// How far from 0 the centre may go in each direction.
constexpr double kFarthestCentre = 4;
constexpr double kMinDensity = 0.01, kMaxDensity = 100;

struct Location {
    double re = 0, im = 0;  // the centre
    double width = 4;       // of the picture, left edge to right edge
    int iterations = 512;   // the limit

    friend bool operator==(const Location& a, const Location& b) {
        return a.re == b.re && a.im == b.im && a.width == b.width && a.iterations == b.iterations;
    }
    friend bool operator!=(const Location& a, const Location& b) { return !(a == b); }
};

// The first picture for a window `width` pixels wide: the preview's lattice
// (rule.h) round its middle point, at the preview's step and limit.
Location homelocation(int width);

enum class Colouring {
    escapetime,  // an escaped point takes entry count mod 256
    smooth,      // the continuous count times the density, plus the offset
};
enum class Interior {
    angle,  // a point of the set takes the entry of its final angle
    black,
    entry,  // one palette entry of the user's choice
};

struct Colours {
    Colouring colouring = Colouring::escapetime;
    double density = 1;  // entries per iteration, kMinDensity ... kMaxDensity
    double offset = 0;   // entries, 0 ... 256
    Interior interior = Interior::angle;
    int interiorentry = 0;  // the entry for Interior::entry, 0 ... 255

    friend bool operator==(const Colours& a, const Colours& b) {
        return a.colouring == b.colouring && a.density == b.density && a.offset == b.offset &&
               a.interior == b.interior && a.interiorentry == b.interiorentry;
    }
};

// What a .loc file holds.
struct LocFile {
    Location location;
    Colours colours;
};

std::string formatloc(const LocFile& f);
// Fails with Fault::content, the reason naming the line or key at fault.
shell::Result<LocFile> parseloc(std::string_view text);

// The file on disk: written atomically; read only up to a size no location
// file comes near.
shell::Status saveloc(const std::string& path, const LocFile& f);
shell::Result<LocFile> loadloc(const std::string& path);

// A width, a centre and a limit brought into the ranges above.
Location clamped(Location l);

// Where the pixels of a picture w x h device pixels lie: the point of pixel
// (x, y). The centre is the point of pixel (w / 2, h / 2), and neighbouring
// pixels are width / w apart. A picture of the home location takes the
// preview's lattice itself, so that every point the two share is computed
// from the same doubles; one 2 or 3 times as many pixels across as the home
// location's lattice steps takes the lattice at that density (rule.h).
class Lattice {
  public:
    Lattice(const Location& l, int w, int h);
    double cx(int x) const;
    double cy(int y) const;
    double step() const { return step_; }
    bool preview() const { return preview_; }

  private:
    static constexpr int kMaxDensity = 3;  // the largest scale of a screen
    Location l_;
    int w_, h_;
    double step_;
    bool preview_;
    int density_ = 1;  // lattice points per preview step, when preview_
};

// The location that puts the point of pixel `at` of a w x h picture under the
// same pixel at `width`: a zoom about that pixel.
Location zoomabout(const Location& l, int w, int h, double atx, double aty, double width);

}  // namespace explore
