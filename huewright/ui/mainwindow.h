// The gradient designer's window procedure, its state and its program
// description.
#pragma once

#include <memory>
#include <string>

#include "analysis/analysiswindow.h"
#include "explore/explorewindow.h"
#include "huewright/model/model.h"
#include "huewright/preview/preview.h"
#include "huewright/ui/channeleditor.h"
#include "huewright/ui/commands.h"
#include "huewright/ui/cycling.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/filecommands.h"
#include "huewright/ui/history.h"
#include "huewright/ui/paramsdialog.h"
#include "shell/window/program.h"

namespace huewright {

class MainWindow : public shell::Program, public ParamsOwner, public ModelClient {
  public:
    MainWindow();
    int proc(shell::Window& w, const shell::Message& m) override;

    Model model;
    ChannelEditor editor{model};  // the channel the Parameters dialog edits
    FileRecords files;
    // The description of the three curves, composed at start-up and on each
    // OK of the Parameters dialog: the MAP trailer and the TIFF description.
    std::string descriptionstring;
    // Where the channels loaded from a file came from, as the description
    // says it after them (describeloaded); empty before any file is opened.
    std::string loadedfrom;
    std::unique_ptr<Screen> screen;  // made by the creation step
    shell::Window* win = nullptr;    // the window this procedure draws on

    int button = 0;             // the key or button pressed last (Button, 0 ... 9)
    bool nameflag = true;       // ask for the author's name before each screen save
    bool previewshown = false;  // the Mandelbrot preview is in the curve display
    int compression = 0;        // TIFF compression code for the screen save (5 is LZW)
    std::string username;       // author name for the image metadata
    MsetEntries preview;        // the preview's entries, kept while it shows

    // The views that follow the palette without changing it (viewhooks.cpp):
    // colour cycling of the preview, the palette analysis window and the
    // Explore window. Each hears of the editor's changes through a hook of
    // its own.
    Cycling cycling;
    analysis::AnalysisWindow analysiswin;
    explore::ExploreWindow explorewin{[this] { return descriptionstring; }};
    ModelNotice::Hook cyclingview{[this](const Change& c) { cyclingfollows(c); }};
    ModelNotice::Hook analysisview{[this](const Change& c) { analysisfollows(c); }};
    ModelNotice::Hook exploreview{[this](const Change& c) { explorefollows(c); }};

    // The Parameters dialog; it follows the editor while it is open.
    ParamsDialogProc params{editor, *this};

    WindowHistory history;  // undo and redo (history.h)

    // ParamsOwner
    void editended(bool kept) override;

    // The window's own view of the model: the parameter readouts that
    // changed, the curves and the strip with the control-point dots of an
    // edit, and the hover readout.
    void modelchanged(const Change& c) override;

    // What the window showed with an undo step besides the model: the
    // selection marker moved into button k, and the preview over the
    // curves, drawn again from the entries the window keeps.
    void showmarker(int k);
    void showstill();

  private:
    void create(shell::Window& w);
    void keydown(shell::Window& w, int vk);
    void buttondown(shell::Window& w, int x, int y);
    void pointermove(shell::Window& w, int x, int y);
    void press(shell::Window& w, int b);
    void command(shell::Window& w, int id);
    void parameters(shell::Window& w);
    // The open command, or with a path the file named on the command line.
    void openmap(shell::Window& w, const std::string& path);
    // The views' part of a message, before the window's own: true when they
    // took it.
    bool viewmessage(shell::Window& w, const shell::Message& m);
    void cyclingfollows(const Change& c);
    void analysisfollows(const Change& c);
    void explorefollows(const Change& c);
    // Opens the Explore window at the location file --explore named.
    void explorestart(shell::Window& w);
    // The curves and the strip drawn again from the palette, over the
    // preview if it showed.
    void redraw();
    // The same with the control-point dots of the channel being edited.
    void showedit();
    // Channel c's parameter readout, or its area dark while it is off.
    void showreadout(int c);
    // The hover readout for where the pointer is now: for its column over
    // the display, none once it left the window. Elsewhere in the window the
    // tick stays where the last hover put it, as after any redraw. While a
    // Sine or Bezier channel is edited the readout is off.
    void hover();
};

// "Xo Gradient", an 800 x 640 client area, no menu, the depth check.
shell::ProgramDesc programdesc();

}  // namespace huewright
