#include "huewright/ui/mainwindow.h"

#include <string>

#include "huewright/art/artwork.h"
#include "huewright/model/description.h"
#include "huewright/ui/helpdialog.h"
#include "huewright/ui/previewcommand.h"
#include "huewright/ui/screensave.h"

namespace huewright {

using shell::Message;
using shell::Msg;

namespace {

// The pointer over the curve display or the strip shows the hover readout.
bool onreadout(shell::Point p) {
    return strictlyinside(p, mousemove[0]) || strictlyinside(p, mousemove[1]);
}

}  // namespace

MainWindow::MainWindow() {
    InitOpenFile(files);
    // The window's picture first: the other views take no part in it.
    editor.notice.subscribe(*this);
    editor.notice.subscribe(cyclingview);
    editor.notice.subscribe(analysisview);
    editor.notice.subscribe(exploreview);
}

void MainWindow::create(shell::Window& w) {
    win = &w;
    screen = std::make_unique<Screen>(w.scale());
    screen->pictures(w, [](shell::Surface& v, const shell::Surface& banner, const shell::Surface&) {
        v.fill(kBlack);
        v.blit(0, 0, kBannerWidth, kBannerHeight, banner, 0, 0);
    });
    drawboxes(w, *screen);
    cycling.copy = screen->plain.width() > 0 ? &screen->plain : nullptr;
    // The sine tables and the three start-up columns: X shifts 165, 90 and 0
    // at full amplitude.
    model.startuppalette();
    compression = compression_lzw;
    username = defaultusername;
    writedescription(descriptionstring, model.p, model.stretchflag);
    editor.changed(Change::all());
    // A palette file named on the command line opens as O opens one.
    if (!startfile.empty()) w.post(Message::command(cmd_openstart));
    // The Explore window opens after it, on the palette the file brought.
    if (startoptions.count("--explore")) w.post(Message::command(cmd_explorestart));
}

void MainWindow::modelchanged(const Change& c) {
    for (int ch = 0; ch < 3; ++ch)
        if (c.readouts & (1u << ch)) showreadout(ch);
    if (!c.columns) return;
    if (editor.editing())
        showedit();
    else
        redraw();
    hover();
}

void MainWindow::showreadout(int c) {
    shell::Window& w = *win;
    if (displayparams(w, *screen, model, c)) return;
    screen->pictures(w, [c](shell::Surface& v, const shell::Surface&, const shell::Surface&) {
        v.fillrect(eraseparams[c], kBlack);
    });
    w.present(eraseparams[c]);
}

void MainWindow::redraw() {
    draw(*win, *screen, model);
    previewshown = false;
}

void MainWindow::hover() {
    shell::Window& w = *win;
    const std::optional<shell::Point> p = w.pointer();
    if (!p) {
        screen->pictures(w, [](shell::Surface& v, const shell::Surface&, const shell::Surface&) {
            v.fillrect(erasehash, kBlack);
        });
        w.present(erasehash);
    } else if (onreadout(*p) && !editor.enabledrag1) {
        showvalues(w, *screen, model, p->x);
    }
}

void MainWindow::showmarker(int k) {
    markbutton(*win, *screen, k);
}

void MainWindow::showstill() {
    drawpreview(*win, preview, model.palette, cycling.copy);
    previewshown = true;
}

void MainWindow::showedit() {
    redraw();
    // The dots go on the window only: the next redraw or repaint of the
    // display removes them, so they never reach a saved screen.
    shell::Window& w = *win;
    const Parameters& t = editor.ptemp;
    auto dot = [&](int x, int y, shell::Rgb c) {
        drawdot(w.onscreen, x, y, c);
        w.onscreenchanged(shell::Rect{x - 4, y - 4, x + 5, y + 5});
    };
    for (const DragPoint& p : curveview(t).points) {
        if (!p.when.holds(t)) continue;
        const shell::Point at = dotcentre(p, t);
        dot(at.x, at.y, p.color);
    }
}

void MainWindow::editended(bool kept) {
    // The channel just confirmed is a curve again; channels still loaded
    // keep saying where their colours came from.
    if (kept)
        writedescription(descriptionstring, model.p, model.stretchflag, model.okdisplay,
                         loadedfrom);
    history.end(*this);  // undo: the dialog's whole edit is one step
}

// A key or a button: it is remembered, the marker moves into its box where
// it has one, and its command is posted, so that the key or click is
// finished before the command runs.
void MainWindow::press(shell::Window& w, int b) {
    history.pressed(*this, b);  // undo: an edit this starts begins from here
    button = b;
    if (b < kMarkable) markbutton(w, *screen, b);
    switch (b) {
        case btn_red:
        case btn_green:
        case btn_blue:
            w.post(Message::command(cmd_parameters));
            break;
        case btn_savepalette:
            w.post(Message::command(cmd_savepalette));
            break;
        case btn_savescreen:
            w.post(Message::command(cmd_askname));
            break;
        case btn_openmap:
            w.post(Message::command(cmd_openpalette));
            break;
        default:
            break;
    }
}

void MainWindow::keydown(shell::Window& w, int vk) {
    if (editor.editing()) return;
    int k = 0;
    while (k < 9 && keypress[k] != vk) ++k;
    if (k == 9) return;
    press(w, k);
    // F1, F2 and Esc take the indices 6, 7 and 8, which the buttons give to
    // Exit, Help and the wheel.
    if (k == 6 || k == 7) w.post(Message::command(cmd_help));
    if (k == 8) w.post(Message::simple(Msg::destroy));
}

void MainWindow::buttondown(shell::Window& w, int x, int y) {
    const shell::Point mp{x, y};
    if (editor.enabledrag1) {
        // While a Sine or Bezier channel is being edited the buttons rest and
        // a press can only grab a control point.
        editor.press(mp);
        return;
    }
    if (editor.editing()) return;
    int i = 0;
    while (i < 10 && !strictlyinside(mp, clicks[i])) ++i;
    if (i == 10) return;
    if (i < btn_help) {
        press(w, i);
        if (i == btn_exit) w.post(Message::simple(Msg::destroy));
        return;
    }
    // Help, the wheel and the curve display leave the pressed button as it was.
    if (i == btn_help) {
        w.post(Message::command(cmd_help));
    } else if (i == btn_preview) {
        // Only the wheel itself reacts, not the black around it: the wheel is
        // the part of the picture with red in it.
        const uint32_t px = w.onscreen.getpixel(x, y);
        if (px == shell::kInvalidColor || shell::unpackrgb(px).r == 0) return;
        if (!previewshown)
            w.post(Message::command(cmd_preview));
        else
            redraw();
    } else {
        // The curve display brings the curves back over the preview.
        redraw();
    }
}

void MainWindow::pointermove(shell::Window& w, int x, int y) {
    const shell::Point mp{x, y};
    if (editor.enabledrag1) {
        if (!editor.okdrag) return;
        if (!strictlyinside(mp, curverect)) {
            // Leaving the curve display ends the drag, as a release would.
            w.post(Message::mouse(Msg::lbuttonup, x, y));
            return;
        }
        // One step: the point moves, the channel is clamped and applied
        // once, and the views follow the editor's notice: the curves and the
        // dots, the dialog's boxes, the analysis window.
        editor.dragto(mp);
        return;
    }
    if (onreadout(mp)) showvalues(w, *screen, model, x);
}

void MainWindow::parameters(shell::Window& w) {
    // Only the three colour buttons post this command, so the button is a
    // channel; anything else would address a palette column that does not
    // exist.
    if (button < btn_red || button > btn_blue) return;
    history.begin(*this);  // undo: the dialog's edit starts here
    editor.open(button);
    w.createdialog(paramstemplate(), params);
}

void MainWindow::openmap(shell::Window& w, const std::string& path) {
    history.begin(*this);  // undo: an opened file is one step
    const OpenTarget target{model, descriptionstring, loadedfrom};
    const shell::Status r =
        path.empty() ? openpalette(w, files, target) : openstartfile(w, files, path, target);
    if (!r.ok()) return;
    // Every column and record changed. The readouts of channels whose
    // curves came back show them; a loaded channel's stays dark until its
    // parameters are confirmed again.
    editor.changed(Change::all());
    history.end(*this);
}

void MainWindow::command(shell::Window& w, int id) {
    if (history.command(*this, id)) return;  // Ctrl+Z, Ctrl+Y
    // While the Parameters dialog is open no command starts: the channel
    // being edited is the only thing that changes.
    if (editor.editing()) return;
    switch (id) {
        case cmd_parameters:
            parameters(w);
            break;
        case cmd_savepalette:
            savepalette(w, files, model.palette, descriptionstring);
            break;
        case cmd_askname:
            askauthor(w, username, nameflag);
            break;
        case cmd_savescreen:
            writescreen(w, screen->saved(w), files, descriptionstring, username, compression);
            break;
        case cmd_openpalette:
            openmap(w, {});
            break;
        case cmd_openstart:
            openmap(w, startfile);
            break;
        case cmd_explorestart:
            explorestart(w);
            break;
        case cmd_help:
            showhelp(w);
            break;
        case cmd_preview:
            showpreview(w, model.palette, preview, cycling.copy);
            previewshown = true;
            break;
        default:
            break;
    }
}

int MainWindow::proc(shell::Window& w, const Message& m) {
    if (viewmessage(w, m)) return 0;
    switch (m.msg) {
        case Msg::create:
            create(w);
            return 0;
        case Msg::keydown:
            keydown(w, m.wparam);
            return 0;
        case Msg::command:
            command(w, m.wparam);
            return 0;
        case Msg::mousemove:
            pointermove(w, m.x, m.y);
            return 0;
        case Msg::lbuttondown:
            buttondown(w, m.x, m.y);
            return 0;
        case Msg::lbuttonup:
            editor.release();
            return 0;
        case Msg::mouseleave:
            // Off the client area the pointer is outside the curve display
            // too, so a drag ends here as well.
            if (editor.enabledrag1 && editor.okdrag) w.post(Message::mouse(Msg::lbuttonup, 0, 0));
            return 0;
        default:
            return 1;
    }
}

shell::ProgramDesc programdesc() {
    shell::ProgramDesc d;
    d.name = "huewright";
    d.title = "Xo Gradient";
    d.width = xres;
    d.height = yres;
    d.depthcheck = true;
    d.accelerators = shell::undoaccelerators(cmd_undo, cmd_redo);
    d.drawicon = makeicon;
    d.summary =
        "A gradient designer: each colour channel of a 256-entry palette is shaped by a\n"
        "sine, arc, Bezier or line curve.\n"
        "\n"
        "Palettes are read and written as Fractint MAP (.map, the default), GIMP\n"
        "gradient (.ggr), GIMP palette (.gpl), Ultra Fractal gradient (.ugr, .gradient),\n"
        "Adobe colour table (.act), SVG gradient (.svg) and PNG strip (.png) files, and\n"
        "written only as Kalles Fraktaler palette (.kfp), CSS gradient (.css) and\n"
        "ParaView colour map (.json) files.\n"
        "\n"
        "Open (O, or FILE on the command line) gives back the curves of a MAP file or\n"
        "screen image it saved, when they still make the file's palette.";
    d.keys = {{"R, G, B", "open the Parameters dialog on the red, green or blue channel"},
              {"P", "save the palette in any format above"},
              {"O", "open a palette file, or a screen image saved with S"},
              {"S", "save the window as a TIFF image with its metadata"},
              {"F1, F2", "show the help"},
              {"A", "show or hide the palette analysis window"},
              {"E", "show or hide the Explore window"},
              {"Space", "with the preview shown: start or stop colour cycling"},
              {"Left, Right", "with the preview shown: the direction of the cycling"},
              {"Up, Down", "with the preview shown: the speed of the cycling"},
              {"Ctrl+Z", "undo"},
              {"Ctrl+Y, Ctrl+Shift+Z", "redo"},
              {"Esc", "end the program"}};
    d.keys.insert(d.keys.end(), explore::keyhelp.begin(), explore::keyhelp.end());
    d.takesfile = true;
    d.options = {{"--explore", "FILE.loc", "start with the Explore window open at FILE.loc"}};
    d.make = [] { return std::make_unique<MainWindow>(); };
    return d;
}

}  // namespace huewright
