// The file choosers used as people use them, on a real X server: a file
// picked from the list, the list filtered by type, an absolute path and a
// bare name typed, the overwrite question answered both ways, a name without
// an extension opened, and the selection marker already in its new box while
// a chooser is open.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "harness.h"
#include "huewright/art/artwork.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/filecommands.h"
#include "knotloom/artwork.h"
#include "knotloom/layout.h"
#include "knotloom/mainwindow.h"
#include "palettes/palettes.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"
#include "shell/window/chooserlayout.h"

namespace {

namespace ch = shell::chooser;
using shell::Surface;

// A MAP file of one colour.
void writemap(const std::string& path, int r, int g, int b) {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 256; ++i) out << r << ' ' << g << ' ' << b << '\n';
}

// The palette strip shows one colour throughout.
bool stripis(const Surface& s, int r, int g, int b) {
    for (int i = 0; i < 256; ++i)
        if (s.at(501 + i, 470) != shell::Rgb{uint8_t(r), uint8_t(g), uint8_t(b)}) return false;
    return true;
}

// The device pixels of artwork `art` that shot s does not show with its
// top left at logical (left, top); both are of the same scale.
int artdiffers(const Surface& s, const Surface& art, int left, int top) {
    const int n = art.scale();
    int differ = 0;
    for (int y = 0; y < art.deviceheight(); ++y)
        for (int x = 0; x < art.devicewidth(); ++x)
            differ +=
                std::memcmp(s.row(top * n + y) + 3 * (left * n + x), art.row(y) + 3 * x, 3) != 0;
    return differ;
}

// The box of huewright's window that shows the marker: -1 for none, -2 for
// more than one.
int huemarker(const Surface& s) {
    static const Surface cursor = huewright::makecursor(e2e::scale());
    int found = -1;
    for (int k = 0; k < huewright::kMarkable; ++k) {
        const shell::Rect& c = huewright::clicks[k];
        if (artdiffers(s, cursor, c.left + 1, c.top + 1) == 0) found = found == -1 ? k : -2;
    }
    return found;
}

// Opens a chooser with a key and waits for it.
std::string openchooser(e2e::App& app, const std::string& key, const std::string& title) {
    app.key(key);
    const std::string c = app.waitwindow(title);
    app.settle(200);
    return c;
}

// Types into the chooser's name field, replacing what it holds, and confirms.
void typename_(e2e::App& app, const std::string& name) {
    app.x("xdotool key ctrl+a");
    app.type(name);
    app.x("xdotool key Return");
    app.settle(300);
}

const char* const kOpenTitle = "Select a Fractint .MAP File";
const char* const kSaveTitle = "Select a file for saving parameters";

TEST(ChooserDesktop, ListTypesPathsOverwriteAndMarker) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    // A MAP palette under a .txt name: listed only under "All files".
    writemap(dir + "/a.txt", 200, 0, 0);
    writemap(dir + "/b.map", 0, 200, 0);
    writemap(dir + "/noext", 0, 0, 200);
    mkdir((dir + "/sub").c_str(), 0755);
    e2e::App app(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(app.found());

    // O: the marker is in Open MAP while the chooser is open, nowhere else.
    std::string c = openchooser(app, "o", kOpenTitle);
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(huemarker(app.shot()), huewright::btn_openmap);
    // The list holds the folder, then the MAP files only: row 1 is b.map.
    app.clickin(c, ch::rowx(), ch::rowy(1));
    app.clickin(c, ch::okx(), ch::oky());
    ASSERT_EQ(app.waitothers(0), "");
    app.settle(300);
    EXPECT_TRUE(stripis(app.shot(), 0, 200, 0));

    // Under "All files", the last type, the .txt file is listed too, in row 1.
    c = openchooser(app, "o", kOpenTitle);
    app.clickin(c, ch::kMargin + ch::kLabelWidth + 20, ch::kTypeY + ch::kFieldHeight / 2);
    huewright::FileRecords records;
    huewright::InitOpenFile(records);
    std::string downs;
    for (size_t k = 0; k < records.omapn.filters.size(); ++k) downs += " Down";
    app.x("xdotool key" + downs + " Return");
    app.settle(200);
    app.clickin(c, ch::rowx(), ch::rowy(1));
    app.clickin(c, ch::okx(), ch::oky());
    ASSERT_EQ(app.waitothers(0), "");
    app.settle(300);
    EXPECT_TRUE(stripis(app.shot(), 200, 0, 0));

    // A file without an extension opens by its name.
    c = openchooser(app, "o", kOpenTitle);
    typename_(app, "noext");
    ASSERT_EQ(app.waitothers(0), "");
    EXPECT_TRUE(stripis(app.shot(), 0, 0, 200));

    // P: the marker moves to Save Palette. An absolute path is used as it is.
    c = openchooser(app, "p", kSaveTitle);
    EXPECT_EQ(huemarker(app.shot()), huewright::btn_savepalette);
    typename_(app, dir + "/sub/abs");
    ASSERT_NE(app.waitothers(1), "timeout");  // the "Image saved as" box
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    EXPECT_EQ(shell::testing::readfile(dir + "/sub/abs.map").substr(0, 6), "0 0 20");

    // Saving over b.map asks first, however the name is typed; No goes back
    // to the chooser and writes nothing, Yes overwrites.
    const std::string before = shell::testing::readfile(dir + "/b.map");
    c = openchooser(app, "p", kSaveTitle);
    // The chooser opens in sub/, where the last file went: the full name
    // first, then the bare name after typing the folder's path to go there.
    for (const std::string& name : {dir + "/b.map", dir, std::string("b")}) {
        typename_(app, name);
        if (name == dir) continue;
        ASSERT_EQ(app.others().size(), 2u) << name;  // the chooser and the question
        app.x("xdotool key Escape");
        app.settle(300);
        EXPECT_EQ(app.others(), std::vector<std::string>{c}) << name;
        EXPECT_EQ(shell::testing::readfile(dir + "/b.map"), before);
    }
    typename_(app, "b.map");
    app.x("xdotool key Return");  // Yes
    ASSERT_NE(app.waitothers(1), "timeout");
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    EXPECT_EQ(shell::testing::readfile(dir + "/b.map").substr(0, 6), "0 0 20");

    // S with the name dialog switched off: the marker moves to Save Screen
    // before the chooser opens.
    app.key("s");
    const std::string name = app.waitwindow("Name Entry");
    ASSERT_FALSE(name.empty());
    const shell::DialogUnits du = shell::dialogunits(8);
    app.clickin(name, du.x(12) + 40, du.y(72) + du.y(12) / 2);
    app.x("xdotool key Return");
    ASSERT_FALSE(app.waitwindow("Select a file for saving your image").empty());
    app.x("xdotool key Escape");
    ASSERT_EQ(app.waitothers(0), "");
    app.key("o");
    ASSERT_FALSE(app.waitwindow(kOpenTitle).empty());
    app.x("xdotool key Escape");
    ASSERT_EQ(app.waitothers(0), "");
    c = openchooser(app, "s", "Select a file for saving your image");
    EXPECT_EQ(huemarker(app.shot()), huewright::btn_savescreen);
    app.x("xdotool key Escape");
    ASSERT_EQ(app.waitothers(0), "");

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(ChooserDesktop, KnotloomShowsItsMarkerBeforeItsChooser) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("knotloom"), dir);
    ASSERT_TRUE(app.found());
    const shell::Rect& save = knotloom::click[knotloom::box_save];
    app.click(save.left + 10, save.top + 10);
    ASSERT_FALSE(app.waitwindow(kSaveTitle).empty());
    app.settle(200);
    const Surface s = app.shot();
    EXPECT_EQ(artdiffers(s, knotloom::makecursor(e2e::scale()), save.left, save.top), 0);
    app.x("xdotool key Escape");
    ASSERT_EQ(app.waitothers(0), "");
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(ChooserDesktop, PaletteFormatsThroughTheChoosers) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    // A gradient to open, of colours no curve makes.
    shell::Palette ramp;
    for (int i = 0; i < 256; ++i) ramp[i] = {uint8_t(i), 40, uint8_t(255 - i)};
    shell::testing::writefile(
        dir + "/a.ggr", palettes::encodepalette(palettes::Format::ggr, ramp, "a", "").value());
    e2e::App app(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(app.found());
    huewright::Model start;
    start.startuppalette();

    // A typed extension picks the format ...
    std::string c = openchooser(app, "p", kSaveTitle);
    typename_(app, "grad.ggr");
    ASSERT_NE(app.waitothers(1), "timeout");
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    // ... and so does the type chosen in the list, whose extension a bare
    // name gets: GIMP palette is the third type.
    c = openchooser(app, "p", kSaveTitle);
    app.clickin(c, ch::kMargin + ch::kLabelWidth + 20, ch::kTypeY + ch::kFieldHeight / 2);
    app.x("xdotool key Down Down Return");
    app.settle(200);
    app.clickin(c, ch::kMargin + ch::kLabelWidth + 40, ch::kNameY + ch::kFieldHeight / 2);
    typename_(app, "pal");
    ASSERT_NE(app.waitothers(1), "timeout");
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    for (const char* name : {"grad.ggr", "pal.gpl"}) {
        shell::Palette back{};
        const std::string bytes = shell::testing::readfile(dir + "/" + name);
        ASSERT_TRUE(palettes::decodepalette(bytes, name, back).ok()) << name;
        EXPECT_EQ(back, start.palette) << name;
    }

    // O: under "All palette files", the second type, the gradient is the
    // first file of the list; opened, the strip shows its samples.
    c = openchooser(app, "o", kOpenTitle);
    app.clickin(c, ch::kMargin + ch::kLabelWidth + 20, ch::kTypeY + ch::kFieldHeight / 2);
    app.x("xdotool key Down Return");
    app.settle(200);
    app.clickin(c, ch::rowx(), ch::rowy(0));
    app.clickin(c, ch::okx(), ch::oky());
    ASSERT_EQ(app.waitothers(0), "");
    app.settle(300);
    const Surface s = app.shot();
    int same = 0;
    for (int i = 0; i < 256; ++i)
        same += s.at(501 + i, 470) == shell::Rgb{ramp[i][0], ramp[i][1], ramp[i][2]};
    EXPECT_EQ(same, 256);
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);

    // Named on the command line, a palette file opens at start-up.
    e2e::App started(display, e2e::programpath("huewright"), dir, {dir + "/a.ggr"});
    ASSERT_TRUE(started.found());
    started.settle(300);
    const Surface first = started.shot();
    same = 0;
    for (int i = 0; i < 256; ++i)
        same += first.at(501 + i, 470) == shell::Rgb{ramp[i][0], ramp[i][1], ramp[i][2]};
    EXPECT_EQ(same, 256);
    started.key("Escape");
    EXPECT_EQ(started.wait(), 0);

    // knotloom saves its colours as shown, inverted here.
    e2e::App knot(display, e2e::programpath("knotloom"), dir);
    ASSERT_TRUE(knot.found());
    shell::headless::Host mirror(e2e::atscale(knotloom::programdesc()));
    const shell::Rect& wheel = knotloom::click[knotloom::box_wheel];
    shell::Point red{-1, -1};
    for (int y = wheel.top; y < wheel.bottom && red.x < 0; ++y)
        for (int x = wheel.left; x < wheel.right && red.x < 0; ++x)
            if (mirror.onscreen.at(x, y).r > 100) red = {x, y};
    knot.move(400, 690);  // over the strip: the palette is computed
    mirror.move(400, 690);
    knot.click(red.x, red.y);
    mirror.click(red.x, red.y);
    const shell::Rect& save = knotloom::click[knotloom::box_save];
    knot.click(save.left + 10, save.top + 10);
    ASSERT_FALSE(knot.waitwindow(kSaveTitle).empty());
    knot.settle(200);
    typename_(knot, "inverted.gpl");
    ASSERT_NE(knot.waitothers(1), "timeout");
    knot.x("xdotool key Return");
    ASSERT_EQ(knot.waitothers(0), "");
    shell::Palette shown = mirror.as<knotloom::MainWindow>().model.palette, back{};
    for (auto& e : shown)
        for (uint8_t& v : e) v = uint8_t(255 - v);
    ASSERT_TRUE(palettes::decodepalette(shell::testing::readfile(dir + "/inverted.gpl"),
                                        "inverted.gpl", back)
                    .ok());
    EXPECT_EQ(back, shown);
    knot.key("Escape");
    EXPECT_EQ(knot.wait(), 0);
}

}  // namespace
