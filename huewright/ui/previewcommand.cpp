#include "huewright/ui/previewcommand.h"

namespace huewright {

void showpreview(shell::Window& w, const shell::Palette& palette, MsetEntries& entries) {
    // The window takes no input until the picture is done, but it shows the
    // picture growing: each finished row goes to the window at once.
    entries = mset(palette, w.offscreen, kMsetOrigin, [&](int j) {
        w.present(shell::Rect{previewrect.left, previewrect.top + j, previewrect.right,
                              previewrect.top + j + 1});
        w.flush();
    });
}

}  // namespace huewright
