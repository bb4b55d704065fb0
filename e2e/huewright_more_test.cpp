// The gradient designer's screen save, Help dialog and preview on a real X
// server: the Name Entry dialog and the file chooser typed into, the saved
// file read back by independent tools, the Help opened and closed, the
// preview compared with the model's own picture.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "huewright/model/model.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/helpdialog.h"
#include "huewright/ui/namedialog.h"
#include "huewright/ui/previewcommand.h"
#include "shell/headless/testing.h"
#include "shell/window/dialog.h"

namespace {

using namespace std::chrono_literals;

using e2e::lines;

// The program's visible windows other than its main window.
std::vector<std::string> others(e2e::App& app, const std::string&) {
    return app.others();
}
std::string waitothers(e2e::App& app, const std::string&, size_t count) {
    return app.waitothers(count);
}

int differences(const shell::Surface& a, const shell::Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.at(x, y) != b.at(x, y)) ++n;
    return n;
}

// A TIFF file decoded by ImageMagick (with libtiff underneath).
shell::Surface decode(e2e::App& app, const std::string& path, int w, int h) {
    const std::string rgb = app.x("convert '" + path + "' -depth 8 rgb:-");
    if (rgb.size() != size_t(w) * size_t(h) * 3) return shell::Surface();
    shell::Surface s(w, h);
    std::copy(rgb.begin(), rgb.end(), s.data());
    return s;
}

long residentkb(const std::string& pid) {
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string l; std::getline(in, l);)
        if (l.rfind("VmRSS:", 0) == 0) return std::stol(l.substr(6));
    return -1;
}

// A pixel strictly inside r whose red component is non-zero.
shell::Point reddish(const shell::Surface& s, const shell::Rect& r) {
    for (int y = r.top + 1; y < r.bottom; ++y)
        for (int x = r.left + 1; x < r.right; ++x)
            if (s.at(x, y).r > 0) return {x, y};
    return {-1, -1};
}

TEST(HuewrightMoreDesktop, NameSaveHelpPreviewAndExit) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(app.found());
    const std::string pid = lines(app.x("xdotool getwindowpid " + app.window())).at(0);

    // S opens the Name Entry dialog. Keys that open a window go through the
    // server's own keyboard, so that their release is not lost to the new
    // window and the key does not repeat into it.
    app.x("xdotool key s");
    const std::string name = app.waitwindow("Name Entry");
    ASSERT_FALSE(name.empty());
    app.settle(200);
    const std::string zoe = "Zo\xC3\xAB & Co";
    app.x("xdotool key ctrl+a");
    app.type(zoe);
    // Tick "No need to ask again": the check box at (12, 72) dialog units.
    const shell::DialogUnits du = shell::dialogunits(8);
    app.clickin(name, du.x(12) + 40, du.y(72) + du.y(12) / 2);
    app.x("xdotool key Return");
    ASSERT_FALSE(app.waitwindow("Select a file for saving your image").empty());
    app.settle(200);

    app.type("screen");
    app.x("xdotool key Return");
    const std::string box = waitothers(app, pid, 1);
    ASSERT_NE(box, "timeout");
    app.settle(200);
    EXPECT_EQ(lines(app.x("xdotool getwindowname " + box)),
              std::vector<std::string>{"Xo Gradient"});
    app.x("xdotool key Return");
    ASSERT_EQ(waitothers(app, pid, 0), "");
    app.settle(300);

    // The file holds exactly what the window shows at scale 1, and the
    // name in its IPTC by-line and XMP creator. At a larger scale it is
    // still the picture of scale 1, which the window shows drawn sharper.
    const std::string file = dir + "/screen.tif";
    const shell::Surface shown = app.shot();
    ASSERT_EQ(shown.width(), huewright::xres);
    const shell::Surface saved = decode(app, file, huewright::xres, huewright::yres);
    ASSERT_EQ(saved.width(), huewright::xres) << "cannot decode " << file;
    if (e2e::scale() == 1)
        EXPECT_EQ(differences(saved, shown), 0);
    else
        EXPECT_EQ(shell::testing::scaledmismatch(saved, shown), "");
    EXPECT_EQ(lines(app.x("exiftool -s3 -IPTC:By-line '" + file + "'")),
              std::vector<std::string>{zoe});
    EXPECT_EQ(lines(app.x("exiftool -s3 -XMP-dc:Creator '" + file + "'")),
              std::vector<std::string>{zoe});

    // With the box ticked the next S goes straight to the file chooser.
    app.x("xdotool key s");
    ASSERT_FALSE(app.waitwindow("Select a file for saving your image").empty());
    EXPECT_TRUE(app.x("xdotool search --onlyvisible --name 'Name Entry'").empty());
    app.settle(200);
    app.x("xdotool key Escape");
    ASSERT_EQ(waitothers(app, pid, 0), "");
    app.settle(200);

    // F1 opens the Help; Escape leaves it open, Return closes it.
    app.x("xdotool key F1");
    const std::string help = waitothers(app, pid, 1);
    ASSERT_NE(help, "timeout");
    app.settle(300);
    const shell::Surface helpshot = app.shot(help);
    const shell::DialogUnits hu = shell::dialogunits(11);
    EXPECT_EQ(helpshot.width(), hu.x(394));
    EXPECT_EQ(helpshot.height(), hu.y(296));
    app.x("xdotool key Escape");
    app.settle(300);
    EXPECT_EQ(others(app, pid), std::vector<std::string>{help});
    app.x("xdotool key Return");
    ASSERT_EQ(waitothers(app, pid, 0), "");
    app.settle(200);

    // Opening and closing the Help fifty times leaves the resident size
    // where it was (measured after one round, once everything the dialog
    // needs has been loaded).
    const auto helpround = [&] {
        app.x("xdotool key F1");
        if (waitothers(app, pid, 1) == "timeout") return false;
        app.x("xdotool key Return");
        return waitothers(app, pid, 0).empty();
    };
    ASSERT_TRUE(helpround());
    const long before = residentkb(pid);
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(helpround()) << i;
    app.settle(200);
    const long after = residentkb(pid);
    std::printf("resident size around 50 Help rounds: %ld kB before, %ld kB after\n", before,
                after);
    EXPECT_LT(after - before, 1024);

    // A click on the wheel shows the preview: the model's picture drawn over
    // what the curve display held.
    const shell::Surface curves = app.shot();
    const shell::Point wheel = reddish(curves, huewright::clicks[huewright::btn_preview]);
    ASSERT_GE(wheel.x, 0);
    shell::Surface want = curves;
    huewright::Model model;
    model.startuppalette();
    huewright::mset(model.palette, want, huewright::kMsetOrigin, {}, 1,
                    huewright::MsetKernel::rule);
    app.click(wheel.x, wheel.y);
    app.settle(500);
    EXPECT_EQ(differences(app.shot(), want), 0);
    // A click in the curve display brings the curves back. Column 757 is
    // inside the display but outside the hover area, so the readout under
    // the strip stays as it was.
    app.click(757, 300);
    EXPECT_EQ(differences(app.shot(), curves), 0);

    app.x("xdotool key Escape");
    EXPECT_EQ(app.wait(), 0);
}

}  // namespace
