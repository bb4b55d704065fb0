#include "huewright/ui/previewcommand.h"

namespace huewright {

void showpreview(shell::Window& w, const shell::Palette& palette, MsetEntries& entries,
                 shell::Surface* copy) {
    // The window takes no input until the picture is done, but it shows the
    // picture growing: each finished row of logical pixels goes to the
    // window at once.
    const int n = w.scale();
    entries = mset(palette, w.offscreen, kMsetOrigin, [&](int j) {
        if (j % n != n - 1) return;
        const int top = previewrect.top + j / n;
        w.present(shell::Rect{previewrect.left, top, previewrect.right, top + 1});
        w.flush();
    });
    if (copy) drawmsetrows(*copy, kMsetOrigin, entries, palette, 0, kMsetSize);
}

}  // namespace huewright
