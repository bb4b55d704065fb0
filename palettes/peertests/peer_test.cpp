// The files we write, read by the programs our users exchange them with, and
// files those programs write, read by us: GIMP (in one batch run for all its
// checks), Pillow, Python's json module and ImageMagick.
//
// Sections: running peers; GIMP; ImageMagick; Python.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "palettes/palettes.h"
#include "shell/headless/testing.h"
#include "testpalettes.h"

using namespace palettes;
using shell::testing::readfile;
using shell::testing::writefile;

namespace {

// ---------------------------------------------------------------- running peers

// Runs a shell command; its standard output, and whether it exited 0.
bool capture(const std::string& command, std::string& out) {
    out.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    int status = pclose(pipe);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<double> numbersof(const std::string& text) {
    std::vector<double> v;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double x;
    while (in >> x) v.push_back(x);
    return v;
}

// The largest difference of any channel between a peer's colours (fractions,
// `stride` values per colour, RGB first) and a palette; 999 when the peer
// gave the wrong number of values.
int farthest(const std::vector<double>& peer, int stride, const shell::Palette& p) {
    if (peer.size() != 256u * stride) return 999;
    int worst = 0;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            worst =
                std::max(worst, std::abs(int(std::lround(peer[i * stride + c] * 255)) - p[i][c]));
    return worst;
}

struct Ours {
    const char* name;  // identifier-safe, so that every format keeps it as it is
    shell::Palette palette;
};

const std::vector<Ours>& ours() {
    static const std::vector<Ours> list = {{"Startup", testdata::startup()},
                                           {"Random", testdata::randompalette()}};
    return list;
}

// ---------------------------------------------------------------- GIMP

// A gradient of every blend and colouring type, with and without the two
// end-point types (3: background, white in a fresh GIMP; 1: foreground,
// black), and middle points off centre.
const char* const kEveryBlend =
    "GIMP Gradient\nName: EveryBlend\n12\n"
    "0.000000 0.030000 0.080000 0.9 0.1 0.2 1 0.1 0.8 0.3 1 0 0\n"
    "0.080000 0.100000 0.160000 0.1 0.8 0.3 1 0.2 0.3 0.9 1 1 0\n"
    "0.160000 0.220000 0.250000 0.2 0.3 0.9 1 1.0 1.0 0.0 1 2 0\n"
    "0.250000 0.300000 0.330000 1.0 1.0 0.0 1 0.0 0.5 0.5 1 3 0\n"
    "0.330000 0.400000 0.410000 0.0 0.5 0.5 1 0.7 0.0 0.7 1 4 0\n"
    "0.410000 0.430000 0.500000 0.7 0.0 0.7 1 0.1 0.9 0.9 1 5 0\n"
    "0.500000 0.530000 0.580000 0.9 0.1 0.1 1 0.1 0.1 0.9 1 0 1\n"
    "0.580000 0.650000 0.660000 0.1 0.1 0.9 1 0.9 0.9 0.1 1 1 2\n"
    "0.660000 0.690000 0.750000 0.9 0.9 0.1 1 0.2 0.6 0.4 1 2 1 0 0\n"
    "0.750000 0.790000 0.830000 0.2 0.6 0.4 1 0.8 0.3 0.1 1 3 2 0 0\n"
    "0.830000 0.900000 0.910000 0.8 0.3 0.1 1 0.5 0.5 0.5 1 4 1 3 1\n"
    "0.910000 0.950000 1.000000 0.5 0.5 0.5 1 0.1 0.2 0.3 1 5 2 1 3\n";

const char* const kGimpGradients = "/usr/share/gimp/2.0/gradients";

const char* const kDumpFunctions = R"(
(define (dump-gradient file name)
  (let* ((port (open-output-file file))
         (v (cadr (gimp-gradient-get-uniform-samples name 256 FALSE)))
         (n (vector-length v)) (i 0))
    (while (< i n) (display (vector-ref v i) port) (display " " port) (set! i (+ i 1)))
    (close-output-port port)))
(define (dump-palette file name)
  (let* ((port (open-output-file file)) (n (car (gimp-palette-get-info name))) (i 0))
    (display n port) (display " " port) (display (car (gimp-palette-get-columns name)) port)
    (while (< i n)
      (let ((c (car (gimp-palette-entry-get-color name i))))
        (display " " port) (display (car c) port) (display " " port) (display (cadr c) port)
        (display " " port) (display (caddr c) port))
      (set! i (+ i 1)))
    (close-output-port port)))
)";

std::string schemestring(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// One GIMP batch run for every check (each start costs seconds): our
// gradients and palettes are installed in a fresh configuration, and GIMP
// writes its samples of them, and of its own collection, to files.
class Gimp : public ::testing::Test {
  protected:
    struct Collected {
        std::string dump;     // the file GIMP's samples go to
        shell::Palette ours;  // what our reader makes of it
    };

    static void SetUpTestSuite() {
        scratch = new shell::testing::ScratchDir;
        log = new std::string;
        collection = new std::map<std::string, Collected>;
        std::string config = scratch->path("config");
        std::string gradients = config + "/GIMP/2.10/gradients";
        std::string palettes = config + "/GIMP/2.10/palettes";
        std::string dumps = scratch->path("dumps");
        std::string mkdir = "mkdir -p " + gradients + " " + palettes + " " + dumps;
        ASSERT_EQ(std::system(mkdir.c_str()), 0);

        std::string script = kDumpFunctions;
        auto dump = [&](const char* what, const std::string& file, const std::string& name) {
            script += std::string("(catch #f (") + what + " " + schemestring(dumps + "/" + file) +
                      " " + schemestring(name) + "))\n";
        };
        for (const Ours& o : ours()) {
            std::string n = o.name;
            writefile(gradients + "/" + n + ".ggr",
                      encodepalette(Format::ggr, o.palette, "Ggr" + n, "").value());
            writefile(gradients + "/" + n + ".svg",
                      encodepalette(Format::svg, o.palette, "Svg" + n, "desc").value());
            writefile(palettes + "/" + n + ".gpl",
                      encodepalette(Format::gpl, o.palette, "Gpl" + n, "desc\nlines").value());
            dump("dump-gradient", "ggr" + n, "Ggr" + n);
            dump("dump-gradient", "svg" + n, "Svg" + n);
            dump("dump-palette", "gpl" + n, "Gpl" + n);
        }
        // GIMP's own collection, and the gradient of every blend type.
        std::vector<std::string> files;
        if (DIR* d = opendir(kGimpGradients)) {
            while (dirent* e = readdir(d)) {
                std::string f = e->d_name;
                if (f.size() > 4 && f.substr(f.size() - 4) == ".ggr")
                    files.push_back(std::string(kGimpGradients) + "/" + f);
            }
            closedir(d);
        }
        writefile(gradients + "/EveryBlend.ggr", kEveryBlend);
        files.push_back(gradients + "/EveryBlend.ggr");
        for (size_t k = 0; k < files.size(); ++k) {
            shell::Palette p{};
            const auto r = decodepalette(readfile(files[k]), files[k], p);
            EXPECT_TRUE(r.ok()) << files[k] << ": " << r.error().reason;
            if (!r.ok()) continue;
            std::string file = "collection" + std::to_string(k);
            (*collection)[files[k]] = {file, p};
            dump("dump-gradient", file, r.value().name);
        }
        writefile(scratch->path("all.scm"), script);

        std::string env = "XDG_CONFIG_HOME=" + config +
                          " XDG_CACHE_HOME=" + scratch->path("cache") +
                          " XDG_DATA_HOME=" + scratch->path("data");
        std::string command = env + " timeout 300 gimp-console-2.10 -i -n -f -b " + "'(load \"" +
                              scratch->path("all.scm") + "\")' " + "-b '(gimp-quit 0)' 2>&1";
        ran = capture(command, *log);
    }
    static void TearDownTestSuite() {
        delete collection;
        delete scratch;
        delete log;
    }

    // What GIMP wrote for one dump; empty when it failed.
    static std::vector<double> dumped(const std::string& file) {
        return numbersof(readfile(scratch->path("dumps/" + file)));
    }

    static shell::testing::ScratchDir* scratch;
    static std::map<std::string, Collected>* collection;  // by file
    static bool ran;
    static std::string* log;  // what GIMP printed
};

shell::testing::ScratchDir* Gimp::scratch = nullptr;
std::map<std::string, Gimp::Collected>* Gimp::collection = nullptr;
bool Gimp::ran = false;
std::string* Gimp::log = nullptr;

TEST_F(Gimp, LoadsOurGradientsAndPalettes) {
    ASSERT_TRUE(ran) << "gimp-console-2.10 failed:\n" << *log;
    for (const Ours& o : ours()) {
        std::string n = o.name;
        // Uniform samples of a gradient of 255 segments: ±1 for GIMP's own
        // rounding of the sampled positions.
        EXPECT_LE(farthest(dumped("ggr" + n), 4, o.palette), 1) << n << ".ggr";
        EXPECT_LE(farthest(dumped("svg" + n), 4, o.palette), 1) << n << ".svg";
        // The palette: its count, its columns, and every entry exactly.
        std::vector<double> gpl = dumped("gpl" + n);
        ASSERT_EQ(gpl.size(), 2u + 3 * 256) << n << ".gpl";
        EXPECT_EQ(gpl[0], 256);
        EXPECT_EQ(gpl[1], 16);
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(gpl[2 + 3 * i + c], o.palette[i][c]) << n << " entry " << i;
    }
}

TEST_F(Gimp, OurGradientReaderAgreesWithGimpOnItsOwnCollection) {
    ASSERT_TRUE(ran) << "gimp-console-2.10 failed:\n" << *log;
    // The kinds of segment the compared gradients must include between them:
    // every blend but linear, and both HSV colourings.
    std::set<std::string> needed = {"blend 1", "blend 2",     "blend 3",    "blend 4",
                                    "blend 5", "colouring 1", "colouring 2"};
    for (const auto& [file, c] : *collection) {
        EXPECT_LE(farthest(dumped(c.dump), 4, c.ours), 1) << file;
        std::istringstream lines(readfile(file));
        std::string line;
        while (std::getline(lines, line)) {
            std::vector<std::string> fields;
            std::istringstream words(line);
            for (std::string w; words >> w;) fields.push_back(w);
            if (fields.size() < 13) continue;
            needed.erase("blend " + fields[11]);
            needed.erase("colouring " + fields[12]);
        }
    }
    EXPECT_GE(collection->size(), 11u);
    EXPECT_TRUE(needed.empty()) << *needed.begin();
}

// ---------------------------------------------------------------- ImageMagick

class Peers : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(scratch.ok()); }
    std::string put(const std::string& name, const std::string& bytes) {
        writefile(scratch.path(name), bytes);
        return scratch.path(name);
    }
    shell::testing::ScratchDir scratch;
};

TEST_F(Peers, ImageMagickDecodesOurStripAndItsFirstRowIsTheColourTable) {
    for (const Ours& o : ours()) {
        std::string png =
            put("strip.png", encodepalette(Format::png, o.palette, o.name, "d").value());
        std::string act = encodepalette(Format::act, o.palette, o.name, "d").value();
        std::string out;
        ASSERT_TRUE(capture("convert " + png + " -crop 256x1+0+0 -depth 8 rgb:-", out));
        EXPECT_EQ(out, act) << o.name;
        // Every row is the palette.
        ASSERT_TRUE(capture("convert " + png + " -crop 256x1+0+15 -depth 8 rgb:-", out));
        EXPECT_EQ(out, act) << o.name;
        ASSERT_TRUE(
            capture("identify -format '%w %h %[png:IHDR.color-type-orig] "
                    "%[png:IHDR.bit-depth-orig] %[Title] %[Description]' " +
                        png,
                    out));
        EXPECT_EQ(out, "256 16 2 8 " + std::string(o.name) + " d");
    }
}

TEST_F(Peers, OurPngReaderTakesThePixelFormatsImageMagickWrites) {
    auto make = [](auto colour) {
        shell::Palette p;
        for (int i = 0; i < 256; ++i) p[i] = colour(i);
        return p;
    };
    const shell::Palette grey = make([](int i) {
        return std::array<uint8_t, 3>{uint8_t(i), uint8_t(i), uint8_t(i)};
    });
    const shell::Palette sixteen = make([](int i) {
        uint8_t c = uint8_t(i / 16 * 17);
        return std::array<uint8_t, 3>{c, uint8_t(255 - c), uint8_t(c * 3)};
    });
    const shell::Palette bilevel = make([](int i) {
        uint8_t c = i < 128 ? 0 : 255;
        return std::array<uint8_t, 3>{c, c, c};
    });
    const shell::Palette startup = testdata::startup();
    struct Variant {
        const shell::Palette* palette;
        const char* options;  // ImageMagick's, ending in the output's type
        const char* header;   // width, colour type, bit depth, interlacing
    };
    const Variant variants[] = {
        {&startup, "PNG48:", "256 2 16 0"},
        {&startup, "PNG32:", "256 6 8 0"},
        {&startup, "-interlace PNG PNG24:", "256 2 8 1"},
        // Each pixel twice: sampling at t = i/255 lands on a copy of entry i.
        {&startup, "-sample 512x1! PNG24:", "512 2 8 0"},
        {&grey, "-type Grayscale PNG:", "256 0 8 0"},
        {&grey, "-define png:bit-depth=16 -define png:color-type=0 PNG:", "256 0 16 0"},
        {&sixteen, "-define png:bit-depth=4 PNG8:", "256 3 4 0"},
        {&bilevel, "-type Bilevel PNG:", "256 0 1 0"},
    };
    for (const Variant& v : variants) {
        std::string source =
            put("source.png", encodepalette(Format::png, *v.palette, "x", "").value());
        std::string made = scratch.path("made.png");
        std::string out;
        ASSERT_TRUE(capture("convert " + source + " " + v.options + made, out)) << v.options;
        ASSERT_TRUE(
            capture("identify -format '%w %[png:IHDR.color-type-orig] "
                    "%[png:IHDR.bit-depth-orig] %[png:IHDR.interlace_method]' " +
                        made,
                    out));
        EXPECT_EQ(out.substr(0, std::string(v.header).size()), v.header) << v.options;
        shell::Palette back{};
        const auto r = decodepalette(readfile(made), made, back);
        ASSERT_TRUE(r.ok()) << v.options << ": " << r.error().reason;
        EXPECT_EQ(back, *v.palette) << v.options;
    }
}

// ---------------------------------------------------------------- Python

const char* const kPython = R"(
import json, sys
from PIL.GimpGradientFile import GimpGradientFile
for kind, path in zip(sys.argv[1::2], sys.argv[2::2]):
    if kind == 'ggr':
        data = GimpGradientFile(open(path, 'rb')).getpalette(256)[0]
        print(' '.join(str(b) for i, b in enumerate(data) if i % 4 != 3))
    else:
        with open(path, encoding='utf-8') as f:
            m = json.load(f)[0]
        with open(path + '.expected', encoding='utf-8', errors='replace') as f:
            name, description = f.read().split('\0')
        points = m['RGBPoints']
        same = m['Name'] == name and m['Description'] == description
        print(int(same), m['ColorSpace'], len(points),
              ' '.join(str(round(v * 255)) for v in points))
)";

TEST_F(Peers, PillowReadsOurGradientAndJsonOurColourMap) {
    // Text a JSON writer must escape: quotes, backslashes, control
    // characters, and a byte that is not UTF-8.
    const std::string description =
        "quoted \"x\" back\\slash\ttab\nline \x01 \xe6\x97\xa5 \xff end\n";
    std::string args;
    for (const Ours& o : ours()) {
        args += " ggr " + put(std::string(o.name) + ".ggr",
                              encodepalette(Format::ggr, o.palette, o.name, description).value());
        std::string json = put(std::string(o.name) + ".json",
                               encodepalette(Format::json, o.palette, o.name, description).value());
        put(std::string(o.name) + ".json.expected", std::string(o.name) + '\0' + description);
        args += " json " + json;
    }
    put("check.py", kPython);
    std::string out;
    ASSERT_TRUE(capture("/usr/bin/python3 " + scratch.path("check.py") + args, out)) << out;
    std::istringstream lines(out);
    for (const Ours& o : ours()) {
        std::string line;
        // Pillow's samples of the gradient.
        ASSERT_TRUE(std::getline(lines, line));
        std::vector<double> pillow = numbersof(line);
        for (double& v : pillow) v /= 255;
        EXPECT_LE(farthest(pillow, 3, o.palette), 1) << o.name << ".ggr";
        // The colour map: name and description intact, x rising from 0 to
        // 1 by one entry a point, and every entry.
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line.substr(0, 12), "1 RGB 1024 0") << o.name << ".json";
        std::vector<double> points = numbersof(line.substr(6));
        ASSERT_EQ(points.size(), 1025u);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(points[1 + 4 * i], i);
            for (int c = 0; c < 3; ++c) ASSERT_EQ(points[2 + 4 * i + c], o.palette[i][c]);
        }
    }
}

}  // namespace
