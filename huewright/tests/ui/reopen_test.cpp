// A palette is a document: what the gradient designer saved comes back when
// it is opened again, through the open command, the command line or a
// screen image, and what it loads without curves is described as it is.
#include <gtest/gtest.h>

#include "huewright/files/metadata.h"
#include "huewright/files/tiff.h"
#include "huewright/model/description.h"
#include "huewright/ui/screensave.h"
#include "palettes/map.h"
#include "shell/headless/testing.h"
#include "shell/window/filedialog.h"
#include "window_testutil.h"

using namespace huewright;
using shell::headless::Dialog;
using shell::headless::Host;
using shell::testing::readfile;
using shell::testing::writefile;

namespace {

struct Reopen : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(scratch.ok()); }
    std::string path(const std::string& n) const { return scratch.path(n); }

    // A window started with FILE on its command line, or with none.
    static std::unique_ptr<Host> start(const std::string& file = {}) {
        shell::ProgramDesc d = programdesc();
        d.startfile = file;
        auto h = std::make_unique<Host>(d);
        h->as<MainWindow>().nameflag = false;
        return h;
    }
    static MainWindow& mw(Host& h) { return h.as<MainWindow>(); }

    // Confirms the Parameters dialog on a channel after `edit`.
    static void edit(Host& h, int channel, const std::function<void(Dialog&)>& edit) {
        h.key(keypress[channel]);
        Dialog& d = *h.modeless();
        edit(d);
        d.enter();
    }
    // One curve of every kind but the sine: an arc, a stretched cubic
    // Bezier and a line of two segments.
    static void makecurves(Host& h) {
        edit(h, 0, [](Dialog& d) {
            d.click(id_arc);
            d.type(id_aan, "30");
            d.type(id_avt, "200");
        });
        edit(h, 1, [](Dialog& d) {
            d.click(id_bezier);
            d.click(id_cubic);
            d.type(id_b0, "40");
            d.type(id_bc2x, "100");
            d.type(id_bc2y, "100");
            d.click(id_stretch);
        });
        edit(h, 2, [](Dialog& d) {
            d.click(id_line);
            d.click(id_segments2);
            d.type(id_Lmx, "100");
            d.type(id_Lmy, "20");
        });
    }
    static void command(Host& h, int key, const std::optional<std::string>& file) {
        h.fileanswers.push_back(file);
        h.key(key);
    }
    // The open command, cancelled: the marker stands in Open MAP, as it does
    // after a file was opened with it.
    static void markopen(Host& h) { command(h, keypress[btn_openmap], std::nullopt); }

    // The window and what it keeps are the same.
    static void expectsame(Host& a, Host& b, const std::string& what) {
        EXPECT_TRUE(testutil::samesurface(a.offscreen, b.offscreen)) << what;
        EXPECT_TRUE(testutil::samesurface(a.onscreen, b.onscreen)) << what;
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(mw(a).model.p[c], mw(b).model.p[c]) << what << c;
            EXPECT_EQ(mw(a).model.okdisplay[c], mw(b).model.okdisplay[c]) << what << c;
            EXPECT_EQ(mw(a).model.stretchflag[c], mw(b).model.stretchflag[c]) << what << c;
        }
        EXPECT_EQ(mw(a).model.palette, mw(b).model.palette) << what;
    }

    shell::testing::ScratchDir scratch;
};

}  // namespace

TEST_F(Reopen, SavedPalettesAndScreensComeBackAsTheSameWindow) {
    std::unique_ptr<Host> made = start();
    makecurves(*made);
    command(*made, keypress[btn_savepalette], path("made.map"));
    command(*made, keypress[btn_savescreen], path("made.tif"));
    ASSERT_EQ(made->boxes.size(), 2u);
    markopen(*made);
    std::string description;
    writedescription(description, mw(*made).model.p, mw(*made).model.stretchflag);

    for (const char* file : {"made.map", "made.tif"}) {
        // From the command line, and with the open command.
        std::unique_ptr<Host> started = start(path(file));
        markopen(*started);
        expectsame(*made, *started, file);
        EXPECT_EQ(mw(*started).descriptionstring, description);
        EXPECT_TRUE(started->boxes.empty());

        std::unique_ptr<Host> opened = start();
        command(*opened, keypress[btn_openmap], path(file));
        expectsame(*made, *opened, file);
        // R opens the Parameters dialog on the curve as it was made.
        opened->key(keypress[btn_green]);
        EXPECT_EQ(opened->modeless()->text(id_b0), "40");
        EXPECT_TRUE(opened->modeless()->checked(id_stretch));
    }
    // The command line set both choosers as the open command would.
    std::unique_ptr<Host> started = start(path("made.map"));
    EXPECT_EQ(mw(*started).files.omapn.file, path("made.map"));
    EXPECT_EQ(mw(*started).files.smapn.file, path("made.map"));
    EXPECT_EQ(mw(*started).files.smapn.filetitle, "made.map");
    std::unique_ptr<Host> picture = start(path("made.tif"));
    EXPECT_EQ(mw(*picture).files.stiffn.file, path("made.tif"));
    EXPECT_EQ(mw(*picture).files.smapn.file, path("made.map"));
}

TEST_F(Reopen, CurvesThatDoNotMatchOrAreDamagedLeaveThePaletteLoadedAndSayWhy) {
    std::unique_ptr<Host> made = start();
    makecurves(*made);
    command(*made, keypress[btn_savepalette], path("made.map"));
    const std::string text = readfile(path("made.map"));
    const shell::Palette palette = mw(*made).model.palette;
    // One entry edited elsewhere; one line of the curves lost.
    writefile(path("edited.map"), "1 2 3" + text.substr(text.find('\n')));
    std::string damaged = text;
    damaged.erase(damaged.find("vertex: 200\n"), 12);
    writefile(path("damaged.map"), damaged);

    for (const char* file : {"edited.map", "damaged.map"}) {
        std::unique_ptr<Host> h = start(path(file));
        const MainWindow& w = mw(*h);
        EXPECT_TRUE(h->boxes.empty()) << file;
        EXPECT_EQ(w.model.palette[255], palette[255]) << file;
        for (int c = 0; c < 3; ++c) EXPECT_EQ(w.model.okdisplay[c], 0) << file;
        const std::string why = file == std::string("edited.map")
                                    ? "they do not make the file's colours"
                                    : "Red: the line \"vertex: …\" is missing";
        EXPECT_EQ(w.descriptionstring,
                  "Xo Gradient curve parameters\n\nRed: Loaded\n\nGreen: Loaded\n\nBlue: Loaded\n\n"
                  "Loaded palette\nFile: " +
                      std::string(file) +
                      " (Fractint .map files)\nEntries: 256\nCurves not taken: " + why + "\n");
    }
}

TEST_F(Reopen, ALoadedPaletteIsDescribedAndEditedChannelsBecomeCurves) {
    std::string gpl = "GIMP Palette\nName: Ember\n# Warm colours\n# for a fire\n";
    for (int i = 0; i < 16; ++i) gpl += std::to_string(i * 16) + " 8 0\n";
    writefile(path("ember.gpl"), gpl);
    std::unique_ptr<Host> h = start(path("ember.gpl"));
    MainWindow& w = mw(*h);
    const std::string loaded =
        "Loaded palette\nFile: ember.gpl (GIMP palette)\nName: Ember\nDescription:\n"
        "  Warm colours\n  for a fire\nEntries: 16 from the file, the other 240 black\n";
    EXPECT_EQ(w.descriptionstring,
              "Xo Gradient curve parameters\n\nRed: Loaded\n\nGreen: Loaded\n\nBlue: Loaded\n\n" +
                  loaded);

    // Red confirmed as it is becomes its curve; the others stay loaded.
    edit(*h, 0, [](Dialog&) {});
    const std::string mixed =
        "Xo Gradient curve parameters\n\nRed: Line\nNumber of line segments: 1\n(0, y): 128\n"
        "(255, y): 128\n\nGreen: Loaded\n\nBlue: Loaded\n\n" +
        loaded;
    EXPECT_EQ(w.descriptionstring, mixed);
    command(*h, keypress[btn_savepalette], path("mixed.map"));
    EXPECT_EQ(readfile(path("mixed.map")), palettes::maptext(w.model.palette, mixed));
    markopen(*h);

    // It comes back as it was: red a curve, green and blue loaded, and the
    // same description.
    std::unique_ptr<Host> again = start(path("mixed.map"));
    markopen(*again);
    expectsame(*h, *again, "mixed");
    EXPECT_EQ(mw(*again).descriptionstring, mixed);

    // The open is one step of undo, and brings the description back with it.
    std::unique_ptr<Host> u = start();
    const std::string before = mw(*u).descriptionstring;
    command(*u, keypress[btn_openmap], path("mixed.map"));
    u->command(cmd_undo);
    EXPECT_EQ(mw(*u).descriptionstring, before);
    EXPECT_EQ(mw(*u).model.okdisplay[1], 1);
    u->command(cmd_redo);
    EXPECT_EQ(mw(*u).descriptionstring, mixed);
    EXPECT_EQ(mw(*u).loadedfrom, loaded);
    EXPECT_EQ(mw(*u).model.okdisplay[0], 1);
}

TEST_F(Reopen, ScreenImagesWithoutCurvesFailAndDamagedOnesLoadTheirStrip) {
    std::unique_ptr<Host> made = start();
    makecurves(*made);
    const shell::Surface picture = made->offscreen;
    const shell::Palette palette = mw(*made).model.palette;
    auto save = [&](const std::string& name, std::string description, int compression) {
        const Metadata m = writestrings(description, "Anonymous", 0);
        const shell::Result<TiffFile> t = encodetiff(picture, compression, m);
        writefile(path(name), std::string(reinterpret_cast<const char*>(t.value().bytes.get()),
                                          t.value().size));
    };
    std::string curves = mw(*made).descriptionstring;
    save("notes.tif", "Holiday photo", compression_lzw);
    save("loaded.tif",
         "Xo Gradient curve parameters\n\nRed: Loaded\n\nGreen: Loaded\n\nBlue: Loaded\n",
         compression_none);
    save("damaged.tif", curves.substr(0, curves.find("\nBlue")), compression_lzw);
    // A directory of five entries that ends after its count.
    writefile(path("broken.tif"), std::string("II*\0\x08\0\0\0\x05\0", 10));

    for (const char* bad : {"notes.tif", "loaded.tif", "broken.tif"}) {
        std::unique_ptr<Host> h = start(path(bad));
        ASSERT_EQ(h->boxes.size(), 1u) << bad;
        EXPECT_EQ(h->boxes[0].caption, "MAP file error");
        EXPECT_EQ(h->boxes[0].text,
                  "Error opening MAP file\n" + std::string(bad) +
                      (bad == std::string("broken.tif")
                           ? ": Not a TIFF image: its directory runs past the end"
                           : ": Not a screen image of this program: it carries no curves"));
        EXPECT_EQ(mw(*h).model.okdisplay[0], 1);
    }
    std::unique_ptr<Host> h = start(path("damaged.tif"));
    EXPECT_TRUE(h->boxes.empty());
    EXPECT_EQ(mw(*h).model.palette, palette);
    EXPECT_EQ(mw(*h).model.okdisplay[0], 0);
    const std::string& d = mw(*h).descriptionstring;
    EXPECT_NE(d.find("\nFile: damaged.tif (screen image)\nEntries: 256, read from the picture's "
                     "palette strip\nCurves not taken: the Blue channel is missing\n"),
              std::string::npos)
        << d;
}
