#include "huewright/model/description.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "shell/io/textformat.h"

namespace huewright {

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
                shell::appendf(s, "phase: %d\nindex shift: %d\n", q.sp, q.xsh);
                shell::appendf(s, "amplitude: %d\nvertical shift: %d\n", q.amp, q.ysh);
                break;
            case 1:
                s += "Arc\n";
                shell::appendf(s, "anchor: %d\nvertex: %d\n", q.aan, q.avt);
                break;
            case 2:
                s += "Bezier\n";
                shell::appendf(s, "(0, y): %d\n", q.b0);
                shell::appendf(s, "(255, y): %d\n", q.b255);
                shell::appendf(s, "control 1: (%d, %d)\n", q.bc1x, q.bc1y);
                if (q.bd == 1) shell::appendf(s, "control 2: (%d, %d)\n", q.bc2x, q.bc2y);
                if (stretchflag[i] != 0) s += "stretched\n";
                break;
            default:
                // Synthesis draws every other curve type as a line, so the
                // description names it so too.
                s += "Line\n";
                shell::appendf(s, "Number of line segments: %d\n", q.Ln);
                shell::appendf(s, "(0, y): %d\n", q.L0);
                shell::appendf(s, "(255, y): %d\n", q.L255);
                if (q.Ln == 2) shell::appendf(s, "Middle (x, y): (%d, %d)\n", q.Lmx, q.Lmy);
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
