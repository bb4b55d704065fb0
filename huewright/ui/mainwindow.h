// The gradient designer's window procedure, its state and its program
// description.
#pragma once

#include <memory>
#include <string>

#include "huewright/ui/draw.h"
#include "huewright/ui/mapfile.h"
#include "huewright/model/model.h"
#include "huewright/ui/paramsdialog.h"
#include "shell/program.h"

namespace huewright {

// Commands the window posts to itself.
enum Command {
    cmd_parameters = 100,  // the Parameters dialog for channel cndx
    cmd_savemap = 110,
    cmd_askname = 120,     // save the screen, first step: the author's name
    cmd_savescreen = 130,  // save the screen, second step: the TIFF file
    cmd_openmap = 140,
    cmd_help = 150,
    cmd_preview = 160,
};

// The keys, indexed by the cndx value each one sets: R, G, B, P, S, O, F1,
// F2, Esc.
constexpr int keypress[9] = {82, 71, 66, 80, 83, 79, 112, 113, 27};

class MainWindow : public shell::Program {
  public:
    MainWindow();
    int proc(shell::Window& w, const shell::Message& m) override;

    Model model;
    MapFiles files;
    std::unique_ptr<Screen> screen;  // made by the creation step
    shell::Window* win = nullptr;    // the window this procedure draws on

    int parameterflag = 0;  // the Parameters dialog is open
    int nameflag = 1;       // ask for the author's name before each screen save
    int enabledrag1 = 0;    // the dialog's first control point can be dragged
    int enabledrag2 = 0;    // Bezier control 2 can be dragged (cubic)
    int okdrag = 0;         // a drag is in progress
    int compression = 0;    // TIFF compression code for the screen save (5 is LZW)
    std::string username;   // author name for the image metadata

    // The open Parameters dialog, or null.
    shell::DialogView* g_hDlg = nullptr;
    ParamsDialogProc params{*this};

  private:
    void create(shell::Window& w);
    void keydown(shell::Window& w, int vk);
    void buttondown(shell::Window& w, int x, int y);
    void pointermove(shell::Window& w, int x, int y);
    void dragstep(int x, int y);
    void command(shell::Window& w, int id);
    void parameters(shell::Window& w);
    void openmap(shell::Window& w);
    void askname(shell::Window& w);
    void savescreen(shell::Window& w);
    void help(shell::Window& w);
    void preview(shell::Window& w);
};

// "Xo Gradient", an 800 x 640 client area, no menu, the depth check.
shell::ProgramDesc programdesc();

}  // namespace huewright
