#include "huewright/ui/namedialog.h"

#include "huewright/files/metadata.h"

namespace huewright {

using shell::Control;
using shell::ControlTemplate;

shell::DialogTemplate nametemplate() {
    shell::DialogTemplate t;
    t.caption = "Name Entry";
    t.pointsize = 8;
    // The template gives no place of its own; centred over the 800 x 640
    // client area (170 x 112 units are 255 x 182 pixels), the dialog covers
    // the curve display rather than a corner of the screen.
    t.x = 181;
    t.y = 141;
    t.cx = 170;
    t.cy = 112;
    // A modal frame with a caption and no system menu: OK and Cancel are the
    // only ways out.
    t.closebox = false;
    constexpr int none = -1;
    t.controls = {
        ControlTemplate{id_nameok, Control::button, "OK", 12, 90, 50, 14, false, true},
        ControlTemplate{id_namecancel, Control::button, "Cancel", 107, 90, 50, 14, false, true},
        ControlTemplate{id_namegroup, Control::groupbox, "", 6, 4, 159, 64, false, false},
        ControlTemplate{none, Control::text,
                        "Enter the name to appear in the author\n"
                        "      and copyright metadata fields.\n"
                        "The IPTC standard limits the name\n"
                        "      string to 32 characters.",
                        28, 12, 130, 32, false, false},
        // The box takes as many characters as the name keeps.
        ControlTemplate{id_namebox, Control::edit, "", 12, 48, 146, 12, false, true, usernamemax},
        ControlTemplate{id_noask, Control::checkbox, "No need to ask again", 12, 72, 120, 12, false,
                        true},
    };
    return t;
}

int NameDialogProc::handle(shell::DialogView& view, const shell::DialogMessage& msg) {
    switch (msg.msg) {
        case shell::DlgMsg::init:
            view.settext(id_namebox, username_);
            view.check(id_noask, !nameflag_);
            // The name is what the user came to change, so typing goes there.
            view.focus(id_namebox);
            return 1;
        case shell::DlgMsg::command:
            if (msg.id == id_nameok) {
                // The filter replaces the characters the metadata must not
                // hold and pads the name to an odd length.
                username_ = filtername(view.text(id_namebox));
                nameflag_ = !view.checked(id_noask);
                view.end(1);
                return 1;
            }
            if (msg.id == id_namecancel) {
                view.end(2);
                return 1;
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace huewright
