// How the palette was made, in words: the description of the three channel
// curves that every saved palette and picture carries, what it says of
// colours loaded from a file, and the records such a description gives back
// when a file that carries it is opened again.
#pragma once

#include <string>

#include "huewright/model/parameters.h"
#include "palettes/curves.h"
#include "shell/raster/palette.h"

namespace huewright {

// Recomposes the description of the three channel curves from their records
// and Bezier stretch flags, replacing the previous text.
void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3]);

// The same for a palette of which some channels were loaded from a file and
// follow no curve (their okdisplay is 0): each says "Loaded" under its
// heading, and `loadedfrom` (describeloaded) follows the three channels.
// With every channel a curve this is the text above.
void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3], const int (&okdisplay)[3],
                      const std::string& loadedfrom);

// What is known of a palette loaded from a file.
struct LoadedPalette {
    std::string file;         // its name, without the folder
    std::string format;       // the format's name: "GIMP gradient"
    std::string name;         // the name the file gives the palette, if any
    std::string description;  // the description the file holds, if any
    int colours = 256;        // the entries the file gave; the rest are black
    int dropped = 0;          // colours it held beyond 256
    bool sampled = false;     // the entries were sampled from a gradient
    bool fromstrip = false;   // the entries were read from a picture's palette strip
    // Why the curves the file describes were not taken; empty when it
    // describes none.
    std::string curvesnottaken;
};

// The paragraph that says where loaded channels came from: "Loaded palette",
// the file and its format, the palette's name and description as the file
// gives them, how many entries were kept and, where the file describes
// curves that were not taken, why. Lines end in LF; long descriptions are
// cut short.
std::string describeloaded(const LoadedPalette& l);

// The records after a palette is loaded from a file: one-segment lines, red
// flat at 128, green falling from 255 to 0, blue rising from 0 to 255. Other
// fields stay.
void resetmapparameters(Parameters (&p)[3]);

// The channels a curve description gives back. `made` holds the colours
// the curves should make (the file's palette). Each channel described as a
// curve gets its record (the fields the description does not give keep
// their values in `p`), its stretch flag and okdisplay 1, and `made` gets
// the column that record makes; a channel described as loaded gets the
// one-segment line of resetmapparameters and okdisplay 0, and its column in
// `made` stays. Where a column depends on a field the description leaves
// out (a stretched quadratic Bezier on which side of its control the
// unsaid second one lies), the value that makes the asked-for column is
// taken. False, with the reason and nothing changed, when a record is not
// one the Parameters dialog could have made.
bool rebuildcurves(const palettes::GradientCurves& curves, Parameters (&p)[3],
                   int (&stretchflag)[3], int (&okdisplay)[3], shell::Palette& made,
                   std::string& why);

}  // namespace huewright
