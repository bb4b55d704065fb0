// Drives the real programs under a private Xvfb server: start, find the
// window, click and type with xdotool, and read the window back as pixels.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "shell/surface.h"

namespace e2e {

// One Xvfb server for the whole test binary (1280x1024x24 unless asked).
class Display {
  public:
    explicit Display(int depth = 24);
    ~Display();
    const std::string& name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

// Runs a shell command with DISPLAY set; returns its standard output.
std::string run(const std::string& display, const std::string& cmd, int* status = nullptr);

class App {
  public:
    // Starts `program` (a path) in folder `cwd` and waits for its window.
    App(const Display& d, const std::string& program, const std::string& cwd);
    ~App();

    const std::string& window() const { return window_; }
    bool found() const { return !window_.empty(); }
    // Pointer and keys in window coordinates.
    void move(int x, int y);
    void click(int x, int y);
    void drag(int x0, int y0, int x1, int y1, int steps = 8);
    void key(const std::string& keysym);
    void type(const std::string& text);
    // The window's pixels.
    shell::Surface shot();
    shell::Surface shot(const std::string& window);
    void savepng(const std::string& path);
    // What a window manager's close button sends: WM_DELETE_WINDOW.
    void wmclose();
    // Waits for the program to end; returns its exit code, or -1 on timeout.
    int wait(double seconds = 10);
    // Waits until a window whose name matches `title` appears; returns its id.
    std::string waitwindow(const std::string& title, double seconds = 10);
    void settle(int ms = 150);
    std::string x(const std::string& cmd) { return run(display_, cmd); }

  private:
    std::string display_;
    pid_t pid_ = -1;
    std::string window_;
    bool exited_ = false;
    int status_ = 0;
};

// A fresh empty folder under /tmp.
std::string tempdir();
// Path of a built program, from the build tree the tests run in.
std::string programpath(const std::string& name);

}  // namespace e2e
