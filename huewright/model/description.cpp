#include "huewright/model/description.h"

#include <cstdint>

#include "huewright/model/curvetypes.h"

namespace huewright {

void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3]) {
    static const char* const heading[3] = {"\nRed: ", "\nGreen: ", "\nBlue: "};
    std::string& s = descriptionstring;
    s = "Xo Gradient curve parameters\n";
    for (int i = 0; i < 3; ++i) {
        const Parameters& q = p[i];
        s += heading[i];
        describecurve(s, q, stretchflag[i] != 0);
    }
}

void resetmapparameters(Parameters (&p)[3]) {
    static const int32_t start[3] = {128, 255, 0};
    static const int32_t end[3] = {128, 0, 255};
    for (int c = 0; c < 3; ++c) {
        p[c].ct = curvenumber(CurveType::line);
        p[c].Ln = 1;
        p[c].L0 = start[c];
        p[c].L255 = end[c];
    }
}

}  // namespace huewright
