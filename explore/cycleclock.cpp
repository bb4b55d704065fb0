#include "explore/cycleclock.h"

#include <algorithm>
#include <iterator>

namespace explore {

namespace {

// The shortest timer period, whatever the speed; at 120 entries a second a
// frame every 9 ms moves one entry a frame.
constexpr int kShortestPeriod = 8;

static_assert(CycleClock::kSpeeds[7] == CycleClock::kDefaultSpeed, "the default speed's index");

}  // namespace

int CycleClock::period() const {
    // Rounded up, so that each frame finds the next entry due.
    return std::max(kShortestPeriod, (1000 + speed() - 1) / speed());
}

void CycleClock::start(long long now) {
    running_ = true;
    base_ = 0;
    since_ = now;
}

int CycleClock::shiftat(long long now) const {
    if (!running_) return 0;
    const long long moved = speed() * (now - since_) / 1000;
    const int shift = (base_ + direction_ * int(moved % entries_)) % entries_;
    return shift < 0 ? shift + entries_ : shift;
}

void CycleClock::rebase(long long now) {
    if (!running_) return;
    base_ = shiftat(now);
    since_ = now;
}

void CycleClock::setdirection(int direction, long long now) {
    rebase(now);
    direction_ = direction < 0 ? -1 : 1;
}

void CycleClock::changespeed(int by, long long now) {
    rebase(now);
    speedindex_ = std::clamp(speedindex_ + by, 0, int(std::size(kSpeeds)) - 1);
}

}  // namespace explore
