// huewright on a real X server: the first frame, an edit in the modeless
// Parameters dialog with a control-point drag in the main window, the palette
// saved through the real file chooser, a MAP file with CR LF line ends opened,
// and Esc.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "harness.h"
#include "huewright/ui/mainwindow.h"
#include "palettes/map.h"
#include "shell/headless/host.h"

namespace {

using huewright::MainWindow;
using shell::Rect;
using shell::Rgb;
using shell::Surface;

// Pixels of r where the two pictures differ; the hover readout, which
// follows wherever the pointer happens to be, is left out.
int differences(const Surface& shot, const Surface& want, const Rect& r = Rect{0, 0, 800, 640}) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            if (huewright::erasevalues.contains(x, y) || huewright::erasehash.contains(x, y))
                continue;
            if (shot.getpixel(x, y) != want.getpixel(x, y)) ++n;
        }
    return n;
}

std::string readfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Client pixels of a control of the Parameters dialog: the middle of its
// rectangle, in the 8-point dialog units of the template.
struct Spot {
    int x, y;
};
Spot controlspot(int id) {
    const shell::DialogTemplate t = huewright::paramstemplate();
    const shell::ControlTemplate* c = t.find(id);
    const shell::DialogUnits du = shell::dialogunits(t.pointsize);
    return Spot{du.x(c->x) + du.x(c->cx) / 2, du.y(c->y) + du.y(c->cy) / 2};
}

void clickcontrol(e2e::App& app, const std::string& dlg, int id) {
    const Spot s = controlspot(id);
    app.clickin(dlg, s.x, s.y);
}

// Replaces the text of an edit box by typing, as a user would.
void typeinto(e2e::App& app, const std::string& dlg, int id, const std::string& text) {
    clickcontrol(app, dlg, id);
    app.x("xdotool key End shift+Home");
    app.type(text);
}

TEST(HuewrightDesktop, EditDragSaveOpenAndExit) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(app.found());
    EXPECT_EQ(app.x("xdotool getwindowname " + app.window()), "Xo Gradient\n");

    // The first frame is the picture the program draws for itself.
    shell::headless::Host ref{e2e::atscale(huewright::programdesc())};
    Surface s = app.shot();
    ASSERT_EQ(s.width(), 800);
    ASSERT_EQ(s.height(), 640);
    EXPECT_EQ(differences(s, ref.onscreen), 0);
    EXPECT_EQ(s.getpixel(50, 154), shell::packrgb({255, 255, 255}));   // Red's outline
    EXPECT_EQ(s.getpixel(758, 402), shell::packrgb({255, 255, 255}));  // the display's
    const shell::Palette& pal = ref.as<MainWindow>().model.palette;
    // The blue curve reaches column 756, palette entry 255: the 2-pixel pen
    // covers the curve's last point.
    EXPECT_EQ(s.getpixel(756, 401 - pal[255][2]), shell::packrgb({0, 0, 255}));
    EXPECT_EQ(s.getpixel(501 + 40, 470), shell::packrgb({pal[40][0], pal[40][1], pal[40][2]}));

    // The hover readout for palette index 10.
    app.move(511, 470);
    ref.move(511, 470);
    s = app.shot();
    int hover = 0;
    for (int y = 500; y < 640; ++y)
        for (int x = 495; x < 758; ++x) hover += s.getpixel(x, y) != ref.onscreen.getpixel(x, y);
    EXPECT_EQ(hover, 0);

    // G opens the dialog on green; Bezier, cubic, and typed values.
    app.key("g");
    const std::string dlg = app.waitwindow("Parameter Selection");
    ASSERT_FALSE(dlg.empty());
    clickcontrol(app, dlg, huewright::id_bezier);
    clickcontrol(app, dlg, huewright::id_cubic);
    typeinto(app, dlg, huewright::id_b0, "40");
    typeinto(app, dlg, huewright::id_bc2x, "100");
    typeinto(app, dlg, huewright::id_bc2y, "100");
    ref.key('G');
    shell::headless::Dialog& d = *ref.modeless();
    d.click(huewright::id_bezier);
    d.click(huewright::id_cubic);
    d.type(huewright::id_b0, "40");
    d.type(huewright::id_bc2x, "100");
    d.type(huewright::id_bc2y, "100");
    s = app.shot();
    const Rect curves{494, 141, 762, 501};
    EXPECT_EQ(differences(s, ref.onscreen, curves), 0);
    // Control 2's dot, magenta, and control 1's, yellow, on the window.
    EXPECT_EQ(s.getpixel(600, 301), shell::packrgb({255, 128, 255}));
    EXPECT_EQ(s.getpixel(548, 177), shell::packrgb({255, 255, 0}));

    // Drag control 2 in the main window while the dialog stays open.
    app.drag(601, 301, 650, 200);
    ref.press(601, 301);
    ref.move(650, 200);
    ref.release(650, 200);
    EXPECT_EQ(ref.as<MainWindow>().editor.ptemp.bc2x, 148);
    EXPECT_EQ(ref.as<MainWindow>().editor.ptemp.bc2y, 201);
    s = app.shot();
    EXPECT_EQ(differences(s, ref.onscreen, curves), 0);
    EXPECT_EQ(s.getpixel(648, 200), shell::packrgb({255, 128, 255}));

    // Enter in the dialog confirms it.
    clickcontrol(app, dlg, huewright::id_bc1x);
    app.x("xdotool key Return");
    app.settle(300);
    d.enter();
    EXPECT_TRUE(app.x("xdotool search --onlyvisible --name 'Parameter Selection'").empty());
    s = app.shot();
    EXPECT_EQ(differences(s, ref.onscreen), 0);
    const shell::Palette& edited = ref.as<MainWindow>().model.palette;
    int strip = 0;
    for (int i = 0; i < 256; ++i)
        strip +=
            s.getpixel(501 + i, 470) == shell::packrgb({edited[i][0], edited[i][1], edited[i][2]});
    EXPECT_EQ(strip, 256);

    // Save the palette through the real chooser: a bare name lands in the
    // folder the program started from, with the default extension.
    app.key("p");
    ASSERT_FALSE(app.waitwindow("Select a file for saving parameters").empty());
    app.type("pal");
    app.x("xdotool key Return");
    const std::string box = app.waitwindow("Palette Curves");
    ASSERT_FALSE(box.empty());
    app.x("xdotool key Return");
    app.settle(300);
    EXPECT_EQ(readfile(dir + "/pal.map"),
              palettes::maptext(edited, ref.as<MainWindow>().descriptionstring));

    // Open a MAP file written with CR LF line ends.
    {
        std::ofstream out(dir + "/crlf.map", std::ios::binary);
        for (int i = 0; i < 256; ++i) out << i << ' ' << 255 - i << ' ' << (i * 3) % 256 << "\r\n";
    }
    app.key("o");
    ASSERT_FALSE(app.waitwindow("Select a Fractint .MAP File").empty());
    app.type("crlf.map");
    app.x("xdotool key Return");
    app.settle(400);
    s = app.shot();
    strip = 0;
    for (int i = 0; i < 256; ++i)
        strip += s.getpixel(501 + i, 470) ==
                 shell::packrgb({uint8_t(i), uint8_t(255 - i), uint8_t((i * 3) % 256)});
    EXPECT_EQ(strip, 256);
    // The readouts are dark now.
    int lit = 0;
    for (const Rect& r : huewright::eraseparams)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) lit += s.getpixel(x, y) != 0;
    EXPECT_EQ(lit, 0);

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

// All 81 pixels of the 9 x 9 dot centred on (x, y) are yellow.
bool yellowdot(const Surface& s, int x, int y) {
    for (int b = -4; b <= 4; ++b)
        for (int a = -4; a <= 4; ++a)
            if (s.at(x + a, y + b) != Rgb{255, 255, 0}) return false;
    return true;
}

TEST(HuewrightDesktop, QuickDragsEndUnderTheRelease) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("huewright"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    // Green's sine point sits at x shift 90 + 500, on row 273.
    app.key("g");
    const std::string dlg = app.waitwindow("Parameter Selection");
    ASSERT_FALSE(dlg.empty());
    int x = 590;
    for (int i = 0; i < 20; ++i) {
        const int to = x == 590 ? 690 : 590;
        app.fastdrag(x, 273, (x + to) / 2, 250, to, 273);
        const Surface s = app.shot();
        ASSERT_TRUE(yellowdot(s, to, 273)) << i;
        ASSERT_FALSE(yellowdot(s, x, 273)) << i;
        x = to;
    }
    clickcontrol(app, dlg, huewright::id_cancel);
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

}  // namespace
