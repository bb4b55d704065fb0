// The undo history every program uses, and its keys.
#include "shell/window/history.h"

#include <gtest/gtest.h>

#include <string>

using namespace shell;

namespace {

// A state with an edit (n) and a part only the view shows (view); text
// stands for heap the state owns.
struct Counter {
    int n = 0;
    int view = 0;
    std::string text;
    bool sameedit(const Counter& o) const { return n == o.n; }
    size_t bytes() const { return sizeof(Counter) + text.size(); }
};

Counter at(int n, int view = 0) {
    return Counter{n, view, {}};
}

}  // namespace

TEST(History, UndoRedoAndANewStepDropTheRedoSteps) {
    History<Counter> h;
    EXPECT_EQ(h.undo(), nullptr);
    EXPECT_EQ(h.redo(), nullptr);
    // 0 -> 1 -> 2 -> 3 as begun and ended edits; the view part of each
    // state comes back with it.
    for (int n = 0; n < 3; ++n) {
        h.begin(at(n, 10 + n));
        EXPECT_TRUE(h.end(at(n + 1, 20 + n)));
    }
    // An edit that changed nothing, however the view changed, is no step;
    // nor is an end without a begin.
    h.begin(at(3, 1));
    EXPECT_FALSE(h.end(at(3, 2)));
    EXPECT_FALSE(h.end(at(4)));
    EXPECT_EQ(h.undoable(), 3u);

    EXPECT_EQ(h.undo()->view, 12);
    EXPECT_EQ(h.undo()->view, 11);
    EXPECT_EQ(h.redo()->view, 21);
    EXPECT_EQ(h.undoable(), 2u);
    EXPECT_EQ(h.redoable(), 1u);
    // A new step where the redo would have gone drops it.
    h.record(at(2), at(7));
    EXPECT_EQ(h.redoable(), 0u);
    EXPECT_EQ(h.redo(), nullptr);
    EXPECT_EQ(h.undo()->n, 2);
    EXPECT_EQ(h.undo()->n, 1);
    EXPECT_EQ(h.undo()->n, 0);
    EXPECT_EQ(h.undo(), nullptr);
    EXPECT_EQ(h.redo()->n, 1);
}

TEST(History, KeepsItsMinimumAndOtherwiseItsBudget) {
    // Steps of about 1 KB each: a budget of 10 KB keeps the newest steps
    // that fit it, but never fewer than the minimum.
    const std::string kb(1000, 'x');
    for (size_t minsteps : {size_t(2), size_t(30)}) {
        History<Counter> h(10'000, minsteps);
        for (int n = 0; n < 50; ++n) h.record(Counter{n, 0, kb}, Counter{n + 1, 0, kb});
        const size_t kept = h.undoable();
        EXPECT_EQ(kept, minsteps == 2 ? 4u : 30u);
        EXPECT_EQ(h.bytes(), kept * 2 * (sizeof(Counter) + 1000));
        for (size_t i = 0; i + 1 < kept; ++i) h.undo();
        EXPECT_EQ(h.undo()->n, int(50 - kept));
        EXPECT_EQ(h.undo(), nullptr);
        h.clear();
        EXPECT_EQ(h.bytes(), 0u);
    }
    // The default keeps at least a thousand steps.
    History<Counter> h;
    for (int n = 0; n < 1500; ++n) h.record(at(n), at(n + 1));
    EXPECT_EQ(h.undoable(), 1500u);
}

TEST(History, KeysAndAccelerators) {
    EXPECT_EQ(undokey('Z', mod_ctrl), UndoKey::undo);
    EXPECT_EQ(undokey('Y', mod_ctrl), UndoKey::redo);
    EXPECT_EQ(undokey('Z', mod_ctrl | mod_shift), UndoKey::redo);
    for (int mods : {int(mod_none), int(mod_shift), int(mod_alt), mod_ctrl | mod_alt})
        EXPECT_EQ(undokey('Z', mods), UndoKey::none) << mods;
    EXPECT_EQ(undokey('Y', mod_ctrl | mod_shift), UndoKey::none);

    // Through the loop: the combinations post their commands, the plain
    // letters still reach the procedure as keys, and other Ctrl letters
    // are dropped.
    ProgramDesc d;
    d.accelerators = undoaccelerators(300, 310);
    Message out;
    struct Case {
        int vk, mods;
        bool routed;
        Msg msg;
        int wparam;
    } cases[] = {
        {'Z', mod_ctrl, true, Msg::command, 300},
        {'Y', mod_ctrl, true, Msg::command, 310},
        {'Z', mod_ctrl | mod_shift, true, Msg::command, 310},
        {'Z', mod_none, true, Msg::keydown, 'Z'},
        {'R', mod_ctrl, false, Msg::user, 0},
        {'Y', mod_ctrl | mod_alt, false, Msg::user, 0},
    };
    for (const Case& c : cases) {
        const bool routed = routemessage(d, Message::key(c.vk, c.mods), out);
        EXPECT_EQ(routed, c.routed) << c.vk << " " << c.mods;
        if (!routed) continue;
        EXPECT_EQ(out.msg, c.msg);
        EXPECT_EQ(out.wparam, c.wparam);
    }
}
