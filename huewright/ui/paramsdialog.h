// The Parameters dialog: edits the curve of one colour channel while the main
// window stays live beside it. Every change is applied at once to the
// channel's palette column, the curves and the control-point dots.
#pragma once

#include "huewright/model/parameters.h"
#include "shell/dialog.h"
#include "shell/palette.h"

namespace huewright {

class MainWindow;

// Control identifiers of the dialog.
enum ParamsId {
    id_ok = 1,
    id_cancel = 2,
    id_invert = 201,
    id_restore = 202,
    id_apply = 203,  // no control: the apply step, sent by the dialog and by drags
    id_sine = 211,   // 211 ... 214: the curve type radios, ct = id - 211
    id_arc = 212,
    id_bezier = 213,
    id_line = 214,
    id_phase1 = 220,  // sp = id - 219
    id_phase2 = 221,
    id_xsh = 222,
    id_amp = 223,
    id_ysh = 224,
    id_aan = 225,
    id_avt = 226,
    id_quadratic = 227,  // bd = id - 227
    id_cubic = 228,
    id_b0 = 229,
    id_b255 = 230,
    id_bc1x = 231,
    id_bc1y = 232,
    id_bc2x = 233,
    id_bc2y = 234,
    id_stretch = 235,
    id_segments1 = 236,  // Ln = id - 235
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

class ParamsDialogProc : public shell::DialogProc {
  public:
    explicit ParamsDialogProc(MainWindow& mw) : mw_(mw) {}
    int handle(shell::DialogView& view, const shell::DialogMessage& msg) override;

    // The channel as it was when the dialog opened (or was last restored).
    PARAMETERS prestore{};
    shell::Palette palrestore{};
    // How many times the apply step has run, for tests and benchmarks.
    long applies = 0;

  private:
    void opening(shell::DialogView& v);
    void edit(shell::DialogView& v, int id);
    void choosetype(shell::DialogView& v, int ct);
    void setenabled(shell::DialogView& v, int ct, int bd, int Ln);
    void apply();
    void dots();
    void ok(shell::DialogView& v);
    void cancel(shell::DialogView& v);
    void restore(shell::DialogView& v);
    void invert(shell::DialogView& v);
    void restorecolumn();
    void showapplied(shell::DialogView& v, int id);

    MainWindow& mw_;
};

}  // namespace huewright
