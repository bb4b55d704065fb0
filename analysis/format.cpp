#include "format.h"

#include <cmath>

namespace analysis {

std::string fixed(double v, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    if (!(std::fabs(v) < 1e9)) return "-";
    long long scale = 1;
    for (int k = 0; k < decimals; ++k) scale *= 10;
    const long long n = std::llround(std::fabs(v) * double(scale));
    std::string s = std::to_string(n / scale);
    if (decimals > 0) {
        std::string frac = std::to_string(n % scale);
        s += '.';
        s.append(size_t(decimals) - frac.size(), '0');
        s += frac;
    }
    // A value that rounds to zero prints without a sign.
    return (v < 0 && n != 0) ? "-" + s : s;
}

}  // namespace analysis
