// The Explore window of each designer on a real X server: E opens it on the
// preview's own points, the wheel, a curve drag and C act on it as on a
// headless mirror of the program, smooth colouring has no bands, and its
// location and PNG files bring back the same picture. At a scale the picture
// is computed at device pixels, so pictures are compared device pixel by
// device pixel.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <thread>

#include "explore/colour.h"
#include "explore/explorewindow.h"
#include "harness.h"
#include "huewright/preview/preview.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using explore::ExploreWindow;
using shell::Surface;
using shell::headless::Host;

constexpr int kW = ExploreWindow::kWidth, kH = ExploreWindow::kHeight;

// The device pixels of the picture (the status line aside) where two
// pictures differ; -1 when one is too small to hold it.
int differences(const Surface& a, const Surface& b) {
    const int w = kW * e2e::scale(), h = kH * e2e::scale();
    if (a.devicewidth() < w || a.deviceheight() < h || b.devicewidth() < w || b.deviceheight() < h)
        return -1;
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) n += std::memcmp(a.row(y) + 3 * x, b.row(y) + 3 * x, 3) != 0;
    return n;
}

const Surface& mirrored(Host& mirror) {
    return mirror.sidewindow(ExploreWindow::kId)->offscreen;
}

// Waits until the window's picture (the status line aside) is the mirror's,
// the render on the program's threads done; returns the pixels that differ.
// *shot is the window's device pixels.
int waitsame(e2e::App& app, const std::string& side, Host& mirror, ExploreWindow& win,
             Surface* shot = nullptr) {
    win.finish(mirror);
    int n = -1;
    for (int tries = 0; tries < 60; ++tries) {
        const Surface s = app.deviceshot(side);
        n = differences(s, mirrored(mirror));
        if (shot) *shot = s;
        if (n == 0) break;
        app.settle(250);
    }
    return n;
}

void sidekey(e2e::App& app, const std::string& side, const std::string& key) {
    app.x("xdotool key --window " + side + " " + key);
    app.settle(200);
}

// Saves through the window's chooser: the key, then the name typed.
void choose(e2e::App& app, const std::string& side, const std::string& key,
            const std::string& title, const std::string& name) {
    sidekey(app, side, key);
    ASSERT_FALSE(app.waitwindow(title).empty()) << title;
    app.type(name);
    app.x("xdotool key Return");
    app.settle(400);
}

// Neighbouring device pixels of the picture s, both escaped, whose colours
// differ by more than their continuous counts do at the palette's steepest
// slope: the edges of bands.
int bandedges(const Surface& s, const explore::EscapeMap& values, const shell::Palette& p,
              double density) {
    int slope = 0;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            slope = std::max(slope, std::abs(p[i][c] - p[(i + 1) & 255][c]));
    int edges = 0;
    for (int y = 0; y < values.height; ++y)
        for (int x = 1; x < values.width; ++x) {
            const explore::Escape a = values.row(y)[x - 1], b = values.row(y)[x];
            if (a.count == 0 || b.count == 0) continue;
            const double moved = std::abs((a.count + a.value) - (b.count + b.value)) * density;
            if (moved > 0.5) continue;
            const shell::Rgb ca = s.at(x - 1, y), cb = s.at(x, y);
            const int d =
                std::max({std::abs(ca.r - cb.r), std::abs(ca.g - cb.g), std::abs(ca.b - cb.b)});
            edges += d > slope * moved + 1;
        }
    return edges;
}

long residentkb(const std::string& pid) {
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string l; std::getline(in, l);)
        if (l.rfind("VmRSS:", 0) == 0) return std::stol(l.substr(6));
    return -1;
}

}  // namespace

TEST(ExploreDesktop, HuewrightWindowFollowsTheUserAndItsFilesRoundTrip) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(huewright::programdesc()));
    const int n = e2e::scale();
    auto& main = mirror.as<huewright::MainWindow>();
    ExploreWindow& win = main.explorewin;

    app.key("e");
    const std::string side = app.waitwindow(ExploreWindow::kTitle);
    ASSERT_FALSE(side.empty());
    mirror.key('E');
    Surface shot;
    ASSERT_EQ(waitsame(app, side, mirror, win, &shot), 0);

    // Where it overlaps the preview, it shows the preview's points: the
    // points of the set in the entry of their angle, and the escaped ones
    // (grey in the preview) in the entry of their count. At a scale the
    // top-left device pixel of each logical one is the preview's point.
    const shell::Palette& p = main.model.palette;
    huewright::MsetEntries entries;
    huewright::computemset(entries);
    const int left = kW / 2 - 128, top = kH / 2 - 128;
    int agree = 0;
    for (int j = 0; j < huewright::kMsetSize; ++j)
        for (int i = 0; i < huewright::kMsetSize; ++i) {
            int e = entries.row(j)[i];
            if (e == 0) e = huewright::msetpoint(i, j).iterations % 256;
            agree +=
                shot.at(n * (left + i), n * (top + j)) == shell::Rgb{p[e][0], p[e][1], p[e][2]};
        }
    EXPECT_EQ(agree, huewright::kMsetSize * huewright::kMsetSize);

    // The wheel over the window zooms in about the pointer, about the
    // middle of its logical pixel at a scale.
    const explore::Location home = win.location();
    app.x("xdotool mousemove --window " + side + " " + e2e::devicepoint(200, 150) + " click 4");
    mirror.sidesend(ExploreWindow::kId, shell::Message::wheel(1, 200, 150));
    EXPECT_EQ(waitsame(app, side, mirror, win), 0);
    const explore::Lattice before(home, kW * n, kH * n), after(win.location(), kW * n, kH * n);
    const int px = 200 * n + n / 2, py = 150 * n + n / 2;
    EXPECT_EQ(win.location().width, home.width / 2);
    EXPECT_LE(std::abs(after.cx(px) - before.cx(px)), after.step());
    EXPECT_LE(std::abs(after.cy(py) - before.cy(py)), after.step());

    // A drag of green's sine point in the main window recolours it.
    const Surface zoomed = app.deviceshot(side);
    app.key("g");
    const std::string dlg = app.waitwindow("Parameter Selection");
    ASSERT_FALSE(dlg.empty());
    app.drag(590, 273, 650, 273);
    mirror.key('G');
    mirror.press(590, 273);
    mirror.move(650, 273);
    mirror.release(650, 273);
    EXPECT_EQ(waitsame(app, side, mirror, win), 0);
    EXPECT_GT(differences(app.deviceshot(side), zoomed), kW * kH * n * n / 4);
    app.wmclose(dlg);
    mirror.modeless()->escape();

    // C: smooth colouring, without bands at density 1, where escape-time
    // colouring has them everywhere.
    const int banded = bandedges(app.deviceshot(side), win.shown(), p, 1);
    sidekey(app, side, "c");
    mirror.sidekey(ExploreWindow::kId, 'C');
    ASSERT_EQ(win.colours().colouring, explore::Colouring::smooth);
    ASSERT_EQ(win.colours().density, 1);
    Surface smooth;
    EXPECT_EQ(waitsame(app, side, mirror, win, &smooth), 0);
    EXPECT_GT(banded, 1000);
    EXPECT_EQ(bandedges(smooth, win.shown(), p, 1), 0);

    // S saves the location; Home, then O brings the picture back.
    choose(app, side, "s", "Save the location", "view.loc");
    const explore::LocFile saved{win.location(), win.colours()};
    sidekey(app, side, "Home");
    ASSERT_NE(differences(app.deviceshot(side), smooth), 0);
    choose(app, side, "o", "Open a location", "view.loc");
    EXPECT_EQ(waitsame(app, side, mirror, win), 0);
    const shell::Result<explore::LocFile> file = explore::loadloc(dir + "/view.loc");
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.value().location, saved.location);
    EXPECT_EQ(file.value().colours, saved.colours);

    // P saves the picture at its device size; ImageMagick reads back its
    // pixels and its text.
    choose(app, side, "p", "Save the picture", "view.png");
    const std::string rgb = app.x("convert '" + dir + "/view.png' -depth 8 rgb:-");
    ASSERT_EQ(rgb.size(), size_t(kW * n) * kH * n * 3);
    Surface png(kW * n, kH * n);
    std::copy(rgb.begin(), rgb.end(), png.data());
    EXPECT_EQ(differences(png, smooth), 0);
    const std::string text = app.x("identify -format '%[Location]' '" + dir + "/view.png'");
    EXPECT_NE(text.find("centre-re: "), std::string::npos) << text;
    EXPECT_NE(text.find("colouring: smooth"), std::string::npos) << text;
    // None of S, O and P reached the main window: no TIFF, no MAP, no box.
    EXPECT_EQ(app.x("ls " + dir), "view.loc\nview.png\n");
    EXPECT_TRUE(app.others() == std::vector<std::string>{side});

    // Two hundred zooms in and out leave the resident size where it was
    // (bench_explore counts a thousand without a server).
    const std::string pid = e2e::lines(app.x("xdotool getwindowpid " + app.window())).at(0);
    std::string wheel = "xdotool mousemove --window " + side + " " + e2e::devicepoint(320, 240);
    for (int i = 0; i < 20; ++i) wheel += " click 4 click 5";
    app.x(wheel);
    app.settle(500);
    const long rss = residentkb(pid);
    for (int round = 0; round < 4; ++round) app.x(wheel);
    app.settle(500);
    const long rssafter = residentkb(pid);
    std::printf("resident size around 160 zooms: %ld kB before, %ld kB after\n", rss, rssafter);
    EXPECT_LT(rssafter - rss, 2048);

    // E in the window closes it (and leaves the title to the second
    // program's window).
    sidekey(app, side, "e");
    EXPECT_EQ(app.waitothers(0), "");

    // A second program starts there with --explore, on its own palette.
    e2e::App again(display, e2e::programpath("huewright"), dir, {"--explore", "view.loc"});
    ASSERT_TRUE(again.found());
    const std::string side2 = again.waitwindow(ExploreWindow::kTitle);
    ASSERT_FALSE(side2.empty());
    shell::ProgramDesc started = huewright::programdesc();
    started.startoptions["--explore"] = dir + "/view.loc";
    Host mirror2(e2e::atscale(started));
    ExploreWindow& win2 = mirror2.as<huewright::MainWindow>().explorewin;
    ASSERT_TRUE(win2.isopen(mirror2));
    EXPECT_EQ(win2.location(), saved.location);
    EXPECT_EQ(waitsame(again, side2, mirror2, win2), 0);
    sidekey(again, side2, "Escape");
    EXPECT_EQ(again.wait(), 0);
    app.x("xdotool key --window " + app.window() + " Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(ExploreDesktop, KnotloomWindowOpensAndCloses) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("knotloom"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(knotloom::programdesc()));
    ExploreWindow& win = mirror.as<knotloom::MainWindow>().explorewin;
    app.key("e");
    const std::string side = app.waitwindow(ExploreWindow::kTitle);
    ASSERT_FALSE(side.empty());
    mirror.key('E');
    EXPECT_EQ(waitsame(app, side, mirror, win), 0);
    // Its own key from the window: +, a new limit and a new picture.
    sidekey(app, side, "plus");
    mirror.sidekey(ExploreWindow::kId, shell::vk_oem_plus);
    EXPECT_EQ(win.location().iterations, 1024);
    EXPECT_EQ(waitsame(app, side, mirror, win), 0);
    sidekey(app, side, "e");
    EXPECT_EQ(app.waitothers(0), "");
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}
