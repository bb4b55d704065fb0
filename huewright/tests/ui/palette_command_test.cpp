// The save palette and open palette commands as the main window runs them:
// the file dialogs, the message boxes, and what a save or a load may change.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "huewright/model/description.h"
#include "huewright/ui/filecommands.h"
#include "palettes/map.h"
#include "palettes/palettes.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"
#include "shell/io/atomicfile.h"
#include "shell/window/filedialog.h"

using namespace huewright;

namespace {

using shell::testing::idledesc;

// The model fields the commands work on, with values a load must not keep
// or must keep.
struct Fixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(scratch.ok());
        dir = scratch.dir();
        InitOpenFile(files);
        m.calcsine();
        writedescription(description, p, stretchflag);
        for (int i = 0; i < 256; ++i)
            palette[i] = {uint8_t(i * 7), uint8_t(i * 13 + 5), uint8_t(255 - i)};
    }
    void TearDown() override {
        shell::setwritefailure(-1);
        palettes::setpngmemoryfailure(false);
    }

    std::string path(const std::string& n) const { return dir + "/" + n; }
    std::set<std::string> entries() const { return scratch.entries(); }
    static std::string read(const std::string& p) { return shell::testing::readfile(p); }

    // What a command came to: "ok", "cancelled" or "failed".
    static std::string outcome(const shell::Status& s) {
        if (s.ok()) return "ok";
        return s.error().fault == shell::Fault::cancelled ? "cancelled" : "failed";
    }
    std::string save(const std::optional<std::string>& answer) {
        host.fileanswers.push_back(answer);
        return outcome(savepalette(host, files, palette, description));
    }
    std::string open(const std::optional<std::string>& answer) {
        host.fileanswers.push_back(answer);
        return outcome(openpalette(host, files, target()));
    }
    OpenTarget target() { return OpenTarget{m, description, loadedfrom}; }

    shell::testing::ScratchDir scratch;
    std::string dir;
    shell::headless::Host host{idledesc()};
    FileRecords files;
    std::string description, loadedfrom;
    Model m = [] {
        Model fresh;
        fresh.stretchflag[0] = fresh.stretchflag[2] = 1;
        return fresh;
    }();
    shell::Palette& palette = m.palette;
    Parameters (&p)[3] = m.p;
    int (&stretchflag)[3] = m.stretchflag;
    int (&okdisplay)[3] = m.okdisplay;
};

using PaletteCommand = Fixture;

}  // namespace

TEST_F(PaletteCommand, RecordsStartInTheStartFolderWithTheirFiltersAndTitles) {
    struct Want {
        const shell::FileDialogRecord& r;
        const char *filter, *pattern, *title, *ext;
        bool overwrite, mustexist;
    };
    const char* map = "Fractint .map files (*.map)";
    for (const Want& w : {
             Want{files.smapn, map, "*.map", "Select a file for saving parameters", "map", true,
                  false},
             Want{files.omapn, map, "*.map", "Select a Fractint .MAP File", "map", false, true},
             Want{files.stiffn, "TIFF files (*.tif)", "*.tif",
                  "Select a file for saving your image:", "tif", true, false},
         }) {
        EXPECT_EQ(w.r.filters.at(0).name, w.filter);
        EXPECT_EQ(w.r.filters.at(0).pattern, w.pattern);
        EXPECT_EQ(w.r.title, w.title);
        EXPECT_EQ(w.r.defext, w.ext);
        EXPECT_EQ(w.r.overwriteprompt, w.overwrite);
        EXPECT_EQ(w.r.mustexist, w.mustexist);
        EXPECT_EQ(shell::dialogfolder(w.r), shell::startfolder());
        EXPECT_TRUE(w.r.file.empty());
    }
}

TEST_F(PaletteCommand, SaveWritesTheFileAndNamesItInAnOwnerlessBox) {
    // Something drawn on the window only is repainted away once the dialog
    // closes, as a full repaint would.
    host.onscreen.setpixel(0, 0, shell::Rgb{1, 2, 3});
    ASSERT_EQ(save(path("colours")), "ok");
    EXPECT_EQ(host.onscreen.getpixel(0, 0), host.offscreen.getpixel(0, 0));

    EXPECT_EQ(read(path("colours.map")), palettes::maptext(palette, description));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Image saved as colours.map");
    EXPECT_EQ(host.boxes[0].caption, "Palette Curves");
    EXPECT_EQ(host.boxes[0].icon, shell::Icon::none);
    EXPECT_FALSE(host.boxes[0].owned);

    // The next save starts from the file chosen last.
    ASSERT_EQ(save(std::nullopt), "cancelled");
    ASSERT_EQ(host.filedialogs.size(), 2u);
    EXPECT_EQ(host.filedialogs[0].title, "Select a file for saving parameters");
    EXPECT_EQ(host.filedialogs[1].file, path("colours.map"));
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(entries(), (std::set<std::string>{"colours.map"}));
}

TEST_F(PaletteCommand, FailedSavesShowTheErrorAndLeaveFilesAsTheyWere) {
    // A folder that does not exist: nothing is created anywhere.
    ASSERT_EQ(save(path("nowhere/x.map")), "failed");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Error opening save file");
    EXPECT_EQ(host.boxes[0].caption, "Save file error");
    EXPECT_EQ(host.boxes[0].icon, shell::Icon::exclamation);
    EXPECT_TRUE(host.boxes[0].owned);
    EXPECT_TRUE(entries().empty());

    // A write that fails part-way, as on a full disk, over an existing file.
    std::ofstream(path("old.map"), std::ios::binary) << "1 2 3\n";
    shell::setwritefailure(1000);
    ASSERT_EQ(save(path("old.map")), "failed");
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, "Error opening save file");
    EXPECT_EQ(read(path("old.map")), "1 2 3\n");
    EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));
    shell::setwritefailure(-1);

    // No memory to encode a PNG strip is not a file that cannot be opened.
    palettes::setpngmemoryfailure(true);
    ASSERT_EQ(save(path("strip.png")), "failed");
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[2].text, "Not enough memory to save the palette");
    EXPECT_EQ(host.boxes[2].caption, "Save file error");
    EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));
}

TEST_F(PaletteCommand, SaveOverADanglingLinkWritesTheFileItNamesAndKeepsTheLink) {
    // A link kept in one folder to a palette kept in another, not written yet.
    ASSERT_EQ(mkdir(path("palettes").c_str(), 0755), 0);
    ASSERT_EQ(symlink("palettes/warm.map", path("current.map").c_str()), 0);
    ASSERT_EQ(save(path("current")), "ok");

    EXPECT_EQ(read(path("palettes/warm.map")), palettes::maptext(palette, description));
    struct stat st;
    ASSERT_EQ(lstat(path("current.map").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Image saved as current.map");
    EXPECT_EQ(entries(), (std::set<std::string>{"current.map", "palettes"}));

    // Reading through the link gives the palette back.
    const shell::Palette saved = palette;
    palette.fill({9, 9, 9});
    ASSERT_EQ(open(path("current.map")), "ok");
    EXPECT_EQ(palette, saved);
}

TEST_F(PaletteCommand, OpenReplacesThePaletteAndResetsTheRecordsOnly) {
    shell::Palette saved = palette;
    ASSERT_EQ(save(path("round.map")), "ok");
    const std::string before = description;
    palette.fill({9, 9, 9});

    ASSERT_EQ(open(path("round.map")), "ok");
    EXPECT_EQ(palette, saved);         // the round trip gives the same 256 entries
    EXPECT_EQ(host.boxes.size(), 1u);  // the save's notice only
    EXPECT_EQ(host.filedialogs.back().title, "Select a Fractint .MAP File");
    for (int c = 0; c < 3; ++c) {
        Parameters want = startupparameters[c];
        want.ct = 3;
        want.Ln = 1;
        want.L0 = c == 0 ? 128 : c == 1 ? 255 : 0;
        want.L255 = c == 0 ? 128 : c == 1 ? 0 : 255;
        EXPECT_EQ(p[c], want) << c;
        EXPECT_EQ(okdisplay[c], 0);
    }
    EXPECT_EQ(stretchflag[0], 1);

    // The file's curves do not make its colours, so the description tells
    // the loaded palette now, and why its curves were not taken.
    EXPECT_EQ(description,
              "Xo Gradient curve parameters\n\nRed: Loaded\n\nGreen: Loaded\n\nBlue: Loaded\n\n"
              "Loaded palette\nFile: round.map (Fractint .map files)\nEntries: 256\n"
              "Curves not taken: they do not make the file's colours\n");
    EXPECT_NE(description, before);
}

TEST_F(PaletteCommand, ShortFilesEndingInBlankLinesOrAnEndOfFileByteOpen) {
    std::string lines;
    for (int i = 0; i < 224; ++i) lines += "9 8 7\r\n";
    const std::string texts[] = {lines + "\r\n", lines + "\n\n", lines + "\x1a"};
    int k = 0;
    for (const std::string& t : texts) {
        const std::string name = "short" + std::to_string(k++) + ".map";
        std::ofstream(path(name), std::ios::binary) << t;
        palette[224] = {1, 1, 1};
        ASSERT_EQ(open(path(name)), "ok") << name;
        EXPECT_EQ(palette[223], (std::array<uint8_t, 3>{9, 8, 7}));
        EXPECT_EQ(palette[224], (std::array<uint8_t, 3>{0, 0, 0}));
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(PaletteCommand, FailedOrCancelledOpenChangesNothing) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "1 2 3\n";
    text += "4 5\n";
    std::ofstream(path("bad.map"), std::ios::binary) << text;

    const shell::Palette before = palette;
    const std::string told = description;
    ASSERT_EQ(open(path("bad.map")), "failed");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(
        host.boxes[0].text,
        "Error opening MAP file\nbad.map: Not a MAP palette: line 101: expected three numbers");
    EXPECT_EQ(host.boxes[0].caption, "MAP file error");
    EXPECT_EQ(host.boxes[0].icon, shell::Icon::exclamation);
    EXPECT_TRUE(host.boxes[0].owned);

    // A file that exists but cannot be read fails the same way; one that
    // does not exist is refused by the chooser, which then stays open.
    ASSERT_EQ(open(std::string("/proc/self/mem")), "failed");
    ASSERT_EQ(open(path("missing.map")), "cancelled");
    ASSERT_EQ(host.chooserboxes.size(), 1u);
    EXPECT_EQ(host.chooserboxes[0],
              path("missing.map") + "\nFile not found.\nCheck the file name and try again.");
    ASSERT_EQ(open(std::nullopt), "cancelled");
    EXPECT_EQ(host.boxes.size(), 2u);

    EXPECT_EQ(palette, before);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(p[c], startupparameters[c]);
        EXPECT_EQ(okdisplay[c], 1);
    }
    EXPECT_EQ(description, told);
}

TEST_F(PaletteCommand, EveryFailedOpenNamesTheFileAndWhyUnderTheSameCaption) {
    // A damaged MAP file the size of a colour table is not read as one.
    shell::testing::writefile(path("short.map"), "1 2 3\n" + std::string(762, 'x'));
    shell::testing::writefile(path("notes.txt"), "hello\n");
    ASSERT_EQ(mkdir(path("folder").c_str(), 0755), 0);
    const shell::Palette before = palette;
    for (const char* why : {"short.map: Not a MAP palette: line 2: expected three numbers",
                            "notes.txt: Not a palette file: its content fits none of the formats "
                            "read here",
                            "folder: a folder, not a file"}) {
        const std::string name = std::string(why).substr(0, std::string(why).find(':'));
        ASSERT_EQ(outcome(openpalettefile(host, path(name), target())), "failed");
        EXPECT_EQ(host.boxes.back().text, std::string("Error opening MAP file\n") + why);
        EXPECT_EQ(host.boxes.back().caption, "MAP file error");
    }
    EXPECT_EQ(palette, before);
}
