// palette-convert as people run it: its exit codes, what it prints and the
// files it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "huewright/model/description.h"
#include "palettes/map.h"
#include "palettes/palettes.h"
#include "shell/headless/testing.h"
#include "testpalettes.h"

using namespace palettes;
using shell::testing::readfile;
using shell::testing::writefile;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

class Convert : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(scratch.ok() && logs.ok()); }

    // Runs the program with arguments already quoted for the shell.
    Outcome run(const std::string& args) {
        std::string out = logs.path("out"), err = logs.path("err");
        std::string cmd = std::string(PALETTE_CONVERT) + " " + args + " >" + out + " 2>" + err;
        int raw = std::system(cmd.c_str());
        return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readfile(out), readfile(err)};
    }
    std::string path(const std::string& name) const { return scratch.path(name); }

    // A failure: the status, one line on stderr, nothing on stdout, and the
    // folder as it was.
    void expectfailure(const Outcome& r, int status, const std::string& start,
                       const std::set<std::string>& entries) {
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_EQ(r.err.substr(0, start.size()), start);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.back(), '\n');
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(scratch.entries(), entries);
    }

    shell::testing::ScratchDir scratch;  // the files converted
    shell::testing::ScratchDir logs;     // what the program prints
};

}  // namespace

TEST_F(Convert, EveryReadableFormatToEveryWritableOne) {
    const shell::Palette p = testdata::startup();
    for (const FormatInfo& in : formats()) {
        if (!in.canread) continue;
        // Input files with a neutral extension: the content decides.
        std::string source = path(std::string("source_") + in.key + ".dat");
        std::string sourcebytes = encodepalette(in.format, p, "source", "Made by hand\n").value();
        writefile(source, sourcebytes);
        // The input's description travels where it has one.
        shell::Palette scratchpalette;
        std::string description =
            decodepalette(sourcebytes, "", scratchpalette).value().description;
        if (description.empty())
            description =
                "Converted from source_" + std::string(in.key) + ".dat (" + in.name + ")\n";
        for (const FormatInfo& out : formats()) {
            if (!out.canwrite) continue;
            std::string name = std::string("to_") + in.key;
            std::string target = path(name + "." + out.extensions.back());
            Outcome r = run(source + " " + target);
            ASSERT_EQ(r.status, 0) << in.key << " to " << out.key << ": " << r.err;
            EXPECT_EQ(r.out + r.err, "");
            // The palette came through whole: written again, it gives the
            // same bytes (and the readers give back every entry).
            EXPECT_EQ(readfile(target), encodepalette(out.format, p, name, description).value())
                << in.key << " to " << out.key;
        }
    }
}

TEST_F(Convert, DescriptionTravelsOrNamesTheSource) {
    const shell::Palette p = testdata::randompalette();
    writefile(path("a.map"), maptext(p, "Xo Gradient curve parameters\n\nRed: Sine\n"));
    ASSERT_EQ(run(path("a.map") + " " + path("b.gpl")).status, 0);
    std::string gpl = readfile(path("b.gpl"));
    EXPECT_NE(gpl.find("Name: b\nColumns: 16\n# Xo Gradient curve parameters\n#\n# Red: Sine\n"),
              std::string::npos);
    // Back to MAP: the same file again.
    ASSERT_EQ(run(path("b.gpl") + " " + path("c.map")).status, 0);
    EXPECT_EQ(readfile(path("c.map")), readfile(path("a.map")));

    writefile(path("d.act"), encodepalette(Format::act, p, "", "").value());
    ASSERT_EQ(run(path("d.act") + " " + path("e.map")).status, 0);
    EXPECT_EQ(readfile(path("e.map")), maptext(p, "Converted from d.act (Adobe colour table)\n"));

    // --to writes its format whatever the extension says.
    ASSERT_EQ(run("--to gpl " + path("a.map") + " " + path("f.txt")).status, 0);
    EXPECT_EQ(readfile(path("f.txt")).substr(0, 13), "GIMP Palette\n");
    ASSERT_EQ(run(path("a.map") + " --to=.ACT " + path("g.map")).status, 0);
    EXPECT_EQ(readfile(path("g.map")).size(), 768u);
}

TEST_F(Convert, FailuresSayOneLineAndWriteNothing) {
    writefile(path("bad.ggr"), "GIMP Gradient\n1\n0 0.5 1\n");
    writefile(path("bad.map"), "1 2 3\nnot a colour\n");
    writefile(path("good.map"), maptext(testdata::startup(), ""));
    writefile(path("old.gpl"), "old");
    const std::set<std::string> before = scratch.entries();
    const std::string p = path("");

    expectfailure(run(p + "bad.ggr " + p + "new.map"), 1,
                  "palette-convert: " + p +
                      "bad.ggr: Not a GIMP gradient: segment 1 has 3 numbers, 13 or 15 expected",
                  before);
    expectfailure(run(p + "bad.map " + p + "old.gpl"), 1,
                  "palette-convert: " + p + "bad.map: Not a MAP palette", before);
    EXPECT_EQ(readfile(p + "old.gpl"), "old");
    expectfailure(run(p + "missing.map " + p + "new.map"), 1,
                  "palette-convert: " + p + "missing.map: cannot be read: No such file", before);
    expectfailure(run(p + " " + p + "new.map"), 1,
                  "palette-convert: " + p + ": a folder, not a file", before);
    expectfailure(run(p + "good.map " + p + "nofolder/new.map"), 1,
                  "palette-convert: cannot write " + p + "nofolder/new.map", before);
    expectfailure(run(p + "good.map " + p + "new.txt"), 2,
                  "palette-convert: cannot tell the format", before);
    expectfailure(run(p + "good.map " + p + "new.png --to"), 2, "palette-convert: --to needs",
                  before);
    expectfailure(run("--to jpeg " + p + "good.map " + p + "new.png"), 2,
                  "palette-convert: unknown format \"jpeg\"", before);
    expectfailure(run(p + "good.map " + p + "new.map --frobnicate"), 2,
                  "palette-convert: unknown option \"--frobnicate\"", before);
    expectfailure(run(p + "good.map"), 2, "palette-convert: expected IN and OUT", before);
    expectfailure(run(""), 2, "palette-convert: expected IN and OUT", before);
}

TEST_F(Convert, RefusesToWriteOverItsInputByAnyName) {
    const std::string gradient = "GIMP Gradient\n1\n0 0.5 1 0 0 0 1 1 1 1 1 0 0\n";
    writefile(path("a.ggr"), gradient);
    ASSERT_EQ(symlink("a.ggr", path("link.ggr").c_str()), 0);
    ASSERT_EQ(link(path("a.ggr").c_str(), path("hard.ggr").c_str()), 0);
    const std::set<std::string> before = scratch.entries();
    for (const std::string& out :
         {path("a.ggr"), path("link.ggr"), path("hard.ggr"), scratch.dir() + "/./a.ggr"}) {
        expectfailure(run(path("a.ggr") + " " + out), 2,
                      "palette-convert: will not write over the input: " + out, before);
        EXPECT_EQ(readfile(path("a.ggr")), gradient);
    }
    expectfailure(run("--to map " + path("link.ggr") + " " + path("hard.ggr")), 2,
                  "palette-convert: will not write over the input", before);
}

TEST_F(Convert, SaysWhenAPaletteLosesColoursAndTheFileSaysItToo) {
    // A collection's palette of 448 named colours.
    std::string gpl = "GIMP Palette\nName: Named\nColumns: 8\n# From a collection\n";
    for (int i = 0; i < 448; ++i)
        gpl += std::to_string(i % 256) + " " + std::to_string(i / 2 % 256) + " 7\tColour " +
               std::to_string(i) + "\n";
    writefile(path("named.gpl"), gpl);
    Outcome r = run(path("named.gpl") + " " + path("named.map"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "palette-convert: " + path("named.gpl") + ": 448 colours; the first 256 are kept\n");
    const std::string map = readfile(path("named.map"));
    const std::string trailer =
        "255 127 7\n\nFrom a collection\n448 colours; the first 256 are kept\n";
    EXPECT_EQ(map.substr(map.size() - trailer.size()), trailer);
}

TEST_F(Convert, ListHelpAndVersion) {
    Outcome list = run("--list");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("ggr    yes   yes   .ggr             GIMP gradient\n"),
              std::string::npos)
        << list.out;
    EXPECT_NE(list.out.find("css    no    yes   .css             CSS gradient\n"),
              std::string::npos);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1 + int(formats().size()));

    Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 44), "Usage: palette-convert [--to FORMAT] IN OUT\n");

    Outcome version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "palette-convert 1.0.0\n");
    EXPECT_EQ(list.err + help.err + version.err, "");
}

TEST_F(Convert, CurvesPrintsWhatEitherDesignerSavedOrFails) {
    huewright::Model m;
    std::string description;
    huewright::writedescription(description, m.p, m.stretchflag);
    const shell::Palette p = testdata::startup();
    writefile(path("hue.map"), maptext(p, description));
    // The description travels into a GIMP palette's comments, and is found
    // there too.
    ASSERT_EQ(run(path("hue.map") + " " + path("hue.gpl")).status, 0);
    for (const char* name : {"hue.map", "hue.gpl"}) {
        const Outcome r = run("--curves " + path(name));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out,
                  "gradient curves\n"
                  "red: Sine ct=0 sp=1 xsh=165 amp=255 ysh=0\n"
                  "green: Sine ct=0 sp=1 xsh=90 amp=255 ysh=0\n"
                  "blue: Sine ct=0 sp=1 xsh=0 amp=255 ysh=0\n");
    }

    std::string spline;
    for (int i = 0; i < 768; ++i) spline += "1 2 3\n";
    for (const char* channel : {"Red", "Green", "Blue"}) {
        spline += std::string("\n") + channel + "\n";
        for (int j = 0; j < 7; ++j)
            spline += "dp[" + std::to_string(j) + "][0]: " + std::to_string(100 * j) + ".0  dp[" +
                      std::to_string(j) + "][1]: 300.5\n";
    }
    writefile(path("knots.map"), maptext(p, spline + "\nInversion: True"));
    const Outcome k = run("--curves " + path("knots.map"));
    EXPECT_EQ(k.status, 0) << k.err;
    EXPECT_EQ(k.out.substr(0, 74),
              "spline points, inversion on\nred: (0.0, 300.5) (100.0, 300.5) (200.0, 300.5");
    EXPECT_EQ(std::count(k.out.begin(), k.out.end(), '\n'), 4);

    writefile(path("plain.map"), maptext(p, ""));
    writefile(path("damaged.map"), maptext(p, "Xo Gradient curve parameters\n\nRed: Sine\n"));
    const Outcome none = run("--curves " + path("plain.map"));
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "palette-convert: " + path("plain.map") + ": no curves or points in it\n");
    const Outcome damaged = run("--curves " + path("damaged.map"));
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(damaged.err, "palette-convert: " + path("damaged.map") +
                               ": damaged gradient curves: Red: the line \"phase: …\" is "
                               "missing\n");
    EXPECT_EQ(none.out + damaged.out, "");
    EXPECT_EQ(run("--curves " + path("hue.map") + " " + path("x.map")).status, 2);
}
