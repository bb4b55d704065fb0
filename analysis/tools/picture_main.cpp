// Writes the analysis picture of a few palettes as PPM files, to look at the
// window's design without a window: huewright's start-up palette, a ramp from
// black to white (a hard seam), and a fixed-seed random palette, each at the
// preferred width and at the narrowest.
//
//   analysis_picture FOLDER
#include <cstdio>
#include <random>
#include <string>

#include "analysis/picture.h"
#include "huewright/model/model.h"
#include "shell/io/atomicfile.h"

namespace {

bool writeppm(const std::string& path, const shell::Surface& s) {
    std::string bytes = "P6\n" + std::to_string(s.devicewidth()) + " " +
                        std::to_string(s.deviceheight()) + "\n255\n";
    bytes.append(reinterpret_cast<const char*>(s.data()), size_t(s.stride()) * s.deviceheight());
    return shell::writefileatomically(path, bytes).ok();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];

    huewright::Model m;
    m.startuppalette();
    shell::Palette ramp{}, random{};
    std::mt19937 gen(1234);
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) {
            ramp[i][c] = uint8_t(i);
            random[i][c] = uint8_t(gen() & 0xff);
        }

    const struct {
        const char* name;
        const shell::Palette& p;
    } shots[] = {{"startup", m.palette}, {"ramp", ramp}, {"random", random}};
    int rc = 0;
    // At the preferred width, and at the narrowest, where one heading's
    // readouts move under it.
    for (int width : {analysis::Picture::kWidth, analysis::Picture::kMinWidth}) {
        analysis::Picture pic(width);
        shell::Surface s(pic.width(), pic.height());
        const std::string suffix = width == analysis::Picture::kWidth ? "" : "-narrow";
        for (const auto& shot : shots) {
            pic.drawall(s, shot.p);
            const std::string path = dir + "/analysis-" + shot.name + suffix + ".ppm";
            if (!writeppm(path, s)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                rc = 1;
            }
        }
    }
    return rc;
}
