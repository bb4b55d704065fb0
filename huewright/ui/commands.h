// The commands the gradient designer's window posts to itself, and the keys
// and buttons that post them.
#pragma once

#include "shell/window/message.h"

namespace huewright {

enum Command {
    cmd_parameters = 100,   // the Parameters dialog for the channel of the pressed button
    cmd_savepalette = 110,  // save the palette, in any writable format
    cmd_askname = 120,      // save the screen, first step: the author's name
    cmd_savescreen = 130,   // save the screen, second step: the TIFF file
    cmd_openpalette = 140,  // open a palette file of any readable format
    cmd_help = 150,
    cmd_preview = 160,
    cmd_undo = 170,          // Ctrl+Z
    cmd_redo = 180,          // Ctrl+Y or Ctrl+Shift+Z
    cmd_openstart = 190,     // the palette file named on the command line, once the window is up
    cmd_explorestart = 270,  // the Explore window at the location --explore named
};

// The keys, indexed by the button each one presses: R, G, B, P, S, O, F1,
// F2, Esc.
constexpr int keypress[9] = {
    'R', 'G', 'B', 'P', 'S', 'O', shell::vk_f1, shell::vk_f2, shell::vk_escape};

}  // namespace huewright
