#include "huewright/ui/helpdialog.h"

#include "huewright/art/helpart.h"

namespace huewright {

using shell::Control;
using shell::ControlTemplate;

// Every space and line break is part of the layout: the indented lines
// continue the line above them, and the title is centred over the first
// column with leading spaces.
const char* const helptexts[6] = {
    "                     Xo Gradient Help\n"
    "SINE\n"
    "X Shift: Translates the curve along the X\n"
    "   ( palette index ) axis. Drag the point in the\n"
    "   display window or type into the edit box.\n"
    "Phase: Can be set to 1 or 2.\n"
    "Amplitude: Controls the height of the curve.\n"
    "Y Shift: Translates the curve up or down.",

    "ARC\n"
    "Anchor: Starting and ending palette value.\n"
    "Vertex: If  |vertex - anchor|  is greater than 128, the diameter of the\n"
    "   resulting circle along the X axis is too small to cover the entire palette\n"
    "   index range, so the arc is stretched to fit.\n",

    "BEZIER\n"
    "Degree: Quadratic ( 1 control point ) or cubic ( 2 control points ).\n"
    "( 0, y ) / ( 255, y ): Starting and ending palette values.\n"
    "Control 1 / Control 2: X / Y coordinates of the control points. They may\n"
    "   be dragged in the palette display window or typed into the edit boxes.\n"
    "The curve may be stretched vertically for a greater palette value range.\n"
    "See the file 'Xo Bezier.pdf ' for more information.",

    "LINE\n"
    "Select one or two segments.\n"
    "( 0, y )  /  ( 255, y ): Starting and ending palette values.\n"
    "Middle ( x, y ): X / Y coordinates of the middle point if selected.",

    "Invert:  Inverts the palette parameters for the selected color channel.\n"
    "Restore: Returns the parameters to their state prior to opening the\n"
    "   'Parameters' dialog box.",

    "Palettes are saved as Fractint MAP files. These are text files containing RGB triplets. "
    "The palette parameters from this program\n"
    "   are appended to the end of each file.\n"
    "Valid MAP files may be opened. If a color editing channel is selected, the current curve "
    "for that channel will be applied.\n"
    "Screen images are saved as TIFF files with LZW compression. Metadata in standard formats "
    "( EXIF, IPTC, XMP ) is inserted.",
};

namespace {

constexpr int kPictureIds[3] = {id_helppicture1, id_helppicture2, id_helppicture3};
constexpr int kHelpPointSize = 11;

// A picture control is as large as its picture: its size in dialog units
// of the dialog's font, rounded up so that no pixel is cut.
ControlTemplate picture(int id, int x, int y, int width, int height) {
    const shell::DialogUnits du = shell::dialogunits(kHelpPointSize);
    const int cx = (width * 4 + du.bx - 1) / du.bx;
    const int cy = (height * 8 + du.by - 1) / du.by;
    return ControlTemplate{id, Control::picture, "", x, y, cx, cy, false, false};
}

ControlTemplate text(int index, int x, int y, int cx, int cy) {
    return ControlTemplate{-1, Control::text, helptexts[index], x, y, cx, cy, false, false};
}

}  // namespace

shell::DialogTemplate helptemplate() {
    shell::DialogTemplate t;
    // A popup with a modal frame: no caption bar, so no close box either.
    t.caption = "";
    t.pointsize = kHelpPointSize;
    t.x = 2;
    t.y = 2;
    t.cx = 394;
    t.cy = 296;
    t.captionbar = false;
    t.closebox = false;
    t.controls = {
        picture(id_helppicture1, 154, 4, helpbitmap1width, helpbitmapheight),
        picture(id_helppicture2, 234, 80, helpbitmap2width, helpbitmapheight),
        picture(id_helppicture3, 234, 156, helpbitmap2width, helpbitmapheight),
        ControlTemplate{id_helpclose, Control::button, "Close", 171, 277, 50, 14, false, true},
        text(0, 8, 4, 140, 80),
        text(1, 8, 71, 220, 80),
        text(2, 8, 115, 220, 60),
        text(3, 8, 174, 220, 40),
        text(4, 8, 212, 220, 30),
        text(5, 8, 236, 400, 40),
    };
    return t;
}

int HelpDialogProc::handle(shell::DialogView& view, const shell::DialogMessage& msg) {
    switch (msg.msg) {
        case shell::DlgMsg::init:
            // The pictures live exactly as long as the dialog shows them; a
            // dialog opened again makes them afresh.
            release(view);
            for (int k = 0; k < 3; ++k) {
                pictures_[k] = std::make_unique<shell::Surface>(makehelpbitmap(k + 1, scale_));
                view.setimage(kPictureIds[k], pictures_[k].get());
            }
            return 1;
        case shell::DlgMsg::command:
            if (msg.id != id_helpclose) return 0;
            release(view);
            view.end(1);
            return 1;
        default:
            return 0;
    }
}

void HelpDialogProc::release(shell::DialogView& view) {
    for (int k = 0; k < 3; ++k) {
        if (!pictures_[k]) continue;
        // The control lets go of the picture before the picture goes.
        view.setimage(kPictureIds[k], nullptr);
        pictures_[k].reset();
    }
}

int HelpDialogProc::pictures() const {
    int n = 0;
    for (const auto& p : pictures_) n += p ? 1 : 0;
    return n;
}

void showhelp(shell::Window& w) {
    HelpDialogProc proc(w.scale());
    w.dialogbox(helptemplate(), proc);
}

}  // namespace huewright
