// What the readers take from files other programs write, and how they refuse
// files that are not palettes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "palettes/palettes.h"
#include "testpalettes.h"

using namespace palettes;

namespace {

using Entry = std::array<uint8_t, 3>;

struct Sample {
    int entry;
    Entry colour;
};

struct Case {
    const char* what;
    std::string bytes;
    Format format;
    std::vector<Sample> samples;
};

std::string act772(int count) {
    std::string s(772, '\0');
    for (int i = 0; i < 256; ++i) s[3 * i] = static_cast<char>(i), s[3 * i + 2] = 9;
    s[768] = static_cast<char>(count >> 8);
    s[769] = static_cast<char>(count & 255);
    s[770] = s[771] = '\xff';
    return s;
}

// Entities that each hold ten of the one before: expanded, the stop colour
// would take ten gigabytes.
std::string entitybomb() {
    std::string s = "<!DOCTYPE svg [<!ENTITY e0 'xxxxxxxxxx'>";
    for (int k = 1; k < 10; ++k) {
        s += "<!ENTITY e" + std::to_string(k) + " '";
        for (int j = 0; j < 10; ++j) s += "&e" + std::to_string(k - 1) + ";";
        s += "'>";
    }
    return s + "]><svg><linearGradient><stop stop-color='&e9;'/></linearGradient></svg>";
}

const char* const kSvgHead =
    "<?xml version='1.0'?>\n<!DOCTYPE svg [ <!ENTITY x 'y'> ]>\n"
    "<!-- <linearGradient id='commented'> -->\n";

// wine's XML reader stops at a document type definition, which Windows' own
// reads; there a document that has one is left out.
bool readerlacksdtd(const shell::Result<PaletteInfo>& r) {
#ifdef _WIN32
    return !r.ok() &&
           r.error().reason.find("cannot read this document's definitions") != std::string::npos;
#else
    (void)r;
    return false;
#endif
}

}  // namespace

TEST(Readers, TakeWhatOtherProgramsWrite) {
    const Case cases[] = {
        {"ggr: no name, 13 fields, CR LF, step and end-point types",
         "GIMP Gradient\r\n2\r\n"
         "0 0.25 0.5 1 0 0 1 0 0 1 1 5 0\r\n"
         "0.5 0.75 1 1 1 1 1 0 0 0 1 0 0 3 1\r\n",
         Format::ggr,
         // Step: the left colour up to the middle, the right one after.
         // Types 3 and 1 take the background (white) and foreground (black),
         // linearly from t = 0.5.
         {{0, {255, 0, 0}},
          {63, {255, 0, 0}},
          {64, {0, 0, 255}},
          {128, {254, 254, 254}},
          {255, {0, 0, 0}}}},
        {"ggr: HSV both ways round",
         "GIMP Gradient\nName: hsv\n2\n"
         "0 0.25 0.5 1 0 0 1 0 0 1 1 0 1\n"
         "0.5 0.75 1 1 0 0 1 0 0 1 1 0 2\n",
         Format::ggr,
         // Red to blue counter-clockwise passes green (just past it at
         // entry 64, nearly at blue at 127), clockwise magenta.
         {{0, {255, 0, 0}}, {64, {0, 255, 2}}, {127, {0, 4, 255}}, {192, {252, 0, 255}}}},
        {"gpl: tabs, CR LF, blank lines, short",
         "GIMP Palette\r\nName: x\r\nColumns: 4\r\n\r\n"
         "# comment\r\n1\t2\t3\tone\r\n  4 5 6\r\n",
         Format::gpl,
         {{0, {1, 2, 3}}, {1, {4, 5, 6}}, {2, {0, 0, 0}}, {255, {0, 0, 0}}}},
        {"ugr: first gradient, cyclic, wrapped indexes, unknown keys",
         "; a comment\nnone {\nopacity:\n}\n"
         "two {\ngradient:\n  title=\"two words\" smooth=yes rotation=3\n"
         "  index=100 color=255\n  index=-100 color=16711680\n  index=700 color=255\n"
         "opacity:\n  index=0 opacity=255\n}\nthree {\ngradient:\n  index=0 color=0\n}\n",
         Format::ugr,
         // Index -100 wraps to 300 (blue); 700 wraps there too and makes it
         // red: every entry is red. The later blocks are not read.
         {{0, {255, 0, 0}}, {64, {255, 0, 0}}, {255, {255, 0, 0}}}},
        {"ugr: a collection's file, wrapped between indexes and their colours",
         "Four {\r\ngradient:\r\n  title=\"Four\" smooth=no index=0 color=255 index=100\r\n"
         "  color=65280 index=200 color=16711680 rotation=1 index=300\r\n"
         "  color=16777215\r\nopacity:\r\n  smooth=no index=0 opacity=255\r\n}\r\n",
         Format::ugr,
         // Entries 0, 64, 128 and 192 stand at indexes 0, 100, 200 and 300.
         {{0, {255, 0, 0}}, {32, {128, 128, 0}}, {64, {0, 255, 0}}, {192, {255, 255, 255}}}},
        {"ugr: halfway across the wrap",
         "g {\ngradient:\n index=100 color=255\n index=300 color=16711680\n}\n",
         Format::ugr,
         {{0, {128, 0, 128}}, {64, {255, 0, 0}}, {192, {0, 0, 255}}}},
        {"gpl: old Macintosh line ends",
         "GIMP Palette\rName: mac\r#\r  1   2   3\tfirst\r\r4 5 6\r",
         Format::gpl,
         {{0, {1, 2, 3}}, {1, {4, 5, 6}}, {2, {0, 0, 0}}}},
        {"act: the count leaves the rest black",
         act772(16),
         Format::act,
         {{15, {15, 0, 9}}, {16, {0, 0, 0}}}},
        {"svg: prefixes, styles, percentages, names, a referenced gradient",
         std::string(kSvgHead) +
             "<svg:svg xmlns:svg='http://www.w3.org/2000/svg'><svg:defs>"
             "<svg:linearGradient id='a&amp;b' xlink:href='#stops'/>"
             "<svg:linearGradient id=\"stops\">"
             "<svg:stop offset='0%' style='stop-opacity:1; stop-color : #F00'/>"
             "<svg:stop offset=\"25%\" stop-color=\"rgb(0, 100%, 0)\"></svg:stop>"
             "<svg:stop offset=\"0.2\" stop-color=\"Navy\"/>"
             "<svg:stop offset=\"+.8\" stop-color=\"#00ffff\" style=\"fill:red\"/>"
             "<svg:stop offset=\"1.5\" stop-color=\"rgb(255,255,255)\"/>"
             "</svg:linearGradient></svg:defs></svg:svg>",
         Format::svg,
         // The offset 0.2 below 25% is taken as 25%: green changes to navy
         // at once there.
         {{0, {255, 0, 0}},
          {63, {3, 252, 0}},
          {65, {0, 2, 129}},
          {204, {0, 255, 255}},
          {255, {255, 255, 255}}}},
    };
    for (const Case& c : cases) {
        shell::Palette p = testdata::marked();
        const auto r = decodepalette(c.bytes, "unnamed", p);
        if (readerlacksdtd(r)) continue;
        ASSERT_TRUE(r.ok()) << c.what << ": " << r.error().reason;
        EXPECT_EQ(r.value().format, c.format) << c.what;
        for (const Sample& s : c.samples)
            EXPECT_EQ(p[s.entry], s.colour) << c.what << " " << s.entry;
    }
}

TEST(Readers, RefuseWhatIsNotAPaletteWithOneLineAndChangeNothing) {
    struct Bad {
        std::string bytes;
        const char* filename;
        const char* error;  // the whole message, or its start
    };
    std::string huge = "\x89PNG\r\n\x1a\n";
    const Bad bad[] = {
        {"GIMP Gradient\nName: x\n1\n0 0.5 1 0 0 0 1 1 1 1 1\n", "x",
         "Not a GIMP gradient: segment 1 has 11 numbers, 13 or 15 expected"},
        {"GIMP Gradient\nName: x\n99999999999\n", "x",
         "Not a GIMP gradient: it claims 99999999999 segments"},
        {"GIMP Gradient\n2\n0 0.25 0.5 0 0 0 1 1 1 1 1 0 0\n", "x",
         "Not a GIMP gradient: segment 2 is missing"},
        {"GIMP Gradient\n1\n0 0.5 1 0 0 0 1 1 1 1 1 6 0\n", "x",
         "Not a GIMP gradient: segment 1 has the blend type \"6\", 0 to 5 expected"},
        {"GIMP Gradient\n1\n0 0.5 1 0 0 nan 1 1 1 1 1 0 0\n", "x",
         "Not a GIMP gradient: segment 1 has \"nan\" where a number belongs"},
        {"GIMP Gradient\n2\n0 0.2 0.4 0 0 0 1 1 1 1 1 0 0\n0.5 0.7 1 0 0 0 1 1 1 1 1 0 0\n", "x",
         "Not a GIMP gradient: segment 2 does not start where the one before ends"},
        {"GIMP Gradient\nx\n", "x", "Not a GIMP gradient: line 2 should give the number"},
        {"GIMP Palette\nName: x\n1 2 3 a\n4 300 6 b\n", "x",
         "Not a GIMP palette: line 4 is not a colour: three numbers 0 to 255 expected"},
        {"GIMP Palette\nName: x\n# nothing\n", "x", "Not a GIMP palette: it holds no colours"},
        {"u {\ngradient:\n index=0 color=16777216\n}\n", "x",
         "Not an Ultra Fractal gradient: line 3 has color=\"16777216\", 0 to 16777215 expected"},
        {"u {\ngradient:\n index=x color=1\n}\n", "x",
         "Not an Ultra Fractal gradient: line 3 has index=\"x\", a whole number expected"},
        {"u {\ngradient:\n title=\"empty\"\n}\n", "x",
         "Not an Ultra Fractal gradient: the gradient \"empty\" has no colours"},
        {std::string(700, '\x80'), "x.act",
         "Not an Adobe colour table: it has 700 bytes, 768 or 772 expected"},
        {act772(300), "x", "Not an Adobe colour table: it says it uses 300 colours"},
        {act772(0), "x", "Not an Adobe colour table: it says it uses 0 colours"},
        {huge, "x", "Not a PNG strip: "},
        {encodepalette(Format::png, testdata::startup(), "x", "").value().substr(0, 60), "x",
         "Not a PNG strip: "},
        {"<svg><rect/></svg>", "x", "Not an SVG gradient: it has no linearGradient element"},
        {"<svg><linearGradient id='g'/></svg>", "x",
         "Not an SVG gradient: its first linearGradient has no stops"},
        {"<svg><linearGradient><stop offset='0' stop-color='blurple'/></linearGradient></svg>", "x",
         "Not an SVG gradient: stop 1 has the colour \"blurple\", which is not understood"},
        // Text quoted from the file stays on the message's one line.
        {"<svg><linearGradient><stop stop-color='a&#13;&#10;b'/></linearGradient></svg>", "x",
         "Not an SVG gradient: stop 1 has the colour \"a  b\", which is not understood"},
        {"<svg><linearGradient><stop offset='half'/></linearGradient></svg>", "x",
         "Not an SVG gradient: stop 1 has the offset \"half\", a number or percentage expected"},
        {"<svg>\n<linearGradient><stop/></svg>", "x.svg",
         "Not an SVG gradient: line 2: mismatched tag"},
        {"<svg><linearGradient><stop stop-color='&unknown;'/>", "x.svg",
         "Not an SVG gradient: line 1: undefined entity"},
        {entitybomb(), "x.svg", "Not an SVG gradient: line 1: limit on input amplification"},
        {"hello\n", "x.txt", "Not a palette file: its content fits none of the formats"},
        {"1 2 3\nhello\n", "x", "Not a MAP palette: line 2: expected three numbers"},
        // A damaged MAP file of a colour table's size is still a MAP file.
        {"1 2 3\n" + std::string(762, 'x'), "x.map",
         "Not a MAP palette: line 2: expected three numbers"},
        {"", "x.css", "CSS gradient files cannot be read"},
    };
    for (const Bad& b : bad) {
        shell::Palette p = testdata::marked();
        const auto r = decodepalette(b.bytes, b.filename, p);
        EXPECT_FALSE(r.ok()) << b.error;
        if (!readerlacksdtd(r)) {
            EXPECT_EQ(r.error().reason.substr(0, strlen(b.error)), b.error);
        }
        EXPECT_EQ(r.error().reason.find('\n'), std::string::npos) << r.error().reason;
        EXPECT_EQ(p, testdata::marked()) << b.error;
    }
}

TEST(Readers, TheExtensionDecidesAndOnlyAnUntellingNameLeavesItToTheContent) {
    const std::string map = "1 2 3\n4 5 6\n";
    const std::string act = encodepalette(Format::act, testdata::marked(), "", "").value();
    const std::string ggr = encodepalette(Format::ggr, testdata::marked(), "g", "").value();
    struct Case {
        std::string bytes;
        const char* filename;
        std::optional<Format> format;
    };
    const Case cases[] = {
        {act, "table", Format::act},     {act, "table.bin", Format::act},
        {act, "table.MAP", Format::map}, {map, "x.act", Format::act},
        {map, "x.txt", Format::map},     {ggr, "/a.b/x", Format::ggr},
        {ggr, "x.map", Format::map},     {ggr, "x.Gradient", Format::ugr},
        {map, "x.css", Format::css},     {"hello", "x", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detectformat(c.bytes, c.filename), c.format) << c.filename;
}

TEST(Readers, SvgIsReadAsXmlWithCommentsCdataEntitiesAndEncodings) {
    struct Case {
        const char* what;
        std::string bytes;
        Entry first, last;  // entries 0 and 255
        const char *name, *description;
    };
    const Case cases[] = {
        {"a comment hides a stop, and markup in it",
         "<svg><desc>a <!-- x --> b</desc><linearGradient id='g'>"
         "<!-- <stop offset='0' stop-color='red'/> --><stop offset='0' stop-color='blue'/>"
         "</linearGradient></svg>",
         {0, 0, 255},
         {0, 0, 255},
         "g",
         "a  b"},
        {"CDATA is text, and hides markup",
         "<svg><desc><![CDATA[<linearGradient id='no'/> & more]]></desc>"
         "<linearGradient id='yes'><stop stop-color='lime'/></linearGradient></svg>",
         {0, 255, 0},
         {0, 255, 0},
         "yes",
         "<linearGradient id='no'/> & more"},
        {"entities of the document and references in a stop colour and the id",
         "<!DOCTYPE svg [<!ENTITY green '#00ff00'><!ENTITY name 'Sea &amp; sky'>]>"
         "<svg><linearGradient id='&name;'><stop offset='0' stop-color='&green;'/>"
         "<stop offset='1' stop-color='&#x23;f00'/></linearGradient></svg>",
         {0, 255, 0},
         {255, 0, 0},
         "Sea & sky",
         ""},
        {"a declared encoding",
         "<?xml version='1.0' encoding='ISO-8859-1'?><svg><desc>caf\xe9</desc>"
         "<linearGradient id='\xe9t\xe9'><stop stop-color='navy'/></linearGradient></svg>",
         {0, 0, 128},
         {0, 0, 128},
         "\xc3\xa9t\xc3\xa9",
         "caf\xc3\xa9"},
    };
    for (const Case& c : cases) {
        shell::Palette p = testdata::marked();
        const auto r = decodepalette(c.bytes, "x.svg", p);
        if (readerlacksdtd(r)) continue;
        ASSERT_TRUE(r.ok()) << c.what << ": " << r.error().reason;
        EXPECT_EQ(p[0], c.first) << c.what;
        EXPECT_EQ(p[255], c.last) << c.what;
        EXPECT_EQ(r.value().name, c.name) << c.what;
        EXPECT_EQ(r.value().description, c.description) << c.what;
    }
}

TEST(Readers, SmoothUgrIsACurveThroughEveryStopAroundTheCycle) {
    // Reds at indexes 0, 100, 200, 300 (entries 0, 64, 128, 192), and a
    // steep rise to a short plateau at 330 to 340 that a cubic overshoots.
    const char* const text =
        "s {\ngradient:\n  smooth=yes index=0 color=0 index=100 color=200\n"
        "  index=200 color=50 index=300 color=128 index=330 color=255\n"
        "  index=340 color=255\nopacity:\n}\n";
    shell::Palette p{};
    ASSERT_TRUE(decodepalette(text, "s.ugr", p).ok());
    int red[256];
    for (int i = 0; i < 256; ++i) red[i] = p[i][0];
    EXPECT_EQ((std::vector<int>{red[0], red[64], red[128], red[192]}),
              (std::vector<int>{0, 200, 50, 128}));
    // Not straight lines: halfway between two stops is not their mean.
    EXPECT_GT(std::abs(red[32] - 100), 3);
    // No kink at a stop: over three entries either side the curve turns
    // little, where straight lines would turn by 16 at entry 64.
    for (int at : {64, 128})
        EXPECT_LE(std::abs((red[at + 3] - red[at]) - (red[at] - red[at - 3])), 4) << at;
    // Around the cycle the curve goes on: the last entry is next to the first.
    EXPECT_LE(std::abs(red[255] - red[0]), 2);
    // The overshoot past 255 is clamped, not wrapped round to 0.
    for (int i = 211; i <= 217; ++i) EXPECT_EQ(red[i], 255) << i;
}
