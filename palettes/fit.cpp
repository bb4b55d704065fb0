#include "palettes/fit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace palettes {

std::vector<double> leastsquares(const LinearSystem& s, const std::vector<bool>& use) {
    const int n = s.cols, w = n + 1;
    // The used rows, each with its right-hand side as an extra column, so
    // that every reflection applies to both at once.
    std::vector<double> q;
    for (int r = 0; r < s.rows; ++r) {
        if (!use.empty() && !use[size_t(r)]) continue;
        q.insert(q.end(), s.a.begin() + std::ptrdiff_t(r) * n,
                 s.a.begin() + std::ptrdiff_t(r + 1) * n);
        q.push_back(s.b[size_t(r)]);
    }
    const int m = n > 0 ? int(q.size()) / w : 0;
    if (n <= 0 || m < n) return {};
    auto at = [&](int r, int c) -> double& { return q[size_t(r) * w + size_t(c)]; };

    // A column whose part below the diagonal is this small against the
    // largest weight depends on the columns before it.
    double largest = 0;
    for (int r = 0; r < m; ++r)
        for (int k = 0; k < n; ++k) largest = std::max(largest, std::fabs(at(r, k)));
    const double tiny = largest * 1e-12;
    std::vector<double> v(static_cast<size_t>(m));
    for (int k = 0; k < n; ++k) {
        double norm = 0;
        for (int r = k; r < m; ++r) norm += at(r, k) * at(r, k);
        norm = std::sqrt(norm);
        if (!(norm > tiny)) return {};
        // The reflection that takes column k onto the diagonal, with the sign
        // that avoids cancellation.
        const double alpha = at(k, k) > 0 ? -norm : norm;
        double vv = 0;
        for (int r = k; r < m; ++r) {
            v[size_t(r)] = at(r, k) - (r == k ? alpha : 0);
            vv += v[size_t(r)] * v[size_t(r)];
        }
        for (int c = k; c < w; ++c) {
            double dot = 0;
            for (int r = k; r < m; ++r) dot += v[size_t(r)] * at(r, c);
            const double f = 2 * dot / vv;
            for (int r = k; r < m; ++r) at(r, c) -= f * v[size_t(r)];
        }
    }
    // Back substitution through the triangle.
    std::vector<double> x(static_cast<size_t>(n));
    for (int k = n - 1; k >= 0; --k) {
        double sum = at(k, n);
        for (int c = k + 1; c < n; ++c) sum -= at(k, c) * x[size_t(c)];
        x[size_t(k)] = sum / at(k, k);
    }
    return x;
}

}  // namespace palettes
