#include "mainwindow.h"

#include <algorithm>

namespace curvetoy {

using shell::Message;
using shell::Msg;

void MainWindow::redraw(shell::Window& w) {
    demo.draw(w.offscreen);
    w.present(shell::Rect{0, 0, kWidth, kHeight});
}

int MainWindow::proc(shell::Window& w, const Message& m) {
    switch (m.msg) {
        case Msg::create:
            demo.setscale(w.scale());
            redraw(w);
            return 0;
        case Msg::lbuttondown: {
            shell::Point mp{m.x, m.y};
            for (int i = 0; i < nd; ++i) {
                if (demo.dp[i].crect.contains(mp)) {
                    dpindex = i;
                    okdrag = 1;
                    history.begin(*this);  // undo: the drag is one step
                    break;
                }
            }
            return 0;
        }
        case Msg::mousemove: {
            if (!okdrag) return 0;
            // Positions outside the client area are ignored; the drag goes on
            // when the pointer comes back.
            if (m.x >= w.xres() || m.y >= w.yres()) return 0;
            SplinePoint& a = demo.dp[dpindex];
            a.x = m.x;
            a.y = m.y;
            setclickrect(&a, a.x, a.y);
            demo.cpcalc();
            redraw(w);
            return 0;
        }
        case Msg::lbuttonup:
            if (okdrag) history.end(*this);
            okdrag = 0;
            return 0;
        case Msg::command:
            if (history.command(*this, w, m.wparam)) return 0;  // Ctrl+Z, Ctrl+Y
            if (m.wparam == cmd_showcp) {
                demo.okcp = 1 - demo.okcp;
                w.checkmenu(cmd_showcp, demo.okcp == 1);
                redraw(w);
            } else if (m.wparam == cmd_exit) {
                w.post(Message::simple(Msg::destroy));
            }
            return 0;
        default:
            return 1;
    }
}

// A small picture of the program: a blue and green wave through red dots,
// laid out on 32 x 32 and drawn at the given size with pens and dots scaled
// to match.
void painticon(shell::Surface& s) {
    const int size = s.width();
    auto scaled = [size](int v) { return (v * size + 16) / 32; };
    const shell::Point wave32[] = {{2, 22},  {6, 10},  {10, 8}, {16, 16},
                                   {22, 24}, {26, 22}, {30, 10}};
    shell::Point wave[7];
    for (int i = 0; i < 7; ++i) wave[i] = shell::Point{scaled(wave32[i].x), scaled(wave32[i].y)};
    const int pen = std::max(1, scaled(2)), dot = std::max(1, scaled(2));
    for (int i = 0; i + 1 < 7; ++i)
        s.line(wave[i], wave[i + 1], i < 3 ? shell::Rgb{0, 128, 224} : shell::Rgb{0, 160, 64}, pen);
    for (shell::Point p : {wave[1], wave[3], wave[5]})
        s.fillrect(shell::Rect{p.x - dot, p.y - dot, p.x + dot, p.y + dot}, shell::Rgb{255, 0, 0});
}

shell::Surface makeicon(int size) {
    shell::Surface s(size, size);
    painticon(s);
    return s;
}

shell::ProgramDesc programdesc() {
    shell::ProgramDesc d;
    d.name = "curvetoy";
    d.title = "Xo Bezier Curve Demo";
    d.width = kWidth;
    d.height = kHeight;
    d.menus = {{"File", {{"Show Control Points (C)", cmd_showcp}, {"Exit (Esc)", cmd_exit}}}};
    d.accelerators = {{'C', cmd_showcp}, {shell::vk_escape, cmd_exit}};
    for (const shell::Accelerator& a : shell::undoaccelerators(cmd_undo, cmd_redo))
        d.accelerators.push_back(a);
    d.depthcheck = false;
    d.drawicon = makeicon;
    d.summary =
        "A natural cubic spline through nine draggable anchors, drawn as eight cubic\n"
        "Bezier segments with a colour band of its height.";
    d.keys = {{"C", "show or hide the control points and their handles"},
              {"Ctrl+Z", "undo"},
              {"Ctrl+Y, Ctrl+Shift+Z", "redo"},
              {"Esc", "end the program"}};
    d.make = [] { return std::make_unique<MainWindow>(); };
    return d;
}

}  // namespace curvetoy
