// The least-squares solver against the plain textbook solve: the normal
// equations, eliminated step by step in extended precision.
#include "palettes/fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace palettes;

namespace {

// Solves (AᵀA) x = Aᵀb over the used rows by Gauss-Jordan elimination with
// partial pivoting.
std::vector<double> normalequations(const LinearSystem& s, const std::vector<bool>& use) {
    const int n = s.cols;
    std::vector<std::vector<long double>> m(size_t(n), std::vector<long double>(size_t(n + 1)));
    for (int r = 0; r < s.rows; ++r) {
        if (!use.empty() && !use[size_t(r)]) continue;
        for (int i = 0; i < n; ++i) {
            const long double ai = s.a[size_t(r * n + i)];
            for (int j = 0; j < n; ++j) m[size_t(i)][size_t(j)] += ai * s.a[size_t(r * n + j)];
            m[size_t(i)][size_t(n)] += ai * s.b[size_t(r)];
        }
    }
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(m[size_t(i)][size_t(k)]) > std::fabs(m[size_t(pivot)][size_t(k)]))
                pivot = i;
        std::swap(m[size_t(k)], m[size_t(pivot)]);
        for (int i = 0; i < n; ++i) {
            if (i == k) continue;
            const long double f = m[size_t(i)][size_t(k)] / m[size_t(k)][size_t(k)];
            for (int j = k; j <= n; ++j) m[size_t(i)][size_t(j)] -= f * m[size_t(k)][size_t(j)];
        }
    }
    std::vector<double> x(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        x[size_t(i)] = double(m[size_t(i)][size_t(n)] / m[size_t(i)][size_t(i)]);
    return x;
}

}  // namespace

TEST(LeastSquares, MatchesTheNormalEquations) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int cols = 1; cols <= 11; ++cols) {
        // Rows shaped like a spline's: a few neighbouring unknowns each,
        // with noise on what they should come to.
        LinearSystem s;
        s.rows = 256;
        s.cols = cols;
        for (int r = 0; r < s.rows; ++r) {
            const double t = r / 255.0 * (cols - 1);
            for (int k = 0; k < cols; ++k)
                s.a.push_back(std::max(0.0, 1 - std::fabs(t - k)) + 0.01 * u(rng));
            s.b.push_back(300 * std::sin(r / 40.0) + 5 * u(rng));
        }
        std::vector<bool> use(size_t(s.rows), true);
        for (int r = 0; r < s.rows; r += 3) use[size_t(r)] = false;
        for (const std::vector<bool>& mask : {std::vector<bool>{}, use}) {
            const std::vector<double> x = leastsquares(s, mask);
            const std::vector<double> want = normalequations(s, mask);
            ASSERT_EQ(x.size(), size_t(cols));
            for (int k = 0; k < cols; ++k)
                EXPECT_NEAR(x[size_t(k)], want[size_t(k)], 1e-6) << cols << " " << k;
        }
    }
}

TEST(LeastSquares, RefusesSystemsThatDoNotFixEveryUnknown) {
    // Two unknowns that always come together, too few rows, no unknowns.
    LinearSystem s{3, 2, {1, 1, 2, 2, 3, 3}, {1, 2, 3}};
    EXPECT_TRUE(leastsquares(s).empty());
    LinearSystem wide{1, 2, {1, 0}, {1}};
    EXPECT_TRUE(leastsquares(wide).empty());
    LinearSystem fine{2, 2, {1, 0, 0, 1}, {3, 4}};
    EXPECT_EQ(leastsquares(fine), (std::vector<double>{3, 4}));
    EXPECT_TRUE(leastsquares(fine, {true, false}).empty());
    EXPECT_TRUE(leastsquares(LinearSystem{}).empty());
}
