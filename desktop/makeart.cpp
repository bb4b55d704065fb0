// Draws the desktop artwork of the three programs with their own drawing
// code: the hicolor theme's icons at every size asked for, transparent
// around the artwork, and a screenshot of each window from the in-memory
// host.
//
//   makeart OUTDIR SIZE...
//
// writes OUTDIR/icons/hicolor/<n>x<n>/apps/<program>.png for each size and
// OUTDIR/screenshots/<program>.png. Exits 1 when anything cannot be written.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "curvetoy/mainwindow.h"
#include "huewright/art/artwork.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/artwork.h"
#include "knotloom/mainwindow.h"
#include "matte.h"
#include "palettes/png.h"
#include "shell/headless/host.h"
#include "shell/io/atomicfile.h"

namespace {

struct Entry {
    shell::ProgramDesc desc;
    // Draws the icon over what the surface holds, at its size.
    void (*painticon)(shell::Surface&);
    // What to do before the screenshot, to show the program at work.
    void (*prepare)(shell::headless::Host&);
};

// The pictures as PNG images: RGB for screenshots, RGBA for icons.
palettes::PngImage image(const shell::Surface& s) {
    return palettes::PngImage{s.devicewidth(), s.deviceheight(), 3, size_t(s.stride()), s.data()};
}
palettes::PngImage image(const desktop::RgbaPicture& p) {
    return palettes::PngImage{p.width, p.height, 4, size_t(p.width) * 4, p.rgba.data()};
}

// Saved at the highest compression, without time or text chunks, so that
// the same pixels always give the same bytes.
template <class Picture>
bool save(const std::string& path, const Picture& picture) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) {
        std::fprintf(stderr, "makeart: cannot write %s: %s\n", path.c_str(), ec.message().c_str());
        return false;
    }
    const shell::Result<std::string> png = palettes::encodepng(image(picture), {}, 9);
    const shell::Status saved =
        png.ok() ? shell::writefileatomically(path, png.value()) : shell::Status(png.error());
    if (!saved.ok()) {
        std::fprintf(stderr, "makeart: cannot write %s: %s\n", path.c_str(),
                     saved.error().reason.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: makeart OUTDIR SIZE...\n");
        return 2;
    }
    const std::string out = argv[1];
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        const int n = std::atoi(argv[i]);
        if (n < 1 || n > 1024) {
            std::fprintf(stderr, "makeart: bad icon size '%s'\n", argv[i]);
            return 2;
        }
        sizes.push_back(n);
    }
    const Entry entries[] = {
        {huewright::programdesc(), huewright::painticon, nullptr},
        {knotloom::programdesc(), knotloom::painticon, nullptr},
        // The control points and their handles show how the curve is built.
        {curvetoy::programdesc(), curvetoy::painticon,
         [](shell::headless::Host& h) { h.command(curvetoy::cmd_showcp); }},
    };
    bool ok = true;
    for (const Entry& e : entries) {
        for (int n : sizes) {
            const std::string dir = std::to_string(n) + "x" + std::to_string(n);
            ok = save(out + "/icons/hicolor/" + dir + "/apps/" + e.desc.name + ".png",
                      desktop::paintedicon(e.painticon, n)) &&
                 ok;
        }
        shell::headless::Host h(e.desc);
        if (e.prepare) e.prepare(h);
        ok = save(out + "/screenshots/" + e.desc.name + ".png", h.onscreen) && ok;
    }
    return ok ? 0 : 1;
}
