// Undo and redo: the keys every program uses for them, and a bounded list of
// steps, each the state before and after one edit, that a program walks back
// and forth through.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "program.h"

namespace shell {

// What a key asks of a history: Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo.
enum class UndoKey { none, undo, redo };

inline UndoKey undokey(int vk, int mods) {
    if (vk == 'Z' && mods == mod_ctrl) return UndoKey::undo;
    if ((vk == 'Y' && mods == mod_ctrl) || (vk == 'Z' && mods == (mod_ctrl | mod_shift)))
        return UndoKey::redo;
    return UndoKey::none;
}

// The accelerators of those keys, posting the commands `undo` and `redo`.
inline std::vector<Accelerator> undoaccelerators(int undo, int redo) {
    return {{'Z', undo, mod_ctrl}, {'Y', redo, mod_ctrl}, {'Z', redo, mod_ctrl | mod_shift}};
}

// How much a history may hold: its steps together stay within the budget,
// except that the newest kHistoryMinSteps steps are always kept. Every
// program's step is a few kilobytes at most (records and data points, never
// pictures), so the budget holds several thousand.
constexpr size_t kHistoryBudget = size_t(64) << 20;
constexpr size_t kHistoryMinSteps = 1000;

// The steps of one session. A State is a plain value the program can
// capture and restore; it provides
//   bool sameedit(const State&) const   true when no edit lies between the
//                                       two (what only the view shows, such
//                                       as a hover readout, does not count)
//   size_t bytes() const                its size, heap included
//
// An edit is announced with begin(before) and closed with end(after), which
// records a step only when the edit changed something. undo() and redo()
// return the state to restore. A new step after an undo drops the steps
// that could have been redone.
template <class State>
class History {
  public:
    explicit History(size_t budget = kHistoryBudget, size_t minsteps = kHistoryMinSteps)
        : budget_(budget), minsteps_(minsteps) {}

    // An edit starts from `before`; a second begin replaces the first.
    void begin(State before) { pending_ = std::move(before); }
    bool begun() const { return pending_.has_value(); }
    // The edit begun last ends in `after`: a step when it changed anything.
    // Returns true when a step was recorded.
    bool end(const State& after) {
        if (!pending_) return false;
        State before = std::move(*pending_);
        pending_.reset();
        if (before.sameedit(after)) return false;
        record(std::move(before), after);
        return true;
    }
    // Forgets a begun edit that came to nothing.
    void cancel() { pending_.reset(); }

    // A step from `before` to `after`.
    void record(State before, State after) {
        while (steps_.size() > done_) drop(false);
        steps_.push_back(Step{std::move(before), std::move(after)});
        bytes_ += cost(steps_.back());
        ++done_;
        while (steps_.size() > minsteps_ && bytes_ > budget_) drop(true);
    }

    // The state before the last step done, which becomes undone; null when
    // there is none.
    const State* undo() {
        if (done_ == 0) return nullptr;
        return &steps_[--done_].before;
    }
    // The state after the first undone step, which is done again; null when
    // there is none.
    const State* redo() {
        if (done_ == steps_.size()) return nullptr;
        return &steps_[done_++].after;
    }

    // The state the next redo() gives back, null when there is none. A
    // window that has just undone a step keeps its view of that moment in
    // it (which channel it showed, say), so that the redo returns to
    // exactly what the undo left.
    State* nextredo() { return done_ < steps_.size() ? &steps_[done_].after : nullptr; }

    size_t undoable() const { return done_; }
    size_t redoable() const { return steps_.size() - done_; }
    size_t bytes() const { return bytes_; }
    void clear() {
        steps_.clear();
        pending_.reset();
        done_ = 0;
        bytes_ = 0;
    }

  private:
    struct Step {
        State before, after;
    };
    static size_t cost(const Step& s) { return s.before.bytes() + s.after.bytes(); }
    // Drops the oldest step (front) or the newest (back).
    void drop(bool oldest) {
        bytes_ -= cost(oldest ? steps_.front() : steps_.back());
        if (oldest) {
            steps_.pop_front();
            --done_;
        } else {
            steps_.pop_back();
        }
    }

    std::deque<Step> steps_;
    size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
    size_t bytes_ = 0;
    size_t budget_, minsteps_;
    std::optional<State> pending_;
};

// The undo of a window whose edits are drags and clicks captured whole: a
// drag still under way when an undo key comes ends there as a step of its
// own. Derived supplies `State capture(const Program&) const` and
// `void restore(Program&, Window&, const State&)`; the program has
// `bool enddrag()`, which ends a drag in progress and says whether there
// was one.
template <class Derived, class Program, class State>
class CapturedHistory {
  public:
    // An edit starts from the window as it stands, and ends: a step if it
    // changed anything.
    void begin(const Program& p) { steps.begin(self().capture(p)); }
    void end(const Program& p) { steps.end(self().capture(p)); }
    // Runs the undo (`undoid`) and redo commands; false for any other.
    bool command(Program& p, Window& w, int id, int undoid, int redoid) {
        if (id != undoid && id != redoid) return false;
        if (p.enddrag()) end(p);
        steps.cancel();
        if (const State* s = id == undoid ? steps.undo() : steps.redo()) self().restore(p, w, *s);
        return true;
    }

    History<State> steps;

  private:
    Derived& self() { return static_cast<Derived&>(*this); }
    const Derived& self() const { return static_cast<const Derived&>(*this); }
};

}  // namespace shell
