// Undo and redo on a real X server: a quick drag in each program, then
// Ctrl+Z shows the picture from before it and Ctrl+Y (or Ctrl+Shift+Z) the
// one after it.
#include <gtest/gtest.h>

#include "harness.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using shell::Rect;
using shell::Surface;

// Pixels of r where two shots differ.
int differences(const Surface& a, const Surface& b, const Rect& r) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += a.getpixel(x, y) != b.getpixel(x, y);
    return n;
}

// Ctrl+Z gives back `before`, a redo key `after`, within r.
void undoredo(e2e::App& app, const Surface& before, const Surface& after, const Rect& r) {
    ASSERT_GT(differences(before, after, r), 0) << "the drag changed nothing";
    app.key("ctrl+z");
    EXPECT_EQ(differences(app.shot(), before, r), 0) << "after Ctrl+Z";
    app.key("ctrl+y");
    EXPECT_EQ(differences(app.shot(), after, r), 0) << "after Ctrl+Y";
    app.key("ctrl+z");
    app.key("ctrl+shift+z");
    EXPECT_EQ(differences(app.shot(), after, r), 0) << "after Ctrl+Shift+Z";
}

TEST(UndoDesktop, CurvetoyDrag) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("curvetoy"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    // Anchor 3 sits at (384, 256), below the 25-pixel menu bar.
    constexpr int menu = 25;
    const Surface before = app.shot();
    app.fastdrag(384, 256 + menu, 420, 230 + menu, 450, 200 + menu);
    const Surface after = app.shot();
    undoredo(app, before, after, Rect{0, 0, before.width(), before.height()});
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(UndoDesktop, KnotloomDrag) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("knotloom"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    shell::headless::Host ref{e2e::atscale(knotloom::programdesc())};
    const knotloom::Model& m = ref.as<knotloom::MainWindow>().model;
    const int x = int(m.dp[0][3][0]), y = int(m.dp[0][3][1]);
    // The pointer rests on the point's place before the drag and comes
    // back there after it: the readout an undo or a redo shows is for where
    // the pointer is then, with the palette restored.
    app.move(x, y);
    const Surface before = app.shot();
    app.fastdrag(x, y, x + 10, y - 30, x + 20, y - 60);
    app.move(x, y);
    const Surface after = app.shot();
    undoredo(app, before, after, Rect{0, 0, before.width(), before.height()});
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(UndoDesktop, HuewrightDragInTheDialogAndTheWholeEdit) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("huewright"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    const Surface start = app.shot();
    app.key("g");
    const std::string dlg = app.waitwindow("Parameter Selection");
    ASSERT_FALSE(dlg.empty());
    // While the dialog is open, the keys walk its own steps. Green's sine
    // point sits at (591, 273); the dialog covers part of the window, so
    // the curve display is compared.
    const Rect curves{494, 141, 762, 501};
    const Surface before = app.shot();
    app.fastdrag(590, 273, 640, 273, 690, 273);
    const Surface after = app.shot();
    undoredo(app, before, after, curves);

    // With the keyboard in one of the dialog's boxes, the keys reach the
    // dialog: the typed number goes back, not the box's own typing.
    const shell::DialogTemplate t = huewright::paramstemplate();
    const shell::DialogUnits du = shell::dialogunits(t.pointsize);
    auto clickcontrol = [&](int id) {
        const shell::ControlTemplate* c = t.find(id);
        app.clickin(dlg, du.x(c->x + c->cx / 2), du.y(c->y + c->cy / 2));
    };
    clickcontrol(huewright::id_xsh);
    app.x("xdotool key End shift+Home");
    app.type("30");
    const Surface typed = app.shot();
    undoredo(app, after, typed, curves);

    // After OK the whole edit is one step of the window, marker and all.
    clickcontrol(huewright::id_ok);
    ASSERT_TRUE(app.x("xdotool search --onlyvisible --name 'Parameter Selection'").empty());
    const Surface edited = app.shot();
    undoredo(app, start, edited, Rect{0, 0, start.width(), start.height()});
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

}  // namespace
