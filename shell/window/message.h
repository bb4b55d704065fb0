// What the host hands a window procedure.
#pragma once

#include "shell/raster/surface.h"

namespace shell {

enum class Msg {
    create,       // the window exists; build the surface contents and the first picture
    destroy,      // release everything; by default the host quits with 0
    paint,        // copy `rect` from the offscreen surface to the window (the default)
    move,         // the window moved (by default it is repainted)
    size,         // the window was sized (by default it is repainted)
    keydown,      // `wparam` is the virtual-key code (letters as upper case, Esc 27, F1 112 ...),
                  // `mods` the modifier keys held
    mousemove,    // x, y: client position as unsigned 16-bit values
    lbuttondown,  // x, y as above
    lbuttonup,    // x, y as above
    rbuttondown,  // the right button, x, y as above
    rbuttonup,    // x, y as above
    wheel,        // `wparam` notches of the wheel, positive away from the user; x, y as above
    mouseleave,   // the pointer left the client area (onto the frame or beyond)
    command,      // `wparam` is the command number
    timer,        // `wparam` is the id of a timer that is due (Window::settimer)
    sideclose,    // the close button of side window `wparam` (Window::opensidewindow)
    sidesize,     // the user resized side window `wparam`; its pictures have the new size
    user,         // posted for nothing; no procedure acts on it
};

// Virtual-key codes the programs use. The punctuation keys are named by
// what they show unshifted on a US keyboard, and come as these codes with
// or without Shift ('=' and '+' share vk_oem_plus).
enum VirtualKey {
    vk_back = 8,
    vk_return = 13,
    vk_escape = 27,
    vk_prior = 33,
    vk_next = 34,
    vk_end = 35,
    vk_home = 36,
    vk_left = 37,
    vk_up = 38,
    vk_right = 39,
    vk_down = 40,
    vk_add = 107,       // + on the keypad
    vk_subtract = 109,  // - on the keypad
    vk_f1 = 112,
    vk_f2 = 113,
    vk_oem_plus = 187,
    vk_oem_comma = 188,
    vk_oem_minus = 189,
    vk_oem_period = 190,
    vk_oem_4 = 219,  // [
    vk_oem_6 = 221,  // ]
};

// Modifier keys held with a key, as flags.
enum Modifier {
    mod_none = 0,
    mod_shift = 1,
    mod_ctrl = 2,
    mod_alt = 4,
};

struct Message {
    Msg msg = Msg::user;
    int wparam = 0;
    int x = 0, y = 0;
    Rect rect{};
    int mods = mod_none;
    // The window a key or pointer message comes from: 0 for the main window,
    // or the id of a side window (sidewindow.h). A procedure that routes
    // nothing to its side windows may ignore it for keys.
    int window = 0;

    static Message command(int id) { return Message{Msg::command, id, 0, 0, {}}; }
    static Message key(int vk, int mods = mod_none) {
        return Message{Msg::keydown, vk, 0, 0, {}, mods};
    }
    // Mouse positions reach the procedure as the low and high words of a
    // 32-bit value, so a position left of or above the window wraps round.
    static Message mouse(Msg m, int x, int y) {
        return Message{m, 0, int(uint16_t(x)), int(uint16_t(y)), {}};
    }
    // The message of a pointer at device position (x, y) of a client area
    // drawn at `scale`: the procedure hears the logical pixel the position
    // lies in, so that a press anywhere inside logical pixel (x, y) acts at
    // (x, y), and every hit test, clamp and readout works as at scale 1.
    static Message devicemouse(Msg m, int x, int y, int scale) {
        return mouse(m, tological(x, scale), tological(y, scale));
    }
    static Message wheel(int notches, int x, int y) {
        Message m = mouse(Msg::wheel, x, y);
        m.wparam = notches;
        return m;
    }
    // The same message from side window `id`.
    Message from(int id) const {
        Message m = *this;
        m.window = id;
        return m;
    }
    static Message paint(const Rect& r) { return Message{Msg::paint, 0, 0, 0, r}; }
    static Message simple(Msg m) { return Message{m, 0, 0, 0, {}}; }
    static Message timer(int id) { return Message{Msg::timer, id, 0, 0, {}}; }
    static Message sideclose(int id) { return Message{Msg::sideclose, id, 0, 0, {}}; }
    static Message sidesize(int id) { return Message{Msg::sidesize, id, 0, 0, {}}; }
};

}  // namespace shell
