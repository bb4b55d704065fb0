// Palettes in and out of the gradient designer in every format: P writes the
// format the name or the chosen type says, O reads any readable one (by its
// extension, or by its content when the name says nothing), and a palette
// file named on the command line opens at start-up.
#include "palettes/palettes.h"
#include "shell/headless/testing.h"
#include "window_testutil.h"

namespace huewright::testutil {
namespace {

// A palette that no curve makes, so a load shows.
shell::Palette ramp() {
    shell::Palette p;
    for (int i = 0; i < 256; ++i) p[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    return p;
}

TEST_F(HueWindow, EveryWritableFormatSavesAndEveryReadableOneOpens) {
    shell::testing::ScratchDir dir, other;
    m.palette = ramp();
    const shell::Palette saved = m.palette;
    for (const palettes::FormatInfo& f : palettes::formats()) {
        if (!f.canwrite) continue;
        // By the extension typed ...
        const std::string typed = dir.path(std::string("pal.") + f.extensions[0]);
        host.fileanswers.push_back(typed);
        host.key('P');
        ASSERT_EQ(host.boxes.back().text, "Image saved as " + std::string("pal.") + f.key);
        // ... and by the type chosen, whose extension a bare name gets.
        int type = 1;
        while (palettes::choosertypes(true)[size_t(type - 1)].name != palettes::choosertype(f).name)
            ++type;
        host.filetypes.push_back(type);
        host.fileanswers.push_back(other.path("pal"));
        host.key('P');
        const std::string bytes =
            shell::testing::readfile(other.path(std::string("pal.") + f.extensions[0]));
        EXPECT_TRUE(bytes == shell::testing::readfile(typed)) << f.key;
        if (!f.canread) continue;
        // O reads it back by its extension, and by its content under a name
        // that says nothing.
        const std::string renamed = dir.path(std::string("renamed-") + f.key + ".dat");
        shell::testing::writefile(renamed, bytes);
        for (const std::string& name : {typed, renamed}) {
            m.palette = shell::Palette{};
            m.okdisplay[0] = 1;
            host.fileanswers.push_back(name);
            host.key('O');
            EXPECT_EQ(m.palette, saved) << name;
            EXPECT_EQ(m.okdisplay[0], 0) << name;
            EXPECT_EQ(m.p[1].ct, 3) << name;  // the records are one-segment lines now
        }
        m.palette = saved;
    }
    EXPECT_EQ(host.boxes.size(), 2 * 10u);
}

TEST_F(HueWindow, AFileThatIsNoPaletteSaysWhyAndChangesNothing) {
    shell::testing::ScratchDir dir;
    const shell::Palette before = m.palette;
    shell::testing::writefile(dir.path("bad.ggr"),
                              "GIMP Gradient\nName: x\n1\n0 0.5 1 0 0 0 1 1 1 1\n");
    host.fileanswers.push_back(dir.path("bad.ggr"));
    host.key('O');
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "MAP file error");
    EXPECT_EQ(host.boxes[0].text,
              "Error opening MAP file\nbad.ggr: Not a GIMP gradient: segment 1 has 10 numbers, "
              "13 or 15 expected");
    EXPECT_EQ(m.palette, before);
    EXPECT_EQ(m.p[0], startupparameters[0]);
    EXPECT_EQ(m.okdisplay[0], 1);
}

TEST(HueStart, APaletteFileNamedAtStartUpOpens) {
    shell::testing::ScratchDir dir;
    shell::testing::writefile(
        dir.path("start.gpl"),
        palettes::encodepalette(palettes::Format::gpl, ramp(), "start", "").value());
    shell::ProgramDesc d = programdesc();
    d.startfile = dir.path("start.gpl");
    Host opened{d};
    EXPECT_EQ(opened.as<MainWindow>().model.palette, ramp());
    EXPECT_TRUE(opened.boxes.empty());
    // The strip shows it.
    EXPECT_EQ(opened.onscreen.at(kCurveLeft + 9, 470), (Rgb{9, 246, 63}));

    // One that cannot be read says so, and the program goes on with its own.
    d.startfile = dir.path("missing.map");
    Host failed{d};
    ASSERT_EQ(failed.boxes.size(), 1u);
    EXPECT_EQ(failed.boxes[0].text,
              "Error opening MAP file\nmissing.map: cannot be read: No such file or directory");
    Host plain{programdesc()};
    EXPECT_EQ(failed.as<MainWindow>().model.palette, plain.as<MainWindow>().model.palette);
}

}  // namespace
}  // namespace huewright::testutil
