#include "explore/rule.h"

#include <cmath>

#include "explore/extended.h"

namespace explore {

namespace {

// The constants written 1/257 and 2 pi, 1/(2 pi) are the doubles nearest to them.
constexpr double kInv257 = 1.0 / 257.0;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kInvTwoPi = 0.15915494309189535;

}  // namespace

void exactstep(double& zx, double& zy, double cx, double cy) {
    const double x = zx, y = zy;
    zx = st((ext(x) + y) * (ext(x) - y) + cx);
    zy = st(2 * ext(x) * y + cy);
}

double escapesum() {
    // The stored root is a monotone function of the sum, so one threshold
    // replaces the square root.
    static const double s = [] {
        double v = 4.0;
        while (!(st(sqrtl(v)) > 2)) v = std::nextafter(v, 8.0);
        return v;
    }();
    return s;
}

bool exactescaped(double zx, double zy) {
    return st(ext(zx) * zx + ext(zy) * zy) >= escapesum();
}

int angleentry(double zx, double zy) {
    double angle = st(atan2l(zy, zx));
    if (angle < 0) angle = st(ext(angle) + kTwoPi);
    return int(ext(angle) * 256 * kInvTwoPi) % 255 + 1;
}

RulePoint rulepoint(double cx, double cy, int iterations) {
    double zx = 0, zy = 0, size = 0;
    int n = 0;
    while (!(size > 2) && n < iterations) {
        exactstep(zx, zy, cx, cy);
        const double sum = st(ext(zx) * zx + ext(zy) * zy);
        size = st(sqrtl(sum));
        ++n;
    }
    return RulePoint{size > 2, n, zx, zy};
}

// At scale 1 the divisions are by 1 and change nothing; at scale n, index
// n k divided by n is k exactly, so it is point k's value.
double latticecx(int i, int scale) {
    return st(ext(i) / scale * 0.798 * kInv257 + (-1.547));
}

double latticecy(int j, int scale) {
    return st(ext(kLatticePoints * scale - j) / scale * 0.798 * kInv257 + (-0.399));
}

double latticestep() {
    return st(ext(0.798) * kInv257);
}

}  // namespace explore
