// What the program runner needs to know of a program, and the steps it takes
// that do not depend on the platform.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "window.h"

namespace shell {

struct MenuItem {
    std::string text;
    int id;
};
struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};
// A key that posts a command. It matches only with exactly its modifiers
// held: an accelerator without modifiers does not fire with Shift, Ctrl or
// Alt down.
struct Accelerator {
    int vk;               // virtual-key code
    int id;               // command it posts
    int mods = mod_none;  // Modifier flags that must be held, and no others
};

// An option that takes a value: "--explore FILE.loc" or "--explore=FILE.loc".
struct ValueOption {
    std::string name;   // "--explore"
    std::string value;  // what the value is, as --help shows it: "FILE.loc"
    std::string what;   // one line of help
};

// One line of the key list that --help prints; a line without keys heads
// the lines after it ("Keys in the Explore window:").
struct KeyHelp {
    std::string keys;  // "R, G, B"
    std::string what;  // "open the Parameters dialog on a channel"
};

struct ProgramDesc {
    std::string name;  // the command's name: window class, --version, desktop entry
    std::string title;
    int width = 0, height = 0;  // client size, in logical pixels
    // Device pixels to a logical pixel, in each direction: the client area is
    // width x height times this on the screen, and the program still draws
    // and hears the pointer in logical pixels. Chosen once at start-up
    // (choosescale in commandline.h).
    int scale = 1;
    std::vector<Menu> menus;
    std::vector<Accelerator> accelerators;
    bool depthcheck = false;  // refuse displays below 24 bits per pixel
    // Draws the program's icon size x size pixels, each size from the
    // artwork itself rather than scaled; null for no icon. The windows carry
    // it at every size of kIconSizes.
    std::function<Surface(int size)> drawicon;
    // What --help says: one line about the program, and its keys.
    std::string summary;
    std::vector<KeyHelp> keys;
    // Whether the command line may name one file (FILE), and the one it
    // named; the hosts hand it to the program before its creation message.
    bool takesfile = false;
    std::string startfile;
    // The options with a value the program takes, and the values the command
    // line gave them (by name), handed to the program like the file.
    std::vector<ValueOption> options;
    std::map<std::string, std::string> startoptions;
    std::function<std::unique_ptr<Program>()> make;
};

// The sizes of the icons the programs install, and of the icons their
// windows carry for task bars and switchers to pick from.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Start-up failures, shown in a box captioned "Error".
enum StartupError { startup_ok = 0, err_class = 1, err_window = 2, err_graphics = 3 };
const char* errormessage(int code);

// Turns a key into its accelerator's command, as the loop does before a key
// reaches the procedure. Returns true when the key was taken.
bool translateaccelerator(const ProgramDesc& d, const Message& m, Message& out);

// What the loop does with a message before the procedure sees it: a key of
// an accelerator becomes its command; any other key held with Ctrl or Alt is
// dropped, since the programs' keys are plain letters and function keys and
// a combination must not act as the plain key. False when the message is
// dropped; otherwise `out` is what the procedure gets.
bool routemessage(const ProgramDesc& d, const Message& m, Message& out);

// Runs the program on the desktop; returns the exit code.
int runprogram(const ProgramDesc& d);
// Reads the command line first (see commandline.h): --help and --version
// answer without a display, a bad command line ends with 2, and otherwise the
// program runs with the file it named.
int runprogram(ProgramDesc d, int argc, char** argv);

}  // namespace shell
