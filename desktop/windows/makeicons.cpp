// Draws the three programs' icons with their own drawing code and writes
// them as Windows icon files, for the programs' resources and the installer:
//
//   makeicons OUTDIR
//
// writes OUTDIR/<program>.ico. Exits 1 when anything cannot be written.
#include <cstdio>
#include <string>
#include <vector>

#include "curvetoy/mainwindow.h"
#include "desktop/matte.h"
#include "huewright/art/artwork.h"
#include "huewright/ui/mainwindow.h"
#include "icofile.h"
#include "knotloom/artwork.h"
#include "knotloom/mainwindow.h"
#include "shell/io/atomicfile.h"

namespace {

// The sizes Windows picks from: menus and title bars, the task bar, the
// desktop and Explorer's views.
const int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

struct Entry {
    const char* name;
    void (*painticon)(shell::Surface&);
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeicons OUTDIR\n");
        return 2;
    }
    const std::string out = argv[1];
    const Entry entries[] = {
        {"huewright", huewright::painticon},
        {"knotloom", knotloom::painticon},
        {"curvetoy", curvetoy::painticon},
    };
    bool ok = true;
    for (const Entry& e : entries) {
        std::vector<desktop::RgbaPicture> pictures;
        for (int n : kSizes) pictures.push_back(desktop::paintedicon(e.painticon, n));
        const std::string path = out + "/" + e.name + ".ico";
        const shell::Status saved = shell::writefileatomically(path, desktop::icofile(pictures));
        if (!saved.ok()) {
            std::fprintf(stderr, "makeicons: cannot write %s: %s\n", path.c_str(),
                         saved.error().reason.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
