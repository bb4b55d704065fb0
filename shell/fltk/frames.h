// FLTK's widgets at a scale: the bevels and borders of its boxes, and the
// arrow of a drop-down list, as many pixels wide as the scale says.
#pragma once

#include <FL/Fl_Choice.H>

namespace shell::fltk {

// Draws the frames of FLTK's plain boxes (raised, sunken, thin, engraved,
// embossed and bordered) with every line `scale` pixels wide, and moves what
// the boxes hold as far in. Buttons, fields, lists and dialogs then show the
// same bevels as at scale 1, only larger. Called once, before any window is
// made; scale 1 leaves FLTK's own drawing.
void scaleframes(int scale);

// A drop-down list whose arrow button is `scale` times the width FLTK gives
// it at scale 1, which FLTK caps at 20 pixels however tall the list is.
class ScaledChoice : public Fl_Choice {
  public:
    ScaledChoice(int x, int y, int w, int h, int scale) : Fl_Choice(x, y, w, h), n_(scale) {}

  protected:
    void draw() override;

  private:
    int n_;
};

}  // namespace shell::fltk
