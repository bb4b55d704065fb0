#include "shell/io/commandline.h"

#include <gtest/gtest.h>

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
