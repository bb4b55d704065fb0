#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdarg>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "../files/tiff_images.h"
#include "../files/tiff_testutil.h"
#include "huewright/ui/screensave.h"
#include "shell/io/atomicfile.h"

using namespace huewright;
using namespace huewright::tifftest;

namespace {

const char* const startupdescription =
    "Xo Gradient curve parameters\n\n"
    "Red: Sine\nphase: 1\nindex shift: 165\namplitude: 255\nvertical shift: 0\n\n"
    "Green: Sine\nphase: 1\nindex shift: 90\namplitude: 255\nvertical shift: 0\n\n"
    "Blue: Sine\nphase: 1\nindex shift: 0\namplitude: 255\nvertical shift: 0\n";

// 15 June 2026, noon UTC.
std::time_t june15() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 5;
    t.tm_mday = 15;
    t.tm_hour = 12;
    return timegm(&t);
}

// A headless window that also notes the title and busy state at every
// message box, to see what the user sees when a box comes up.
class RecordingHost : public shell::headless::Host {
  public:
    using Host::Host;
    void messagebox(const std::string& text, const std::string& caption, shell::Icon icon,
                    bool owned) override {
        atbox.push_back({title(), busy()});
        Host::messagebox(text, caption, icon, owned);
    }
    std::vector<std::pair<std::string, bool>> atbox;
};

// libtiff's messages, so that a test can say which ones it expects.
std::vector<std::string> tifferrors;
void collect(const char* module, const char* fmt, va_list ap) {
    char buf[512];
    vsnprintf(buf, sizeof buf, fmt, ap);
    tifferrors.push_back(std::string(module ? module : "") + ": " + buf);
}

struct Decoded {
    bool ok = false;
    uint32_t width = 0, height = 0;
    uint16_t compression = 0, photometric = 0, samples = 0, bits = 0, unit = 0;
    float xres = 0, yres = 0;
    std::vector<uint8_t> pixels;
};

// Reads the file with libtiff: the fields the writer sets and the strip
// decoded to raw RGB bytes.
Decoded decode(const std::string& file) {
    Decoded d;
    TIFFSetErrorHandler(collect);
    TIFFSetWarningHandler(collect);
    // "c": no strip chopping, so that a raw file is still read as one strip.
    TIFF* t = TIFFOpen(file.c_str(), "rc");
    if (!t) return d;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &d.width);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &d.height);
    TIFFGetField(t, TIFFTAG_COMPRESSION, &d.compression);
    TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &d.photometric);
    TIFFGetField(t, TIFFTAG_SAMPLESPERPIXEL, &d.samples);
    TIFFGetField(t, TIFFTAG_BITSPERSAMPLE, &d.bits);
    TIFFGetField(t, TIFFTAG_XRESOLUTION, &d.xres);
    TIFFGetField(t, TIFFTAG_YRESOLUTION, &d.yres);
    TIFFGetField(t, TIFFTAG_RESOLUTIONUNIT, &d.unit);
    if (TIFFNumberOfStrips(t) == 1) {
        d.pixels.resize(size_t(d.width) * d.height * 3);
        const tmsize_t n = TIFFReadEncodedStrip(t, 0, d.pixels.data(), tmsize_t(d.pixels.size()));
        d.ok = n == tmsize_t(d.pixels.size());
    }
    TIFFClose(t);
    return d;
}

shell::Error error(shell::Fault fault) {
    return shell::Error{fault, "", ""};
}

std::vector<uint8_t> bytesof(const shell::Surface& s) {
    return std::vector<uint8_t>(s.data(), s.data() + size_t(s.width()) * s.height() * 3);
}

class TiffWriter : public ScratchFolder {
  protected:
    void TearDown() override {
        shell::setwritefailure(-1);
        ScratchFolder::TearDown();
    }
    // What the save came to: "ok", or the fault of its failure.
    std::string save(const shell::Surface& s, const std::string& file,
                     int compression = compression_lzw, const std::string& name = "Anonymous") {
        MetadataInputs meta{description, name, june15};
        const shell::Status r = writetiff(host, s, compression, file, meta);
        if (r.ok()) return "ok";
        const char* const faults[] = {"open", "read", "write", "memory", "content", "cancelled"};
        return faults[int(r.error().fault)];
    }
    RecordingHost host{idledesc()};
    std::string description = startupdescription;
};

}  // namespace

TEST_F(TiffWriter, LayoutOfHeaderDirectoryAndDataArea) {
    const shell::Surface pic = tiffimages::screenlike();
    ASSERT_EQ(save(pic, path("a.tif")), "ok");
    const std::string f = readfile(path("a.tif"));
    ASSERT_GT(f.size(), 2000u);

    const std::string header("\x49\x49\x2A\x00\x08\x00\x00\x00\x13\x00", 10);
    EXPECT_EQ(f.substr(0, 10), header);
    EXPECT_EQ(f.substr(10, 12),
              std::string("\x00\x01\x03\x00\x01\x00\x00\x00\x20\x03\x00\x00", 12));

    struct Expected {
        uint16_t tag, type;
        uint32_t count;
    };
    const Expected entries[19] = {
        {256, 3, 1}, {257, 3, 1},    {258, 3, 3},   {259, 3, 1},   {262, 3, 1},
        {270, 2, 0}, {273, 4, 1},    {277, 3, 1},   {278, 3, 1},   {279, 4, 1},
        {282, 5, 1}, {283, 5, 1},    {296, 3, 1},   {305, 2, 26},  {315, 2, 10},
        {700, 1, 0}, {33432, 2, 26}, {33723, 7, 0}, {34665, 4, 1},
    };
    uint32_t value[19];
    for (int e = 0; e < 19; ++e) {
        const size_t at = 10 + 12 * e;
        EXPECT_EQ(le16(f, at), entries[e].tag) << e;
        EXPECT_EQ(le16(f, at + 2), entries[e].type) << e;
        if (entries[e].count) {
            EXPECT_EQ(le32(f, at + 4), entries[e].count) << e;
        }
        value[e] = le32(f, at + 8);
    }
    EXPECT_EQ(le32(f, 238), 0u);
    EXPECT_EQ(value[1], 640u);
    EXPECT_EQ(value[2], 242u);
    EXPECT_EQ(value[3], 5u);
    EXPECT_EQ(value[4], 2u);
    EXPECT_EQ(value[7], 3u);
    EXPECT_EQ(value[8], 640u);
    EXPECT_EQ(value[12], 2u);
    EXPECT_EQ(f.substr(242, 6), std::string("\x08\x00\x08\x00\x08\x00", 6));

    // The data area: every size even, each field where its entry says.
    const uint32_t descsize = le32(f, 10 + 12 * 5 + 4), xmpsize = le32(f, 10 + 12 * 15 + 4),
                   iptcsize = le32(f, 10 + 12 * 17 + 4);
    EXPECT_EQ(description.size() + 1, descsize);
    for (uint32_t size : {descsize, xmpsize, iptcsize}) EXPECT_EQ(size % 2, 0u);
    EXPECT_EQ(value[5], 248u);
    EXPECT_EQ(f.substr(248, descsize), description + '\0');
    const uint32_t D = 248 + descsize;
    EXPECT_EQ(value[10], D);
    EXPECT_EQ(value[11], D + 8);
    EXPECT_EQ(f.substr(D, 16), std::string("\x2C\x01\0\0\x01\0\0\0\x2C\x01\0\0\x01\0\0\0", 16));
    EXPECT_EQ(f.substr(value[13], 26), std::string("CorvaneQuillbrookStudios \0", 26));
    EXPECT_EQ(f.substr(value[14], 10), std::string("Anonymous\0", 10));
    EXPECT_EQ(f.substr(value[16], 26), std::string("\xC2\xA9 6-15-2026 - Anonymous \0", 26));
    EXPECT_EQ(f.substr(value[17], 5), std::string("\x1C\x01\x5A\x00\x03", 5));
    // The Exif directory: three entries in tag order with their values in
    // place, then no further directory; the XMP packet follows it.
    EXPECT_EQ(value[18], value[17] + iptcsize);
    EXPECT_EQ(f.substr(value[18], 42), std::string("\x03\x00"
                                                   "\x00\x90\x07\x00\x04\x00\x00\x00"
                                                   "0232"
                                                   "\x00\xA0\x07\x00\x04\x00\x00\x00"
                                                   "0100"
                                                   "\x01\xA0\x03\x00\x01\x00\x00\x00"
                                                   "\x01\x00\x00\x00"
                                                   "\x00\x00\x00\x00",
                                                   42));
    EXPECT_EQ(value[15], value[18] + 42);
    EXPECT_EQ(f.substr(value[15], 16), "<?xpacket begin=");
    EXPECT_EQ(f[value[15] + xmpsize - 1], '\0');
    EXPECT_EQ(value[6], 306 + descsize + 26 + 10 + 26 + iptcsize + xmpsize);
    EXPECT_EQ(value[6], value[15] + xmpsize);
    // Readers want every field on a word boundary.
    for (int e : {2, 5, 6, 10, 11, 13, 14, 15, 16, 17, 18}) EXPECT_EQ(value[e] % 2, 0u) << e;
    // The compressed size was patched in: the strip runs to the end of the file.
    EXPECT_EQ(value[9], f.size() - value[6]);
    EXPECT_LT(value[9], 800u * 640 * 3 * 19 / 20);
    EXPECT_EQ(value[9] % 2, 0u);
    EXPECT_EQ(stripbytecountsoffset, 10 + 9 * 12 + 8);
}

TEST_F(TiffWriter, LibtiffReadsEveryPixelBack) {
    struct Case {
        std::string name;
        shell::Surface pic;
    };
    std::vector<Case> cases;
    cases.push_back({"screen", tiffimages::screenlike()});
    cases.push_back({"screen with preview", tiffimages::screenlike(true)});
    shell::Surface mset(257, 257);
    tiffimages::mandelbrot(mset, 0, 0, 257);
    cases.push_back({"mandelbrot", mset});
    shell::Surface tiny(7, 5);
    tiny.setpixel(1, 0, {255, 0, 0});
    tiny.setpixel(6, 4, {0, 0, 255});
    tiny.setpixel(3, 2, {0, 200, 0});
    cases.push_back({"tiny", tiny});
    cases.push_back({"one colour", shell::Surface(800, 640, {30, 60, 90})});
    // A one-colour picture whose last code ends exactly on a word boundary.
    for (int w = 8; w < 300; ++w) {
        shell::Surface s(w, 3, {200, 200, 200});
        const std::vector<uint8_t> b = bytesof(s);
        const auto ref = referencelzw(b.data(), b.size());
        if (!ref.refused && ref.bits % 16 == 0) {
            cases.push_back({"word boundary", s});
            break;
        }
    }
    ASSERT_EQ(cases.back().name, "word boundary");

    for (int compression : {compression_lzw, compression_none}) {
        for (const Case& c : cases) {
            const std::string file = path("p.tif");
            ASSERT_EQ(save(c.pic, file, compression), "ok") << c.name;
            tifferrors.clear();
            const Decoded d = decode(file);
            std::string messages;
            for (const std::string& e : tifferrors) messages += e + "\n";
            ASSERT_TRUE(d.ok) << c.name << "\n" << messages;
            EXPECT_EQ(messages, "") << c.name;
            EXPECT_EQ(d.width, uint32_t(c.pic.width()));
            EXPECT_EQ(d.height, uint32_t(c.pic.height()));
            EXPECT_EQ(d.compression, compression);
            EXPECT_EQ(d.photometric, PHOTOMETRIC_RGB);
            EXPECT_EQ(d.samples, 3);
            EXPECT_EQ(d.bits, 8);
            EXPECT_EQ(d.xres, 300.0f);
            EXPECT_EQ(d.yres, 300.0f);
            EXPECT_EQ(d.unit, RESUNIT_INCH);
            EXPECT_TRUE(d.pixels == bytesof(c.pic)) << c.name << " compression " << compression;
        }
    }

    // Uncompressed, the strip is the raw bytes and its count the raw size.
    const shell::Surface& tinypic = cases[3].pic;
    ASSERT_EQ(save(tinypic, path("raw.tif"), compression_none), "ok");
    const std::string f = readfile(path("raw.tif"));
    EXPECT_EQ(le32(f, stripbytecountsoffset), 7u * 5 * 3);
    const std::vector<uint8_t> raw = bytesof(tinypic);
    EXPECT_EQ(f.substr(le32(f, 10 + 6 * 12 + 8)), std::string(raw.begin(), raw.end()));
}

TEST_F(TiffWriter, TiffdumpAndExiftoolReadTheDirectoryAndMetadata) {
    ASSERT_EQ(save(tiffimages::screenlike(), path("m.tif"), compression_lzw, "Jo & Co"), "ok");
    bool ok = false;
    const std::string dump = run("tiffdump '" + path("m.tif") + "'", &ok);
    ASSERT_TRUE(ok) << dump;
    EXPECT_NE(dump.find("Directory 0: offset 8 (0x8) next 0 (0)"), std::string::npos);
    // Known tags print as "Name (number) TYPE", others as "number (0xhex) TYPE".
    std::vector<int> tags;
    std::istringstream lines(dump);
    const auto digits = [](const std::string& w) {
        return !w.empty() && w.find_first_not_of("0123456789") == std::string::npos;
    };
    for (std::string line; std::getline(lines, line);) {
        const size_t open = line.find(" (");
        const size_t close = line.find(')', open);
        if (open == std::string::npos || close == std::string::npos) continue;
        const std::string first = line.substr(0, open);
        const std::string inner = line.substr(open + 2, close - open - 2);
        if (digits(inner))
            tags.push_back(std::stoi(inner));
        else if (inner.rfind("0x", 0) == 0 && digits(first))
            tags.push_back(std::stoi(first));
    }
    EXPECT_EQ(tags, (std::vector<int>{256, 257, 258, 259, 262, 270, 273, 277, 278, 279, 282, 283,
                                      296, 305, 315, 700, 33432, 33723, 34665}));
    EXPECT_NE(dump.find("XResolution (282) RATIONAL (5) 1<300>"), std::string::npos);
    EXPECT_NE(dump.find("YResolution (283) RATIONAL (5) 1<300>"), std::string::npos);
    EXPECT_NE(dump.find("ResolutionUnit (296) SHORT (3) 1<2>"), std::string::npos);

    const std::string tags2 = run("exiftool -a -G1 -s '" + path("m.tif") + "'", &ok);
    ASSERT_TRUE(ok) << tags2;
    auto has = [&](const std::string& line) {
        EXPECT_NE(tags2.find(line), std::string::npos) << line << "\n" << tags2;
    };
    has("[XMP-dc]        Title                           : Xo Gradient Palettes\n");
    has("[XMP-dc]        Creator                         : Jo & Co\n");
    has("[XMP-dc]        Rights                          : \xC2\xA9 6-15-2026 - Jo & Co\n");
    has("[XMP-dc]        Description                     : Xo Gradient curve parameters..Red: "
        "Sine.phase: 1.");
    has("[XMP-xmp]       CreatorTool                     : CorvaneQuillbrookStudios\n");
    has("[XMP-xmpRights] Marked                          : True\n");
    has("[IPTC]          CodedCharacterSet               : UTF8\n");
    has("[IPTC]          ObjectName                      : Xo Gradient Palettes\n");
    has("[IPTC]          By-line                         : Jo & Co\n");
    has("[IPTC]          CopyrightNotice                 : \xC2\xA9 6-15-2026 - Jo & Co\n");
    has("[IPTC]          Caption-Abstract                : Xo Gradient curve parameters..Red:");
    has("[IFD0]          Artist                          : Jo & Co\n");
    has("[IFD0]          Software                        : CorvaneQuillbrookStudios\n");
    has("[IFD0]          XResolution                     : 300\n");

    has("[ExifIFD]       ExifVersion                     : 0232\n");
    has("[ExifIFD]       FlashpixVersion                 : 0100\n");
    has("[ExifIFD]       ColorSpace                      : sRGB\n");
}

// Other programs open what we write without a complaint: ImageMagick
// converts it, libtiff's tools list both directories, and exiftool's
// validation finds nothing wrong with the Exif directory.
TEST_F(TiffWriter, PeerToolsReadTheFileWithoutWarnings) {
    for (int compression : {compression_lzw, compression_none}) {
        const std::string file = path("peer.tif");
        ASSERT_EQ(save(tiffimages::screenlike(true), file, compression), "ok");
        const std::string q = "'" + file + "'";
        bool ok = false;
        // Only the messages: the picture goes to /dev/null.
        EXPECT_EQ(run("convert " + q + " png:- 2>&1 >/dev/null", &ok), "") << compression;
        EXPECT_TRUE(ok) << compression;
        EXPECT_EQ(run("tiffinfo " + q + " 2>&1 >/dev/null", &ok), "") << compression;
        EXPECT_TRUE(ok) << compression;

        const std::string f = readfile(file);
        const std::string exif = std::to_string(le32(f, 10 + 18 * 12 + 8));
        const std::string dump = run("tiffdump -o " + exif + " " + q + " 2>&1", &ok);
        EXPECT_TRUE(ok) << dump;
        EXPECT_NE(dump.find("Directory 0: offset " + exif + " "), std::string::npos) << dump;
        EXPECT_NE(dump.find("\n36864 (0x9000) UNDEFINED (7) 4<0x30 0x32 0x33 0x32>\n"
                            "40960 (0xa000) UNDEFINED (7) 4<0x30 0x31 0x30 0x30>\n"
                            "40961 (0xa001) SHORT (3) 1<1>\n"),
                  std::string::npos)
            << dump;

        // The one thing exiftool still notes is the IPTC record's field type:
        // it expects LONG, while the layout stores the record as UNDEFINED
        // bytes, which libtiff and exiftool both read.
        const std::string report = run("exiftool -validate -warning -a " + q + " 2>&1", &ok);
        EXPECT_TRUE(ok) << report;
        EXPECT_EQ(report.find("Exif"), std::string::npos) << report;
        std::istringstream lines(report);
        std::vector<std::string> warnings;
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("Warning", 0) == 0) warnings.push_back(line.substr(line.find(": ") + 2));
        EXPECT_EQ(warnings,
                  std::vector<std::string>{"Non-standard format (undef) for IFD0 0x83bb IPTC-NAA"})
            << report;
    }
}

TEST_F(TiffWriter, TitleCountsUpWhileBusyAndBothAreRestored) {
    host.settitle("Xo Gradient");
    std::vector<std::string> titles;
    bool alwaysbusy = true;
    host.onflush = [&] {
        titles.push_back(host.title());
        alwaysbusy = alwaysbusy && host.busy();
    };
    for (int compression : {compression_lzw, compression_none}) {
        titles.clear();
        ASSERT_EQ(save(tiffimages::screenlike(), path("t.tif"), compression), "ok");
        ASSERT_EQ(titles.size(), 100u);
        for (int i = 0; i < 100; ++i) EXPECT_EQ(titles[i], std::to_string(i + 1) + " %");
        EXPECT_TRUE(alwaysbusy);
        EXPECT_EQ(host.title(), "Xo Gradient");
        EXPECT_FALSE(host.busy());
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(TiffWriter, IneffectiveCompressionIsRefusedAndLeavesTheOldFile) {
    host.settitle("Xo Gradient");
    writefile(path("old.tif"), "old contents");
    for (const shell::Surface& pic : {tiffimages::noise(800, 640), shell::Surface(1, 1)}) {
        host.boxes.clear();
        host.atbox.clear();
        EXPECT_EQ(save(pic, path("old.tif")), "content");
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text,
                  "LZW compression ineffective for this image.\nPlease save in uncompressed "
                  "format.");
        EXPECT_EQ(host.boxes[0].caption, "TIFF LZW");
        EXPECT_EQ(host.boxes[0].icon, shell::Icon::exclamation);
        EXPECT_FALSE(host.boxes[0].owned);
        // The window is itself again before the box comes up.
        EXPECT_EQ(host.atbox[0], std::make_pair(std::string("Xo Gradient"), false));
        EXPECT_EQ(readfile(path("old.tif")), "old contents");
        EXPECT_EQ(entries(), std::set<std::string>{"old.tif"});
    }
    EXPECT_STREQ(saveerror(error(shell::Fault::content)), "Data compression error.");
    // Uncompressed, the same noise saves.
    EXPECT_EQ(save(tiffimages::noise(64, 64), path("old.tif"), compression_none), "ok");
}

TEST_F(TiffWriter, FailedWritesAreReportedAndLeaveNothingBehind) {
    host.settitle("Xo Gradient");
    const shell::Surface pic = tiffimages::screenlike();
    ASSERT_EQ(save(pic, path("ok.tif")), "ok");
    const std::string good = readfile(path("ok.tif"));
    const uint32_t stripend = le32(good, 10 + 6 * 12 + 8) + le32(good, stripbytecountsoffset);
    ASSERT_EQ(stripend, good.size());
    writefile(path("old.tif"), "old contents");

    // A disk that fills up in the directory, in the middle of the raw rows,
    // and at the compressed strip's last byte.
    struct Case {
        long long after;
        int compression;
    };
    for (Case c : {Case{100, compression_lzw}, Case{100000, compression_none},
                   Case{(long long)stripend - 1, compression_lzw}}) {
        shell::setwritefailure(c.after);
        EXPECT_EQ(save(pic, path("old.tif"), c.compression), "write") << c.after;
        shell::setwritefailure(-1);
        EXPECT_EQ(readfile(path("old.tif")), "old contents");
        EXPECT_EQ(entries(), (std::set<std::string>{"ok.tif", "old.tif"}));
        EXPECT_EQ(host.title(), "Xo Gradient");
        EXPECT_FALSE(host.busy());
    }
    EXPECT_TRUE(host.boxes.empty());

    // A folder that does not exist, or a folder where the file should be.
    EXPECT_EQ(save(pic, path("missing/x.tif")), "open");
    EXPECT_EQ(save(pic, dir), "open");
    EXPECT_EQ(entries(), (std::set<std::string>{"ok.tif", "old.tif"}));
    EXPECT_FALSE(host.busy());

    EXPECT_STREQ(saveerror(error(shell::Fault::open)), "Error opening a save file.");
    EXPECT_STREQ(saveerror(error(shell::Fault::memory)),
                 "Not enough memory to buffer image lines.");
    EXPECT_STREQ(saveerror(error(shell::Fault::write)), "Error writing to save file.");
    EXPECT_STREQ(saveerror(error(shell::Fault::cancelled)), "");
}

TEST_F(TiffWriter, DescriptionKeepsItsPaddingAfterASave) {
    description = "Xo Gradient\n";  // even: one space is added, and stays
    ASSERT_EQ(save(shell::Surface(64, 64), path("d.tif")), "ok");
    EXPECT_EQ(description, "Xo Gradient\n ");
    const std::string f = readfile(path("d.tif"));
    EXPECT_EQ(f.substr(248, 14), std::string("Xo Gradient\n \0", 14));
}
