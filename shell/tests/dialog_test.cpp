#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <vector>

#include "shell/headless/host.h"
#include "shell/headless/testing.h"
#include "shell/io/paths.h"
#include "shell/window/dialoglogic.h"
#include "shell/window/filedialog.h"

using namespace shell;
using shell::headless::Dialog;
using shell::headless::Host;

namespace {

DialogTemplate sample() {
    DialogTemplate t;
    t.caption = "Sample";
    t.controls = {
        {10, Control::edit, "7", 0, 0, 20, 10, true, true},
        {20, Control::radio, "A", 0, 0, 20, 10, true, true},
        {21, Control::radio, "B", 0, 0, 20, 10, false, true},
        {30, Control::radio, "C", 0, 0, 20, 10, true, true},
        {31, Control::radio, "D", 0, 0, 20, 10, false, true},
        {40, Control::checkbox, "E", 0, 0, 20, 10, true, true},
        {50, Control::trackbar, "", 0, 0, 20, 10, true, true},
        {1, Control::button, "OK", 0, 0, 20, 10, true, true},
        {2, Control::button, "Cancel", 0, 0, 20, 10, false, true},
    };
    return t;
}

// Records every message and, on an edit change, writes the box back once
// clamped, as the programs' dialogs do.
struct Recorder : DialogProc {
    std::vector<DialogMessage> log;
    std::vector<std::string> seen;
    int handle(DialogView& v, const DialogMessage& m) override {
        log.push_back(m);
        if (m.msg == DlgMsg::init) v.setrange(50, 3, 9);
        if (m.msg == DlgMsg::command && m.id == 10 && m.code == en_change) {
            seen.push_back(v.text(10));
            if (v.text(10) == "300") v.settext(10, "255");
        }
        if (m.msg == DlgMsg::command && (m.id == 1 || m.id == 2)) v.end(m.id);
        return 1;
    }
};

}  // namespace

TEST(DialogUnits, RoundHalfUp) {
    DialogUnits du = dialogunits(8);
    EXPECT_EQ(du.x(4), 6);
    EXPECT_EQ(du.x(1), 2);  // 1.5 rounds up
    EXPECT_EQ(du.y(8), 13);
    EXPECT_EQ(du.y(4), 7);  // 6.5 rounds up
    DialogUnits help = dialogunits(11);
    EXPECT_EQ(help.x(394), 887);  // 886.5
    EXPECT_EQ(help.y(296), 629);
    // At a scale every position is that of scale 1 times the scale.
    for (int n : {2, 3})
        for (int pt : {8, 11})
            for (int v : {1, 4, 7, 296, 394}) {
                EXPECT_EQ(dialogunits(pt, n).x(v), n * dialogunits(pt).x(v)) << n << " " << v;
                EXPECT_EQ(dialogunits(pt, n).y(v), n * dialogunits(pt).y(v)) << n << " " << v;
            }
}

TEST(HeadlessDialog, WritesNotifyBeforeReturning) {
    Recorder r;
    Dialog d(sample(), r);
    d.init();
    d.settext(10, "12");
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0], "12");
    // A write-back from inside the notification is itself notified, and the
    // box ends up holding the clamped value.
    d.type(10, "300");
    EXPECT_EQ(d.text(10), "255");
    EXPECT_EQ(r.seen, (std::vector<std::string>{"12", "300", "255"}));
    // Writing a static text or button label notifies nothing.
    size_t n = r.log.size();
    d.settext(1, "Done");
    EXPECT_EQ(r.log.size(), n);
}

TEST(HeadlessDialog, RadioGroupsCheckBoxesAndDisabledControls) {
    Recorder r;
    Dialog d(sample(), r);
    d.init();
    d.click(21);
    d.click(30);
    EXPECT_TRUE(d.checked(21));  // another group is left alone
    EXPECT_TRUE(d.checked(30));
    d.click(20);
    EXPECT_TRUE(d.checked(20));
    EXPECT_FALSE(d.checked(21));
    d.click(40);
    EXPECT_TRUE(d.checked(40));
    d.click(40);
    EXPECT_FALSE(d.checked(40));
    d.enable(31, false);
    size_t n = r.log.size();
    d.click(31);
    d.type(31, "x");
    EXPECT_EQ(r.log.size(), n);
    EXPECT_FALSE(d.checked(31));
}

TEST(HeadlessDialog, TrackbarCodes) {
    Recorder r;
    Dialog d(sample(), r);
    d.init();
    EXPECT_EQ(d.range(50), std::make_pair(3, 9));
    d.setpos(50, 6);
    r.log.clear();
    d.trackkey(50, vk_right);
    ASSERT_EQ(r.log.size(), 2u);
    EXPECT_EQ(r.log[0].code, tb_linedown);
    EXPECT_EQ(r.log[0].pos, 7);
    EXPECT_EQ(r.log[1].code, tb_endtrack);
    d.trackkey(50, vk_home);
    EXPECT_EQ(r.log[2].code, tb_top);
    EXPECT_EQ(d.pos(50), 3);
    d.trackkey(50, vk_left);  // stays at the bottom of the range
    EXPECT_EQ(d.pos(50), 3);
    d.trackkey(50, vk_end);
    EXPECT_EQ(d.pos(50), 9);
    r.log.clear();
    d.trackdrag(50, {5, 4});
    ASSERT_EQ(r.log.size(), 4u);
    EXPECT_EQ(r.log[0].code, tb_thumbtrack);
    EXPECT_EQ(r.log[1].pos, 4);
    EXPECT_EQ(r.log[2].code, tb_thumbposition);
    EXPECT_EQ(r.log[3].code, tb_endtrack);
    d.setpos(50, 42);  // clamped to the range
    EXPECT_EQ(d.pos(50), 9);
}

TEST(DialogLogic, TabStopsTextLimitsAndTrackKeys) {
    // Tab visits each control that takes the focus once, a radio group at
    // its checked button, skips what is disabled, and wraps round.
    DialogTemplate t = sample();
    std::set<int> off = {2};
    std::set<int> on = {21, 30};
    auto enabled = [&](int id) { return off.count(id) == 0; };
    auto checked = [&](int id) { return on.count(id) != 0; };
    std::vector<int> order;
    for (int id = nexttabstop(t, 0, false, enabled, checked); order.size() < 8;
         id = nexttabstop(t, id, false, enabled, checked))
        order.push_back(id);
    EXPECT_EQ(order, (std::vector<int>{10, 21, 30, 40, 50, 1, 10, 21}));
    EXPECT_EQ(nexttabstop(t, 10, true, enabled, checked), 1);
    EXPECT_EQ(nexttabstop(t, 20, false, enabled, checked), 30);  // from an unchecked radio
    on.clear();  // no radio checked: the group's first stands for it
    EXPECT_EQ(nexttabstop(t, 10, false, enabled, checked), 20);

    EXPECT_EQ(limittext("00200", 4), "0020");
    EXPECT_EQ(limittext("Zo\xC3\xAB!", 3), "Zo\xC3\xAB");  // whole characters
    EXPECT_EQ(limittext("anything", 0), "anything");

    struct Step {
        int vk, pos, lo, hi, want, code;
    };
    const Step steps[] = {{vk_right, 5, 3, 9, 6, tb_linedown}, {vk_up, 3, 3, 9, 3, tb_lineup},
                          {vk_next, 4, 3, 9, 5, tb_pagedown},  {vk_prior, 3, 0, 100, 0, tb_pageup},
                          {vk_home, 7, 3, 9, 3, tb_top},       {vk_end, 4, 3, 9, 9, tb_bottom}};
    for (const Step& s : steps) {
        auto r = trackkey(s.vk, s.pos, s.lo, s.hi);
        ASSERT_TRUE(r.has_value()) << s.vk;
        EXPECT_EQ(r->pos, s.want) << s.vk;
        EXPECT_EQ(r->code, s.code) << s.vk;
    }
    EXPECT_FALSE(trackkey('A', 5, 3, 9).has_value());
}

TEST(HeadlessDialog, EnterPressesTheFocusedPushButtonAndEscPressesCancel) {
    // Which command Enter sends after the focus got where it is: the focused
    // push button's, else the default button's, and nothing while that one
    // is disabled.
    struct Case {
        const char* how;
        std::function<void(Dialog&)> reach;
        int pressed;
    };
    const Case cases[] = {
        {"opened", [](Dialog&) {}, 1},
        {"Tab to Cancel", [](Dialog& d) { d.tab(true); }, 2},
        {"Tab to Cancel, then a box clicked", [](Dialog& d) { d.tab(true), d.clickbox(10); }, 1},
        {"check box clicked", [](Dialog& d) { d.click(40); }, 1},
        {"OK disabled", [](Dialog& d) { d.enable(1, false); }, 0},
    };
    for (const Case& c : cases) {
        Recorder r;
        Dialog d(sample(), r);
        d.init();
        c.reach(d);
        r.log.clear();
        d.enter();
        const int sent = r.log.empty() ? 0 : r.log.back().id;
        EXPECT_EQ(sent, c.pressed) << c.how;
        EXPECT_EQ(d.ended(), c.pressed != 0) << c.how;
    }

    // Esc sends Cancel's command, also where the dialog has no Cancel: the
    // procedure decides what it means. A disabled Cancel takes nothing, and
    // a close button the dialog did not ask for does what Esc does.
    Recorder r;
    DialogTemplate bare = sample();
    bare.controls.pop_back();
    bare.closebox = false;
    Dialog nocancel(bare, r);
    nocancel.closebox();
    EXPECT_EQ(nocancel.result(), 2);
    Dialog off(sample(), r);
    off.enable(2, false);
    off.escape();
    off.closebox();  // with a close box: a close message, which Recorder ignores
    EXPECT_FALSE(off.ended());
    EXPECT_EQ(r.log.back().msg, DlgMsg::close);
}

TEST(HeadlessDialog, ArrowKeysChooseTheRadioButtonTheyReach) {
    Recorder r;
    Dialog d(sample(), r);
    d.init();
    d.click(30);
    d.click(20);
    // Right and Down go on, Left and Up back, round the group; the button
    // reached is focused, checked alone and reported as clicked.
    for (auto [vk, to] : {std::pair{vk_right, 21}, {vk_down, 20}, {vk_up, 21}, {vk_left, 20}}) {
        d.arrow(vk);
        EXPECT_EQ(d.focused(), to) << vk;
        EXPECT_EQ(d.checked(20), to == 20) << vk;
        EXPECT_EQ(d.checked(21), to == 21) << vk;
        EXPECT_EQ(r.log.back().id, to) << vk;
    }
    EXPECT_TRUE(d.checked(30));  // the other group keeps its choice
    // With the only other button disabled, and off a radio button, nothing moves.
    d.enable(21, false);
    d.arrow(vk_right);
    EXPECT_EQ(d.focused(), 20);
    d.clickbox(10);
    d.arrow(vk_right);
    EXPECT_EQ(d.focused(), 10);
}

TEST(HeadlessHost, ModalAndModelessDialogs) {
    Host host(shell::testing::idledesc(8, 6));
    Recorder r;
    host.modalscripts.push_back([](Dialog& d) {
        d.type(10, "42");
        d.enter();
    });
    EXPECT_EQ(host.dialogbox(sample(), r), 1);
    EXPECT_EQ(r.seen.back(), "42");
    // Without a script the dialog is cancelled rather than left hanging.
    EXPECT_EQ(host.dialogbox(sample(), r), 2);

    DialogView* v = host.createdialog(sample(), r);
    ASSERT_EQ(host.modeless(), v);
    host.modeless()->click(2);
    EXPECT_EQ(host.modeless(), nullptr);
}

TEST(HeadlessHost, FileDialogRecords) {
    // Chosen names come back spelt as the system spells them.
    const auto native = [](std::string p) {
        if (shell::kBackslashSeparates) std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    };
    Host host(shell::testing::idledesc(8, 6));
    FileDialogRecord rec;
    rec.defext = "map";
    EXPECT_EQ(dialogfolder(rec), startfolder());
    host.fileanswers = {std::string("/tmp/x/palette"), std::nullopt, std::string("other.map")};
    ASSERT_TRUE(host.filedialog(rec, true));
    EXPECT_EQ(rec.file, native("/tmp/x/palette.map"));
    EXPECT_EQ(rec.filetitle, "palette.map");
    // The next use starts from the chosen file's folder.
    EXPECT_EQ(dialogfolder(rec), native("/tmp/x"));
    EXPECT_FALSE(host.filedialog(rec, true));
    EXPECT_EQ(rec.file, native("/tmp/x/palette.map"));  // a cancel keeps the record
    ASSERT_TRUE(host.filedialog(rec, false));
    EXPECT_EQ(rec.file, native("/tmp/x/other.map"));
    EXPECT_FALSE(host.filedialog(rec, false));  // no answer left: cancelled
    EXPECT_EQ(host.filedialogs.size(), 4u);

    EXPECT_EQ(withdefaultext("a.b/name", "map"), "a.b/name.map");
    EXPECT_EQ(withdefaultext("dir/name.MAP", "map"), "dir/name.MAP");
    EXPECT_EQ(withdefaultext("Name", ""), "Name");
}

TEST(HeadlessHost, BoxesTitleBusyAndQueue) {
    Host host(shell::testing::idledesc(8, 6));
    host.messagebox("Hello", "Cap", Icon::exclamation, false);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Cap");
    EXPECT_FALSE(host.boxes[0].owned);
    host.settitle("1 %");
    EXPECT_EQ(host.title(), "1 %");
    host.setbusy(true);
    EXPECT_TRUE(host.busy());
    host.setbusy(false);
    EXPECT_EQ(host.busychanges, 2);
    int flushed = 0;
    host.onflush = [&] { ++flushed; };
    host.flush();
    EXPECT_EQ(flushed, 1);
    // Posted messages run after the current one, and a destroy ends the loop.
    host.post(Message::simple(Msg::destroy));
    EXPECT_FALSE(host.ended());
    host.pump();
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.exitcode(), 0);
}

TEST(Program, AcceleratorsAndStartupMessages) {
    ProgramDesc d;
    d.accelerators = {{'C', 100}, {vk_escape, 200}};
    Message out;
    ASSERT_TRUE(translateaccelerator(d, Message::key('C'), out));
    EXPECT_EQ(out.msg, Msg::command);
    EXPECT_EQ(out.wparam, 100);
    EXPECT_FALSE(translateaccelerator(d, Message::key('D'), out));
    EXPECT_FALSE(translateaccelerator(d, Message::command(100), out));
    EXPECT_STREQ(errormessage(err_graphics), "Couldn't initialize graphics.");
    EXPECT_STREQ(errormessage(err_class), "Couldn't register main window class.");
    EXPECT_STREQ(errormessage(err_window), "Couldn't create main window.");
    // Mouse positions arrive as unsigned words.
    Message m = Message::mouse(Msg::mousemove, -1, 70000);
    EXPECT_EQ(m.x, 65535);
    EXPECT_EQ(m.y, 70000 - 65536);
}
