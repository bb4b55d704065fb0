#include "editor.h"

#include <algorithm>

#include "fit.h"

namespace knotloom {

bool Editor::press(shell::Point p) {
    const int n = m_.nd[m_.cindex];
    for (int k = 1; k <= n - 2; ++k) {
        if (m_.drect[m_.cindex][k].contains(p)) {
            dpindex = k;
            okdrag = true;
            moved_ = false;
            return true;
        }
    }
    return false;
}

bool Editor::dragto(shell::Point p) {
    if (!okdrag) return false;
    const int ch = m_.cindex, n = m_.nd[ch];
    const double q = prox[n - 7];
    double(*D)[2] = m_.dp[ch];
    double px = p.x, py = p.y;
    if (py < kTopY) py = kTopY;
    if (py > kBottomY) py = kBottomY;
    if (dpindex == 1) {
        px = std::min(std::max(px, kLeftEndMin), kLeftEndMax);
    } else if (dpindex == 2) {
        px = kFirstUserX;
    } else if (dpindex < n - 3) {
        // Keep the distance from both neighbours; where both cannot be
        // kept the right neighbour wins.
        if (px < D[dpindex - 1][0] + q) px = D[dpindex - 1][0] + q;
        if (px > D[dpindex + 1][0] - q) px = D[dpindex + 1][0] - q;
    } else if (dpindex == n - 3) {
        px = kLastUserX;
    } else {
        px = std::min(std::max(px, kRightEndMin), kRightEndMax);
    }
    D[dpindex][0] = px;
    D[dpindex][1] = py;
    // The end points drag their copies along.
    if (dpindex == 1) {
        D[0][0] = D[1][0];
        D[0][1] = D[1][1];
        setclickrect(m_, 0, D[0][0], D[0][1], 0);
    } else if (dpindex == n - 2) {
        D[n - 1][0] = D[n - 2][0];
        D[n - 1][1] = D[n - 2][1];
        setclickrect(m_, n - 1, D[n - 1][0], D[n - 1][1], 0);
    }
    setclickrect(m_, dpindex, px, py, 0);
    cpcalc(m_);
    moved_ = true;
    notice.notify(Change{1u << ch, false, false});
    return true;
}

bool Editor::release() {
    const bool was = okdrag;
    okdrag = false;
    if (was && moved_ && m_.fitted[m_.cindex]) refittarget(m_, m_.cindex);
    moved_ = false;
    return was;
}

void Editor::setchannel(int channel) {
    m_.cindex = channel;
    notice.notify(Change{0, true, false});
}

void Editor::invert() {
    m_.invert = 1 - m_.invert;
    notice.notify(Change{0, false, true});
}

void Editor::setpoints() {
    const int ch = m_.cindex, n = m_.nd[ch];
    m_.nd[ch] = m_.trackpos[ch] + 4;
    if (m_.nd[ch] == n) return;
    if (m_.fitted[ch]) {
        // A channel fitted to a palette is fitted to it again, with the new
        // count.
        fitchannel(m_, ch, m_.fittarget);
    } else {
        // A new count starts the channel over in the default layout.
        matrixcalc(m_, 0);
        cpcalc(m_);
    }
    notice.notify(Change{1u << ch, false, false});
}

}  // namespace knotloom
