// The Parameters dialog: edits the curve of one colour channel while the main
// window stays live beside it. Every change goes through the channel editor,
// which applies it at once to the channel's palette column; the window then
// shows the curves and the control-point dots again.
#pragma once

#include "huewright/ui/channeleditor.h"
#include "shell/raster/palette.h"
#include "shell/window/dialog.h"

namespace huewright {

// Control identifiers of the dialog.
enum ParamsId {
    id_ok = 1,
    id_cancel = 2,
    id_invert = 201,
    id_restore = 202,
    id_sine = 211,  // 211 ... 214: the curve type radios (curvetypeviews.cpp)
    id_arc = 212,
    id_bezier = 213,
    id_line = 214,
    id_phase1 = 220,  // 220 ... 241: the controls of the types' groups
    id_phase2 = 221,
    id_xsh = 222,
    id_amp = 223,
    id_ysh = 224,
    id_aan = 225,
    id_avt = 226,
    id_quadratic = 227,
    id_cubic = 228,
    id_b0 = 229,
    id_b255 = 230,
    id_bc1x = 231,
    id_bc1y = 232,
    id_bc2x = 233,
    id_bc2y = 234,
    id_stretch = 235,
    id_segments1 = 236,
    id_segments2 = 237,
    id_L0 = 238,
    id_L255 = 239,
    id_Lmx = 240,
    id_Lmy = 241,
};

// The dialog as data: every control, text and rectangle, in 8-point dialog
// units, at (142, 4) from the main window's client origin.
shell::DialogTemplate paramstemplate();

// Only this many characters of a box are read, and a box holds no more.
constexpr int kBoxChars = 4;

// The number in a box as the dialog reads it: at most the first four
// characters, leading blanks and a sign accepted, up to the first character
// that is not a digit; anything else gives 0.
int readbox(const std::string& text);

// What the dialog asks of the window it edits for.
class ParamsOwner {
  public:
    virtual ~ParamsOwner() = default;
    // The channel was applied: the curves, the strip and the control-point
    // dots are shown again.
    virtual void showedit() = 0;
    // The dialog closed with OK (`kept`) or Cancel; the editor has already
    // committed or restored the channel.
    virtual void editended(bool kept) = 0;
};

class ParamsDialogProc : public shell::DialogProc {
  public:
    ParamsDialogProc(ChannelEditor& editor, ParamsOwner& owner) : ed_(editor), owner_(owner) {}
    int handle(shell::DialogView& view, const shell::DialogMessage& msg) override;

    // Shows in the boxes the numbers a step outside the dialog (a drag) gave
    // the fields, without handling those writes as edits: the step has been
    // applied already.
    void showfields(shell::DialogView& v, Fields fields);

    // Undo (back) or redo one step of the dialog's own changes and show the
    // dialog as it was then; Ctrl+Z and Ctrl+Y in the dialog, and in the
    // main window while the dialog is open, come here.
    void step(shell::DialogView& v, bool back);

  private:
    int command(shell::DialogView& v, const shell::DialogMessage& msg);
    int undokey(shell::DialogView& v, int vk, int mods);
    void opening(shell::DialogView& v);
    void edit(shell::DialogView& v, int id);
    void setenabled(shell::DialogView& v);
    void showapplied(shell::DialogView& v, int id);
    void ok(shell::DialogView& v);
    void cancel(shell::DialogView& v);

    ChannelEditor& ed_;
    ParamsOwner& owner_;
    bool writing_ = false;  // the boxes are being written from the record
};

}  // namespace huewright
