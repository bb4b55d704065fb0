// The clock of colour cycling: a palette rotation that grows with the time,
// at a speed and in a direction the user picks. Both the gradient designer's
// preview and the Explore window cycle by it; each draws the rotation itself.
#pragma once

namespace explore {

class CycleClock {
  public:
    // The speeds in entries per second that Up and Down step through.
    static constexpr int kSpeeds[] = {1, 2, 3, 5, 8, 12, 20, 30, 45, 60, 90, 120};
    static constexpr int kDefaultSpeed = 30;

    // A rotation through `entries` entries, 0 ... entries - 1.
    explicit CycleClock(int entries) : entries_(entries) {}

    bool running() const { return running_; }
    int direction() const { return direction_; }  // +1 or -1
    int speed() const { return kSpeeds[speedindex_]; }
    // A timer period for the current speed: about one entry a frame.
    int period() const;

    // Starts from rotation 0 at time `now` (milliseconds); stop goes back to
    // no rotation. Direction and speed stay as they were.
    void start(long long now);
    void stop() { running_ = false; }
    // The rotation at time `now`: 0 while stopped.
    int shiftat(long long now) const;
    // A new direction or speed (a step of `by` through kSpeeds) from `now`
    // on, the rotation reached so far kept.
    void setdirection(int direction, long long now);
    void changespeed(int by, long long now);

  private:
    // Takes the rotation reached by `now` as the start for a new direction or
    // speed.
    void rebase(long long now);

    int entries_;
    bool running_ = false;
    int direction_ = 1;
    int speedindex_ = 7;   // kDefaultSpeed
    long long since_ = 0;  // when the speed and direction last changed
    int base_ = 0;         // the rotation then
};

}  // namespace explore
