// Dialogs as data: a template lists the controls, a procedure reacts to them
// through a DialogView, and a host (desktop or headless) realises both.
#pragma once

#include <string>
#include <vector>

#include "shell/raster/surface.h"

namespace shell {

enum class Control {
    edit,        // one-line text box
    radio,       // radio button; a run of radios from one with `group` set is exclusive
    checkbox,    // check box that toggles itself
    button,      // push button; id 1 is the default (Enter), id 2 the cancel (Esc)
    groupbox,    // etched frame with its caption at the top left
    text,        // static text, left aligned, wrapped at the right edge
    etchedline,  // a horizontal etched line
    picture,     // a picture set with DialogView::setimage
    trackbar,    // horizontal slider with a tick mark for each value above and below it
};

struct ControlTemplate {
    int id = -1;
    Control kind = Control::text;
    std::string text;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    bool group = false;                // starts a new radio group / tab group
    bool tabstop = true;
    int limit = 0;  // an edit box holds at most this many characters (0: no limit)
};

struct DialogTemplate {
    std::string caption;
    int pointsize = 8;                 // 8: base units (6, 13); 11: (9, 17)
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units, relative to the main client origin
    bool captionbar = true;            // a title bar; without one the dialog has a thin border only
                                       // and no frame buttons
    bool closebox = true;              // a system menu, and with it a close button
    std::vector<ControlTemplate> controls;

    const ControlTemplate* find(int id) const;
};

// Dialog units to pixels, rounded half up. On a screen of scale n the base
// units are n times as many device pixels, as the font is n times as large;
// a position is rounded as at scale 1 and then multiplied, so that a dialog
// is exactly n times its size at scale 1 and every control sits on the
// device pixels of its logical place.
struct DialogUnits {
    int bx, by;  // the base units at scale 1
    int n = 1;   // the scale
    int x(int dlu) const { return (dlu * bx + 2) / 4 * n; }
    int y(int dlu) const { return (dlu * by + 4) / 8 * n; }
};
// The base units of a template's font, at a scale.
DialogUnits dialogunits(int pointsize, int scale = 1);

// Notification codes: what a control says happened, with its command.
enum Notify {
    bn_clicked = 0,
    en_setfocus = 0x100,   // an edit box got the keyboard focus
    en_killfocus = 0x200,  // an edit box lost it
    en_change = 0x300,
};
// Trackbar notification codes. Codes below 6 are line, page and thumb moves;
// 6 and above are Home, End and the end of tracking.
enum TrackCode {
    tb_lineup = 0,
    tb_linedown = 1,
    tb_pageup = 2,
    tb_pagedown = 3,
    tb_thumbposition = 4,
    tb_thumbtrack = 5,
    tb_top = 6,
    tb_bottom = 7,
    tb_endtrack = 8,
};

enum class DlgMsg {
    init,     // before the dialog shows
    command,  // id, code (bn_clicked, en_change); Enter is command 1, Esc command 2
    hscroll,  // trackbar `id` moved: code is a TrackCode, pos its position
    close,    // the close button of the title bar
    // A key with Ctrl or Alt held that none of the dialog's controls takes
    // (Ctrl+Z, say, which an edit box passes on): code is the virtual-key
    // code, mods the Modifier flags held. A procedure that does not use the
    // key returns 0.
    key,
};

struct DialogMessage {
    DlgMsg msg = DlgMsg::init;
    int id = 0;
    int code = 0;
    int pos = 0;
    int mods = 0;  // for key: the Modifier flags
};

// What a dialog procedure may do to its dialog.
class DialogView {
  public:
    virtual ~DialogView() = default;
    virtual std::string text(int id) const = 0;
    // Writing an edit box notifies en_change before this returns, as typing does.
    virtual void settext(int id, const std::string& s) = 0;
    virtual void check(int id, bool on) = 0;
    virtual bool checked(int id) const = 0;
    virtual void enable(int id, bool on) = 0;
    virtual bool enabled(int id) const = 0;
    virtual void setimage(int id, const Surface* picture) = 0;
    virtual void setrange(int id, int lo, int hi) = 0;
    virtual void setpos(int id, int pos) = 0;
    virtual int pos(int id) const = 0;
    // Moves the keyboard focus to a control, as the dialog manager does: the
    // box that loses it and the box that gets it are notified.
    virtual void focus(int id) = 0;
    // Closes the dialog; a modal one returns `result` from dialogbox.
    virtual void end(int result) = 0;
};

class DialogProc {
  public:
    virtual ~DialogProc() = default;
    // Returns nonzero when the message was handled.
    virtual int handle(DialogView& view, const DialogMessage& m) = 0;
};

}  // namespace shell
