// The gradient designer's window for the tests of the screen save, the Help
// dialog and the preview: the real window procedure, with commands 120, 130,
// 150 and 160 routed to their handlers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "helpdialog.h"
#include "mainwindow.h"
#include "preview.h"
#include "screensave.h"
#include "shell/headless/host.h"

namespace huewright::savetest {

class TestWindow : public MainWindow {
  public:
    int proc(shell::Window& w, const shell::Message& m) override {
        if (m.msg == shell::Msg::command) {
            switch (m.wparam) {
                case cmd_askname:
                    askauthor(w, parameterflag, username, nameflag);
                    return 0;
                case cmd_savescreen:
                    writescreen(w, parameterflag, files, username, compression);
                    return 0;
                case cmd_help:
                    showhelp(w, parameterflag);
                    return 0;
                case cmd_preview:
                    showpreview(w, model, parameterflag);
                    return 0;
                default:
                    break;
            }
        }
        return MainWindow::proc(w, m);
    }
};

inline shell::ProgramDesc testdesc() {
    shell::ProgramDesc d = programdesc();
    d.make = [] { return std::make_unique<TestWindow>(); };
    return d;
}

// A headless window that also notes the title and busy state at every
// message box, to see what the user sees when a box comes up.
class RecordingHost : public shell::headless::Host {
  public:
    RecordingHost() : Host(testdesc()) {}
    void messagebox(const std::string& text, const std::string& caption, shell::Icon icon,
                    bool owned) override {
        atbox.push_back({title(), busy()});
        Host::messagebox(text, caption, icon, owned);
    }
    MainWindow& mw() { return as<MainWindow>(); }
    std::vector<std::pair<std::string, bool>> atbox;
};

// The first pixel strictly inside r whose red component is (or is not)
// zero: where a click on the preview picture reacts, or does not.
inline shell::Point wheelpixel(const shell::Surface& s, const shell::Rect& r, bool red) {
    for (int y = r.top + 1; y < r.bottom; ++y)
        for (int x = r.left + 1; x < r.right; ++x)
            if ((s.at(x, y).r != 0) == red) return {x, y};
    return {-1, -1};
}

// Pixels where two surfaces differ (-1 when their sizes differ).
inline int differences(const shell::Surface& a, const shell::Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.at(x, y) != b.at(x, y)) ++n;
    return n;
}

}  // namespace huewright::savetest
