// Helpers of the tests of the screen save, the Help dialog and the preview,
// which drive the gradient designer's real window procedure.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"

namespace huewright::savetest {

// A headless window that also notes the title and busy state at every
// message box, to see what the user sees when a box comes up.
class RecordingHost : public shell::headless::Host {
  public:
    RecordingHost() : Host(programdesc()) {}
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
