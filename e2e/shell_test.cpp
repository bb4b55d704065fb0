#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "harness.h"

namespace {

std::string shelldemo() {
    return std::string(BUILD_ROOT) + "/e2e/shelldemo";
}

std::string title(e2e::App& app, const std::string& window) {
    std::string t = app.x("xdotool getwindowname " + window);
    while (!t.empty() && t.back() == '\n') t.pop_back();
    return t;
}

TEST(ShellDesktop, ModelessDialogTrackbarFileDialogsAndBoxes) {
    e2e::Display display;
    std::string dir = e2e::tempdir();
    e2e::App app(display, shelldemo(), dir);
    ASSERT_TRUE(app.found());
    EXPECT_EQ(title(app, app.window()), "Shell Demo");
    shell::Surface s = app.shot();
    EXPECT_EQ(s.width(), 320);
    EXPECT_EQ(s.getpixel(100, 100), shell::packrgb({0, 0, 96}));

    // Modeless dialog: typing notifies, the trackbar reports its codes, OK ends.
    app.key("m");
    std::string dlg = app.waitwindow("Demo Dialog");
    ASSERT_FALSE(dlg.empty());
    app.type("ab");
    EXPECT_EQ(title(app, app.window()), "edit:ab");
    // The undo keys pass the box by and reach the procedure with their
    // modifiers; the box's own undo does not take the typing back.
    const std::pair<const char*, const char*> undokeys[] = {
        {"ctrl+z", "key:Z:2"}, {"ctrl+shift+z", "key:Z:3"}, {"ctrl+y", "key:Y:2"}};
    for (const auto& [k, heard] : undokeys) {
        app.key(k);
        EXPECT_EQ(title(app, app.window()), heard) << k;
    }
    app.type("c");
    EXPECT_EQ(title(app, app.window()), "edit:abc");
    app.key("Tab");
    app.x("xdotool key Right");
    app.settle();
    EXPECT_EQ(title(app, app.window()), "track:8:1");  // a line step, then end of tracking
    app.x("xdotool key End");
    app.settle();
    EXPECT_EQ(title(app, app.window()), "track:8:10");
    app.x("xdotool key Tab space");
    app.settle();
    EXPECT_EQ(title(app, app.window()), "tick:1");
    app.x("xdotool key Return");
    app.settle();
    EXPECT_EQ(title(app, app.window()), "ok");

    // Save through the real chooser: a bare name gets the default extension
    // and lands in the folder the program started from.
    app.key("s");
    ASSERT_FALSE(app.waitwindow("Save Demo").empty());
    app.type("out");
    app.x("xdotool key Return");
    app.settle(400);
    EXPECT_EQ(title(app, app.window()), "saved:out.txt");
    std::ifstream in(dir + "/out.txt");
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), "hello");

    // A second save on the same record starts in the same folder, and a bare
    // name typed there is taken as it is.
    app.key("s");
    ASSERT_FALSE(app.waitwindow("Save Demo").empty());
    app.type("again");
    app.x("xdotool key Return");
    app.settle(400);
    EXPECT_EQ(title(app, app.window()), "saved:again.txt");
    EXPECT_TRUE(std::ifstream(dir + "/again.txt").good());

    app.key("o");
    ASSERT_FALSE(app.waitwindow("Open Demo").empty());
    app.type("out.txt");
    app.x("xdotool key Return");
    app.settle(400);
    EXPECT_EQ(title(app, app.window()), "opened:out.txt:hello");

    app.key("b");
    std::string box = app.waitwindow("Caption");
    ASSERT_FALSE(box.empty());
    app.x("xdotool key Return");
    app.settle();
    EXPECT_EQ(title(app, app.window()), "boxdone");

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(ShellDesktop, EnterPressesTheFocusedButtonAndArrowsChooseRadios) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, shelldemo(), dir);
    ASSERT_TRUE(app.found());
    auto pressed = [&](const std::string& keys) {
        app.x("xdotool key " + keys);
        app.settle(300);
        return title(app, app.window());
    };

    // In the dialog's radio group the arrows move the focus and the choice
    // together, round the group; Enter on Cancel presses Cancel.
    app.key("m");
    ASSERT_FALSE(app.waitwindow("Demo Dialog").empty());
    EXPECT_EQ(pressed("Tab Tab Tab Right"), "radio:14:B");
    EXPECT_EQ(pressed("Right"), "radio:13:A");
    EXPECT_EQ(pressed("Up"), "radio:14:B");
    EXPECT_EQ(pressed("Tab Tab Return"), "cancel");

    // The overwrite question: Tab to No and Enter keeps the file and the
    // chooser; there, Tab to Cancel and Enter cancels.
    app.key("s");
    ASSERT_FALSE(app.waitwindow("Save Demo").empty());
    app.type("out");
    EXPECT_EQ(pressed("Return"), "saved:out.txt");
    std::ofstream(dir + "/out.txt") << "keep";
    app.key("s");
    const std::string chooser = app.waitwindow("Save Demo");
    app.type("out");
    app.x("xdotool key Return");
    ASSERT_NE(app.waitothers(2), "timeout");
    pressed("Tab Return");
    EXPECT_EQ(app.others(), std::vector<std::string>{chooser});
    std::ifstream in(dir + "/out.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
    EXPECT_EQ(pressed("Tab Tab Tab Return"), "save cancelled");
    EXPECT_EQ(app.waitothers(0), "");

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(ShellDesktop, ShallowDisplayIsRefusedWithABox) {
    e2e::Display display(16);
    e2e::App app(display, shelldemo(), e2e::tempdir());
    // The main window never shows; the error box does.
    std::string box = app.waitwindow("Error");
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(app.x("xdotool search --onlyvisible --name 'Shell Demo'"), "");
    app.x("xdotool key Return");
    EXPECT_EQ(app.wait(), 1);
}

}  // namespace
