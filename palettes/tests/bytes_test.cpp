// The bytes of written files, where a peer reader or a quirk of the format
// depends on them.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "palettes/palettes.h"
#include "shell/headless/testing.h"
#include "testpalettes.h"

using namespace palettes;

namespace {

// Entries 0 and 1 of the gradient example in the GIMP documentation.
shell::Palette exampleentries() {
    shell::Palette p = testdata::startup();
    p[0] = {0, 0, 255};
    p[1] = {1, 7, 254};
    return p;
}

std::string lineof(const std::string& s, int n) {
    size_t at = 0;
    for (int i = 1; i < n; ++i) at = s.find('\n', at) + 1;
    return s.substr(at, s.find('\n', at) - at);
}

}  // namespace

TEST(Formats, TableNamesAndExtensions) {
    EXPECT_EQ(formats().front().format, Format::map);
    EXPECT_EQ(choosertype(info(Format::map)).name, "Fractint .map files (*.map)");
    EXPECT_EQ(choosertype(info(Format::ugr)).name, "Ultra Fractal gradient (*.ugr; *.gradient)");
    EXPECT_EQ(choosertype(info(Format::ugr)).patterns, "*.ugr;*.gradient");
    EXPECT_EQ(choosertypes(true).size(), 10u);
    EXPECT_EQ(choosertypes(false).at(1).patterns,
              "*.map;*.ggr;*.gpl;*.ugr;*.gradient;*.act;*.svg;*.png");
    const std::pair<const char*, Format> paths[] = {
        {"/a.b/Sun.MAP", Format::map}, {"x.gradient", Format::ugr}, {"x.Json", Format::json}};
    for (const auto& [path, format] : paths) {
        ASSERT_NE(formatofpath(path), nullptr) << path;
        EXPECT_EQ(formatofpath(path)->format, format) << path;
    }
    for (const char* path : {"/a.map/x", "x.", ".map", "x.jpeg"})
        EXPECT_EQ(formatofpath(path), nullptr) << path;
    EXPECT_EQ(findformat(".GGR")->format, Format::ggr);
    EXPECT_EQ(namefrompath("/tmp/v1.0/Sun set.ggr"), "Sun set");
    EXPECT_EQ(namefrompath("dir/.hidden"), ".hidden");
}

TEST(Bytes, GimpGradientHeaderAndSegments) {
    std::string ggr = encodepalette(Format::ggr, exampleentries(), "Sun set\n2", "").value();
    // Exactly this first line (one reader refuses a trailing space), a name
    // on one line, 255 segments.
    EXPECT_EQ(ggr.substr(0, 34), "GIMP Gradient\nName: Sun set 2\n255\n");
    EXPECT_EQ(lineof(ggr, 4),
              "0.000000 0.001961 0.003922 0.000000 0.000000 1.000000 1.000000 "
              "0.003922 0.027451 0.996078 1.000000 0 0 0 0");
    EXPECT_EQ(lineof(ggr, 258).substr(0, 26), "0.996078 0.998039 1.000000");
    EXPECT_EQ(ggr.back(), '\n');
}

TEST(Bytes, ColourTableAndKallesFraktalerLayout) {
    shell::Palette p = testdata::randompalette();
    std::string act = encodepalette(Format::act, p, "x", "d").value();
    ASSERT_EQ(act.size(), 768u);
    EXPECT_EQ(uint8_t(act[3 * 200 + 1]), p[200][1]);

    std::string kfp = encodepalette(Format::kfp, exampleentries(), "x", "d").value();
    EXPECT_EQ(kfp.substr(0, 24), "Colors: 255,0,0,254,7,1,");
    // Every line ends in CR LF, and no LF stands alone.
    size_t lf = 0, crlf = 0;
    for (size_t i = 0; i < kfp.size(); ++i)
        if (kfp[i] == '\n') ++lf, crlf += i > 0 && kfp[i - 1] == '\r';
    EXPECT_EQ(lf, 5u);
    EXPECT_EQ(crlf, lf);
    std::string colours = lineof(kfp, 1);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), ','), 768);
    EXPECT_EQ(colours.substr(colours.size() - 2), ",\r");
    EXPECT_NE(kfp.find("\r\nSmooth: 1\r\nIterDiv: 1.000000\r\n"), std::string::npos);
}

TEST(Bytes, CommentsCannotBeEndedByTheDescription) {
    std::string css =
        encodepalette(Format::css, exampleentries(), "a */ b", "x */ y\n*/\n**/ end").value();
    // The only comment end is the one that closes the comment.
    size_t close = css.find("*/");
    EXPECT_EQ(css.substr(close - 1, 4), " */\n");
    EXPECT_EQ(css.find("*/", close + 1), std::string::npos);
    EXPECT_NE(css.find("\n.a____b {\n"), std::string::npos);
    EXPECT_NE(css.find("\n    #0000ff 0%, #0107fe 0.3922%, "), std::string::npos);
    EXPECT_NE(css.find(" 100%);\n}\n"), std::string::npos);
}

// Numbers are written with "." whatever the locale says. The check needs a
// locale with a decimal comma: the system's German one, or one compiled for
// the test when the system has none.
TEST(Bytes, DecimalPointUnderACommaLocale) {
    const shell::Palette p = testdata::randompalette();
    const Format formats[] = {Format::ggr, Format::svg, Format::css, Format::json};
    std::vector<std::string> plain;
    for (Format f : formats) plain.push_back(encodepalette(f, p, "n", "d").value());

    shell::testing::ScratchDir scratch;
#ifdef _WIN32
    // Windows names its locales by language and country.
    if (!setlocale(LC_ALL, "German_Germany.1252")) GTEST_SKIP() << "no German locale";
#else
    if (!setlocale(LC_ALL, "de_DE.UTF-8")) {
        std::string made = scratch.path("de_DE.ISO-8859-1");
        std::string cmd = "localedef -i de_DE -f ISO-8859-1 " + made + " >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) setenv("LOCPATH", scratch.dir().c_str(), 1);
        if (!setlocale(LC_ALL, "de_DE.ISO-8859-1")) GTEST_SKIP() << "no German locale";
    }
#endif
    char buf[16];
    snprintf(buf, sizeof buf, "%.1f", 0.5);
    EXPECT_STREQ(buf, "0,5");  // the locale is in force
    for (size_t k = 0; k < std::size(formats); ++k)
        EXPECT_EQ(encodepalette(formats[k], p, "n", "d").value(), plain[k]) << info(formats[k]).key;
    // A file written under the locale reads back under it.
    shell::Palette back{};
    EXPECT_TRUE(decodepalette(plain[0], "x.ggr", back).ok());
    EXPECT_EQ(back, p);
    setlocale(LC_ALL, "C");
#ifndef _WIN32
    unsetenv("LOCPATH");
#endif
}
