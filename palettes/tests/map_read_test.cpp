// Reading MAP files: what loads, what fails, and how numbers are taken.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "palettes/map.h"
#include "palettes/palettes.h"
#include "shell/headless/testing.h"

using namespace palettes;

namespace {

using Entry = std::array<uint8_t, 3>;

// A palette that no load would produce by accident, to see what changed.
shell::Palette marked() {
    shell::Palette pal;
    for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(255 - i), 77};
    return pal;
}

std::string lines(int n, const char* end = "\n") {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += std::to_string(i) + " " + std::to_string(i / 2) + " " + std::to_string(255 - i) + end;
    return s;
}

bool parse(const std::string& s, shell::Palette& pal) {
    MapParser parser;
    parser.feed(s.data(), s.size());
    return parser.finish(pal);
}

void expectlines(const shell::Palette& pal, int n) {
    for (int i = 0; i < 256; ++i) {
        Entry want = i < n ? Entry{uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)} : Entry{0, 0, 0};
        ASSERT_EQ(pal[i], want) << "entry " << i;
    }
}

class MapReadFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(scratch.ok()); }
    // Reads with readpalettefile: the description, or "failed: " and what
    // the error says.
    static std::string read(const std::string& path, shell::Palette& pal) {
        const auto r = readpalettefile(path, pal);
        return r.ok() ? r.value().description : "failed: " + r.error().describe();
    }
    std::string put(const std::string& name, const std::string& content) {
        std::string p = scratch.path(name);
        shell::testing::writefile(p, content);
        return p;
    }
    shell::testing::ScratchDir scratch;
    const std::string& dir = scratch.dir();
};

}  // namespace

TEST(MapRead, FullAndShortFilesLoadWithMissingEntriesBlack) {
    shell::Palette pal = marked();
    ASSERT_TRUE(parse(lines(256), pal));
    expectlines(pal, 256);

    // Lines after the 256th are never looked at, not even a bad one.
    pal = marked();
    ASSERT_TRUE(parse(lines(256) + "\nnot a palette line\n1 2\n", pal));
    expectlines(pal, 256);

    // The B-spline designer's file: column table, data points and an
    // unterminated last line all lie beyond the palette.
    pal = marked();
    std::string spline = lines(256) + "\n" + lines(256) + lines(256) + lines(256) +
                         "\nRed\ndp[0][0]: 64.0  dp[0][1]: 256.0\n\nInversion: True";
    ASSERT_TRUE(parse(spline, pal));
    expectlines(pal, 256);

    pal = marked();
    ASSERT_TRUE(parse(lines(10), pal));
    expectlines(pal, 10);

    // A last line without its line end still counts.
    pal = marked();
    std::string s = lines(5);
    s.pop_back();
    ASSERT_TRUE(parse(s, pal));
    expectlines(pal, 5);

    pal = marked();
    ASSERT_TRUE(parse("", pal));
    expectlines(pal, 0);
}

TEST(MapRead, TrailingBlankLinesAndAnEndOfFileByteEndTheData) {
    struct Case {
        std::string text;
        int entries;
    };
    const Case cases[] = {
        {lines(224) + "\n", 224},                      // a collection's short file
        {lines(224, "\r\n") + "\r\n  \t\r\n\n", 224},  // several blank lines, CR LF
        {lines(224) + "   ", 224},                     // an unfinished blank last line
        {"   \n", 0},
        {"\r\n", 0},
        {lines(30) + "\x1a", 30},  // DOS end-of-file mark, then nothing
        {lines(30, "\r\n") + "\x1a" + "junk that text mode never read\n1 2\n", 30},
        {lines(30) + "\n\n\x1a\n1 2\n", 30},  // blank lines, then the mark
    };
    for (const Case& c : cases) {
        shell::Palette pal = marked();
        EXPECT_TRUE(parse(c.text, pal)) << c.text.substr(c.text.size() - 10);
        expectlines(pal, c.entries);
    }
}

TEST(MapRead, BadLinesFailAndChangeNothing) {
    const std::string bad[] = {
        lines(3) + "\n" + lines(3),       // an empty line, then more entries
        lines(3) + " \r\n\n" + lines(3),  // blank lines, then more entries
        lines(3) + "\n\n" + "1 2 x\n",    // blank lines, then a bad line
        lines(3) + "1 2\n",               // two numbers
        lines(3) + "1 2",                 // two numbers on an unfinished last line
        lines(3) + " \x1a\n",             // the end-of-file mark not at a line's start
        "1 2 x3\n",                       // a letter where the third number belongs
        "1, 2, 3\n",                      // commas
        "1 2 - 3\n",                      // a sign without its digits
        "1 2 +\n",
        std::string("1 2\0 3\n", 7),  // an embedded NUL ends the line's text
        "# comment\n" + lines(3),
    };
    for (const std::string& s : bad) {
        shell::Palette pal = marked();
        EXPECT_FALSE(parse(s, pal)) << s;
        EXPECT_EQ(pal, marked()) << s;
    }
}

TEST(MapRead, NumbersKeepTheirLowEightBits) {
    shell::Palette pal{};
    std::string text =
        "300 -5 12 a comment after the third number\n"
        "256 -1 -256\n"
        "  \t+7\t\v-0 0255\r\n"
        "1-2-3\n";
    text += std::string("4 5 6x anything\0 even NUL\n", 26);
    // Beyond the range of int the same rule holds, exactly: the number's
    // value modulo 256 (123456789012345678901234567890 mod 256 is 210).
    text +=
        "123456789012345678901234567890 -123456789012345678901234567890 "
        "000000000000000000000000000000000000000000000000000000000000000000000000000000001\n";
    text += "4294967296 4294967295 -2147483649\n";
    ASSERT_TRUE(parse(text, pal));
    EXPECT_EQ(pal[0], (Entry{44, 251, 12}));
    EXPECT_EQ(pal[1], (Entry{0, 255, 0}));
    EXPECT_EQ(pal[2], (Entry{7, 0, 255}));
    EXPECT_EQ(pal[3], (Entry{1, 254, 253}));
    EXPECT_EQ(pal[4], (Entry{4, 5, 6}));
    EXPECT_EQ(pal[5], (Entry{210, 46, 1}));
    EXPECT_EQ(pal[6], (Entry{0, 255, 255}));
    EXPECT_EQ(pal[7], (Entry{0, 0, 0}));
}

TEST(MapRead, OnePhysicalLineIsOneLineWhateverItsLength) {
    // A 5,000-character comment after the numbers, and 5,000 blanks before
    // them: each is one entry, and the next line is the next entry.
    std::string text =
        "1 2 3 " + std::string(5000, 'c') + "\n" + std::string(5000, ' ') + "4 5 6\n7 8 9\n";
    shell::Palette pal{};
    ASSERT_TRUE(parse(text, pal));
    EXPECT_EQ(pal[0], (Entry{1, 2, 3}));
    EXPECT_EQ(pal[1], (Entry{4, 5, 6}));
    EXPECT_EQ(pal[2], (Entry{7, 8, 9}));
    EXPECT_EQ(pal[3], (Entry{0, 0, 0}));
}

TEST(MapRead, PiecesOfAnySizeGiveTheSameResult) {
    std::string text = lines(200, "\r\n") + "  -12345678901234567890\t+300 7 rest\n" + lines(60);
    shell::Palette whole{};
    ASSERT_TRUE(parse(text, whole));
    for (size_t piece : {1, 2, 3, 7, 64}) {
        MapParser parser;
        for (size_t at = 0; at < text.size(); at += piece)
            parser.feed(text.data() + at, std::min(piece, text.size() - at));
        shell::Palette pal{};
        ASSERT_TRUE(parser.finish(pal)) << piece;
        EXPECT_EQ(pal, whole) << piece;
    }
}

TEST_F(MapReadFile, ReadsFilesOfEitherLineEndAndLongLinesAcrossReads) {
    shell::Palette pal = marked();
    ASSERT_EQ(read(put("unix.map", lines(256) + "\ntrailer\n"), pal), "trailer\n");
    expectlines(pal, 256);

    pal = marked();
    ASSERT_EQ(read(put("dos.map", lines(256, "\r\n") + "\r\ntrailer\r\n"), pal), "trailer\r\n");
    expectlines(pal, 256);

    // The file reader takes the file in blocks; a line that spans several
    // of them is still one line.
    pal = marked();
    std::string longline = std::string(200000, ' ') + "0 0 255\n";
    ASSERT_EQ(read(put("long.map", longline + lines(256).substr(8)), pal), "");
    expectlines(pal, 256);

    pal = marked();
    ASSERT_EQ(read(put("empty.map", ""), pal), "");
    expectlines(pal, 0);
}

TEST_F(MapReadFile, UnreadableFilesFailAndChangeNothing) {
    shell::Palette pal = marked();
    EXPECT_EQ(read(dir + "/missing.map", pal),
              "failed: missing.map: cannot be read: No such file or directory");
    const std::string folder = read(dir, pal);
    EXPECT_EQ(folder.substr(folder.size() - 22), ": a folder, not a file");
    EXPECT_EQ(read(put("bad.map", lines(100) + "1 2\n"), pal),
              "failed: bad.map: Not a MAP palette: line 101: expected three numbers");
    EXPECT_EQ(pal, marked());

    // Names are used as given: no upper-casing. (Windows' file names ignore
    // letter case, so there the other spelling finds the file.)
    put("Mixed.map", "9 9 9\n");
#ifndef _WIN32
    EXPECT_EQ(read(dir + "/MIXED.MAP", pal).substr(0, 19), "failed: MIXED.MAP: ");
#endif
    EXPECT_EQ(read(dir + "/Mixed.map", pal), "");
    EXPECT_EQ(pal[0], (Entry{9, 9, 9}));
}

TEST_F(MapReadFile, AValidFileLongerThanWhatIsKeptOpens) {
    // 256 lines and a trailer of whole kilobyte lines that runs past the
    // bytes kept in memory: the palette is whole, and the description keeps
    // the trailer's lines up to there.
    const std::string line = std::string(1023, 'x') + "\n";
    std::string megabyte;
    for (int k = 0; k < 1024; ++k) megabyte += line;
    const int megabytes = int(kMaxFileBytes >> 20) + 1;
    const std::string path = scratch.path("long.map");
    {
        std::ofstream f(path, std::ios::binary);
        f << lines(256) << "\n";
        for (int k = 0; k < megabytes; ++k) f << megabyte;
    }
    shell::Palette pal = marked();
    const auto r = readpalettefile(path, pal);
    ASSERT_TRUE(r.ok()) << r.error().describe();
    expectlines(pal, 256);
    const std::string& trailer = r.value().description;
    EXPECT_LE(trailer.size(), kMaxFileBytes);
    EXPECT_GT(trailer.size(), kMaxFileBytes - lines(256).size() - 2 * line.size());
    EXPECT_EQ(trailer.size() % line.size(), 0u);
    EXPECT_EQ(trailer.substr(0, line.size()), line);

    // Under the name of a format read whole, the same file is refused.
    const std::string gpl = scratch.path("long.gpl");
    ASSERT_EQ(std::rename(path.c_str(), gpl.c_str()), 0);
    EXPECT_EQ(read(gpl, pal), "failed: long.gpl: too large: more than 64 MiB");

    // A first line longer than what is kept: the lines after it are still
    // read.
    {
        std::ofstream f(path, std::ios::binary);
        f << "0 0 255 ";
        const std::string text(1 << 20, 'x');
        for (int k = 0; k < megabytes; ++k) f << text;
        f << "\n" << lines(256).substr(lines(1).size());
    }
    pal = marked();
    EXPECT_EQ(read(path, pal), "");
    expectlines(pal, 256);
}

TEST(MapRead, OldLineEndsEndLinesAndFailuresNameTheLine) {
    struct Case {
        std::string text;
        int entries;        // -1: the read fails
        const char* error;  // ... with this reason
    };
    const Case cases[] = {
        // Old Macintosh files end their lines in CR alone.
        {lines(256, "\r") + "\rtrailer\r", 256, ""},
        {lines(224, "\r") + "\r\r", 224, ""},
        // Text converted to DOS line ends twice.
        {lines(10, "\r\r\n") + "\r\r\n", 10, ""},
        {lines(3, "\r") + "\r" + lines(3, "\r"), -1, "line 5: a colour after a blank line"},
        {lines(3, "\r") + "1 2\r", -1, "line 4: expected three numbers"},
        {lines(16, "\r\n") + "1 2 x3\r\n", -1, "line 17: expected three numbers"},
    };
    for (const Case& c : cases) {
        // Whole, and byte by byte: a CR's line end may wait for the next piece.
        MapParser whole, bytes;
        whole.feed(c.text.data(), c.text.size());
        for (char b : c.text) bytes.feed(&b, 1);
        for (MapParser* parser : {&whole, &bytes}) {
            shell::Palette pal = marked();
            if (c.entries < 0) {
                EXPECT_FALSE(parser->finish(pal)) << c.error;
                EXPECT_EQ(parser->error(), c.error);
                EXPECT_EQ(pal, marked());
            } else {
                ASSERT_TRUE(parser->finish(pal)) << c.entries;
                expectlines(pal, c.entries);
            }
        }
    }
    const std::string mac = lines(256, "\r") + "\rtrailer\r";
    shell::Palette pal;
    EXPECT_EQ(decodepalette(mac, "mac.map", pal).value().description, "trailer\r");
}
