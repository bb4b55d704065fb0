// Drives the real programs under a private Xvfb server: start, find the
// window, click and type with xdotool, and read the window back as pixels.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "shell/raster/surface.h"
#include "shell/window/program.h"

namespace e2e {

// One Xvfb server for the whole test binary (1280x1024x24 times scale()
// unless asked).
// With E2E_WM=openbox in the environment, openbox manages its windows, as
// on a desktop; otherwise the server is bare.
class Display {
  public:
    explicit Display(int depth = 24);
    // A screen of another size.
    Display(int width, int height, int depth = 24);
    ~Display();
    const std::string& name() const { return name_; }
    bool managed() const { return wm_ > 0; }

  private:
    pid_t pid_ = -1;
    pid_t wm_ = -1;
    std::string name_;
};

// True when the tests run under a window manager.
bool windowmanager();

// The scale the programs run at, from E2E_SCALE (1, 2 or 3; 1 when unset).
// The tests give coordinates in logical pixels and read pictures in them; the
// harness presses inside the logical pixel's block of device pixels (at its
// bottom right, so that the programs' rounding is exercised), and reads the
// device pixels back as a surface of the scale.
int scale();

// The device coordinate the harness presses at for logical coordinate v: the
// last device pixel of its block. devicepoint gives "x y" for xdotool.
int device(int v);
std::string devicepoint(int x, int y);

// A program's description at scale(), for a headless mirror of a window
// that draws the pictures the window should show.
inline shell::ProgramDesc atscale(shell::ProgramDesc d) {
    d.scale = scale();
    return d;
}

// Runs a shell command with DISPLAY set; returns its standard output.
std::string run(const std::string& display, const std::string& cmd, int* status = nullptr);

class App {
  public:
    // Starts `program` (a path) in folder `cwd` and waits for its window.
    // `args` follow the program's name on its command line.
    App(const Display& d, const std::string& program, const std::string& cwd,
        const std::vector<std::string>& args = {});
    ~App();

    const std::string& window() const { return window_; }
    bool found() const { return !window_.empty(); }
    // Pointer and keys in window coordinates, logical pixels at scale().
    void move(int x, int y);
    void click(int x, int y);
    void drag(int x0, int y0, int x1, int y1, int steps = 8);
    void key(const std::string& keysym);
    // Types text into the focused window; text that is not ASCII is pasted.
    void type(const std::string& text);
    void paste(const std::string& text);
    // Presses at the first point, moves to the second and the third and
    // releases there, with no pause between: a quick drag.
    void fastdrag(int x0, int y0, int x1, int y1, int x2, int y2);
    // A click at client coordinates of another window of the program.
    void clickin(const std::string& window, int x, int y);
    // Where a window's client area is on the screen, in device pixels.
    shell::Rect placed(const std::string& window);
    // The frame the window manager put round a window (its widths left,
    // right, top and bottom); none on a bare server.
    shell::Rect frame(const std::string& window);
    // The window's pixels, a surface of scale() whose logical pixels are
    // the window's at scale 1.
    shell::Surface shot();
    shell::Surface shot(const std::string& window);
    // The window's device pixels as they are, at scale 1.
    shell::Surface deviceshot(const std::string& window);
    void savepng(const std::string& path);
    // What a window manager's close button sends: WM_DELETE_WINDOW, to the
    // main window or to another window of the program.
    void wmclose();
    void wmclose(const std::string& window);
    // Asks the window manager to close a window, as its close button does.
    void closebywm(const std::string& window);
    // Waits for the program to end; returns its exit code, or -1 on timeout.
    int wait(double seconds = 10);
    // Waits until a window whose name matches `title` appears; returns its id.
    std::string waitwindow(const std::string& title, double seconds = 10);
    // The program's visible windows other than its main window.
    std::vector<std::string> others();
    // Waits until the program shows exactly `count` windows besides its main
    // window; returns the last of them, "" when there are none, "timeout".
    std::string waitothers(size_t count, double seconds = 10);
    void settle(int ms = 150);
    std::string x(const std::string& cmd) { return run(display_, cmd); }

  private:
    std::string display_;
    pid_t pid_ = -1;
    std::string window_;
    bool exited_ = false;
    int status_ = 0;
};

// The non-empty lines of a text.
std::vector<std::string> lines(const std::string& s);

// A fresh empty folder under /tmp.
std::string tempdir();
// Path of a built program, from the build tree the tests run in.
std::string programpath(const std::string& name);

}  // namespace e2e
