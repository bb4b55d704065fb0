// Windows icon files (.ico): pictures with transparency at several sizes in
// one file, each stored as a 32-bit bitmap with its alpha and a mask, which
// every Windows since XP and wine show.
#pragma once

#include <string>
#include <vector>

#include "desktop/matte.h"

namespace desktop {

// The bytes of an .ico file holding the pictures in order; empty when one
// of them is larger than 256 pixels on a side, or has none.
std::string icofile(const std::vector<RgbaPicture>& pictures);

}  // namespace desktop
