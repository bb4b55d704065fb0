#include "mainwindow.h"

namespace curvetoy {

using shell::Message;
using shell::Msg;

void MainWindow::redraw(shell::Window& w) {
    demo.draw(w.g_vhdc);
    w.present(shell::Rect{0, 0, kWidth, kHeight});
}

int MainWindow::proc(shell::Window& w, const Message& m) {
    switch (m.msg) {
        case Msg::create:
            redraw(w);
            return 0;
        case Msg::paint:
            w.present(m.rect);
            return 0;
        case Msg::move:
        case Msg::size:
            w.invalidate();
            return 0;
        case Msg::lbuttondown: {
            shell::Point mp{m.x, m.y};
            for (int i = 0; i < nd; ++i) {
                if (pointinrect(&mp, &demo.dp[i].crect)) {
                    dpindex = i;
                    okdrag = 1;
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
            CONTROLPOINT& a = demo.dp[dpindex];
            a.x = m.x;
            a.y = m.y;
            setclickrect(&a, a.x, a.y);
            demo.cpcalc();
            redraw(w);
            return 0;
        }
        case Msg::lbuttonup:
            okdrag = 0;
            return 0;
        case Msg::command:
            if (m.wparam == cmd_showcp) {
                demo.okcp = 1 - demo.okcp;
                w.checkmenu(cmd_showcp, demo.okcp == 1);
                redraw(w);
            } else if (m.wparam == cmd_exit) {
                w.post(Message::simple(Msg::destroy));
            }
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
    d.title = "Xo Bezier Curve Demo";
    d.width = kWidth;
    d.height = kHeight;
    d.menus = {{"File", {{"Show Control Points (C)", cmd_showcp}, {"Exit (Esc)", cmd_exit}}}};
    d.accelerators = {{'C', cmd_showcp}, {shell::vk_escape, cmd_exit}};
    d.depthcheck = false;
    d.make = [] { return std::make_unique<MainWindow>(); };
    return d;
}

}  // namespace curvetoy
