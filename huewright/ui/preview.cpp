#include "huewright/ui/preview.h"

namespace huewright {

int showpreview(shell::Window& w, Model& model, int parameterflag) {
    if (parameterflag) return 0;
    // The window takes no input until the picture is done, but it shows the
    // picture growing: each finished row goes to the window at once.
    model.mset(w.g_vhdc, [&w](int j) {
        w.present(shell::Rect{previewrect.left, previewrect.top + j, previewrect.right,
                              previewrect.top + j + 1});
        w.flush();
    });
    return 1;
}

}  // namespace huewright
