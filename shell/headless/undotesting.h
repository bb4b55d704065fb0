// Support for the undo tests of every program: snapshots of a window (both
// pictures and the program's model), a scripted session undone and redone
// step by step against its snapshots, and a random session checked against
// a fresh window that replays only the edits that survive.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "host.h"
#include "testing.h"

namespace shell::testing {

// A window at one moment: its two pictures and the program's model, as the
// bytes a program's test chooses to compare.
struct Shot {
    Surface offscreen, onscreen;
    std::string model;
};

using ModelBytes = std::function<std::string(headless::Host&)>;

inline Shot shoot(headless::Host& h, const ModelBytes& model) {
    return Shot{h.offscreen, h.onscreen, model(h)};
}

// The appends of a model's bytes, for building ModelBytes.
template <class T>
void put(std::string& s, const T& v) {
    s.append(reinterpret_cast<const char*>(&v), sizeof v);
}

// What differs between two shots, empty when nothing does.
inline std::string difference(const Shot& want, const Shot& got) {
    auto firstpixel = [](const Surface& a, const Surface& b) {
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.getpixel(x, y) != b.getpixel(x, y))
                    return " first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        return std::string();
    };
    std::string out;
    if (!samesurface(want.offscreen, got.offscreen))
        out += "offscreen differs" + firstpixel(want.offscreen, got.offscreen) + "; ";
    if (!samesurface(want.onscreen, got.onscreen))
        out += "onscreen differs" + firstpixel(want.onscreen, got.onscreen) + "; ";
    if (want.model != got.model) {
        size_t i = 0;
        while (i < want.model.size() && i < got.model.size() && want.model[i] == got.model[i]) ++i;
        out += "model differs from byte " + std::to_string(i) + "; ";
    }
    return out;
}

// The keys: Ctrl+Z, and one of the two redo keys.
inline void undo(headless::Host& h) {
    h.key('Z', mod_ctrl);
}
inline void redo(headless::Host& h, bool shifted = false) {
    if (shifted)
        h.key('Z', mod_ctrl | mod_shift);
    else
        h.key('Y', mod_ctrl);
}

// One edit of a scripted session: `prep` does what is no edit (choosing a
// channel, hovering) before the snapshot, `edit` makes exactly one step.
struct ScriptedEdit {
    std::string name;
    std::function<void(headless::Host&)> prep, edit;
};

// The edit with the pointer brought to rest at p after its preparation and
// after the edit itself. A window whose hover readout shows what is under
// the pointer when a step is restored then shows, after an undo, the
// readout of the snapshot before the edit, and after a redo the one after.
inline ScriptedEdit resting(Point p, ScriptedEdit e) {
    auto rest = [p](headless::Host& w) { w.move(p.x, p.y); };
    e.prep = [prep = std::move(e.prep), rest](headless::Host& w) {
        if (prep) prep(w);
        rest(w);
    };
    e.edit = [edit = std::move(e.edit), rest](headless::Host& w) {
        edit(w);
        rest(w);
    };
    return e;
}

// Runs the edits with a snapshot before and after each, then undoes them one
// by one (each must give back the snapshot before its edit, and one more
// undo changes nothing), redoes them one by one (each must give back the
// snapshot after its edit, and one more redo changes nothing), undoes the
// last two and makes `fresh` instead, after which nothing can be redone.
// The keys go to the window, or to `key` where given (a dialog, say).
// Returns what went wrong, empty when nothing did.
inline std::string undoredo(headless::Host& h, const std::vector<ScriptedEdit>& edits,
                            const ModelBytes& model, const ScriptedEdit& fresh,
                            const std::function<std::pair<size_t, size_t>()>& counts,
                            const std::function<void(int vk, int mods)>& key = {}) {
    auto undo = [&](headless::Host& w) {
        if (key)
            key('Z', mod_ctrl);
        else
            testing::undo(w);
    };
    auto redo = [&](headless::Host& w, bool shifted = false) {
        if (key)
            key(shifted ? 'Z' : 'Y', shifted ? mod_ctrl | mod_shift : mod_ctrl);
        else
            testing::redo(w, shifted);
    };
    std::vector<Shot> before, after;
    for (const ScriptedEdit& e : edits) {
        if (e.prep) e.prep(h);
        before.push_back(shoot(h, model));
        e.edit(h);
        after.push_back(shoot(h, model));
    }
    if (counts() != std::make_pair(edits.size(), size_t(0)))
        return "the session left " + std::to_string(counts().first) + " steps";
    std::string d;
    for (size_t k = edits.size(); k-- > 0;) {
        undo(h);
        if (!(d = difference(before[k], shoot(h, model))).empty())
            return "undo of " + edits[k].name + ": " + d;
    }
    undo(h);
    if (!(d = difference(before[0], shoot(h, model))).empty())
        return "an undo with nothing to undo: " + d;
    for (size_t k = 0; k < edits.size(); ++k) {
        redo(h, k % 2 == 1);
        if (!(d = difference(after[k], shoot(h, model))).empty())
            return "redo of " + edits[k].name + ": " + d;
    }
    redo(h);
    if (!(d = difference(after.back(), shoot(h, model))).empty())
        return "a redo with nothing to redo: " + d;
    if (edits.size() < 2) return "";
    undo(h);
    undo(h);
    if (fresh.prep) fresh.prep(h);
    const Shot undone = shoot(h, model);
    fresh.edit(h);
    if (counts() != std::make_pair(edits.size() - 1, size_t(0)))
        return "a new edit after two undos left " + std::to_string(counts().first) + " and " +
               std::to_string(counts().second) + " steps";
    const Shot now = shoot(h, model);
    redo(h);
    if (!(d = difference(now, shoot(h, model))).empty()) return "a dropped redo acted: " + d;
    undo(h);
    if (!(d = difference(undone, shoot(h, model))).empty()) return "undo of the new edit: " + d;
    return "";
}

// How many actions a random session runs: UNDO_RANDOM_STEPS from the
// environment (for longer runs), otherwise `fallback`; and its seed,
// UNDO_RANDOM_SEED or a fixed one, so that a failure can be run again.
inline int randomsteps(int fallback = 2000) {
    const char* s = std::getenv("UNDO_RANDOM_STEPS");
    const int n = s ? std::atoi(s) : 0;
    return n > 0 ? n : fallback;
}
inline unsigned randomseed() {
    const char* s = std::getenv("UNDO_RANDOM_SEED");
    return s ? unsigned(std::strtoul(s, nullptr, 10)) : 20240611u;
}

// A random session of edits, undos and redos (and, where the program has
// them, actions that are no edits). Now and then, and at the end, a fresh
// window replays only the edits that survive, is brought to the same view
// (`align`) and must show the same pictures and model.
template <class Edit>
struct RandomSession {
    ProgramDesc desc;
    ModelBytes model;
    // An edit for the window as it stands, and how it is carried out; a
    // replayed edit is carried out the same way.
    std::function<Edit(std::mt19937&, headless::Host&)> pick;
    std::function<void(headless::Host&, const Edit&)> apply;
    // An action that is no edit (may be empty), and how the replay is
    // brought to the window's view before the comparison (may be empty).
    std::function<void(std::mt19937&, headless::Host&)> look;
    std::function<void(headless::Host& replay, headless::Host& window)> align;
    // The window's undoable and redoable step counts.
    std::function<std::pair<size_t, size_t>(headless::Host&)> counts;

    std::string run(int steps, unsigned seed, int checks = 10) const {
        std::mt19937 rng(seed);
        headless::Host w(desc);
        std::vector<Edit> edits;  // edits[0, done) survive; the rest can be redone
        size_t done = 0;
        const int every = std::max(1, steps / checks);
        for (int i = 1; i <= steps; ++i) {
            const int r = int(rng() % 100);
            if (r < 40) {
                Edit e = pick(rng, w);
                const size_t had = counts(w).first;
                apply(w, e);
                if (counts(w).first == had + 1) {
                    edits.resize(done);
                    edits.push_back(e);
                    ++done;
                }
            } else if (r < 70) {
                undo(w);
                if (done > 0) --done;
            } else if (r < 90) {
                redo(w, rng() % 2 == 1);
                if (done < edits.size()) ++done;
            } else if (look) {
                look(rng, w);
            }
            if (counts(w) != std::make_pair(done, edits.size() - done))
                return "action " + std::to_string(i) + ": the window has " +
                       std::to_string(counts(w).first) + " and " +
                       std::to_string(counts(w).second) + " steps, not " + std::to_string(done) +
                       " and " + std::to_string(edits.size() - done);
            if (i % every != 0 && i != steps) continue;
            headless::Host replay(desc);
            for (size_t k = 0; k < done; ++k) apply(replay, edits[k]);
            if (align) align(replay, w);
            const std::string d = difference(shoot(replay, model), shoot(w, model));
            if (!d.empty())
                return "action " + std::to_string(i) + " (seed " + std::to_string(seed) + ", " +
                       std::to_string(done) + " edits survive): " + d;
        }
        return "";
    }
};

}  // namespace shell::testing
