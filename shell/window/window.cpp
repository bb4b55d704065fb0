#include "window.h"

#include <algorithm>

#include "program.h"

namespace shell {

const ControlTemplate* DialogTemplate::find(int id) const {
    for (const auto& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

DialogUnits dialogunits(int pointsize, int scale) {
    const int n = std::max(scale, 1);
    if (pointsize >= 11) return DialogUnits{9, 17, n};
    return DialogUnits{6, 13, n};
}

const char* errormessage(int code) {
    static const char* const table[] = {
        "Couldn't register main window class.",
        "Couldn't create main window.",
        "Couldn't initialize graphics.",
    };
    if (code < 1 || code > 3) return "";
    return table[code - 1];
}

bool translateaccelerator(const ProgramDesc& d, const Message& m, Message& out) {
    if (m.msg != Msg::keydown) return false;
    for (const auto& a : d.accelerators) {
        if (a.vk == m.wparam && a.mods == m.mods) {
            out = Message::command(a.id);
            return true;
        }
    }
    return false;
}

bool routemessage(const ProgramDesc& d, const Message& m, Message& out) {
    if (translateaccelerator(d, m, out)) return true;
    if (m.msg == Msg::keydown && (m.mods & (mod_ctrl | mod_alt)) != 0) return false;
    out = m;
    return true;
}

}  // namespace shell
