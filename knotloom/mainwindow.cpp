#include "mainwindow.h"

#include <algorithm>
#include <cstdio>

#include "artwork.h"
#include "fit.h"
#include "layout.h"
#include "palettes/palettes.h"
#include "shell/io/paths.h"
#include "shell/io/textformat.h"
#include "shell/window/filedialog.h"

namespace knotloom {

using shell::Message;
using shell::Msg;

namespace {

// The text of the success box is composed in a buffer of this many bytes.
constexpr size_t kSavedTextBuffer = 100;

// O opens a palette file.
constexpr int kOpenKey = 'O';

// Trackbar notifications below this code are line, page and thumb moves; the
// count follows only those, not Home, End or the end of tracking.
constexpr int kFirstUntrackedCode = shell::tb_top;

}  // namespace

// ---------------------------------------------------------------- points dialog

shell::DialogTemplate pointstemplate() {
    shell::DialogTemplate t;
    t.caption = "     Select the Number of Points   ";
    t.pointsize = 8;
    // Near the top of the curve area, under the Points box.
    t.x = 243;
    t.y = 80;
    t.cx = 196;
    t.cy = 82;
    t.closebox = false;
    // The trackbar is 270 x 46 pixels at (12, 18): in the 8-point dialog
    // units (6, 13) that is exactly 180 x 28 units at (8, 11).
    t.controls = {
        {kTrackId, shell::Control::trackbar, "Trackbar", 8, 11, 180, 28},
        {-1, shell::Control::text,
         "   3                                      6                                      9", 9,
         46, 176, 12, false, false},
        {1, shell::Control::button, "OK", 73, 60, 50, 14},
    };
    return t;
}

int PointsDialogProc::handle(shell::DialogView& view, const shell::DialogMessage& msg) {
    switch (msg.msg) {
        case shell::DlgMsg::init:
            opened_ = m_.trackpos[m_.cindex];
            view.setrange(kTrackId, kMinUser, kMaxUser);
            view.setpos(kTrackId, opened_);
            return 1;
        case shell::DlgMsg::hscroll:
            if (msg.code >= kFirstUntrackedCode) return 0;
            m_.trackpos[m_.cindex] = view.pos(kTrackId);
            return 1;
        case shell::DlgMsg::command:
            // Esc, and the close button a window manager may add, dismiss
            // the dialog: the count goes back to what it was, so the points
            // stay as they were.
            if (msg.id == 2) m_.trackpos[m_.cindex] = opened_;
            if (msg.id != 1 && msg.id != 2) return 0;
            view.end(msg.id);
            return 1;
        default:
            return 0;
    }
}

// ---------------------------------------------------------------- main window

std::string savedtext(const std::string& filetitle) {
    std::string s = "Image saved as " + filetitle;
    if (s.size() < kSavedTextBuffer) return s;
    // Cut before the byte that would not fit, and back to the start of a
    // UTF-8 character so no half character is shown.
    size_t n = kSavedTextBuffer - 1;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    s.resize(n);
    return s;
}

MainWindow::MainWindow() {
    // The dialogs start in the folder the program was started from and list
    // every palette type they can write or read, MAP first; the save dialog
    // adds the type's extension to a bare name and asks before overwriting.
    for (bool writing : {true, false}) {
        std::vector<shell::FileFilter> types;
        for (const palettes::ChooserType& t : palettes::choosertypes(writing))
            types.push_back(shell::FileFilter{t.name, t.patterns});
        if (writing)
            smapn = shell::filerecord(types, "Select a file for saving parameters", "map", true);
        else
            omapn = shell::filerecord(types, "Select a Fractint .MAP File", "map", false);
    }
    editor.notice.subscribe(*this);
    editor.notice.subscribe(analysisview);
    editor.notice.subscribe(exploreview);
}

void MainWindow::create(shell::Window& w) {
    win = &w;
    screen = std::make_unique<Display>(w.scale());
    w.offscreen.fill(shell::Rgb{});
    w.offscreen.blit(0, 0, kBannerWidth, kBannerHeight, screen->banner, 0, 0);
    // Every channel starts with nine user points; the matrices are built
    // last channel first so that red is active afterwards.
    dpinit(model);
    for (int ch = kChannels - 1; ch >= 0; --ch) {
        model.cindex = ch;
        matrixcalc(model, 1);
        cpcalc(model);
    }
    screen->putcursor(w, box_red);
    editor.changed(Change::all());
    // A palette file named on the command line opens as O opens one.
    if (!startfile.empty()) w.post(Message::command(cmd_openstart));
}

void MainWindow::modelchanged(const Change&) {
    // The redraw wipes the readout; a pointer over the display draws it
    // again for the model as it is now, a pointer elsewhere leaves none.
    draw(*win);
    if (const std::optional<shell::Point> p = win->pointer()) readout(*win, p->x, p->y);
}

void MainWindow::buttondown(shell::Window& w, int x, int y) {
    const shell::Point mp{x, y};
    int i = 0;
    while (i < 8 && !click[i].contains(mp)) ++i;
    switch (i) {
        case box_logo:
        case box_wheel: {
            // The toggles answer only on their pictures: a pixel with red in
            // it, not the dark ground around them.
            uint32_t px = w.onscreen.getpixel(x, y);
            if (px == shell::kInvalidColor || shell::unpackrgb(px).r == 0) return;
            if (i == box_logo) {
                // The polygon is the user's view, no change of the model.
                showcp = 1 - showcp;
                draw(w);
            } else {
                history.begin(*this);  // undo: the switch is one step
                editor.invert();
                history.end(*this);
            }
            return;
        }
        case box_exit:
            w.post(Message::simple(Msg::destroy));
            return;
        case box_red:
        case box_green:
        case box_blue:
        case box_points:
        case box_save:
            for (int b = box_red; b <= box_blue; ++b) screen->blankbox(w, b);
            screen->putcursor(w, i);
            if (i == box_save)
                w.post(Message::command(cmd_save));
            else if (i == box_points)
                w.post(Message::command(cmd_points));
            else
                editor.setchannel(i);
            return;
        default:
            break;
    }
    // Not on the banner: grab a data point.
    if (editor.press(mp)) history.begin(*this);  // undo: the drag is one step, press to release
}

void MainWindow::mousemove(shell::Window& w, int x, int y) {
    // A drag step is shown, readout and all, as the editor announces it.
    if (editor.dragto(shell::Point{x, y})) return;
    readout(w, x, y);
}

void MainWindow::readout(shell::Window& w, int x, int y) {
    const shell::Point mp{x, y};
    if (display[0].contains(mp) || display[1].contains(mp)) {
        palettecalc(model);
        screen->drawreadout(w, model, x, showcp);
    }
}

void MainWindow::points(shell::Window& w) {
    history.begin(*this);  // undo: a new count is one step
    const int ch = model.cindex;
    PointsDialogProc proc(model);
    w.dialogbox(pointstemplate(), proc);
    const int before = model.nd[ch];
    editor.setpoints();
    if (model.fitted[ch] && model.nd[ch] != before)
        screen->drawnote(w, model, fitnote(model), showcp);
    screen->blankbox(w, box_points);
    screen->putcursor(w, ch);
    history.end(*this);
}

namespace {

// Each channel's data points, then the inversion state, without a line end
// after it: what a MAP trailer and the description both end with.
std::string pointsandinversion(const Model& m) {
    static const char* const names[3] = {"Red", "Green", "Blue"};
    std::string s;
    for (int k = 0; k < kChannels; ++k) {
        s += std::string("\n") + names[k] + "\n";
        // The count comes from the model; bounding it keeps a bad count
        // from reading past the points.
        for (int j = 0; j < std::clamp(m.nd[k], 0, kMaxData); ++j) {
            s += "dp[" + std::to_string(j) + "][0]: ";
            shell::appendfixed(s, m.dp[k][j][0], 1);
            s += "  dp[" + std::to_string(j) + "][1]: ";
            shell::appendfixed(s, m.dp[k][j][1], 1);
            s += '\n';
        }
    }
    return s + (m.invert ? "\nInversion: True" : "\nInversion: False");
}

}  // namespace

std::string splinedescription(const Model& m) {
    return "Xo B-Spline palette\n" + pointsandinversion(m) + "\n";
}

std::string splinetrailer(const Model& m) {
    std::string s;
    s.reserve(kColumns * 12 + kChannels * kMaxData * 40 + 64);
    for (const auto& column : m.spectrum)
        shell::appendf(s, "%d %d %d\n", shown(m, column[0]), shown(m, column[1]),
                       shown(m, column[2]));
    return s + pointsandinversion(m);
}

void MainWindow::save(shell::Window& w) {
    // The dialog and the boxes are this command's; the file holds the
    // palette as the user sees it (inverted when inversion is on).
    if (w.filedialog(smapn, true)) {
        // Restore the picture under the closed dialog before writing.
        w.presentall();
        w.flush();
        // The chooser gave the name an extension of a type it offers, so the
        // extension says the format; a MAP file keeps its own trailer.
        const palettes::FormatInfo* f = palettes::formatofpath(smapn.file);
        const palettes::Format format = f && f->canwrite ? f->format : palettes::Format::map;
        const std::string description =
            format == palettes::Format::map ? splinetrailer(model) : splinedescription(model);
        const shell::Status saved = palettes::writepalettefile(
            smapn.file, format, shown(model, model.palette), description);
        if (saved.ok())
            w.messagebox(savedtext(smapn.filetitle), "Xo B-Spline", shell::Icon::none, false);
        else if (saved.error().fault == shell::Fault::memory)
            w.messagebox("Not enough memory to save the palette", "Save file error",
                         shell::Icon::exclamation, true);
        else
            w.messagebox("Error opening save file", "Save file error", shell::Icon::exclamation,
                         true);
    }
    screen->blankbox(w, box_save);
    screen->putcursor(w, model.cindex);
}

void MainWindow::open(shell::Window& w, const std::string& path) {
    std::string file = path;
    if (file.empty()) {
        if (!w.filedialog(omapn, false)) return;
        // Restore the picture under the closed dialog before the file work.
        w.presentall();
        file = omapn.file;
    } else {
        if (!shell::isabsolute(file)) file = shell::startfolder() + "/" + file;
        shell::acceptfile(omapn, file);
    }
    shell::Palette palette;
    const shell::Result<palettes::PaletteInfo> r = palettes::readpalettefile(file, palette);
    if (!r.ok()) {
        w.messagebox("Error opening MAP file\n" + r.error().describe(), "MAP file error",
                     shell::Icon::exclamation, true);
        return;
    }
    history.begin(*this);  // undo: an opened file is one step
    const Taken taken = takepalette(model, palette, r.value().description);
    shell::acceptfile(smapn, file);
    editor.changed(Change::all());
    // The band says how close the fit came, and why points the file held
    // were not taken.
    if (taken.fitted) {
        const std::string why = taken.pointsnottaken.empty() ? "" : "Damaged points not taken. ";
        screen->drawnote(w, model, why + fitnote(model), showcp);
    }
    history.end(*this);
}

int MainWindow::proc(shell::Window& w, const Message& m) {
    // The Explore window's own keys and pointer are its alone.
    if (explorewin.message(w, m)) return 0;
    if (analysiswin.sized(w, m)) return 0;
    switch (m.msg) {
        case Msg::create:
            create(w);
            return 0;
        case Msg::keydown:
            if (m.wparam == shell::vk_escape) w.post(Message::simple(Msg::destroy));
            if (m.wparam == analysis::AnalysisWindow::kKey)
                analysiswin.toggle(w, shownpalette(model));
            if (m.wparam == kOpenKey) w.post(Message::command(cmd_open));
            if (m.wparam == explore::ExploreWindow::kKey) explorewin.toggle(w, shownpalette(model));
            return 0;
        case Msg::lbuttondown:
            buttondown(w, m.x, m.y);
            return 0;
        case Msg::mousemove:
            // A desktop that keeps reporting the pointer after it left the
            // client area (a held button grabs it) reports a position outside,
            // or wrapped round to one: that is the pointer leaving.
            if (m.x >= w.xres() || m.y >= w.yres()) {
                w.post(Message::mouse(Msg::lbuttonup, 0, 0));
                return 0;
            }
            mousemove(w, m.x, m.y);
            return 0;
        case Msg::lbuttonup:
            if (editor.release()) history.end(*this);
            return 0;
        case Msg::mouseleave:
            // The pointer left the client area: whatever happens outside, the
            // drag is over, as if the button had come up.
            w.post(Message::mouse(Msg::lbuttonup, 0, 0));
            return 0;
        case Msg::command:
            if (history.command(*this, w, m.wparam)) return 0;  // Ctrl+Z, Ctrl+Y
            if (m.wparam == cmd_points)
                points(w);
            else if (m.wparam == cmd_save)
                save(w);
            else if (m.wparam == cmd_open)
                open(w, {});
            else if (m.wparam == cmd_openstart)
                open(w, startfile);
            return 0;
        default:
            return 1;
    }
}

shell::ProgramDesc programdesc() {
    shell::ProgramDesc d;
    d.name = "knotloom";
    d.title = "";
    d.width = xres;
    d.height = yres;
    d.depthcheck = true;
    d.accelerators = shell::undoaccelerators(cmd_undo, cmd_redo);
    d.drawicon = makeicon;
    d.summary =
        "A palette designer driven by interpolating cubic B-splines: drag the points of\n"
        "each colour channel and save the palette.\n"
        "\n"
        "Save writes Fractint MAP (.map, the default, with the curves and their points),\n"
        "GIMP gradient (.ggr), GIMP palette (.gpl), Ultra Fractal gradient (.ugr,\n"
        ".gradient), Adobe colour table (.act), SVG gradient (.svg), PNG strip (.png),\n"
        "Kalles Fraktaler palette (.kfp), CSS gradient (.css) and ParaView colour map\n"
        "(.json) files.\n"
        "\n"
        "Open (O, or FILE on the command line) reads any of them that can be read: a\n"
        "MAP file it saved gives back its points exactly; any other palette is fitted,\n"
        "each channel's points evenly spaced and their heights chosen by least squares.";
    d.keys = {{"O", "open a palette: its own MAP files as saved, others fitted"},
              {"A", "show or hide the palette analysis window"},
              {"E", "show or hide the Explore window"},
              {"Ctrl+Z", "undo"},
              {"Ctrl+Y, Ctrl+Shift+Z", "redo"},
              {"Esc", "end the program"}};
    d.keys.insert(d.keys.end(), explore::keyhelp.begin(), explore::keyhelp.end());
    d.takesfile = true;
    d.make = [] { return std::make_unique<MainWindow>(); };
    return d;
}

}  // namespace knotloom
