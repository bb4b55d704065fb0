#include "huewright/ui/mainwindow.h"

#include <string>

#include "huewright/art/artwork.h"
#include "huewright/ui/helpdialog.h"
#include "huewright/ui/preview.h"
#include "huewright/ui/screensave.h"

namespace huewright {

using shell::Message;
using shell::Msg;

MainWindow::MainWindow() {
    InitOpenFile(files);
}

void MainWindow::create(shell::Window& w) {
    win = &w;
    screen = std::make_unique<Screen>();
    w.g_vhdc.fill(kBlack);
    w.g_vhdc.blit(0, 0, kBannerWidth, kBannerHeight, screen->banner, 0, 0);
    for (int i = 0; i < 3; ++i) model.setcontrolpoints(i, model.p[i]);
    drawboxes(w, *screen);
    for (int i = 0; i < 3; ++i) displayparams(w, *screen, model, i);
    // The sine tables and the three start-up columns: X shifts 165, 90 and 0
    // at full amplitude.
    model.startuppalette();
    compression = 5;
    username = "Anonymous";
    writedescription(files.descriptionstring, model.p, model.stretchflag);
    draw(w, model);
}

void MainWindow::keydown(shell::Window& w, int vk) {
    if (parameterflag) return;
    int k = 0;
    while (k < 9 && keypress[k] != vk) ++k;
    if (k == 9) return;
    model.cndx = k;
    if (k < kMarkable) markbutton(w, *screen, k);
    switch (k) {
        case 0:
        case 1:
        case 2:
            w.post(Message::command(cmd_parameters));
            break;
        case 3:
            w.post(Message::command(cmd_savemap));
            break;
        case 4:
            w.post(Message::command(cmd_askname));
            break;
        case 5:
            w.post(Message::command(cmd_openmap));
            break;
        case 6:
        case 7:
            w.post(Message::command(cmd_help));
            break;
        default:
            w.post(Message::simple(Msg::destroy));
            break;
    }
}

void MainWindow::buttondown(shell::Window& w, int x, int y) {
    const shell::Point mp{x, y};
    if (enabledrag1) {
        // While a Sine or Bezier channel is being edited the buttons rest and
        // a press can only grab a control point.
        if (model.presscontrolpoint(mp, enabledrag2)) okdrag = 1;
        return;
    }
    if (parameterflag) return;
    int i = 0;
    while (i < 10 && !pointinrect(mp, clicks[i])) ++i;
    if (i == 10) return;
    const int previous = model.cndx;
    model.cndx = i;
    if (i < kMarkable) markbutton(w, *screen, i);
    switch (i) {
        case btn_red:
        case btn_green:
        case btn_blue:
            w.post(Message::command(cmd_parameters));
            break;
        case btn_savepalette:
            w.post(Message::command(cmd_savemap));
            break;
        case btn_savescreen:
            w.post(Message::command(cmd_askname));
            break;
        case btn_openmap:
            w.post(Message::command(cmd_openmap));
            break;
        case btn_exit:
            w.post(Message::simple(Msg::destroy));
            break;
        case btn_help:
            model.cndx = previous;
            w.post(Message::command(cmd_help));
            break;
        case btn_preview: {
            model.cndx = previous;
            // Only the wheel itself reacts, not the black around it: the
            // wheel is the part of the picture with red in it.
            const uint32_t px = w.g_hdc.getpixel(x, y);
            if (px == shell::kInvalidColor || shell::unpackrgb(px).r == 0) break;
            if (model.msetflag == 0)
                w.post(Message::command(cmd_preview));
            else
                draw(w, model);
            break;
        }
        default:  // the curve display brings the curves back over the preview
            model.cndx = previous;
            draw(w, model);
            break;
    }
}

void MainWindow::pointermove(shell::Window& w, int x, int y) {
    if (enabledrag1) {
        if (!okdrag) return;
        if (!pointinrect(shell::Point{x, y}, curverect)) {
            // Leaving the curve display ends the drag, as a release would.
            w.post(Message::mouse(Msg::lbuttonup, x, y));
            return;
        }
        dragstep(x, y);
        return;
    }
    const shell::Point mp{x, y};
    if (pointinrect(mp, mousemove[0]) || pointinrect(mp, mousemove[1]))
        showvalues(w, *screen, model, x);
}

void MainWindow::dragstep(int x, int y) {
    // The new values go to the dialog as if typed: into ptemp and the point
    // first, the column and the dots through the apply step, then into the
    // edit boxes, whose change handling clamps them and applies once more.
    model.dragstep(shell::Point{x, y});
    const PARAMETERS& t = model.ptemp;
    if (t.ct == 2)
        model.calcBezier(t.bd, t.b0, t.b255, t.bc1x, t.bc1y, t.bc2x, t.bc2y);
    else
        model.calcsine();
    if (!g_hDlg) return;
    shell::DialogView& dlg = *g_hDlg;
    params.handle(dlg, shell::DialogMessage{shell::DlgMsg::command, id_apply, 0, 0});
    if (t.ct == 0) {
        dlg.settext(id_xsh, std::to_string(t.xsh));
        return;
    }
    // Control 1's boxes are written on every Bezier step; control 2's only
    // when it is the point being dragged.
    const int cpindex = model.cpindex;
    dlg.settext(id_bc1x, std::to_string(t.bc1x));
    dlg.settext(id_bc1y, std::to_string(t.bc1y));
    if (cpindex == 1) {
        dlg.settext(id_bc2x, std::to_string(t.bc2x));
        dlg.settext(id_bc2y, std::to_string(t.bc2y));
    }
}

void MainWindow::parameters(shell::Window& w) {
    if (parameterflag) return;
    // Only the three colour buttons post this command, so cndx is a channel;
    // anything else would address a palette column that does not exist.
    if (model.cndx < 0 || model.cndx > 2) return;
    parameterflag = 1;
    g_hDlg = w.createdialog(paramstemplate(), params);
}

void MainWindow::openmap(shell::Window& w) {
    if (OpenMapFile(w, files, model.palette, model.p, model.okdisplay) != map_ok) return;
    // The readouts stay dark until a channel's parameters are confirmed
    // again: the loaded colours no longer follow the records.
    for (const shell::Rect& r : eraseparams) {
        w.g_vhdc.fillrect(r, kBlack);
        w.present(r);
    }
    draw(w, model);
}

// The screen save, the Help dialog and the Mandelbrot preview. None of them
// starts while the Parameters dialog is open.
void MainWindow::askname(shell::Window& w) {
    askauthor(w, parameterflag, username, nameflag);
}
void MainWindow::savescreen(shell::Window& w) {
    writescreen(w, parameterflag, files, username, compression);
}
void MainWindow::help(shell::Window& w) {
    showhelp(w, parameterflag);
}
void MainWindow::preview(shell::Window& w) {
    showpreview(w, model, parameterflag);
}

void MainWindow::command(shell::Window& w, int id) {
    switch (id) {
        case cmd_parameters:
            parameters(w);
            break;
        case cmd_savemap:
            if (!parameterflag) SaveMapFile(w, files, model.palette);
            break;
        case cmd_askname:
            askname(w);
            break;
        case cmd_savescreen:
            savescreen(w);
            break;
        case cmd_openmap:
            openmap(w);
            break;
        case cmd_help:
            help(w);
            break;
        case cmd_preview:
            preview(w);
            break;
        default:
            break;
    }
}

int MainWindow::proc(shell::Window& w, const Message& m) {
    switch (m.msg) {
        case Msg::create:
            create(w);
            return 0;
        case Msg::paint:
            w.present(m.rect);
            return 0;
        case Msg::move:
        case Msg::size:
            w.invalidate();
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
            okdrag = 0;
            return 0;
        case Msg::mouseleave:
            // Off the client area the pointer is outside the curve display
            // too, so a drag ends here as well.
            if (enabledrag1 && okdrag) w.post(Message::mouse(Msg::lbuttonup, 0, 0));
            return 0;
        case Msg::destroy:
            w.quit(0);
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
    d.drawicon = makeicon;
    d.summary =
        "A gradient designer: each colour channel of a 256-entry palette is shaped by a\n"
        "sine, arc, Bezier or line curve.";
    d.keys = {{"R, G, B", "open the Parameters dialog on the red, green or blue channel"},
              {"P", "save the palette as a MAP file"},
              {"O", "open a MAP file"},
              {"S", "save the window as a TIFF image with its metadata"},
              {"F1, F2", "show the help"},
              {"Esc", "end the program"}};
    d.takesfile = true;
    d.make = [] { return std::make_unique<MainWindow>(); };
    return d;
}

}  // namespace huewright
