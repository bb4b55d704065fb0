// What the host does with the messages a window procedure leaves to it.
#include <gtest/gtest.h>

#include "shell/headless/host.h"

using namespace shell;
using shell::headless::Host;

namespace {

// Draws red into its picture at creation, shows nothing of it, and takes the
// paint, move, size and destroy messages itself only when told to.
struct Plain : Program {
    bool handles = false;
    int seen = 0;  // paint, move, size and destroy messages that came
    int proc(Window& w, const Message& m) override {
        switch (m.msg) {
            case Msg::create:
                w.offscreen.fill(Rgb{255, 0, 0});
                return 0;
            case Msg::paint:
            case Msg::move:
            case Msg::size:
            case Msg::destroy:
                ++seen;
                return handles ? 0 : 1;
            default:
                return 1;
        }
    }
};

ProgramDesc plaindesc() {
    ProgramDesc d;
    d.width = 6;
    d.height = 4;
    d.make = [] { return std::make_unique<Plain>(); };
    return d;
}

}  // namespace

TEST(HostDefaults, PaintMoveSizeAndDestroyWhereTheProcedureLeavesThemToTheHost) {
    for (bool handles : {false, true}) {
        SCOPED_TRACE(handles ? "handled by the procedure" : "left to the host");
        Host h(plaindesc());
        Plain& p = h.as<Plain>();
        p.handles = handles;
        const Rgb red{255, 0, 0}, black{};
        // A paint shows its rectangle of the picture, and only that.
        h.expose(Rect{1, 1, 3, 2});
        EXPECT_EQ(h.onscreen.at(2, 1), handles ? black : red);
        EXPECT_EQ(h.onscreen.at(3, 1), black);
        // A move and a size each ask for the whole window to be painted.
        for (Msg m : {Msg::move, Msg::size}) {
            const Rgb c{0, uint8_t(m == Msg::move ? 0 : 255), 255};
            h.offscreen.setpixel(5, 3, c);
            h.send(Message::simple(m));
            EXPECT_EQ(h.onscreen.at(5, 3), handles ? black : c);
        }
        // The destruction ends the program with 0; a procedure that takes it
        // ends it itself, when it will. Nothing reaches the procedure after it.
        h.close();
        EXPECT_EQ(h.ended(), !handles);
        EXPECT_EQ(h.exitcode(), 0);
        const int seen = p.seen;
        h.expose(Rect{0, 0, 6, 4});
        EXPECT_EQ(p.seen, seen);
        EXPECT_EQ(seen, handles ? 4 : 6);
    }
}
