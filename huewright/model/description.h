// How the palette was made, in words: the description of the three channel
// curves that every saved palette and picture carries, and the records a
// palette loaded from a file leaves behind.
#pragma once

#include <string>

#include "huewright/model/parameters.h"

namespace huewright {

// Recomposes the description of the three channel curves from their records
// and Bezier stretch flags, replacing the previous text.
void writedescription(std::string& descriptionstring, const Parameters (&p)[3],
                      const int (&stretchflag)[3]);

// The records after a palette is loaded from a file: one-segment lines, red
// flat at 128, green falling from 255 to 0, blue rising from 0 to 255. Other
// fields stay.
void resetmapparameters(Parameters (&p)[3]);

}  // namespace huewright
