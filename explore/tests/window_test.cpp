// The Explore window in a program of its own on the headless host: its keys
// and pointer act on it and only when they come from it, views go on the
// history, the zoom stops at the precision's end, and its files round-trip.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "explore/colour.h"
#include "explore/explorewindow.h"
#include "explore/rule.h"
#include "shell/headless/host.h"

using namespace explore;
using shell::Message;
using shell::headless::Host;

namespace {

// A program with the window and nothing else; it records the keys that
// reach it as its own.
struct Owner : shell::Program {
    ExploreWindow explore{[] { return std::string("Warm \xC3\xA9t\xC3\xA9 palette"); }};
    shell::Palette palette{};
    std::vector<int> ownkeys;
    int proc(shell::Window& w, const Message& m) override {
        if (explore.message(w, m)) return 0;
        if (m.msg == shell::Msg::keydown) {
            if (m.wparam == ExploreWindow::kKey)
                explore.toggle(w, palette);
            else
                ownkeys.push_back(m.wparam);
        }
        return 0;
    }
};

shell::ProgramDesc owned() {
    shell::ProgramDesc d;
    d.name = "owner";
    d.width = 320;
    d.height = 200;
    d.make = [] { return std::make_unique<Owner>(); };
    return d;
}

struct ExploreHost : testing::Test {
    Host host{owned()};
    Owner& owner = host.as<Owner>();
    ExploreWindow& win = owner.explore;
    void SetUp() override {
        for (int i = 0; i < 256; ++i)
            owner.palette[i] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)};
        host.key('E');
        win.finish(host);
    }
    void side(int vk, int mods = shell::mod_none) { host.sidekey(ExploreWindow::kId, vk, mods); }
    void send(const Message& m) { host.sidesend(ExploreWindow::kId, m); }
    const shell::Surface& picture() { return host.sidewindow(ExploreWindow::kId)->offscreen; }
};

std::string readfile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

TEST_F(ExploreHost, KeysActOnTheWindowOnlyFromIt) {
    ASSERT_TRUE(win.isopen(host));
    EXPECT_EQ(win.shown().width, ExploreWindow::kWidth);
    EXPECT_EQ(win.shown().height, ExploreWindow::kHeight);
    EXPECT_EQ(win.location(), homelocation(ExploreWindow::kWidth));
    // Its own keys from the main window are the program's; from the window
    // they are the window's, and the ones it has no use for go on to the
    // program.
    host.key('C');
    host.key(shell::vk_add);
    EXPECT_EQ(owner.ownkeys, (std::vector<int>{'C', shell::vk_add}));
    EXPECT_EQ(win.colours().colouring, Colouring::escapetime);
    side('C');
    side(shell::vk_add);
    side('Q');
    EXPECT_EQ(owner.ownkeys.back(), 'Q');
    EXPECT_EQ(win.colours().colouring, Colouring::smooth);
    EXPECT_EQ(win.location().iterations, 1024);

    struct Step {
        int vk, mods;
        int iterations;
        double density, offset;
    };
    const Step steps[] = {
        {shell::vk_subtract, 0, 512, 1, 0},
        {shell::vk_oem_6, 0, 512, 2, 0},
        {shell::vk_oem_4, 0, 512, 1, 0},
        {shell::vk_oem_4, 0, 512, 0.5, 0},
        {shell::vk_oem_period, 0, 512, 0.5, 1},
        {shell::vk_oem_comma, shell::mod_shift, 512, 0.5, 241},
    };
    for (const Step& s : steps) {
        side(s.vk, s.mods);
        EXPECT_EQ(win.location().iterations, s.iterations) << s.vk;
        EXPECT_EQ(win.colours().density, s.density) << s.vk;
        EXPECT_EQ(win.colours().offset, s.offset) << s.vk;
    }
    // The ends of the ranges hold.
    for (int i = 0; i < 20; ++i) side(shell::vk_oem_6), side(shell::vk_add);
    EXPECT_EQ(win.colours().density, kMaxDensity);
    EXPECT_EQ(win.location().iterations, kMaxIterations);
    for (int i = 0; i < 20; ++i) side(shell::vk_oem_4), side(shell::vk_subtract);
    EXPECT_EQ(win.colours().density, kMinDensity);
    EXPECT_EQ(win.location().iterations, kMinIterations);
    // The status line says where it is.
    win.finish(host);
    EXPECT_NE(win.status().find("iterations 16"), std::string::npos) << win.status();
    EXPECT_NE(win.status().find(" ms"), std::string::npos) << win.status();
    // E from the window closes it, and the close cancels the picture.
    side(shell::vk_home);
    side('E');
    EXPECT_FALSE(win.isopen(host));
}

TEST_F(ExploreHost, PointerZoomsPansAndGoesBack) {
    const Location home = win.location();
    const int w = ExploreWindow::kWidth, h = ExploreWindow::kHeight;
    // The wheel: the point under the pointer stays there.
    const Lattice before(home, w, h);
    send(Message::wheel(1, 100, 50));
    const Lattice after(win.location(), w, h);
    EXPECT_EQ(win.location().width, home.width / 2);
    EXPECT_NEAR(after.cx(100), before.cx(100), after.step());
    EXPECT_NEAR(after.cy(50), before.cy(50), after.step());
    // A left drag moves the plane with the pointer; a right drag zooms into
    // its rectangle; a press below the picture (the status line) does
    // nothing.
    const Location zoomed = win.location();
    send(Message::mouse(shell::Msg::lbuttondown, 300, 200));
    send(Message::mouse(shell::Msg::mousemove, 340, 180));
    send(Message::mouse(shell::Msg::lbuttonup, 340, 180));
    EXPECT_NEAR(win.location().re, zoomed.re - 40 * after.step(), 1e-12);
    EXPECT_NEAR(win.location().im, zoomed.im - 20 * after.step(), 1e-12);
    send(Message::mouse(shell::Msg::rbuttondown, 0, 0));
    send(Message::mouse(shell::Msg::rbuttonup, 160, 120));
    EXPECT_NEAR(win.location().width, zoomed.width / 4, 1e-12);
    send(Message::mouse(shell::Msg::lbuttondown, 300, h + 5));
    send(Message::mouse(shell::Msg::lbuttonup, 100, h + 5));
    EXPECT_NEAR(win.location().width, zoomed.width / 4, 1e-12);
    // Backspace goes back through the views, the last first.
    side(shell::vk_back);
    side(shell::vk_back);
    EXPECT_EQ(win.location(), zoomed);
    side(shell::vk_back);
    EXPECT_EQ(win.location(), home);

    // Far in: the zoom stops at the deepest width doubles compute, says so,
    // and the history keeps the last 50 views.
    for (int i = 0; i < 60; ++i) send(Message::wheel(1, 320, 240));
    EXPECT_EQ(win.location().width, kDeepestWidth);
    EXPECT_NE(win.status().find("deepest zoom for this precision"), std::string::npos);
    const size_t views = win.history().size();
    send(Message::wheel(1, 320, 240));
    send(Message::mouse(shell::Msg::rbuttondown, 10, 10));
    send(Message::mouse(shell::Msg::rbuttonup, 50, 50));
    EXPECT_EQ(win.location().width, kDeepestWidth);
    EXPECT_EQ(win.history().size(), views);
    for (int i = 0; i < 5; ++i) side(shell::vk_subtract), side(shell::vk_add);
    EXPECT_EQ(win.history().size(), size_t(ExploreWindow::kHistory));
    win.finish(host);
    side(shell::vk_home);
    EXPECT_EQ(win.location(), home);
}

TEST_F(ExploreHost, FollowsThePaletteWithoutComputing) {
    const shell::Surface first = picture();
    const EscapeMap values = win.shown();
    shell::Palette other = owner.palette;
    for (auto& e : other) e[0] = uint8_t(255 - e[0]);
    win.follow(host, other);
    EXPECT_EQ(win.shown().values.size(), values.values.size());
    shell::Surface want(ExploreWindow::kWidth, ExploreWindow::kHeight);
    colourrows(values, 0, values.height, win.colours(), other, want);
    int differ = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            ASSERT_EQ(picture().at(x, y), want.at(x, y));
            differ += first.at(x, y) != want.at(x, y);
        }
    EXPECT_GT(differ, want.width() * want.height() / 2);
}

TEST_F(ExploreHost, CyclingRotatesThePictureAtItsSpeed) {
    // The rotation of the palette the picture shows, -1 for none.
    const EscapeMap values = win.shown();
    shell::Surface want(ExploreWindow::kWidth, ExploreWindow::kHeight);
    const auto rotation = [&] {
        for (int shift = 0; shift < 256; ++shift) {
            colourrows(values, 236, 244, win.colours(), rotated(owner.palette, shift), want);
            bool same = true;
            for (int y = 236; y < 244 && same; ++y)
                for (int x = 0; x < want.width() && same; ++x)
                    same = picture().at(x, y) == want.at(x, y);
            if (same) return shift;
        }
        return -1;
    };
    side(' ');
    host.advance(1000);  // 30 entries a second at first: 29 at the last frame
    EXPECT_NEAR(rotation(), 30, 1);
    side(shell::vk_left);
    side(shell::vk_up);  // 45 a second, the other way
    host.advance(2000);
    EXPECT_NEAR(rotation(), 30 - 90 + 256, 1);
    side(' ');
    EXPECT_EQ(rotation(), 0);
}

TEST_F(ExploreHost, LocationAndPictureFiles) {
    const std::string loc = testing::TempDir() + "/explore_window.loc";
    const std::string png = testing::TempDir() + "/explore_window.png";
    send(Message::wheel(2, 200, 100));
    side('C');
    side(shell::vk_next);  // the interior: one entry, 255
    host.fileanswers = {loc, png};
    side('S');
    win.finish(host);
    side('P');
    const LocFile saved{win.location(), win.colours()};
    EXPECT_EQ(win.colours().interiorentry, 255);
    const shell::Result<LocFile> back = loadloc(loc);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().location, saved.location);
    EXPECT_EQ(back.value().colours, saved.colours);
    // The PNG holds the location and the description (UTF-8, so in iTXt).
    const std::string bytes = readfile(png);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_NE(bytes.find("tEXtLocation"), std::string::npos);
    EXPECT_NE(bytes.find(formatloc(saved)), std::string::npos);
    EXPECT_NE(bytes.find("iTXtDescription"), std::string::npos);
    // None of it went to the program as its S or P.
    EXPECT_TRUE(owner.ownkeys.empty());

    // Home, then O brings the saved picture back; a broken file is refused
    // with the location kept.
    side(shell::vk_home);
    host.fileanswers = {loc};
    side('O');
    EXPECT_EQ(win.location(), saved.location);
    EXPECT_EQ(win.colours(), saved.colours);
    { std::ofstream(loc) << "centre-re: 0\nwidth: 2\n"; }
    host.fileanswers = {loc};
    side('O');
    EXPECT_EQ(win.location(), saved.location);
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_NE(host.boxes.back().text.find("missing"), std::string::npos);
    std::remove(loc.c_str());
    std::remove(png.c_str());
}

TEST_F(ExploreHost, ResizedItRendersAtItsNewSize) {
    host.resizeside(ExploreWindow::kId, 300, 220);
    win.finish(host);
    EXPECT_EQ(win.shown().width, 300);
    EXPECT_EQ(win.shown().height, 220 - ExploreWindow::kStatusHeight);
    EXPECT_EQ(win.location().width, homelocation(ExploreWindow::kWidth).width);
    // The window's close button closes it; E opens it again where it was.
    host.closeside(ExploreWindow::kId);
    EXPECT_FALSE(win.isopen(host));
    send(Message::wheel(1, 10, 10));  // a late message from it does nothing
    host.key('E');
    EXPECT_TRUE(win.isopen(host));
    EXPECT_EQ(win.location().width, homelocation(ExploreWindow::kWidth).width);
}

TEST(ExploreScale, AtScaleTwoTheSameViewsComputedAtTheDevicePixels) {
    // The same messages to a window at scale 1 and at scale 2: the same
    // locations, and the scale-2 picture has every scale-1 value at its even
    // device pixels, the points between computed too.
    std::vector<std::unique_ptr<Host>> hosts;
    for (int scale : {1, 2}) {
        shell::ProgramDesc d = owned();
        d.scale = scale;
        hosts.push_back(std::make_unique<Host>(d));
        hosts.back()->key('E');
        hosts.back()->as<Owner>().explore.finish(*hosts.back());
    }
    const ExploreWindow &one = hosts[0]->as<Owner>().explore, &two = hosts[1]->as<Owner>().explore;
    auto both = [&](const Message& m) {
        for (auto& h : hosts) h->sidesend(ExploreWindow::kId, m);
    };
    const int w = ExploreWindow::kWidth, h = ExploreWindow::kHeight;
    ASSERT_EQ(two.picturewidth(*hosts[1]), 2 * w);
    ASSERT_EQ(two.shown().height, 2 * h);
    EXPECT_EQ(two.location(), homelocation(w));
    auto samepicture = [&] {
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Escape a = one.shown().row(y)[x], b = two.shown().row(2 * y)[2 * x];
                differ += a.count != b.count || a.value != b.value;
            }
        return differ;
    };
    EXPECT_EQ(samepicture(), 0);
    // A pan follows the logical pixels; Home comes back to where it opened.
    both(Message::mouse(shell::Msg::lbuttondown, 300, 200));
    both(Message::mouse(shell::Msg::mousemove, 340, 180));
    both(Message::mouse(shell::Msg::lbuttonup, 340, 180));
    const Lattice l(one.location(), w, h);
    EXPECT_NEAR(two.location().re, one.location().re, l.step() / 1e6);
    EXPECT_NEAR(two.location().im, one.location().im, l.step() / 1e6);
    for (auto& h : hosts) h->sidekey(ExploreWindow::kId, shell::vk_home);
    EXPECT_EQ(two.location(), homelocation(w));
    for (auto& h : hosts) h->as<Owner>().explore.finish(*h);
    EXPECT_EQ(samepicture(), 0);
}

// The ticks that take the rows stop only once every row was taken: a row the
// workers finished just before the last tick is not left at a coarse pass.
TEST_F(ExploreHost, TheLastTickTakesTheLastRows) {
    for (int zoom = 0; zoom < 12; ++zoom) {
        send(Message::wheel(zoom % 2 ? -1 : 1, 100 + zoom, 80));
        // The workers are real threads: the bound is a time, not a count of
        // ticks, which a slow or busy machine (or wine) spends long before
        // they finish.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (win.status().find("rendering") != std::string::npos) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "still rendering";
            host.advance(30);
            std::this_thread::yield();
        }
        const shell::Surface ticked = picture();
        win.finish(host);
        int differ = 0;
        for (int y = 0; y < ExploreWindow::kHeight; ++y)
            for (int x = 0; x < ExploreWindow::kWidth; ++x)
                differ += picture().at(x, y) != ticked.at(x, y);
        ASSERT_EQ(differ, 0) << "zoom " << zoom;
    }
}
