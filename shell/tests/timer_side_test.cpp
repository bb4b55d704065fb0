#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/headless/host.h"

using namespace shell;
using shell::headless::Host;

namespace {

// Writes down every timer message with the clock's time, and runs a hook on
// each message so a test can act from inside the procedure.
struct Clocked : Program {
    std::vector<std::string> seen;
    std::function<int(Window&, const Message&)> hook;
    int proc(Window& w, const Message& m) override {
        if (m.msg == Msg::timer)
            seen.push_back(std::to_string(m.wparam) + "@" + std::to_string(w.ticks()));
        if (m.msg == Msg::keydown) seen.push_back("key " + std::to_string(m.wparam));
        if (m.msg == Msg::sidesize) seen.push_back("size " + std::to_string(m.wparam));
        if (m.msg == Msg::destroy) w.quit(0);
        return hook ? hook(w, m) : 1;
    }
};

ProgramDesc clockeddesc() {
    ProgramDesc d;
    d.title = "clocked";
    d.width = 8;
    d.height = 4;
    d.make = [] { return std::make_unique<Clocked>(); };
    return d;
}

TEST(Timers, FireInTimeOrderUntilKilledAndRestartWithANewPeriod) {
    Host h(clockeddesc());
    auto& p = h.as<Clocked>();
    h.settimer(2, 50);
    h.settimer(1, 30);
    h.settimer(3, 0);  // at least a millisecond
    h.killtimer(3);
    h.advance(100);
    // Due together at 150: the lower id first.
    h.advance(50);
    EXPECT_EQ(p.seen, (std::vector<std::string>{"1@30", "2@50", "1@60", "1@90", "2@100", "1@120",
                                                "1@150", "2@150"}));
    EXPECT_EQ(h.ticks(), 150);

    // Killed from inside its own message; restarted with another period.
    p.seen.clear();
    p.hook = [](Window& w, const Message& m) {
        if (m.msg == Msg::timer && m.wparam == 1) w.killtimer(1);
        return 1;
    };
    h.settimer(2, 20);
    h.advance(45);
    EXPECT_EQ(p.seen, (std::vector<std::string>{"2@170", "1@180", "2@190"}));
    EXPECT_EQ(h.timers().count(1), 0u);
}

TEST(Timers, AtMostOneMessageWaitsAndKillingDropsIt) {
    Host h(clockeddesc());
    auto& p = h.as<Clocked>();
    h.settimer(7, 10);
    h.timerdue(7);
    h.timerdue(7);  // still waiting: not queued again
    h.timerdue(8);  // not a timer
    h.pump();
    EXPECT_EQ(p.seen, (std::vector<std::string>{"7@0"}));
    h.timerdue(7);
    h.killtimer(7);
    h.pump();
    EXPECT_EQ(p.seen.size(), 1u);
}

TEST(SideWindows, OpenPresentCloseAndTheCloseButton) {
    Host h(clockeddesc());
    auto& p = h.as<Clocked>();
    SideWindow& s = h.opensidewindow(4, "Side", 5, 3);
    EXPECT_EQ(&h.opensidewindow(4, "Other", 9, 9), &s);  // already open: as it is
    EXPECT_EQ(s.title(), "Side");
    EXPECT_EQ(s.xres(), 5);
    EXPECT_EQ(s.yres(), 3);
    s.offscreen.fill(Rgb{1, 2, 3});
    s.present(Rect{1, 1, 3, 2});
    EXPECT_EQ(s.onscreen.at(1, 1), (Rgb{1, 2, 3}));
    EXPECT_EQ(s.onscreen.at(3, 1), (Rgb{0, 0, 0}));

    // A procedure that handles the close message decides itself ...
    p.hook = [](Window&, const Message& m) { return m.msg == Msg::sideclose ? 0 : 1; };
    h.closeside(4);
    EXPECT_EQ(h.sidewindow(4), &s);
    // ... and one that does not gets the default: the window closes.
    p.hook = nullptr;
    h.closeside(4);
    EXPECT_EQ(h.sidewindow(4), nullptr);
    h.closesidewindow(4);  // closed already: nothing happens

    // Keys reach the procedure whichever window has them; Ctrl and Alt
    // combinations are dropped as for the main window.
    h.opensidewindow(5, "Again", 2, 2);
    h.key('A');
    h.key('A', mod_ctrl);
    EXPECT_EQ(p.seen, (std::vector<std::string>{"key 65"}));
    EXPECT_EQ(h.sidelog, (std::vector<std::string>{"open 4", "close 4", "open 5"}));
}

TEST(SideWindows, AResizeKeepsWhatFitsAndTellsTheProcedure) {
    Host h(clockeddesc());
    auto& p = h.as<Clocked>();
    SideWindow& s = h.opensidewindow(3, "Side", SideSize{4, 3, 2, 0});
    EXPECT_EQ(h.sidesizes[3].minwidth, 2);
    s.offscreen.fill(Rgb{9, 9, 9});
    s.presentall();
    // Wider and lower: the old pixels stay where they were, the new column
    // is black in both pictures, and the procedure hears of it once.
    h.resizeside(3, 5, 2);
    h.resizeside(3, 5, 2);
    h.resizeside(8, 5, 2);  // no such window
    EXPECT_EQ(p.seen, (std::vector<std::string>{"size 3"}));
    for (const Surface* pic : {&s.offscreen, &s.onscreen}) {
        EXPECT_EQ(pic->width(), 5);
        EXPECT_EQ(pic->height(), 2);
        EXPECT_EQ(pic->at(3, 1), (Rgb{9, 9, 9}));
        EXPECT_EQ(pic->at(4, 0), (Rgb{0, 0, 0}));
    }
}

TEST(SideWindows, MessagesSayWhichWindowAndThePointerComesOnlyWhereAsked) {
    Host h(clockeddesc());
    auto& p = h.as<Clocked>();
    std::vector<std::string> got;
    p.hook = [&](Window&, const Message& m) {
        if (m.msg != Msg::keydown && m.msg != Msg::create)
            got.push_back(std::to_string(int(m.msg)) + " w" + std::to_string(m.window) + " " +
                          std::to_string(m.wparam) + " " + std::to_string(m.x) + "," +
                          std::to_string(m.y));
        return 1;
    };
    h.opensidewindow(2, "Keys only", 4, 4);
    h.opensidewindow(3, "Pointer", SideSize{6, 6, 0, 0, true});
    const std::string wheel = std::to_string(int(Msg::wheel));
    const std::string rdown = std::to_string(int(Msg::rbuttondown));
    const std::string move = std::to_string(int(Msg::mousemove));

    h.sidekey(2, 'Q');
    h.sidekey(3, 'W');
    h.sidekey(9, 'E');  // no such window: nobody hears it
    EXPECT_EQ(p.seen, (std::vector<std::string>{"key 81", "key 87"}));
    h.sidesend(2, Message::mouse(Msg::mousemove, 1, 1));  // did not ask for the pointer
    h.sidesend(3, Message::wheel(-2, 4, 5));
    h.sidesend(3, Message::mouse(Msg::rbuttondown, 1, 2));
    h.wheel(1, 7, 3);
    EXPECT_EQ(got, (std::vector<std::string>{wheel + " w3 -2 4,5", rdown + " w3 0 1,2",
                                             wheel + " w0 1 7,3"}));
    // The main window's pointer is where its own messages put it, whatever
    // happens over a side window.
    EXPECT_EQ(h.pointer()->x, 7);
    h.sidesend(3, Message::mouse(Msg::mousemove, 5, 5));
    h.sidesend(3, Message::simple(Msg::mouseleave));
    EXPECT_EQ(h.pointer()->x, 7);
    EXPECT_EQ(got.back(), std::to_string(int(Msg::mouseleave)) + " w3 0 0,0");
    EXPECT_EQ(got[got.size() - 2], move + " w3 0 5,5");
    h.closesidewindow(3);
    got.clear();
    h.sidesend(3, Message::mouse(Msg::mousemove, 5, 5));
    EXPECT_TRUE(got.empty());
}

}  // namespace
