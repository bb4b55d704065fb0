// The Parameters dialog: edits the curve of one colour channel while the main
// window stays live beside it. Every change goes through the channel editor,
// which applies it at once to the channel's palette column and announces it;
// the window and its views follow the announcement, and so does the dialog
// where the change came from elsewhere (a drag in the window, an undo step).
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

// What the dialog tells the window it edits for.
class ParamsOwner {
  public:
    virtual ~ParamsOwner() = default;
    // The dialog closed with OK (`kept`) or Cancel; the editor has already
    // committed or restored the channel, and the views have followed.
    virtual void editended(bool kept) = 0;
};

class ParamsDialogProc : public shell::DialogProc, public ModelClient {
  public:
    ParamsDialogProc(ChannelEditor& editor, ParamsOwner& owner) : ed_(editor), owner_(owner) {}
    int handle(shell::DialogView& view, const shell::DialogMessage& msg) override;

    // While the dialog is open it follows the editor's notice: a change it
    // did not make itself (a drag in the curve display, an undo or redo of
    // its steps, whether the keys were pressed here or in the main window)
    // is shown in its controls.
    void modelchanged(const Change& c) override;

  private:
    // Shows in the boxes the numbers a step gave the fields, without
    // handling those writes as edits: the step has been applied already.
    void showfields(shell::DialogView& v, Fields fields);
    // Shows anew what differs between the working record and what the
    // controls show.
    void showchanges(shell::DialogView& v);
    // The dialog stops following the editor: it is closing.
    void leave();
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
    bool writing_ = false;               // the boxes are being written from the record
    bool acting_ = false;                // the dialog is making a change and shows it itself
    shell::DialogView* view_ = nullptr;  // the open dialog
    EditState shown_;                    // what its controls show
};

}  // namespace huewright
