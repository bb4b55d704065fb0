#include "huewright/model/description.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

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

}  // namespace

void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3]) {
    static const char* const heading[3] = {"\nRed: ", "\nGreen: ", "\nBlue: "};
    std::string& s = descriptionstring;
    s = "Xo Gradient curve parameters\n";
    for (int i = 0; i < 3; ++i) {
        const Parameters& q = p[i];
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

void resetmapparameters(Parameters (&p)[3]) {
    static const int32_t start[3] = {128, 255, 0};
    static const int32_t end[3] = {128, 0, 255};
    for (int c = 0; c < 3; ++c) {
        p[c].ct = 3;
        p[c].Ln = 1;
        p[c].L0 = start[c];
        p[c].L255 = end[c];
    }
}

}  // namespace huewright
