// Reading the designers' descriptions of their curves back.
#include "palettes/curves.h"

#include "palettes/codec.h"

namespace palettes {

const char* const kCurveFieldNames[kCurveFields] = {
    "ct",   "sp",   "xsh",  "amp",  "ysh", "aan", "avt",  "bd",  "b0",  "b255",
    "bc1x", "bc1y", "bc2x", "bc2y", "Ln",  "L0",  "L255", "Lmx", "Lmy",
};

namespace {

// Field numbers of a record, in kCurveFieldNames order.
enum Field {
    ct,
    sp,
    xsh,
    amp,
    ysh,
    aan,
    avt,
    bd,
    b0,
    b255,
    bc1x,
    bc1y,
    bc2x,
    bc2y,
    Ln,
    L0,
    L255,
    Lmx,
    Lmy
};

const char* const kChannelNames[3] = {"Red", "Green", "Blue"};
const char* const kTypeNames[4] = {"Sine", "Arc", "Bezier", "Line"};
constexpr int kBezier = 2, kLine = 3;

// One line of a curve's block: "label: N" or "label: (N, M)".
struct FieldLine {
    const char* label;
    int first;
    int second = -1;  // the field of a pair's second number
};

// The lines of each type that every block has, in order. The Bezier's
// second control (cubic only) and its "stretched" line, and the line's
// middle point (two segments only), follow them when they apply.
const std::vector<FieldLine> kTypeLines[4] = {
    {{"phase", sp}, {"index shift", xsh}, {"amplitude", amp}, {"vertical shift", ysh}},
    {{"anchor", aan}, {"vertex", avt}},
    {{"(0, y)", b0}, {"(255, y)", b255}, {"control 1", bc1x, bc1y}},
    {{"Number of line segments", Ln}, {"(0, y)", L0}, {"(255, y)", L255}},
};
const FieldLine kControl2{"control 2", bc2x, bc2y};
const FieldLine kMiddle{"Middle (x, y)", Lmx, Lmy};
constexpr std::string_view kStretched = "stretched";

// The range of a field: the phase and the segment count are 1 or 2, the
// degree 0 or 1, every other number a channel value or an index.
void fieldrange(int field, int& low, int& high) {
    low = 0;
    high = 255;
    if (field == sp || field == Ln) low = 1, high = 2;
}

std::string_view trimright(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The text's lines, without their line ends and without white space at
// their ends.
std::vector<std::string_view> trimmedlines(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::string_view l : textlines(withoutbom(text))) out.push_back(trimright(l));
    return out;
}

// Lines from `from` on, as text with LF line ends and no blank lines at
// either end.
std::string jointext(const std::vector<std::string_view>& lines, size_t from) {
    size_t to = lines.size();
    while (from < to && lines[from].empty()) ++from;
    while (to > from && lines[to - 1].empty()) --to;
    std::string s;
    for (size_t i = from; i < to; ++i) {
        s.append(plaintext(lines[i]));
        s += '\n';
    }
    return s;
}

// Reads "label: N" or "label: (N, M)" for `expect` into r. Empty on success,
// else why not.
std::string readline(std::string_view line, const FieldLine& expect, CurveRecord& r) {
    const std::string want = std::string(expect.label) + (expect.second < 0 ? ": N" : ": (N, M)");
    const size_t colon = line.rfind(": ");
    if (colon == std::string_view::npos || line.substr(0, colon) != expect.label)
        return "expected \"" + want + "\", found " + quoted(line);
    std::string_view value = line.substr(colon + 2);
    std::string_view numbers[2] = {value, {}};
    if (expect.second >= 0) {
        const size_t comma = value.find(", ");
        if (value.size() < 2 || value.front() != '(' || value.back() != ')' ||
            comma == std::string_view::npos)
            return "expected \"" + want + "\", found " + quoted(line);
        numbers[0] = value.substr(1, comma - 1);
        numbers[1] = value.substr(comma + 2, value.size() - comma - 3);
    }
    for (int k = 0; k < (expect.second < 0 ? 1 : 2); ++k) {
        const int field = k == 0 ? expect.first : expect.second;
        long long v = 0;
        int low, high;
        fieldrange(field, low, high);
        if (!parseint(numbers[k], v)) return "expected \"" + want + "\", found " + quoted(line);
        if (v < low || v > high)
            return quoted(line) + " is out of range (" + std::to_string(low) + " ... " +
                   std::to_string(high) + ")";
        r.fields[field] = static_cast<int32_t>(v);
        r.given[field] = true;
    }
    return {};
}

// Reads the lines of one channel's block after its heading. Empty on
// success, else why not.
std::string readblock(const std::vector<std::string_view>& block, int type, CurveRecord& r) {
    std::vector<FieldLine> want = kTypeLines[type];
    size_t at = 0;
    for (size_t k = 0; k < want.size(); ++k) {
        if (at == block.size())
            return "the line \"" + std::string(want[k].label) + ": …\" is missing";
        const std::string why = readline(block[at++], want[k], r);
        if (!why.empty()) return why;
        // The middle point belongs to a line of two segments only.
        if (type == kLine && want[k].first == Ln && r.fields[Ln] == 2) want.push_back(kMiddle);
    }
    if (type == kBezier) {
        r.given[bd] = true;
        r.fields[bd] = 0;
        if (at < block.size() && startswith(block[at], kControl2.label)) {
            const std::string why = readline(block[at++], kControl2, r);
            if (!why.empty()) return why;
            r.fields[bd] = 1;
        }
        if (at < block.size() && block[at] == kStretched) {
            r.stretched = true;
            ++at;
        }
    }
    if (at < block.size()) return "unexpected line " + quoted(block[at]);
    return {};
}

}  // namespace

Reading<GradientCurves> readgradientcurves(std::string_view text) {
    Reading<GradientCurves> out;
    const std::vector<std::string_view> lines = trimmedlines(text);
    if (lines.empty() || trim(lines[0]) != kCurvesHeader) return out;
    out.found = Found::damaged;
    size_t at = 1;
    for (int c = 0; c < 3; ++c) {
        const std::string channel = kChannelNames[c];
        while (at < lines.size() && lines[at].empty()) ++at;
        const std::string heading = channel + ": ";
        if (at == lines.size() || !startswith(lines[at], heading)) {
            out.why = "the " + channel + " channel is missing";
            return out;
        }
        const std::string_view name = lines[at].substr(heading.size());
        ++at;
        std::vector<std::string_view> block;
        while (at < lines.size() && !lines[at].empty()) block.push_back(lines[at++]);
        CurveRecord& r = out.value.channel[c];
        if (name == kLoadedType) {
            r.loaded = true;
            if (!block.empty()) {
                out.why = channel + ": unexpected line " + quoted(block[0]);
                return out;
            }
            continue;
        }
        int type = 0;
        while (type < 4 && name != kTypeNames[type]) ++type;
        if (type == 4) {
            out.why = channel + ": unknown curve type " + quoted(name);
            return out;
        }
        r.fields[ct] = type;
        r.given[ct] = true;
        const std::string why = readblock(block, type, r);
        if (!why.empty()) {
            out.why = channel + ": " + why;
            return out;
        }
    }
    out.value.rest = jointext(lines, at);
    out.found = Found::curves;
    return out;
}

std::string curvesummary(const CurveRecord& r) {
    if (r.loaded) return std::string(kLoadedType);
    std::string s = r.fields[ct] >= 0 && r.fields[ct] < 4 ? kTypeNames[r.fields[ct]] : "?";
    for (int f = 0; f < kCurveFields; ++f) {
        if (!r.given[f]) continue;
        s += std::string(" ") + kCurveFieldNames[f] + "=";
        appendint(s, r.fields[f]);
    }
    if (r.stretched) s += " stretched";
    return s;
}

// ---------------------------------------------------------------- spline points

namespace {

// Splits a line at spaces and tabs.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > at) out.push_back(line.substr(at, end - at));
        at = end;
    }
    return out;
}

bool pointsstart(const std::vector<std::string_view>& lines, size_t i) {
    return lines[i] == "Red" && i + 1 < lines.size() && startswith(lines[i + 1], "dp[0][0]:");
}

// "dp[j][0]: X  dp[j][1]: Y" into p.
bool readpoint(std::string_view line, int j, SplinePoint& p) {
    const std::vector<std::string_view> w = words(line);
    const std::string index = "dp[" + std::to_string(j) + "]";
    return w.size() == 4 && w[0] == index + "[0]:" && w[2] == index + "[1]:" &&
           parsedouble(w[1], p.x) && parsedouble(w[3], p.y);
}

}  // namespace

Reading<SplinePoints> readsplinepoints(std::string_view trailer) {
    Reading<SplinePoints> out;
    const std::vector<std::string_view> lines = trimmedlines(trailer);
    size_t points = 0;
    while (points < lines.size() && !pointsstart(lines, points)) ++points;
    if (points == lines.size()) return out;
    out.found = Found::damaged;
    const auto damaged = [&](const std::string& why) {
        out.why = why;
        return out;
    };

    // The column table: 768 lines of three values before the points.
    SplinePoints& v = out.value;
    size_t at = 0;
    for (; at < lines.size() && at < size_t(kSplineColumns); ++at) {
        const std::vector<std::string_view> w = words(lines[at]);
        std::array<uint8_t, 3> column{};
        long long n = 0;
        for (int c = 0; c < 3; ++c) {
            if (w.size() != 3 || !parseint(w[c], n) || n < 0 || n > 255)
                return damaged("column " + std::to_string(at) +
                               ": expected three values 0 ... 255, found " + quoted(lines[at]));
            column[c] = uint8_t(n);
        }
        v.columns.push_back(column);
    }
    while (at < points && lines[at].empty()) ++at;
    if (at != points)
        return damaged("expected " + std::to_string(kSplineColumns) +
                       " column lines before the points");

    for (int c = 0; c < 3; ++c) {
        while (at < lines.size() && lines[at].empty()) ++at;
        if (at == lines.size() || lines[at] != kChannelNames[c])
            return damaged(std::string("the ") + kChannelNames[c] +
                           " channel's points are missing");
        ++at;
        std::vector<SplinePoint>& pts = v.points[c];
        for (; at < lines.size() && !lines[at].empty(); ++at) {
            SplinePoint p{};
            if (!readpoint(lines[at], int(pts.size()), p))
                return damaged(std::string(kChannelNames[c]) + ": expected point " +
                               std::to_string(pts.size()) + ", found " + quoted(lines[at]));
            pts.push_back(p);
        }
        if (pts.size() < size_t(kMinSplinePoints) || pts.size() > size_t(kMaxSplinePoints))
            return damaged(std::string(kChannelNames[c]) + ": " + std::to_string(pts.size()) +
                           " points, 7 ... 13 expected");
    }
    while (at < lines.size() && lines[at].empty()) ++at;
    if (at == lines.size()) return damaged("the inversion is missing");
    if (lines[at] != "Inversion: True" && lines[at] != "Inversion: False")
        return damaged("expected \"Inversion: True\" or \"Inversion: False\", found " +
                       quoted(lines[at]));
    v.inverted = lines[at] == "Inversion: True";
    if (!jointext(lines, at + 1).empty()) return damaged("unexpected line after the inversion");
    v.text = jointext(lines, points);
    out.found = Found::curves;
    return out;
}

}  // namespace palettes
