// GIMP gradients (.ggr): a list of segments, each blending a left colour into
// a right one over its stretch of [0, 1].
//
//   GIMP Gradient
//   Name: Sunset
//   255
//   left middle right  lr lg lb la  rr rg rb ra  blend colouring [lefttype righttype]
//
// A 256-entry palette is written as 255 linear segments, segment i running
// from entry i at i/255 to entry i + 1 at (i + 1)/255, so that sampling at
// t = i/255 gives every entry back.
#include <algorithm>
#include <cmath>

#include "palettes/codec.h"

namespace palettes {

namespace {

const char* const kWhat = "Not a GIMP gradient";
constexpr std::string_view kHeader = "GIMP Gradient";
constexpr std::string_view kNameKey = "Name:";
// Far more segments than any gradient has; a larger count is refused rather
// than believed.
constexpr long long kMaxSegments = 65536;
// Six decimals, as GIMP writes them.
constexpr int kDecimals = 6;
// How far a segment may start from where the previous one ended (and the
// first from 0, the last end from 1): files round positions to six decimals.
constexpr double kJoinTolerance = 1e-5;
// Below this a segment or a half of one counts as empty, as in GIMP.
constexpr double kEpsilon = 1e-10;

enum Blend { linear, curved, sine, sphereincreasing, spheredecreasing, step, blendcount };
enum Colouring { rgb, hsvccw, hsvcw, colouringcount };
// End-point colour types: the fixed colour of the segment, or the user's
// foreground or background colour (plain or transparent).
constexpr int kEndTypeCount = 5;

struct Segment {
    double left, middle, right;
    double lcolour[3], rcolour[3];  // fractions, clamped to [0, 1]
    int blend;
    int colouring;
};

// The position within a linear blend bent by the middle point m: the first
// half of the colour change happens before m, the second after it.
double linearfactor(double m, double p) {
    if (p <= m) return m < kEpsilon ? 0 : 0.5 * p / m;
    return 1 - m < kEpsilon ? 1 : 0.5 + 0.5 * (p - m) / (1 - m);
}

double factor(int blend, double m, double p) {
    switch (blend) {
        case curved:
            // m = 1 would make the exponent infinite: keep it just below.
            m = std::clamp(m, kEpsilon, 1 - kEpsilon);
            return std::pow(p, std::log(0.5) / std::log(m));
        case sine:
            return (std::sin(-M_PI / 2 + M_PI * linearfactor(m, p)) + 1) / 2;
        case sphereincreasing: {
            double f = linearfactor(m, p) - 1;
            return std::sqrt(std::max(0.0, 1 - f * f));
        }
        case spheredecreasing: {
            double f = linearfactor(m, p);
            return 1 - std::sqrt(std::max(0.0, 1 - f * f));
        }
        case step:
            return p >= m ? 1 : 0;
        default:
            return linearfactor(m, p);
    }
}

// Hue, saturation and value, each in [0, 1]; grey has hue 0.
void tohsv(const double (&c)[3], double (&hsv)[3]) {
    double mx = std::max({c[0], c[1], c[2]}), mn = std::min({c[0], c[1], c[2]});
    double delta = mx - mn;
    double h = 0;
    if (delta > 0) {
        if (c[0] == mx)
            h = (c[1] - c[2]) / delta;
        else if (c[1] == mx)
            h = 2 + (c[2] - c[0]) / delta;
        else
            h = 4 + (c[0] - c[1]) / delta;
        h /= 6;
        if (h < 0) h += 1;
    }
    hsv[0] = h;
    hsv[1] = mx > 0 ? delta / mx : 0;
    hsv[2] = mx;
}

void fromhsv(const double (&hsv)[3], double (&c)[3]) {
    double h = hsv[0] - std::floor(hsv[0]), s = hsv[1], v = hsv[2];
    double sector = h * 6;
    // h lies in [0, 1), but rounding may land sector on 6.
    int i = std::min(5, static_cast<int>(sector));
    double f = sector - i;
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    const double table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    for (int k = 0; k < 3; ++k) c[k] = table[i][k];
}

void colourat(const Segment& s, double t, double (&out)[3]) {
    double len = s.right - s.left;
    double m = 0.5, p = 0.5;  // an empty segment shows its middle
    if (len >= kEpsilon) {
        m = (s.middle - s.left) / len;
        p = std::clamp((t - s.left) / len, 0.0, 1.0);
    }
    double f = factor(s.blend, m, p);
    if (!(f >= 0)) f = 0;  // NaN from pow cannot happen on [0, 1], but stay safe
    f = std::min(f, 1.0);
    if (s.colouring == rgb) {
        for (int c = 0; c < 3; ++c) out[c] = s.lcolour[c] + (s.rcolour[c] - s.lcolour[c]) * f;
        return;
    }
    double l[3], r[3], mix[3];
    tohsv(s.lcolour, l);
    tohsv(s.rcolour, r);
    for (int c = 1; c < 3; ++c) mix[c] = l[c] + (r[c] - l[c]) * f;
    // Counter-clockwise runs up the hue circle, clockwise down it, across
    // the wrap from 1 to 0 where needed. Equal hues at both ends go once
    // round the whole circle: that is how a one-segment spectrum from red
    // to red is written (GIMP's "Full saturation spectrum" gradients).
    double span = r[0] - l[0];
    if (s.colouring == hsvccw && span <= 0) span += 1;
    if (s.colouring == hsvcw && span >= 0) span -= 1;
    mix[0] = l[0] + span * f;
    fromhsv(mix, out);
}

std::string segmenterror(int k, const std::string& what) {
    return "segment " + std::to_string(k) + " " + what;
}

}  // namespace

// ---------------------------------------------------------------- reading

shell::Result<PaletteInfo> readggr(std::string_view bytes, shell::Palette& palette) {
    LineReader lines(withoutbom(bytes));
    std::string_view line;
    // Readers differ on trailing spaces in the first line; this one allows
    // them.
    if (!lines.next(line) || trim(line) != kHeader)
        return failure(kWhat, "line 1 is not \"GIMP Gradient\"");
    PaletteInfo r;
    r.sampled = true;
    // The name line is optional; old files go straight to the count.
    if (!lines.next(line)) return failure(kWhat, "the number of segments is missing");
    if (startswith(line, kNameKey)) {
        r.name = std::string(trim(line.substr(kNameKey.size())));
        if (!lines.next(line)) return failure(kWhat, "the number of segments is missing");
    }
    long long count = 0;
    if (!parseint(trim(line), count) || count < 1)
        return failure(kWhat, "line " + std::to_string(lines.number()) +
                                  " should give the number of segments");
    if (count > kMaxSegments)
        return failure(kWhat, "it claims " + std::to_string(count) + " segments, at most " +
                                  std::to_string(kMaxSegments) + " are read");

    std::vector<Segment> segments;
    std::vector<std::string_view> fields;
    for (int k = 1; k <= count; ++k) {
        if (!lines.next(line)) return failure(kWhat, segmenterror(k, "is missing"));
        fields.clear();
        for (size_t at = 0; at < line.size();) {
            at = line.find_first_not_of(" \t", at);
            if (at == std::string_view::npos) break;
            size_t end = std::min(line.find_first_of(" \t", at), line.size());
            if (fields.size() < 16) fields.push_back(line.substr(at, end - at));
            at = end;
        }
        // Some writers leave out the two end-point types.
        if (fields.size() != 13 && fields.size() != 15)
            return failure(kWhat, segmenterror(k, "has " + std::to_string(fields.size()) +
                                                      (fields.size() > 15 ? " or more" : "") +
                                                      " numbers, 13 or 15 expected"));
        double v[11];
        for (int i = 0; i < 11; ++i)
            if (!parsedouble(fields[i], v[i]))
                return failure(
                    kWhat, segmenterror(k, "has " + quoted(fields[i]) + " where a number belongs"));
        long long types[4] = {0, 0, 0, 0};
        const long long limits[4] = {blendcount, colouringcount, kEndTypeCount, kEndTypeCount};
        const char* names[4] = {"blend type", "colouring", "left end type", "right end type"};
        for (size_t i = 0; i + 11 < fields.size(); ++i)
            if (!parseint(fields[11 + i], types[i]) || types[i] < 0 || types[i] >= limits[i])
                return failure(kWhat,
                               segmenterror(k, "has the " + std::string(names[i]) + " " +
                                                   quoted(fields[11 + i]) + ", 0 to " +
                                                   std::to_string(limits[i] - 1) + " expected"));
        Segment s{};
        s.left = v[0];
        s.right = v[2];
        double previous = segments.empty() ? 0 : segments.back().right;
        if (std::abs(s.left - previous) > kJoinTolerance)
            return failure(
                kWhat,
                segmenterror(k, segments.empty() ? "does not start at 0"
                                                 : "does not start where the one before ends"));
        if (s.right < s.left || s.right > 1 + kJoinTolerance)
            return failure(kWhat, segmenterror(k, "ends before it starts or after 1"));
        // A middle point outside its segment has no meaning: keep it inside.
        s.middle = std::clamp(v[1], s.left, s.right);
        // The end-point types pick the user's foreground (1, 2) or
        // background colour (3, 4) instead of the stored one; the colours a
        // fresh GIMP has, black and white, stand in for them. The
        // transparent variants differ only in opacity, which a palette
        // does not keep.
        for (int c = 0; c < 3; ++c) {
            s.lcolour[c] = std::clamp(v[3 + c], 0.0, 1.0);
            s.rcolour[c] = std::clamp(v[7 + c], 0.0, 1.0);
        }
        for (int side = 0; side < 2; ++side) {
            long long type = types[2 + side];
            if (type == 0) continue;
            double* colour = side == 0 ? s.lcolour : s.rcolour;
            for (int c = 0; c < 3; ++c) colour[c] = type <= 2 ? 0 : 1;
        }
        s.blend = static_cast<int>(types[0]);
        s.colouring = static_cast<int>(types[1]);
        segments.push_back(s);
    }
    if (std::abs(segments.back().right - 1) > kJoinTolerance)
        return failure(kWhat, segmenterror(static_cast<int>(count), "ends before 1"));

    // Lines after the last segment are not looked at. A position on the
    // border of two segments belongs to the left one, as in GIMP.
    size_t k = 0;
    for (int i = 0; i < 256; ++i) {
        double t = i / 255.0;
        while (k + 1 < segments.size() && t > segments[k].right) ++k;
        double colour[3];
        colourat(segments[k], t, colour);
        for (int c = 0; c < 3; ++c) palette[i][c] = tobyte(colour[c]);
    }
    return r;
}

// ---------------------------------------------------------------- writing

std::string writeggr(const shell::Palette& palette, std::string_view name) {
    std::string s;
    s.reserve(256 * 120);
    // Exactly this line: one reader refuses it with a trailing space.
    s += kHeader;
    s += '\n';
    s += kNameKey;
    s += ' ';
    s += oneline(validutf8(name), "Palette");
    s += "\n255\n";
    for (int i = 0; i < 255; ++i) {
        const double positions[3] = {i / 255.0, (i + 0.5) / 255.0, (i + 1) / 255.0};
        for (double p : positions) {
            appendfixed(s, p, kDecimals);
            s += ' ';
        }
        for (int e = i; e <= i + 1; ++e) {
            for (int c = 0; c < 3; ++c) {
                appendfixed(s, fraction(palette[e][c]), kDecimals);
                s += ' ';
            }
            s += "1.000000 ";  // opaque
        }
        // Linear blend, RGB colouring, both ends fixed colours.
        s += "0 0 0 0\n";
    }
    return s;
}

}  // namespace palettes
