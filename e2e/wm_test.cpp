// The programs under a window manager (openbox), as on a desktop: what each
// dialog asks of the manager's frame, where the dialogs sit, where the keys
// go, that a modal dialog keeps input from the main window, and that closing
// the main window from the manager ends the program. These run only when
// the suite runs with a window manager (E2E_WM=openbox).
#include <gtest/gtest.h>

#include <sstream>

#include "harness.h"
#include "huewright/ui/helpdialog.h"
#include "huewright/ui/mainwindow.h"
#include "huewright/ui/namedialog.h"
#include "knotloom/layout.h"
#include "knotloom/mainwindow.h"

namespace {

// The numbers of a window's property.
std::vector<long> numbers(e2e::App& app, const std::string& w, const std::string& property) {
    std::string out = app.x("xprop -notype -id " + w + " " + property);
    std::vector<long> v;
    auto eq = out.find('=');
    if (eq == std::string::npos) return v;
    std::istringstream in(out.substr(eq + 1));
    for (std::string item; std::getline(in, item, ',');) v.push_back(std::stol(item, nullptr, 0));
    return v;
}

// The five numbers of a window's _MOTIF_WM_HINTS: flags, functions,
// decorations, input mode, status.
std::vector<long> motifhints(e2e::App& app, const std::string& w) {
    return numbers(app, w, "_MOTIF_WM_HINTS");
}

bool dialogtype(e2e::App& app, const std::string& w) {
    return app.x("xprop -id " + w + " _NET_WM_WINDOW_TYPE").find("_NET_WM_WINDOW_TYPE_DIALOG") !=
           std::string::npos;
}

// A dialog with a caption and no system menu asks to be moved only: the
// functions flag set, and the move function alone.
void expectmovableonly(e2e::App& app, const std::string& w) {
    EXPECT_TRUE(dialogtype(app, w));
    const std::vector<long> h = motifhints(app, w);
    ASSERT_EQ(h.size(), 5u);
    EXPECT_TRUE(h[0] & 1);
    EXPECT_EQ(h[1], 4);
    EXPECT_NE(app.x("xprop -id " + w + " WM_TRANSIENT_FOR").find("window id"), std::string::npos);
}

// The dialog's client area sits at its template's place from the main
// window's client origin, in device pixels the scale times the logical ones.
void expectplaced(e2e::App& app, const std::string& w, const shell::DialogTemplate& t) {
    const shell::DialogUnits du = shell::dialogunits(t.pointsize);
    const shell::Rect m = app.placed(app.window()), d = app.placed(w);
    EXPECT_EQ(d.left - m.left, e2e::scale() * du.x(t.x));
    EXPECT_EQ(d.top - m.top, e2e::scale() * du.y(t.y));
}

bool iconic(e2e::App& app, const std::string& w) {
    return app.x("xprop -id " + w + " WM_STATE").find("Iconic") != std::string::npos;
}

bool yellowdot(const shell::Surface& s, int x, int y) {
    for (int b = -4; b <= 4; ++b)
        for (int a = -4; a <= 4; ++a)
            if (s.at(x + a, y + b) != shell::Rgb{255, 255, 0}) return false;
    return true;
}

TEST(WmDesktop, HuewrightDialogsFramesKeysAndClose) {
    ASSERT_TRUE(e2e::windowmanager());
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(app.found());

    // The Parameters dialog: its frame, its place, and Tab into X Shift
    // with the keyboard, where typing replaces the text.
    app.key("g");
    std::string dlg = app.waitwindow("Parameter Selection");
    ASSERT_FALSE(dlg.empty());
    app.settle(300);
    expectmovableonly(app, dlg);
    expectplaced(app, dlg, huewright::paramstemplate());
    app.x("xdotool key Tab Tab");
    app.type("50");
    app.settle(200);
    EXPECT_TRUE(yellowdot(app.shot(), 550, 273));
    // Minimizing the modal dialog from its frame takes the main window with
    // it, and bringing the main window back brings the dialog back: the user
    // is never left with a main window that refuses input and nothing to
    // answer.
    app.x("xdotool windowminimize --sync " + dlg);
    app.settle(300);
    EXPECT_TRUE(iconic(app, app.window()));
    app.x("xdotool windowactivate --sync " + app.window());
    app.settle(300);
    EXPECT_FALSE(iconic(app, dlg));
    EXPECT_FALSE(iconic(app, app.window()));
    app.x("xdotool windowactivate --sync " + dlg);
    app.x("xdotool key Escape");
    ASSERT_EQ(app.waitothers(0), "");

    // The Name Entry dialog: its frame and place; it keeps input from the
    // main window while it is open, and "Bob" typed over the offered name
    // goes into the saved file.
    app.key("s");
    dlg = app.waitwindow("Name Entry");
    ASSERT_FALSE(dlg.empty());
    app.settle(300);
    expectmovableonly(app, dlg);
    expectplaced(app, dlg, huewright::nametemplate());
    const shell::Rect& red = huewright::clicks[huewright::btn_red];
    app.click(red.left + 10, red.top + 10);
    app.x("xdotool windowactivate --sync " + dlg);
    app.settle(200);
    EXPECT_EQ(app.others(), std::vector<std::string>{dlg});
    app.type("Bob");
    app.x("xdotool key Return");
    ASSERT_FALSE(app.waitwindow("Select a file for saving your image").empty());
    app.settle(200);
    app.type("bob");
    app.x("xdotool key Return");
    ASSERT_NE(app.waitothers(1), "timeout");
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    EXPECT_EQ(e2e::lines(app.x("exiftool -s3 -IPTC:By-line '" + dir + "/bob.tif'")),
              std::vector<std::string>{"Bob"});

    // The Help dialog asks for a thin border and no caption, and the
    // manager's frame is as wide on top as on the sides.
    app.key("F1");
    dlg = app.waitothers(1);
    ASSERT_NE(dlg, "timeout");
    app.settle(300);
    const std::vector<long> h = motifhints(app, dlg);
    ASSERT_EQ(h.size(), 5u);
    EXPECT_TRUE(h[0] & 2);
    EXPECT_EQ(h[2], 2);
    const std::vector<long> frame = numbers(app, dlg, "_NET_FRAME_EXTENTS");
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_GT(frame[0], 0);
    EXPECT_EQ(frame, std::vector<long>(4, frame[0]));
    expectplaced(app, dlg, huewright::helptemplate());
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");

    // Closing the main window from the manager ends the program with 0.
    app.closebywm(app.window());
    EXPECT_EQ(app.wait(), 0);
}

TEST(WmDesktop, KnotloomPointsDialogAndClose) {
    ASSERT_TRUE(e2e::windowmanager());
    e2e::Display display;
    e2e::App app(display, e2e::programpath("knotloom"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    const shell::Rect& points = knotloom::click[knotloom::box_points];
    app.click(points.left + 10, points.top + 10);
    const std::string dlg = app.waitwindow("Select the Number of Points");
    ASSERT_FALSE(dlg.empty());
    app.settle(300);
    expectmovableonly(app, dlg);
    expectplaced(app, dlg, knotloom::pointstemplate());
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    app.closebywm(app.window());
    EXPECT_EQ(app.wait(), 0);
}

TEST(WmDesktop, EveryMainWindowShowsItsTitleBarOnASmallScreen) {
    // A laptop's screen: knotloom's client area is as tall as the screen,
    // so its frame cannot fit; the title bar and its close button must stay
    // on the screen all the same.
    ASSERT_TRUE(e2e::windowmanager());
    e2e::Display display(1366, 768);
    for (const char* name : {"huewright", "knotloom", "curvetoy"}) {
        SCOPED_TRACE(name);
        e2e::App app(display, e2e::programpath(name), e2e::tempdir());
        ASSERT_TRUE(app.found());
        const shell::Rect client = app.placed(app.window()), frame = app.frame(app.window());
        EXPECT_GT(frame.top, 0) << "the manager drew no title bar";
        EXPECT_GE(client.top - frame.top, 0);
        EXPECT_GE(client.left - frame.left, 0);
        app.key("Escape");
        EXPECT_EQ(app.wait(), 0);
    }
}

}  // namespace
