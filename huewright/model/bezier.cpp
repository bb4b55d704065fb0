// The Bezier curve type and its cubic solver.
//
// The curve lives in the plane of palette index and value, so the value at an
// index x is found by solving x(t) = x for the curve parameter t and then
// evaluating y(t). Every named quantity below is a stored double and every
// expression is extended (see arith.h); the order of the operations is part
// of the result.
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "huewright/model/arith.h"
#include "huewright/model/model.h"

namespace huewright {

double cuberootreal(double c) {
    if (c < 0) return st(-xpow(-c, kInv3));
    return st(xpow(c, kInv3));
}

double cubicroots(double A, double B, double C, double D) {
    // The solver's own names: d t^3 + a t^2 + b t + c = 0.
    double d = A, a = B, b = C, c = D;
    const double eps = DBL_EPSILON;                           // 2^-52
    auto inunit = [](double v) { return v >= 0 && v <= 1; };  // NaN fails

    if (std::fabs(d) < eps) {
        if (std::fabs(a) < eps) {
            if (std::fabs(b) < eps) return 0;
            return st(-ext(c) / b);
        }
        const double s = st(xsqrt(st(ext(b) * b - 4 * ext(a) * c)));
        const double root1 = st((ext(s) - b) / (2 * ext(a)));
        const double root2 = st((-ext(b) - s) / (2 * ext(a)));
        return inunit(root1) ? root1 : root2;
    }

    a = st(ext(a) / d);
    b = st(ext(b) / d);
    c = st(ext(c) / d);

    // Depressed cubic s^3 + p s + q = 0 with t = s - a/3.
    const double p = st((3 * ext(b) - ext(a) * a) * kInv3);
    const double p3 = st(kInv3 * ext(p));
    const double q = st((2 * ext(a) * a * a - 9 * ext(a) * b + 27 * ext(c)) * kInv27);
    const double q2 = st(ext(q) * 0.5);
    const double discriminant = st(ext(q2) * q2 + ext(p3) * p3 * p3);

    if (discriminant < 0) {
        // Three real roots: the trigonometric form.
        const double mp3 = st(-ext(p) * kInv3);
        const double mp33 = st(ext(mp3) * mp3 * mp3);
        const double r = st(xsqrt(mp33));
        const double t = st(-ext(q) / (2 * ext(r)));
        const double cosphi = t < -1 ? -1.0 : (t > 1 ? 1.0 : t);
        const double phi = st(xacos(cosphi));
        const double t1 = st(2 * ext(cuberootreal(r)));
        const double root1 = st(xcos(st(kInv3 * ext(phi))) * t1 - kInv3 * ext(a));
        const double root2 = st(xcos(st((ext(phi) + kTwoPi) * kInv3)) * t1 - kInv3 * ext(a));
        const double root3 = st(xcos(st((ext(phi) + kFourPi) * kInv3)) * t1 - kInv3 * ext(a));
        if (inunit(root1)) return root1;
        if (inunit(root2)) return root2;
        return root3;
    }
    if (discriminant == 0) {
        // A double or triple root.
        const double u1 = q2 < 0 ? cuberootreal(-q2) : st(-ext(cuberootreal(q2)));
        const double root1 = st(2 * ext(u1) - kInv3 * ext(a));
        const double root2 = st(-ext(u1) - kInv3 * ext(a));
        return inunit(root1) ? root1 : root2;
    }
    // One real root: Cardano's formula.
    const double sd = st(xsqrt(discriminant));
    const double u1 = cuberootreal(st(ext(sd) - q2));
    const double v1 = cuberootreal(st(ext(sd) + q2));
    return st(ext(u1) - v1 - kInv3 * ext(a));
}

namespace {

// The control polygon of one column: A = (0, b0), B = control 1, C = control
// 2, D = (255, b255), with the effective (possibly stretched) heights.
struct Polygon {
    double Ax, Ay, Bx, By, Cx, Cy, Dx, Dy;
};

Polygon polygon(int b0, int b255, int bc1x, int bc1y, int bc2x, int bc2y, int stretch) {
    // With the stretch each control height is reflected through the end value
    // it is nearer to in x order. The pairing compares both control x values
    // even for the quadratic curve.
    double tc1y = bc1y, tc2y = bc2y;
    if (stretch) {
        if (bc1x <= bc2x) {
            tc1y = 2 * bc1y - b0;
            tc2y = 2 * bc2y - b255;
        } else {
            tc1y = 2 * bc1y - b255;
            tc2y = 2 * bc2y - b0;
        }
    }
    return Polygon{0, double(b0), double(bc1x), tc1y, double(bc2x), tc2y, 255, double(b255)};
}

// Clamped and truncated: the palette value of a curve height.
int heightvalue(double y) {
    if (y > 255) y = 255;
    if (!(y >= 0)) y = 0;
    return int(y);
}

// The cubic's height at t, by the rule.
double cubicy(const Polygon& g, double t) {
    const double t2 = st(ext(t) * t);
    const double t3 = st(ext(t2) * t);
    const double mt = st(1 - ext(t));
    const double mt2 = st(ext(mt) * mt);
    const double mt3 = st(ext(mt2) * mt);
    const double mt2t = st(ext(mt2) * t);
    const double mtt2 = st(ext(mt) * t2);
    return st(ext(g.Ay) * mt3 + ext(g.By) * 3 * mt2t + ext(g.Cy) * 3 * mtt2 + ext(g.Dy) * t3);
}

void quadraticcolumn(const Polygon& g, uint8_t* out) {
    // x(t) = A t^2 + B t + Ax; A = 255 - 2 bc1x is odd, never 0.
    const double A = st(ext(g.Ax) - 2 * ext(g.Bx) + g.Dx);
    const double B = st(2 * ext(g.Bx) - 2 * ext(g.Ax));
    for (double x = 0.0; x < 256.0; x += 1.0) {
        const int i = int(x);
        const double C = st(ext(g.Ax) - x);
        const double disc1 = st(ext(B) * B - 4 * ext(A) * C);
        const double t01 = st((xsqrt(disc1) - B) / (2 * ext(A)));
        const double disc2 = st(ext(B) * B - 4 * ext(A) * C);
        const double t02 = st((-ext(B) - xsqrt(disc2)) / (2 * ext(A)));
        const double t = (t01 >= 0 && t01 <= 1) ? t01 : t02;
        const double mt = st(1 - ext(t));
        const double mt2 = st(ext(mt) * mt);
        const double t2 = st(ext(t) * t);
        const double mtt = st(ext(mt) * t);
        const double y = st(ext(g.Ay) * mt2 + ext(g.By) * 2 * mtt + ext(g.Dy) * t2);
        out[i] = uint8_t(heightvalue(y));
    }
}

// The cubic's x(t) = A t^3 + B t^2 + C t + Ax.
struct Cubic {
    double A, B, C;
};

Cubic cubicof(const Polygon& g) {
    return Cubic{st(-ext(g.Ax) + 3 * ext(g.Bx) - 3 * ext(g.Cx) + g.Dx),
                 st(3 * ext(g.Ax) - 6 * ext(g.Bx) + 3 * ext(g.Cx)),
                 st(-3 * ext(g.Ax) + 3 * ext(g.Bx))};
}

// The value at index x by the rule, root and all.
int cubicrulevalue(const Polygon& g, const Cubic& k, double x) {
    const double D = st(ext(g.Ax) - x);
    return heightvalue(cubicy(g, cubicroots(k.A, k.B, k.C, D)));
}

void cubicrulecolumn(const Polygon& g, uint8_t* out) {
    const Cubic k = cubicof(g);
    for (double x = 0.0; x < 256.0; x += 1.0) out[int(x)] = uint8_t(cubicrulevalue(g, k, x));
}

// ---------------------------------------------------------------------------
// The certified shortcut of the cubic.
//
// The rule spends most of its time in the extended library functions: acosl
// and up to three cosl for three real roots, two powl for one. Their last
// units rarely matter, because the palette value is a truncated height: the
// shortcut evaluates the same formulas with the double functions (acos, cos,
// cbrt), carries a bound on how far the rule's root can lie from its own, and
// accepts its value only when every root within the bound gives the same
// palette value and the same choice of root. Otherwise, and in the rarely
// taken branches, the index goes through the rule itself. The bounds are
// generous (at least 4 times what the documented library accuracies and the
// roundings allow), which costs nothing but a few more fallbacks.
//
// Quantities the rule computes cheaply (the normalised coefficients, q, the
// discriminant, and so the branch) are computed exactly as the rule does.

// 1/3 minus the double nearest to it: pow(x, 1/3) is cbrt(x) * x^-kEta.
constexpr double kEta = 1.850371707708594e-17;

// A bound on |ln x| from the binary exponent.
double lnbound(double x) {
    int e = 0;
    std::frexp(x, &e);
    return (std::abs(e) + 1) * 0.6932;
}

void cubiccolumn(const Polygon& g, uint8_t* out) {
    const Cubic k = cubicof(g);
    const double d = k.A;
    if (std::fabs(d) < DBL_EPSILON) {
        // The solver's quadratic and linear cases need only square roots.
        cubicrulecolumn(g, out);
        return;
    }
    // Per column, as the rule has them.
    const double a = st(ext(k.B) / d);
    const double b = st(ext(k.C) / d);
    const double p = st((3 * ext(b) - ext(a) * a) * kInv3);
    const double p3 = st(kInv3 * ext(p));
    const double third = kInv3 * a;
    // The three-root constants depend on p only; the first index that needs
    // them computes them.
    bool havetrig = false;
    double r = 0, t1 = 0;

    // y(t) in the power basis, for a bound on its slope.
    const double c1 = 3 * (g.By - g.Ay), c2 = 3 * (g.Ay - 2 * g.By + g.Cy);
    const double c3 = g.Dy - g.Ay + 3 * g.By - 3 * g.Cy;
    const double M = std::fabs(g.Ay) + 3 * std::fabs(g.By) + 3 * std::fabs(g.Cy) + std::fabs(g.Dy);

    // Subexpressions of q and of the discriminant that do not depend on the
    // index, kept extended: q = ((2 a a a - 9 a b) + 27 c) / 27 and
    // discriminant = q2 q2 + p3 p3 p3 are evaluated left to right.
    const ext qpart = 2 * ext(a) * a * a - 9 * ext(a) * b;
    const ext p3cubed = ext(p3) * p3 * p3;

    // First the rule's own q and discriminant for every index: a chain of
    // dependent extended operations per index, independent from index to
    // index, so a separate pass lets them overlap.
    double qs[256], discs[256];
    for (double x = 0.0; x < 256.0; x += 1.0) {
        const int i = int(x);
        const double D = st(ext(g.Ax) - x);
        const double c = st(ext(D) / d);
        const double q = st((qpart + 27 * ext(c)) * kInv27);
        const double q2 = st(ext(q) * 0.5);
        qs[i] = q;
        discs[i] = st(ext(q2) * q2 + p3cubed);
    }

    for (double x = 0.0; x < 256.0; x += 1.0) {
        const int i = int(x);
        const double q = qs[i], q2 = st(ext(q) * 0.5), disc = discs[i];

        double t = 0, delta = 0;  // the rule's root lies within delta of t
        bool sure = true;
        if (disc < 0) {
            if (!havetrig) {
                const double mp3 = st(-ext(p) * kInv3);
                const double mp33 = st(ext(mp3) * mp3 * mp3);
                r = st(xsqrt(mp33));
                t1 = st(2 * ext(cuberootreal(r)));
                havetrig = true;
            }
            const double tt = st(-ext(q) / (2 * ext(r)));
            const double cosphi = tt < -1 ? -1.0 : (tt > 1 ? 1.0 : tt);
            const double phi = std::acos(cosphi);
            // The cosines of phi/3 + 2 pi/3 and phi/3 + 4 pi/3 from the sine
            // and cosine of phi/3. phi is within 1.5 units of the rule's, and
            // each cosine within 2^-49 of the rule's cosine of its rounded
            // argument (whose 2 pi, 4 pi and 1/3 are doubles): the root is
            // within (|t1| + |a|) 2^-48.6 of the rule's, 12 times inside delta.
            double s0, c0;
            sincos(kInv3 * phi, &s0, &c0);
            constexpr double kHalfSqrt3 = 0.8660254037844386;
            const double cos1 = -0.5 * c0 - kHalfSqrt3 * s0, cos2 = -0.5 * c0 + kHalfSqrt3 * s0;
            delta = 0x1p-45 * (std::fabs(t1) + std::fabs(a));
            const double roots[3] = {c0 * t1 - third, cos1 * t1 - third, cos2 * t1 - third};
            t = roots[2];  // the third root is taken without a test
            for (int n = 0; n < 2; ++n) {
                const double lo = roots[n] - delta, hi = roots[n] + delta;
                if (lo >= 0 && hi <= 1) {
                    t = roots[n];
                    break;
                }
                if (!(hi < 0 || lo > 1)) {
                    sure = false;  // the rule's test could go either way
                    break;
                }
            }
        } else if (disc > 0) {
            const double sd = st(xsqrt(disc));
            const double cu = st(ext(sd) - q2), cv = st(ext(sd) + q2);
            const double u = std::cbrt(cu), v = std::cbrt(cv);
            // cbrt within 4 units (2^-50 relative) of the true cube root, the
            // rule's pow(x, 1/3) a further kEta |ln x| away from it, and each
            // side's roundings of u - v - a/3 below 2^-51 of the terms.
            const double du = std::fabs(u) * (0x1p-46 + 1.01 * kEta * lnbound(cu));
            const double dv = std::fabs(v) * (0x1p-46 + 1.01 * kEta * lnbound(cv));
            t = u - v - third;
            delta = du + dv + 0x1p-47 * (std::fabs(u) + std::fabs(v) + std::fabs(a));
        } else {
            sure = false;  // a double root: rare, left to the rule
        }

        if (sure) {
            // The height at t, and how far the rule's height can be from it:
            // the slope times delta, plus both evaluations' roundings (each
            // below 2^-49 of the sum of the terms' sizes).
            const double t2 = t * t, t3 = t2 * t, mt = 1 - t;
            const double mt2 = mt * mt, mt3 = mt2 * mt, mt2t = mt2 * t, mtt2 = mt * t2;
            const double T1 = g.Ay * mt3, T2 = g.By * 3 * mt2t, T3 = g.Cy * 3 * mtt2,
                         T4 = g.Dy * t3;
            const double y = T1 + T2 + T3 + T4;
            const double S = std::fabs(T1) + std::fabs(T2) + std::fabs(T3) + std::fabs(T4);
            const double T = std::fabs(t) + delta;
            const double slope = std::fabs(c1) + 2 * std::fabs(c2) * T + 3 * std::fabs(c3) * T * T;
            const double w = 1.5 * slope * delta + 0x1p-45 * S + 0x1p-60 * M;
            if (std::isfinite(y) && w < 1e300) {
                const int lo = heightvalue(y - w), hi = heightvalue(y + w);
                if (lo == hi) {
                    out[i] = uint8_t(lo);
                    continue;
                }
            }
        }
        out[i] = uint8_t(cubicrulevalue(g, k, x));
    }
}

}  // namespace

void beziercolumn(int bd, int b0, int b255, int bc1x, int bc1y, int bc2x, int bc2y, int stretch,
                  uint8_t* out, bool shortcut) {
    const Polygon g = polygon(b0, b255, bc1x, bc1y, bc2x, bc2y, stretch);
    if (bd == 0)
        quadraticcolumn(g, out);
    else if (shortcut)
        cubiccolumn(g, out);
    else
        cubicrulecolumn(g, out);
    out[0] = uint8_t(b0);
    out[255] = uint8_t(b255);
}

void Model::calcBezier(int bd, int b0, int b255, int bc1x, int bc1y, int bc2x, int bc2y) {
    uint8_t col[256];
    beziercolumn(bd, b0, b255, bc1x, bc1y, bc2x, bc2y, stretchflag[cndx], col);
    for (int i = 0; i < 256; ++i) palette[i][cndx] = col[i];
}

}  // namespace huewright
