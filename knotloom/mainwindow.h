// knotloom's window procedure, its points dialog and its program description.
#pragma once

#include <memory>
#include <string>

#include "analysis/analysiswindow.h"
#include "analysiswindow.h"
#include "display.h"
#include "editor.h"
#include "explore/explorewindow.h"
#include "history.h"
#include "model.h"
#include "shell/window/program.h"

namespace knotloom {

enum Command { cmd_points = 100, cmd_save = 200, cmd_open = 250, cmd_openstart = 260 };

// The trackbar of the points dialog. It has no id of its own in the
// dialog's design; the dialog layer needs one to address it.
constexpr int kTrackId = 10;

// The points dialog: a trackbar over 3 … 9 that writes the active channel's
// user-point count while its thumb moves, and an OK button. It has no Cancel
// button and asks for no close button; Esc (command 2), and a close button
// that a window manager draws anyway, dismiss it with the count it opened
// with.
shell::DialogTemplate pointstemplate();

class PointsDialogProc : public shell::DialogProc {
  public:
    explicit PointsDialogProc(Model& m) : m_(m) {}
    int handle(shell::DialogView& view, const shell::DialogMessage& msg) override;

  private:
    Model& m_;
    int opened_ = 0;  // the active channel's count when the dialog opened
};

// How the palette was made, for the files other than MAP that carry a
// description: each channel's data points and the inversion state.
std::string splinedescription(const Model& m);
// The trailer of a MAP file: the 768 column values as the user sees them
// (inverted when inversion is on), each channel's data points, and the
// inversion state, without a line end after it.
std::string splinetrailer(const Model& m);

// The confirmation after a save, cut to fit a 100-character buffer (99 and
// the terminator) at a character boundary.
std::string savedtext(const std::string& filetitle);

class MainWindow : public shell::Program, public ModelNotice::Client {
  public:
    MainWindow();
    int proc(shell::Window& w, const shell::Message& m) override;

    // The window's own view of the model, after every change: the picture,
    // redrawn whole (a drag step costs one full redraw), and the readout
    // for where the pointer is now.
    void modelchanged(const Change& c) override;
    // Ends a drag in progress (for the undo keys); true when one was.
    bool enddrag() { return editor.release(); }

    Model model;
    Editor editor{model};  // every change of the model goes through it
    std::unique_ptr<Display> screen;
    shell::Window* win = nullptr;  // the window this procedure draws on
    int showcp = 0;                // the control polygon is shown
    // The save dialog's record (smapn); it keeps the last chosen file. The
    // open dialog's (omapn) likewise; once a file is open, the save dialog
    // starts from it too.
    shell::FileDialogRecord smapn;
    shell::FileDialogRecord omapn;
    // The palette analysis window (A). It hears of every change after the
    // picture, whose redraw samples the active curve into the columns the
    // analysis reads.
    analysis::AnalysisWindow analysiswin;
    ModelNotice::Hook analysisview{
        [this](const Change&) { followanalysis(*win, model, analysiswin); }};
    // The Explore window (E), which shows the same palette on the set.
    explore::ExploreWindow explorewin{[this] { return splinedescription(model); }};
    ModelNotice::Hook exploreview{[this](const Change&) {
        if (explorewin.isopen(*win)) explorewin.follow(*win, shownpalette(model));
    }};
    WindowHistory history;  // undo and redo (history.h)

  private:
    void create(shell::Window& w);
    void buttondown(shell::Window& w, int x, int y);
    void mousemove(shell::Window& w, int x, int y);
    void points(shell::Window& w);
    void save(shell::Window& w);
    // The open command (O), or with a path the file named on the command
    // line: the file's own points come back, any other palette is fitted.
    void open(shell::Window& w, const std::string& path);
    // The full redraw.
    void draw(shell::Window& w) { screen->draw(w, model, showcp); }
    // The readout for a pointer at (x, y), if it is over the display; this
    // brings the palette up to date with the columns first.
    void readout(shell::Window& w, int x, int y);
};

// Empty title, a 1024 x 768 client area, the depth check.
shell::ProgramDesc programdesc();

}  // namespace knotloom
