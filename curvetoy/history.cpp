#include "history.h"

#include <cstring>

#include "mainwindow.h"

namespace curvetoy {

// Steps are small enough for the memory budget to keep far more than the
// thousand it must.
static_assert(shell::kHistoryBudget / (2 * sizeof(WindowState)) >= 4 * shell::kHistoryMinSteps);

bool WindowState::sameedit(const WindowState& o) const {
    return std::memcmp(x, o.x, sizeof x) == 0 && std::memcmp(y, o.y, sizeof y) == 0 &&
           std::memcmp(spectrum, o.spectrum, sizeof spectrum) == 0;
}

WindowState WindowHistory::capture(const MainWindow& mw) const {
    const Demo& d = mw.demo;
    WindowState s;
    for (int i = 0; i < nd; ++i) {
        s.x[i] = d.dp[i].x;
        s.y[i] = d.dp[i].y;
    }
    for (int i = 0; i < kWidth; ++i) s.spectrum[i] = uint8_t(d.spectrum[i]);
    return s;
}

void WindowHistory::restore(MainWindow& mw, shell::Window& w, const WindowState& s) {
    Demo& d = mw.demo;
    for (int i = 0; i < nd; ++i) {
        d.dp[i].x = s.x[i];
        d.dp[i].y = s.y[i];
        setclickrect(&d.dp[i], s.x[i], s.y[i]);
    }
    d.cpcalc();
    for (int i = 0; i < kWidth; ++i) d.spectrum[i] = s.spectrum[i];
    // The redraw samples the curve again, which gives the kept heights back
    // where it reaches.
    d.draw(w.offscreen);
    w.present(shell::Rect{0, 0, kWidth, kHeight});
}

}  // namespace curvetoy
