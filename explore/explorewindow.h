// The Explore window: the Mandelbrot set at a location of the user's choice,
// coloured with the designer's palette, in a side window of either designer.
//
// A program keeps one of these and
//   - on its key (kKey, plain, typed into the main window): toggle(w, palette);
//   - on every change of its model (a hook on the model's changed notice):
//     follow(w, palette), which recolours without computing;
//   - on every message, before its own handling: message(w, m), which takes
//     what is the window's own: keys typed into it, the pointer over it, its
//     timers, its resize and its close button.
// Keys typed into the window that it has no use for are left to the program,
// which takes them as keys of its main window (Esc, A).
//
// Keys in the window: E closes it; Home goes back to the start, + and -
// double and halve the iteration limit, Backspace goes back through the last
// 50 views; C switches escape-time and smooth colouring, [ and ] lower and
// raise the density, , and . move the offset (Shift by 16 entries); I
// switches the interior between the final angle, black and one entry, which
// Page Up and Page Down choose; Space starts and stops colour cycling, Left
// and Right set its direction, Up and Down its speed; S saves the location,
// O opens one, P saves the picture as PNG. The wheel zooms in and out about
// the pointer, a left drag pans and a right drag zooms into its rectangle.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "explore/cycleclock.h"
#include "explore/location.h"
#include "explore/render.h"
#include "shell/raster/font.h"
#include "shell/raster/palette.h"
#include "shell/window/program.h"
#include "shell/window/window.h"

namespace explore {

// The lines --help gives the Explore window's keys, under a heading of their own.
extern const std::vector<shell::KeyHelp> keyhelp;

class ExploreWindow {
  public:
    static constexpr int kId = 2;     // the side window's id
    static constexpr int kKey = 'E';  // the key that opens and closes it
    static constexpr int kRenderTimer = 27, kCycleTimer = 28;
    static constexpr int kWidth = 640, kHeight = 480;  // the picture it opens with
    static constexpr int kStatusHeight = 20;           // the status line below it
    static constexpr int kMinWidth = 160, kMinHeight = 120;
    static constexpr int kHistory = 50;  // views Backspace goes back through
    static constexpr const char* kTitle = "Explore";

    // `describe` gives the palette's description for the saved pictures.
    explicit ExploreWindow(std::function<std::string()> describe);
    ~ExploreWindow();

    bool isopen(shell::Window& w) const { return w.sidewindow(kId) != nullptr; }
    // Opens the window on palette p at its last location (the start the
    // first time), or closes it.
    void toggle(shell::Window& w, const shell::Palette& p);
    // Opens it at `at`, or shows `at` if it is open.
    void open(shell::Window& w, const shell::Palette& p, const LocFile& at);
    void close(shell::Window& w);
    // Shows palette p if the window is open and shows another one.
    void follow(shell::Window& w, const shell::Palette& p);
    // Takes the window's own messages; true when m was one.
    bool message(shell::Window& w, const shell::Message& m);

    // Waits for the picture under way and shows it (tests, and saving).
    void finish(shell::Window& w);

    const Location& location() const { return loc_; }
    const Colours& colours() const { return colours_; }
    const EscapeMap& shown() const { return shown_; }
    const std::string& status() const { return status_; }
    // The picture's device pixels: its width and height.
    int picturewidth(shell::Window& w) const;
    int pictureheight(shell::Window& w) const;
    // The views Backspace returns to, the last first.
    const std::deque<Location>& history() const { return history_; }

  private:
    shell::SideWindow* side(shell::Window& w) const { return w.sidewindow(kId); }
    bool key(shell::Window& w, int vk, int mods);
    bool pointer(shell::Window& w, const shell::Message& m);
    // A new view: the old one goes on the history, the new one is computed.
    void go(shell::Window& w, Location to);
    void back(shell::Window& w);
    // Computes the picture of the current location.
    void render(shell::Window& w);
    // Takes what the workers finished into the picture.
    void collect(shell::Window& w);
    // Colours rows y0 ... y1 - 1 (device rows) of the picture and shows them.
    void paint(shell::Window& w, int y0, int y1);
    void paintall(shell::Window& w) { paint(w, 0, shown_.height); }
    void drawstatus(shell::Window& w);
    void say(shell::Window& w, const std::string& note);
    // The palette as it shows now, cycling's rotation included.
    shell::Palette showing(shell::Window& w) const;
    void cyclekey(shell::Window& w, int vk);
    // The device pixel under logical point (x, y).
    double devicex(shell::Window& w, int x) const;
    double devicey(shell::Window& w, int y) const;
    void zoom(shell::Window& w, double atx, double aty, double factor);
    // The files of the window (explorefiles.cpp).
    void saveloc(shell::Window& w);
    void openloc(shell::Window& w);
    void savepicture(shell::Window& w);

    std::function<std::string()> describe_;
    std::unique_ptr<Renderer> renderer_;  // made when the window first opens
    std::unique_ptr<shell::Font> font_;
    Location loc_;
    bool placed_ = false;  // loc_ was set: the window opens there rather than at the start
    Colours colours_;
    shell::Palette palette_{};
    EscapeMap shown_;  // what the picture shows, a value for every pixel
    std::deque<Location> history_;
    CycleClock cycle_{256};
    int drawnshift_ = 0;  // the cycling rotation the picture shows
    std::string status_, note_;
    bool rendering_ = false;
    // A drag under way: the button, where it started and where it is.
    enum class Drag { none, pan, rectangle } drag_ = Drag::none;
    shell::Point dragfrom_{}, dragto_{};
    shell::Surface dragpicture_;  // the picture as a pan started
    shell::FileDialogRecord saverecord_, openrecord_, pngrecord_;
};

}  // namespace explore
