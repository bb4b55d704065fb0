// Palettes knotloom did not make, shaped by its curves: each channel's
// points stand where a new channel puts them, and their heights are the
// least-squares fit of the curve to the channel's 256 values. And palettes
// it did make, given back exactly from the points their files keep.
#pragma once

#include <string>

#include "model.h"
#include "palettes/curves.h"
#include "palettes/fit.h"
#include "shell/raster/palette.h"

namespace knotloom {

// The least-squares system of channel ch, whose points stand in the default
// layout for its count: one row per palette entry, saying how the mean
// curve height over the entry's columns follows each free height (the end
// points, each with its copy, and the user points, left to right), and the
// height that gives the target's value. Rows of entries that no sample
// reaches weigh nothing.
palettes::LinearSystem fitsystem(const Model& m, int ch, const shell::Palette& target);

// The heights that fit, before they are rounded: the least-squares solve
// of fitsystem, leaving out the entries at 0 or 255 where the curve already
// runs beyond them (the clamp makes them right whatever the height).
std::vector<double> fitheights(const Model& m, int ch, const shell::Palette& target);

// Fits channel ch to the target's column ch with its current number of
// points: the default layout, the fitted heights rounded to whole pixels
// and kept within the curve area, the control points solved and the
// channel's columns sampled. The active channel stays as it was.
void fitchannel(Model& m, int ch, const shell::Palette& target);

// Makes channel ch's column of the fit target the colours the channel's
// curve gives now: what a later fit with another count comes back to.
void refittarget(Model& m, int ch);

// How far a channel of `made` lies from the target's: the largest
// difference of an entry, and the mean.
struct FitError {
    int largest = 0;
    double mean = 0;
};
FitError fiterror(const shell::Palette& made, const shell::Palette& target, int ch);

// Fits every channel to `target` (inversion off), marks the channels as
// fitted to it, and makes the palette from the new columns.
void fitpalette(Model& m, const shell::Palette& target);

// What the readout band says after a fit: each fitted channel's largest and
// mean error, from the columns as they stand.
std::string fitnote(const Model& m);

// Puts the points a MAP trailer keeps back: each channel's points and
// count, the column values, the palette (the file's entries) and the
// inversion, as they were saved. False, with the reason and nothing
// changed, when the points are not ones the window could have made.
bool restorepoints(Model& m, const palettes::SplinePoints& points, const shell::Palette& entries,
                   std::string& why);

// A palette opened from a file, with the description the file holds: its
// own points come back when the description is a trailer of this program
// with points it could have made, and any other palette is fitted. Says
// why points the file holds were not taken, or nothing.
struct Taken {
    bool fitted = false;
    std::string pointsnottaken;
};
Taken takepalette(Model& m, const shell::Palette& palette, const std::string& description);

}  // namespace knotloom
