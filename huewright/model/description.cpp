#include "huewright/model/description.h"

#include <cstdint>

#include "huewright/model/curvetypes.h"
#include "huewright/model/model.h"
#include "palettes/palettes.h"

namespace huewright {

namespace {

const char* const kHeading[3] = {"\nRed: ", "\nGreen: ", "\nBlue: "};
const char* const kChannel[3] = {"Red", "Green", "Blue"};

// The record's fields in the order of its layout, which is the order of a
// curve description's numbers.
using P = Parameters;
constexpr Field kFields[palettes::kCurveFields] = {
    &P::ct,   &P::sp,   &P::xsh,  &P::amp,  &P::ysh, &P::aan, &P::avt,  &P::bd,  &P::b0,  &P::b255,
    &P::bc1x, &P::bc1y, &P::bc2x, &P::bc2y, &P::Ln,  &P::L0,  &P::L255, &P::Lmx, &P::Lmy,
};

// A loaded file's own description is shown in full up to this many lines;
// the paragraph is read by people, and it travels in every saved picture.
constexpr size_t kMaxDescriptionLines = 40;
constexpr size_t kMaxLineBytes = 200;

// The one-segment line of channel c after a load.
void resetchannel(Parameters& p, int c) {
    static const int32_t start[3] = {128, 255, 0};
    static const int32_t end[3] = {128, 0, 255};
    p.ct = curvenumber(CurveType::line);
    p.Ln = 1;
    p.L0 = start[c];
    p.L255 = end[c];
}

bool samecolumn(const shell::Palette& a, const shell::Palette& b, int c) {
    for (int i = 0; i < 256; ++i)
        if (a[i][c] != b[i][c]) return false;
    return true;
}

}  // namespace

void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3]) {
    static const int curves[3] = {1, 1, 1};
    writedescription(descriptionstring, p, stretchflag, curves, {});
}

void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3], const int (&okdisplay)[3],
                      const std::string& loadedfrom) {
    std::string& s = descriptionstring;
    s = std::string(palettes::kCurvesHeader) + "\n";
    bool loaded = false;
    for (int i = 0; i < 3; ++i) {
        s += kHeading[i];
        if (okdisplay[i]) {
            describecurve(s, p[i], stretchflag[i] != 0);
        } else {
            s += std::string(palettes::kLoadedType) + "\n";
            loaded = true;
        }
    }
    if (loaded && !loadedfrom.empty()) s += "\n" + loadedfrom;
}

std::string describeloaded(const LoadedPalette& l) {
    std::string s = "Loaded palette\n";
    s += "File: " + l.file + " (" + l.format + ")\n";
    if (!l.name.empty()) s += "Name: " + l.name + "\n";
    const std::vector<std::string> lines = palettes::readablelines(l.description);
    if (!lines.empty()) {
        s += "Description:\n";
        for (size_t i = 0; i < lines.size() && i < kMaxDescriptionLines; ++i) {
            std::string line = lines[i];
            if (line.size() > kMaxLineBytes) {
                // Cut before a character, not inside one.
                size_t n = kMaxLineBytes;
                while (n > 0 && (static_cast<unsigned char>(line[n]) & 0xC0) == 0x80) --n;
                line.resize(n);
            }
            s += line.empty() ? "\n" : "  " + line + "\n";
        }
        if (lines.size() > kMaxDescriptionLines)
            s += "  (" + std::to_string(lines.size() - kMaxDescriptionLines) +
                 " more lines in the file)\n";
    }
    s += "Entries: ";
    if (l.fromstrip)
        s += "256, read from the picture's palette strip\n";
    else if (l.sampled)
        s += "256, sampled from the gradient\n";
    else if (l.dropped > 0)
        s += "256 of the file's " + std::to_string(256 + l.dropped) + " colours\n";
    else if (l.colours < 256)
        s += std::to_string(l.colours) + " from the file, the other " +
             std::to_string(256 - l.colours) + " black\n";
    else
        s += "256\n";
    if (!l.curvesnottaken.empty()) s += "Curves not taken: " + l.curvesnottaken + "\n";
    return s;
}

void resetmapparameters(Parameters (&p)[3]) {
    for (int c = 0; c < 3; ++c) resetchannel(p[c], c);
}

bool rebuildcurves(const palettes::GradientCurves& curves, Parameters (&p)[3],
                   int (&stretchflag)[3], int (&okdisplay)[3], shell::Palette& made,
                   std::string& why) {
    Parameters q[3] = {p[0], p[1], p[2]};
    for (int c = 0; c < 3; ++c) {
        const palettes::CurveRecord& r = curves.channel[c];
        if (r.loaded) {
            resetchannel(q[c], c);
            continue;
        }
        for (int f = 0; f < palettes::kCurveFields; ++f)
            if (r.given[size_t(f)]) q[c].*kFields[f] = r.fields[size_t(f)];
        // The dialog keeps every number within its field's range, and the
        // amplitude and the vertical shift together within 255.
        for (const NumberField& n : curvedesc(q[c]).numbers) {
            Parameters clamped = q[c];
            if (clampfield(clamped, n.field) == q[c].*n.field) continue;
            why = std::string(kChannel[c]) + ": the numbers of its " + curvedesc(q[c]).name +
                  " curve are out of range";
            return false;
        }
    }
    Model m;
    m.calcsine();
    for (int c = 0; c < 3; ++c) {
        const palettes::CurveRecord& r = curves.channel[c];
        p[c] = q[c];
        okdisplay[c] = r.loaded ? 0 : 1;
        if (r.loaded) continue;
        stretchflag[c] = r.stretched ? 1 : 0;
        m.cndx = c;
        m.stretchflag[c] = stretchflag[c];
        m.calcchannel(p[c]);
        // A stretched quadratic curve reflects its control through the end
        // nearer the second control, which its description does not give:
        // the side that makes the colours asked for is the one it had.
        if (stretchflag[c] && curvetype(p[c].ct) == CurveType::bezier && p[c].bd == 0 &&
            !samecolumn(m.palette, made, c)) {
            Parameters other = p[c];
            other.bc2x = other.bc2x >= other.bc1x ? other.bc1x - 1 : other.bc1x;
            if (other.bc2x >= 0) {
                m.calcchannel(other);
                if (samecolumn(m.palette, made, c))
                    p[c] = other;
                else
                    m.calcchannel(p[c]);
            }
        }
        for (int i = 0; i < 256; ++i) made[i][c] = m.palette[i][c];
    }
    return true;
}

}  // namespace huewright
