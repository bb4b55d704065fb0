// What the program runner needs to know of a program, and the steps it takes
// that do not depend on the platform.
#pragma once

#include <functional>
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
struct Accelerator {
    int vk;  // virtual-key code, no modifiers
    int id;  // command it posts
};

struct ProgramDesc {
    std::string title;
    int width = 0, height = 0;  // client size
    std::vector<Menu> menus;
    std::vector<Accelerator> accelerators;
    bool depthcheck = false;  // refuse displays below 24 bits per pixel
    Surface icon;             // the window icon, 32 x 32 (none when empty)
    std::function<std::unique_ptr<Program>()> make;
};

// Start-up failures, shown in a box captioned "Error".
enum StartupError { startup_ok = 0, err_class = 1, err_window = 2, err_graphics = 3 };
const char* errormessage(int code);

// Turns a key into its accelerator's command, as the loop does before a key
// reaches the procedure. Returns true when the key was taken.
bool translateaccelerator(const ProgramDesc& d, const Message& m, Message& out);

// Runs the program on the desktop; returns the exit code.
int runprogram(const ProgramDesc& d);

}  // namespace shell
