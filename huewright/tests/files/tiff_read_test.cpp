// Reading screen images back: rows decoded from our own files and from
// files libtiff writes in the other byte order and in many strips, the
// description from the directory or the XMP packet, and what is refused.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstring>
#include <random>

#include "huewright/files/tiff.h"
#include "huewright/files/tiffread.h"
#include "shell/headless/testing.h"

using namespace huewright;

namespace {

// Smooth runs, which fill the string table so that it starts over, and
// scattered noise, which the codes must spell out byte by byte.
shell::Surface picture(int w, int h) {
    shell::Surface s(w, h);
    std::mt19937 rng(3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setpixel(x, y,
                       y % 9 == 0 && x % 8 == 0
                           ? shell::Rgb{uint8_t(rng()), uint8_t(rng()), uint8_t(rng())}
                           : shell::Rgb{uint8_t(x / 3), uint8_t(y * 2), uint8_t(x / 16 * 16)});
    return s;
}

std::string encoded(const shell::Surface& s, int compression, const std::string& description) {
    Metadata m;
    m.descriptionstring = description;
    const shell::Result<TiffFile> t = encodetiff(s, compression, m);
    if (!t.ok()) throw std::runtime_error(t.error().reason);
    return std::string(reinterpret_cast<const char*>(t.value().bytes.get()), t.value().size);
}

bool rowis(const std::string& bytes, const TiffImage& im, const shell::Surface& s, int y) {
    const shell::Result<std::vector<uint8_t>> row = tiffrow(bytes, im, y);
    return row.ok() && std::memcmp(row.value().data(), s.row(y), size_t(s.width()) * 3) == 0;
}

}  // namespace

TEST(TiffRead, OurFilesGiveTheirRowsAndDescription) {
    const shell::Surface s = picture(300, 90);
    for (int compression : {compression_none, compression_lzw}) {
        const std::string bytes = encoded(s, compression, "Xo Gradient curve parameters\n ");
        const shell::Result<TiffImage> im = readtiff(bytes);
        ASSERT_TRUE(im.ok()) << im.error().reason;
        EXPECT_EQ(im.value().width, 300);
        EXPECT_EQ(im.value().height, 90);
        EXPECT_EQ(im.value().description, "Xo Gradient curve parameters\n ");
        for (int y = 0; y < s.height(); ++y) EXPECT_TRUE(rowis(bytes, im.value(), s, y)) << y;
        EXPECT_FALSE(tiffrow(bytes, im.value(), 90).ok());

        // A strip cut short is damaged, not read past its end.
        std::string cut = bytes.substr(0, bytes.size() - 200);
        const shell::Result<std::vector<uint8_t>> last = tiffrow(cut, im.value(), 89);
        ASSERT_FALSE(last.ok());
        EXPECT_EQ(last.error().reason, "its picture cannot be read: a strip lies outside the file");
    }
}

TEST(TiffRead, FilesLibtiffWritesInEitherOrderAndManyStrips) {
    const shell::testing::ScratchDir scratch;
    const shell::Surface s = picture(64, 40);
    struct Case {
        const char* mode;
        int compression;
        bool xmp;
    };
    for (const Case c : {Case{"wb", COMPRESSION_LZW, true}, Case{"wl", COMPRESSION_NONE, false},
                         Case{"wb", COMPRESSION_ADOBE_DEFLATE, false}}) {
        const std::string file = scratch.path("lib.tif");
        TIFF* t = TIFFOpen(file.c_str(), c.mode);
        ASSERT_NE(t, nullptr);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 64);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, 40);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_COMPRESSION, c.compression);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 7);
        const std::string packet =
            "<x:xmpmeta><rdf:Description><dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">"
            "a &lt;b&gt; &amp; &#233;&#x263a;</rdf:li></rdf:Alt></dc:description>"
            "</rdf:Description></x:xmpmeta>";
        if (c.xmp)
            TIFFSetField(t, TIFFTAG_XMLPACKET, uint32_t(packet.size()), packet.data());
        else
            TIFFSetField(t, TIFFTAG_IMAGEDESCRIPTION, "from libtiff");
        for (int y = 0; y < 40; ++y)
            ASSERT_EQ(TIFFWriteScanline(t, const_cast<uint8_t*>(s.row(y)), uint32_t(y), 0), 1);
        TIFFClose(t);

        const std::string bytes = shell::testing::readfile(file);
        const shell::Result<TiffImage> im = readtiff(bytes);
        ASSERT_TRUE(im.ok()) << im.error().reason;
        EXPECT_EQ(im.value().description, c.xmp ? "a <b> & \xC3\xA9\xE2\x98\xBA" : "from libtiff");
        if (c.compression == COMPRESSION_ADOBE_DEFLATE) {
            EXPECT_EQ(tiffrow(bytes, im.value(), 0).error().reason,
                      "its picture cannot be read: its compression 8 is not read here");
            continue;
        }
        for (int y = 0; y < 40; ++y) EXPECT_TRUE(rowis(bytes, im.value(), s, y)) << c.mode << y;
    }
}

TEST(TiffRead, WhatIsNoTiffSaysSo) {
    const std::string ours = encoded(picture(8, 8), compression_lzw, "A description");
    struct Case {
        std::string bytes;
        const char* why;
    };
    const Case cases[] = {
        {"GIF89a", "it does not start as one"},
        {std::string("MM\0*", 4), "it ends in its header"},
        {std::string("II*\0\xff\0\0\0", 8), "its directory lies outside the file"},
        {ours.substr(0, 60), "its directory runs past the end"},
        {ours.substr(0, 255), "field 270 lies outside the file"},
    };
    for (const Case& c : cases) {
        const shell::Result<TiffImage> im = readtiff(c.bytes);
        ASSERT_FALSE(im.ok()) << c.why;
        EXPECT_EQ(im.error().reason, std::string("Not a TIFF image: ") + c.why);
    }
    // Garbage where the strip's codes should be.
    std::string garbled = ours;
    const shell::Result<TiffImage> im = readtiff(garbled);
    ASSERT_TRUE(im.ok());
    for (size_t k = im.value().stripoffsets[0]; k < garbled.size(); ++k) garbled[k] = '\xff';
    EXPECT_EQ(tiffrow(garbled, im.value(), 7).error().reason,
              "its picture cannot be read: its compressed strip is damaged");

    EXPECT_FALSE(xmpdescription("<dc:title>x</dc:title>"));
    EXPECT_EQ(xmpdescription("<dc:description><rdf:Alt><rdf:li/></rdf:Alt></dc:description>"), "");
    EXPECT_EQ(
        xmpdescription("<dc:description><rdf:li>&bogus; &#0; &#xD800; &</rdf:li></dc:description>"),
        "&bogus; &#0; &#xD800; &");
}
