// The scenes the benchmarks time, shared by the Google Benchmark programs
// and the plain timing programs that also build for Windows.
#pragma once

#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"

namespace bench {

inline shell::ProgramDesc atscale(shell::ProgramDesc d, int scale) {
    d.scale = scale;
    return d;
}

// A drag in huewright: the Parameters dialog open and red's sine point held,
// the pointer moved to and fro along its row as a user's drag moves it.
class HuewrightDrag {
  public:
    explicit HuewrightDrag(int scale = 1) : host{atscale(huewright::programdesc(), scale)} {
        host.key('R');
        host.press(666, 273);  // red's sine point
    }
    // Whether the press took hold of the point; without it no step drags.
    bool grabbed() { return host.as<huewright::MainWindow>().editor.okdrag; }
    // One step: the curve, the strip and the dialog's boxes follow it.
    void step() {
        const shell::Point p = steps_++ % 2 ? shell::Point{600, 273} : shell::Point{700, 273};
        host.move(p.x, p.y);
    }

    shell::headless::Host host;

  private:
    long steps_ = 0;
};

}  // namespace bench
