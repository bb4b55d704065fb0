#include <gtest/gtest.h>
#include <tiffio.h>

#include <string>
#include <vector>

#include "../files/tiff_testutil.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/namedialog.h"
#include "save_testwindow.h"

using namespace huewright;
using namespace huewright::savetest;
using shell::headless::Dialog;

namespace {

class ScreenSave : public tifftest::ScratchFolder {};

// The picture of a TIFF file, top row first, and its artist field.
struct Read {
    bool ok = false;
    shell::Surface picture;
    std::string artist;
};
Read readtiff(const std::string& path) {
    Read r;
    TIFFSetWarningHandler(nullptr);
    TIFF* t = TIFFOpen(path.c_str(), "r");
    if (!t) return r;
    uint32_t w = 0, h = 0;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
    std::vector<uint32_t> raster(size_t(w) * h);
    if (TIFFReadRGBAImageOriented(t, w, h, raster.data(), ORIENTATION_TOPLEFT, 0)) {
        r.picture = shell::Surface(int(w), int(h));
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t p = raster[size_t(y) * w + x];
                r.picture.setpixel(
                    int(x), int(y),
                    shell::Rgb{uint8_t(TIFFGetR(p)), uint8_t(TIFFGetG(p)), uint8_t(TIFFGetB(p))});
            }
        r.ok = true;
    }
    char* artist = nullptr;
    if (TIFFGetField(t, TIFFTAG_ARTIST, &artist) && artist) r.artist = artist;
    TIFFClose(t);
    return r;
}

// A click strictly inside a button of the window.
void clickbutton(shell::headless::Host& h, int button) {
    h.click(clicks[button].left + 10, clicks[button].top + 10);
}

// What a script saw of the Name Entry dialog when it opened.
struct Seen {
    std::string name;
    bool ticked = false;
    bool opened = false;
};

TEST_F(ScreenSave, NameDialogComesFirstAndItsCancelSavesNothing) {
    RecordingHost h;
    Seen seen;
    h.modalscripts.push_back([&](Dialog& d) {
        seen = Seen{d.text(id_namebox), d.checked(id_noask), true};
        d.type(id_namebox, "Somebody Else");
        d.click(id_noask);
        d.click(id_namecancel);
    });
    h.key('S');
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.name, "Anonymous");
    EXPECT_FALSE(seen.ticked);
    ASSERT_EQ(h.modalcaptions, std::vector<std::string>{"Name Entry"});
    // Cancel abandons the save before the file dialog and keeps the name and
    // the flag as they were.
    EXPECT_TRUE(h.filedialogs.empty());
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_EQ(h.mw().username, "Anonymous");
    EXPECT_EQ(h.mw().nameflag, 1);
    EXPECT_EQ(h.mw().button, 4);  // the marker moved to Save Screen

    // The button does the same as the key; Escape is Cancel, and so is
    // Enter once the focus is on Cancel.
    h.modalscripts.push_back([](Dialog& d) { d.escape(); });
    clickbutton(h, btn_savescreen);
    h.modalscripts.push_back([](Dialog& d) {
        d.type(id_namebox, "Eve");
        d.tab(true);
        ASSERT_EQ(d.focused(), id_namecancel);
        d.enter();
    });
    h.key('S');
    EXPECT_EQ(h.modalcaptions.size(), 3u);
    EXPECT_TRUE(h.filedialogs.empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(h.mw().username, "Anonymous");
}

TEST_F(ScreenSave, TickedBoxGoesStraightToTheFileDialogNextTime) {
    RecordingHost h;
    const std::string zoe = "Zo\xC3\xAB & Co";
    h.modalscripts.push_back([&](Dialog& d) {
        d.type(id_namebox, zoe);
        d.click(id_noask);
        d.enter();
    });
    h.fileanswers.push_back(path("first.tif"));
    h.key('S');
    EXPECT_EQ(h.mw().nameflag, 0);
    EXPECT_EQ(h.mw().username, zoe);  // 9 bytes: odd, so nothing added
    ASSERT_EQ(h.filedialogs.size(), 1u);
    ASSERT_EQ(h.boxes.size(), 1u);
    EXPECT_EQ(h.boxes[0].text, "Image saved as first.tif");
    EXPECT_EQ(h.boxes[0].caption, "Xo Gradient");
    EXPECT_EQ(h.boxes[0].icon, shell::Icon::none);
    EXPECT_FALSE(h.boxes[0].owned);
    const Read first = readtiff(path("first.tif"));
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.artist, zoe);

    // No dialog this time: the file dialog comes at once, and the name
    // entered before is used again.
    h.fileanswers.push_back(path("second"));
    clickbutton(h, btn_savescreen);
    EXPECT_EQ(h.modalcaptions.size(), 1u);
    ASSERT_EQ(h.boxes.size(), 2u);
    EXPECT_EQ(h.boxes[1].text, "Image saved as second.tif");
    EXPECT_EQ(readtiff(path("second.tif")).artist, zoe);
}

TEST_F(ScreenSave, SavedPictureIsWhatTheWindowShows) {
    RecordingHost h;
    // Something besides the start-up picture: the hover readout and the
    // preview are on the screen too.
    h.move(600, 470);
    const shell::Point wheel = wheelpixel(h.onscreen, clicks[btn_preview], true);
    h.click(wheel.x, wheel.y);
    ASSERT_TRUE(h.mw().previewshown);

    std::vector<std::pair<std::string, bool>> during;
    h.onflush = [&] { during.push_back({h.title(), h.busy()}); };
    h.modalscripts.push_back([](Dialog& d) { d.enter(); });
    h.fileanswers.push_back(path("screen.tif"));
    h.key('S');
    h.onflush = nullptr;

    const Read r = readtiff(path("screen.tif"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(differences(r.picture, h.onscreen), 0);
    EXPECT_EQ(differences(h.onscreen, h.offscreen), 0);

    // While it was written the title counted up with the wait cursor on;
    // both were back before the box.
    std::vector<std::string> percents;
    for (const auto& [title, busy] : during) {
        if (title.find('%') == std::string::npos) continue;
        percents.push_back(title);
        EXPECT_TRUE(busy) << title;
    }
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.front(), "1 %");
    EXPECT_EQ(percents.back(), "100 %");
    ASSERT_EQ(h.atbox.size(), 1u);
    EXPECT_EQ(h.atbox[0].first, "Xo Gradient");
    EXPECT_FALSE(h.atbox[0].second);
    EXPECT_EQ(h.title(), "Xo Gradient");
    EXPECT_FALSE(h.busy());
}

TEST_F(ScreenSave, FailuresAndCancelsLeaveNothingBehind) {
    RecordingHost h;
    h.mw().nameflag = 0;

    // A cancelled file dialog shows nothing and writes nothing.
    h.fileanswers.push_back(std::nullopt);
    h.key('S');
    EXPECT_EQ(h.filedialogs.size(), 1u);
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(entries().empty());
    const shell::Surface before = h.onscreen;

    // A folder that does not exist: the error box, owned, with the window
    // already restored when it shows, and the screen as it was.
    h.fileanswers.push_back(path("missing/screen.tif"));
    h.key('S');
    ASSERT_EQ(h.boxes.size(), 1u);
    EXPECT_EQ(h.boxes[0].text, "Error opening a save file.");
    EXPECT_EQ(h.boxes[0].caption, "Save file error");
    EXPECT_EQ(h.boxes[0].icon, shell::Icon::exclamation);
    EXPECT_TRUE(h.boxes[0].owned);
    ASSERT_EQ(h.atbox.size(), 1u);
    EXPECT_EQ(h.atbox[0].first, "Xo Gradient");
    EXPECT_FALSE(h.atbox[0].second);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(differences(h.onscreen, before), 0);
    EXPECT_TRUE(entries().empty());

    // A folder that cannot be written (root ignores permissions, so only
    // when not running as root).
    if (geteuid() != 0) {
        const std::string locked = path("locked");
        ASSERT_EQ(system(("mkdir '" + locked + "' && chmod 500 '" + locked + "'").c_str()), 0);
        h.fileanswers.push_back(locked + "/screen.tif");
        h.key('S');
        ASSERT_EQ(h.boxes.size(), 2u);
        EXPECT_EQ(h.boxes[1].text, "Error opening a save file.");
        ASSERT_EQ(system(("chmod 700 '" + locked + "'").c_str()), 0);
        EXPECT_EQ(entries(), std::set<std::string>{"locked"});
    }
}

TEST_F(ScreenSave, NothingStartsWhileTheParametersDialogIsOpen) {
    RecordingHost h;
    h.key('R');
    ASSERT_TRUE(h.mw().editor.editing());
    ASSERT_NE(h.modeless(), nullptr);
    h.fileanswers.push_back(path("never.tif"));

    // The keys and buttons are dead ...
    h.key('S');
    h.key(shell::vk_f1);
    h.key(shell::vk_f2);
    clickbutton(h, btn_savescreen);
    clickbutton(h, btn_help);
    // ... and the commands themselves refuse to start.
    for (int id : {cmd_askname, cmd_savescreen, cmd_help, cmd_preview}) h.command(id);
    EXPECT_TRUE(h.modalcaptions.empty());
    EXPECT_TRUE(h.filedialogs.empty());
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_FALSE(h.mw().previewshown);
    EXPECT_EQ(h.flushes, 0);
    EXPECT_TRUE(entries().empty());

    // Once the dialog is gone, the save runs.
    h.modeless()->click(2);
    ASSERT_FALSE(h.mw().editor.editing());
    h.modalscripts.push_back([](Dialog& d) { d.enter(); });
    h.key('S');
    EXPECT_EQ(h.boxes.size(), 1u);
    EXPECT_EQ(entries(), std::set<std::string>{"never.tif"});
}

// The name as stored after typing `typed` into the Name Entry dialog and
// pressing OK; `shown` gets what the box showed.
std::string stored(const std::string& typed, std::string* shown = nullptr) {
    std::string username = "Anonymous";
    bool nameflag = true;
    NameDialogProc proc(username, nameflag);
    Dialog d(nametemplate(), proc);
    d.init();
    d.type(id_namebox, typed);
    if (shown) *shown = d.text(id_namebox);
    d.enter();
    EXPECT_TRUE(d.ended());
    EXPECT_EQ(d.result(), 1);
    return username;
}

TEST(NameEntry, OkStoresTheFilteredName) {
    EXPECT_EQ(stored("Jo O'Neil <x>"), "Jo O*Neil *x*");
    EXPECT_EQ(stored("Zo\xC3\xAB & Co"), "Zo\xC3\xAB & Co");
    EXPECT_EQ(stored(""), " ");
    EXPECT_EQ(stored("Anna"), "Anna ");
    const std::string n31 = "abcdefghijklmnopqrstuvwxyz01234";
    EXPECT_EQ(stored(n31), n31);
    EXPECT_EQ(stored(n31 + "567890123"), n31);  // 40 typed, 31 kept
    // The box takes as many characters as the name keeps, counted as
    // characters: a name of two-byte letters is kept whole as it is shown.
    const std::string a30(30, 'a');
    EXPECT_EQ(stored(a30 + "\xC3\xA9"), a30 + "\xC3\xA9 ");
    std::string e40;
    for (int i = 0; i < 40; ++i) e40 += "\xC3\xA9";
    std::string shown;
    EXPECT_EQ(stored(e40, &shown), e40.substr(0, 62) + " ");
    EXPECT_EQ(shown, e40.substr(0, 62));
    // What the dialog stored comes back unchanged when it is confirmed again.
    EXPECT_EQ(stored(stored("Anna")), "Anna ");
}

TEST(NameEntry, TickAndCancel) {
    std::string username = "Ann";
    bool nameflag = false;
    NameDialogProc proc(username, nameflag);
    // Opened while the user no longer wants to be asked, the box is ticked;
    // unticking it and confirming asks again next time.
    Dialog a(nametemplate(), proc);
    a.init();
    EXPECT_EQ(a.text(id_namebox), "Ann");
    EXPECT_TRUE(a.checked(id_noask));
    EXPECT_EQ(a.focused(), id_namebox);
    EXPECT_TRUE(a.selected());  // typing replaces the offered name
    a.click(id_noask);
    a.enter();
    EXPECT_EQ(nameflag, 1);
    EXPECT_EQ(username, "Ann");

    // Cancel keeps both, whatever was typed and ticked.
    Dialog b(nametemplate(), proc);
    b.init();
    b.type(id_namebox, "Bob");
    b.click(id_noask);
    b.escape();
    EXPECT_TRUE(b.ended());
    EXPECT_EQ(b.result(), 2);
    EXPECT_EQ(nameflag, 1);
    EXPECT_EQ(username, "Ann");
}

TEST(NameEntry, TemplateIsTheDialogAsLaidOut) {
    const shell::DialogTemplate t = nametemplate();
    EXPECT_EQ(t.caption, "Name Entry");
    EXPECT_EQ(t.pointsize, 8);
    EXPECT_EQ(t.cx, 170);
    EXPECT_EQ(t.cy, 112);
    EXPECT_FALSE(t.closebox);
    struct Want {
        int id;
        shell::Control kind;
        const char* text;
        int x, y, cx, cy;
    };
    const Want want[] = {
        {1, shell::Control::button, "OK", 12, 90, 50, 14},
        {2, shell::Control::button, "Cancel", 107, 90, 50, 14},
        {310, shell::Control::groupbox, "", 6, 4, 159, 64},
        {-1, shell::Control::text,
         "Enter the name to appear in the author\n      and copyright metadata fields.\n"
         "The IPTC standard limits the name\n      string to 32 characters.",
         28, 12, 130, 32},
        {320, shell::Control::edit, "", 12, 48, 146, 12},
        {330, shell::Control::checkbox, "No need to ask again", 12, 72, 120, 12},
    };
    ASSERT_EQ(t.controls.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        const shell::ControlTemplate& c = t.controls[i];
        EXPECT_EQ(c.id, want[i].id) << i;
        EXPECT_EQ(c.kind, want[i].kind) << i;
        EXPECT_EQ(c.text, want[i].text) << i;
        EXPECT_EQ((std::vector<int>{c.x, c.y, c.cx, c.cy}),
                  (std::vector<int>{want[i].x, want[i].y, want[i].cx, want[i].cy}))
            << i;
    }
    // The dialog lies inside the 800 x 640 client area.
    const shell::DialogUnits du = shell::dialogunits(t.pointsize);
    EXPECT_GE(t.x, 0);
    EXPECT_LE(du.x(t.x + t.cx), xres);
    EXPECT_LE(du.y(t.y + t.cy), yres);
}

}  // namespace
