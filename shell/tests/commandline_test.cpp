#include "shell/io/commandline.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/headless/host.h"
#include "shell/headless/testing.h"

using namespace shell;

namespace {

ProgramDesc described(bool takesfile) {
    ProgramDesc d = shell::testing::idledesc();
    d.name = "demo";
    d.summary = "A demo.";
    d.keys = {{"C", "show the points"}, {"Esc", "end"}};
    d.takesfile = takesfile;
    return d;
}

CommandLine parse(const ProgramDesc& d, std::vector<const char*> args) {
    args.insert(args.begin(), "demo");
    return parsecommandline(d, int(args.size()), args.data());
}

// Whether `s` is exactly one line.
bool oneline(const std::string& s) {
    return !s.empty() && s.find('\n') == s.size() - 1;
}

}  // namespace

TEST(CommandLine, OutcomesForEachKindOfArgument) {
    struct Case {
        bool takesfile;
        std::vector<const char*> args;
        bool start;
        int exitcode;
        std::string file;
        std::string errpart;  // must appear in the one error line
    };
    const Case cases[] = {
        {false, {}, true, 0, "", ""},
        {true, {}, true, 0, "", ""},
        {true, {"a.map"}, true, 0, "a.map", ""},
        // After "--" a name that looks like an option is a file.
        {true, {"--", "--help"}, true, 0, "--help", ""},
        {true, {"-"}, true, 0, "-", ""},
        {true, {"a.map", "b.map"}, false, 2, "", "'b.map'"},
        {true, {""}, false, 2, "", "empty"},
        {false, {"x"}, false, 2, "", "'x'"},
        {false, {"--", "x"}, false, 2, "", "'x'"},
        {false, {"--bogus"}, false, 2, "", "'--bogus'"},
        {false, {"-x"}, false, 2, "", "'-x'"},
        {true, {"--help=1"}, false, 2, "", "'--help=1'"},
        // The first decisive argument wins.
        {false, {"--bogus", "--help"}, false, 2, "", "'--bogus'"},
        {false, {"--version", "--bogus"}, false, 0, "", ""},
        {false, {"x", "--version"}, false, 2, "", "'x'"},
    };
    for (const Case& c : cases) {
        std::string label;
        for (const char* a : c.args) label += std::string(" [") + a + "]";
        const CommandLine r = parse(described(c.takesfile), c.args);
        EXPECT_EQ(r.start, c.start) << label;
        EXPECT_EQ(r.exitcode, c.exitcode) << label;
        EXPECT_EQ(r.file, c.file) << label;
        if (c.errpart.empty()) {
            EXPECT_EQ(r.err, "") << label;
        } else {
            EXPECT_TRUE(oneline(r.err)) << label << ": " << r.err;
            EXPECT_EQ(r.err.rfind("demo: ", 0), 0u) << label;
            EXPECT_NE(r.err.find(c.errpart), std::string::npos) << label << ": " << r.err;
            EXPECT_EQ(r.out, "") << label;
        }
    }
}

TEST(CommandLine, HelpAndVersionText) {
    const CommandLine v = parse(described(false), {"--version"});
    EXPECT_EQ(v.out, std::string("demo ") + programversion() + "\n");
    EXPECT_STREQ(programversion(), "1.0.0");

    for (const char* opt : {"--help", "-h"}) {
        const CommandLine h = parse(described(true), {opt});
        EXPECT_FALSE(h.start);
        EXPECT_EQ(h.exitcode, 0);
        EXPECT_EQ(h.err, "");
        EXPECT_EQ(h.out, helptext(described(true)));
    }
    const std::string file = helptext(described(true));
    EXPECT_EQ(file.rfind("Usage: demo [OPTION]... [FILE]\nA demo.\n", 0), 0u) << file;
    EXPECT_NE(file.find("      --version  show the version and exit\n"), std::string::npos);
    // Keys line up in one column.
    EXPECT_NE(file.find("  C    show the points\n  Esc  end\n"), std::string::npos) << file;
    const std::string nofile = helptext(described(false));
    EXPECT_EQ(nofile.rfind("Usage: demo [OPTION]...\n", 0), 0u) << nofile;
}

TEST(CommandLine, OptionsWithAValue) {
    ProgramDesc d = described(true);
    d.options = {{"--go", "FILE.loc", "start there"}};
    struct Case {
        std::vector<const char*> args;
        int exitcode;
        std::string go, file, errpart;
    };
    const Case cases[] = {
        {{"--go", "a.loc"}, 0, "a.loc", "", ""},
        {{"--go=a.loc", "b.map"}, 0, "a.loc", "b.map", ""},
        {{"b.map", "--go", "a.loc"}, 0, "a.loc", "b.map", ""},
        {{"--go", "a.loc", "--go", "c.loc"}, 0, "c.loc", "", ""},  // the last counts
        // A value that looks like an option is still the value.
        {{"--go", "--help"}, 0, "--help", "", ""},
        {{"--go"}, 2, "", "", "'--go' needs FILE.loc"},
        {{"--go="}, 2, "", "", "'--go' needs FILE.loc"},
        {{"--gone"}, 2, "", "", "unknown option '--gone'"},
        {{"--", "--go"}, 0, "", "--go", ""},
    };
    for (const Case& c : cases) {
        const CommandLine r = parse(d, c.args);
        EXPECT_EQ(r.exitcode, c.exitcode) << c.args[0];
        EXPECT_EQ(r.start, c.exitcode == 0) << c.args[0];
        EXPECT_EQ(r.file, c.file) << c.args[0];
        EXPECT_EQ(r.options.count("--go") ? r.options.at("--go") : "", c.go) << c.args[0];
        if (!c.errpart.empty()) {
            EXPECT_NE(r.err.find(c.errpart), std::string::npos) << r.err;
        }
    }
    // The help lists the option with its value, the column widened to fit.
    EXPECT_NE(helptext(d).find("  -h, --help         show this help and exit\n"
                               "      --version      show the version and exit\n"
                               "      --go FILE.loc  start there\n"),
              std::string::npos)
        << helptext(d);
}

TEST(CommandLine, TheHostHandsTheFileAndOptionsToTheProgramBeforeItIsCreated) {
    struct Recorder : Program {
        std::string seen, go;
        int proc(Window&, const Message& m) override {
            if (m.msg == Msg::create) {
                seen = startfile;
                go = startoptions.count("--go") ? startoptions.at("--go") : "";
            }
            return 0;
        }
    };
    ProgramDesc d = described(true);
    d.startfile = "/tmp/palette.map";
    d.startoptions["--go"] = "/tmp/here.loc";
    d.make = [] { return std::make_unique<Recorder>(); };
    headless::Host h(d);
    EXPECT_EQ(h.as<Recorder>().seen, "/tmp/palette.map");
    EXPECT_EQ(h.as<Recorder>().go, "/tmp/here.loc");
}

TEST(CommandLine, ScaleOption) {
    struct Case {
        std::vector<const char*> args;
        int scale;            // 0: not given
        std::string errpart;  // empty when it starts
        std::string file;
    };
    const Case cases[] = {
        {{}, 0, "", ""},
        {{"--scale", "2"}, 2, "", ""},
        {{"--scale=3", "a.map"}, 3, "", "a.map"},
        {{"--scale", "1", "--scale", "2"}, 2, "", ""},
        {{"a.map", "--scale", "2"}, 2, "", "a.map"},
        {{"--scale"}, 0, "needs a number", ""},
        {{"--scale", "0"}, 0, "'0'", ""},
        {{"--scale", "4"}, 0, "'4'", ""},
        {{"--scale=+2"}, 0, "'+2'", ""},
        {{"--scale", "2.0"}, 0, "'2.0'", ""},
        {{"--scale="}, 0, "''", ""},
        // After "--" it is a file.
        {{"--", "--scale"}, 0, "", "--scale"},
    };
    for (const Case& c : cases) {
        std::string label;
        for (const char* a : c.args) label += std::string(" [") + a + "]";
        const CommandLine r = parse(described(true), c.args);
        EXPECT_EQ(r.start, c.errpart.empty()) << label;
        EXPECT_EQ(r.scale, c.scale) << label;
        EXPECT_EQ(r.file, c.file) << label;
        if (!c.errpart.empty()) {
            EXPECT_EQ(r.exitcode, 2) << label;
            EXPECT_TRUE(oneline(r.err)) << label << ": " << r.err;
            EXPECT_NE(r.err.find(c.errpart), std::string::npos) << label << ": " << r.err;
        }
    }
    EXPECT_NE(helptext(described(false)).find("--scale N"), std::string::npos);
}

// The first source that names a scale decides; the display is asked only
// when nothing else says anything, since asking it opens a connection.
TEST(Scale, ChosenFromTheFirstSourceThatSaysSomething) {
    struct Case {
        int option;
        const char* tools;
        const char* gdk;
        double dpi;  // what the display reports, 0 for nothing
        int want;
        bool asksdisplay;
    };
    const Case cases[] = {
        {0, nullptr, nullptr, 0, 1, true},
        {2, "3", "3", 288, 2, false},
        {0, "3", "2", 96, 3, false},
        {0, nullptr, "2", 96, 2, false},
        {0, "", "2", 96, 2, false},     // an empty variable says nothing
        {0, "1.5", "x", 192, 2, true},  // nor does a fraction or a word
        {0, "0", nullptr, 192, 2, true},
        {0, "9", nullptr, 96, 3, false},  // too large: the largest
        {0, nullptr, nullptr, 96, 1, true},
        {0, nullptr, nullptr, 143, 1, true},  // 1.49 rounds to 1
        {0, nullptr, nullptr, 144, 2, true},  // 1.5 rounds up
        {0, nullptr, nullptr, 192, 2, true},
        {0, nullptr, nullptr, 288, 3, true},
        {0, nullptr, nullptr, 960, 3, true},
        {0, nullptr, nullptr, 30, 1, true},  // at least 1
    };
    for (const Case& c : cases) {
        bool asked = false;
        const int got = choosescale(c.option, c.tools, c.gdk, [&] {
            asked = true;
            return c.dpi;
        });
        const std::string label = std::to_string(c.option) + " " + (c.tools ? c.tools : "-") + " " +
                                  (c.gdk ? c.gdk : "-") + " " + std::to_string(c.dpi);
        EXPECT_EQ(got, c.want) << label;
        EXPECT_EQ(asked, c.asksdisplay) << label;
    }
}

TEST(Scale, XftDpiFromTheResourceDatabase) {
    struct Case {
        const char* text;
        std::optional<double> want;
    };
    const Case cases[] = {
        {"", std::nullopt},
        {"Xft.dpi:\t192\n", 192},
        {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 144},
        {"Xft.dpi: 96\nXft.dpi: 192", 192},  // the last setting holds
        {"  Xft.dpi :  120.5  \r\n", 120.5},
        {"Xft.dpi:\tlarge\n", std::nullopt},
        {"Xft.dpi:\t-192\n", std::nullopt},
        {"Xft.dpi:\t192dpi\n", std::nullopt},
        {"Xft.dpix:\t192\n*dpi:\t192\nXft.dpi\n", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(xftdpi(c.text), c.want) << c.text;
}
