// PNG strips read from every kind of PNG image, made here byte by byte (the
// deflate stream stored, not compressed), so that each decoder the library
// may use is held to the same pixels and texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "palettes/palettes.h"

using namespace palettes;

namespace {

enum ColourType { grey = 0, rgb = 2, indexed = 3, greyalpha = 4, rgba = 6 };

uint32_t crc32(const std::string& bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

void put32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += char((v >> shift) & 0xFF);
}

std::string chunk(const char* type, const std::string& data) {
    std::string body = std::string(type, 4) + data, out;
    put32(out, uint32_t(data.size()));
    out += body;
    put32(out, crc32(body));
    return out;
}

// A zlib stream that stores `raw` in uncompressed deflate blocks.
std::string stored(const std::string& raw) {
    std::string z = "\x78\x01";
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        z += char(at + n == raw.size() ? 1 : 0);
        z += char(n & 0xFF), z += char(n >> 8), z += char(~n & 0xFF), z += char((~n >> 8) & 0xFF);
        z += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
    put32(z, (b << 16) | a);
    return z;
}

// Samples packed into a row of `depth` bits each, most significant first.
std::string packrow(const std::vector<unsigned>& samples, int depth) {
    std::string row;
    unsigned acc = 0;
    int bits = 0;
    for (unsigned v : samples) {
        if (depth == 16) {
            row += char(v >> 8), row += char(v & 0xFF);
            continue;
        }
        acc = (acc << depth) | v;
        bits += depth;
        if (bits == 8) row += char(acc), acc = 0, bits = 0;
    }
    if (bits > 0) row += char(acc << (8 - bits));
    return row;
}

struct Image {
    int type = rgb, depth = 8, channels = 3;
    int width = 256, height = 2;
    std::vector<unsigned> samples;  // row by row, `channels` to a pixel
    std::string before;             // chunks between IHDR and IDAT (PLTE, tRNS, texts)
    std::string after;              // chunks between IDAT and IEND
    bool interlaced = false;
};

std::string ihdr(const Image& im) {
    std::string h;
    put32(h, uint32_t(im.width));
    put32(h, uint32_t(im.height));
    h += char(im.depth), h += char(im.type), h += '\0', h += '\0', h += char(im.interlaced);
    return chunk("IHDR", h);
}

// The filtered scanlines (filter 0) of the pixels in rectangle steps: Adam7's
// passes for an interlaced image, else the rows in order.
std::string scanlines(const Image& im) {
    struct Pass {
        int x0, y0, dx, dy;
    };
    const std::vector<Pass> passes =
        im.interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                      : std::vector<Pass>{{0, 0, 1, 1}};
    std::string raw;
    for (const Pass& p : passes)
        for (int y = p.y0; y < im.height; y += p.dy) {
            std::vector<unsigned> row;
            for (int x = p.x0; x < im.width; x += p.dx)
                for (int c = 0; c < im.channels; ++c)
                    row.push_back(im.samples[(size_t(y) * im.width + x) * im.channels + c]);
            if (row.empty()) continue;
            raw += '\0' + packrow(row, im.depth);
        }
    return raw;
}

std::string png(const Image& im) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + ihdr(im) + im.before +
           chunk("IDAT", stored(scanlines(im))) + im.after + chunk("IEND", "");
}

// Fills every sample of every pixel with f(x, y, channel).
template <class F>
void fill(Image& im, F f) {
    im.samples.clear();
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            for (int c = 0; c < im.channels; ++c) im.samples.push_back(f(x, y, c));
}

// A 16-bit sample scaled to 8 bits with rounding: round(v / 257).
uint8_t scale16(unsigned v) {
    return uint8_t((v + 128) / 257);
}

shell::Palette read(const std::string& bytes) {
    shell::Palette p{};
    const auto r = decodepalette(bytes, "strip.png", p);
    EXPECT_TRUE(r.ok()) << r.error().reason;
    return p;
}

}  // namespace

TEST(PngDecode, EveryColourTypeAndDepthGivesTheSameEightBitRow) {
    // Grey at each depth: low depths stretch to the full range.
    for (int depth : {1, 2, 4, 8, 16}) {
        Image im;
        im.type = grey, im.depth = depth, im.channels = 1;
        const unsigned top = (1u << depth) - 1;
        fill(im, [&](int x, int y, int) { return y == 0 ? unsigned(x * 7919) % (top + 1) : 0; });
        const shell::Palette p = read(png(im));
        for (int i = 0; i < 256; ++i) {
            const unsigned v = unsigned(i * 7919) % (top + 1);
            const uint8_t want = depth == 16 ? scale16(v) : uint8_t(v * 255 / top);
            ASSERT_EQ(p[i], (std::array<uint8_t, 3>{want, want, want})) << depth << " " << i;
        }
    }
    // Colour, with and without alpha, at 8 and 16 bits: alpha is dropped,
    // never blended in.
    for (int type : {rgb, greyalpha, rgba})
        for (int depth : {8, 16}) {
            Image im;
            im.type = type, im.depth = depth;
            im.channels = type == rgb ? 3 : type == rgba ? 4 : 2;
            const unsigned top = (1u << depth) - 1;
            auto sample = [&](int x, int c) { return unsigned(x * 40503 + c * 9973) % (top + 1); };
            fill(im, [&](int x, int y, int c) { return y == 0 ? sample(x, c) : top; });
            const shell::Palette p = read(png(im));
            for (int i = 0; i < 256; ++i)
                for (int c = 0; c < 3; ++c) {
                    // Grey with alpha has one colour sample.
                    const unsigned v = sample(i, type == greyalpha ? 0 : c);
                    ASSERT_EQ(p[i][c], depth == 16 ? scale16(v) : v)
                        << type << "/" << depth << " entry " << i << " channel " << c;
                }
        }
}

TEST(PngDecode, PalettesTransparencyInterlacingAndTexts) {
    // An indexed image of 2 bits and one of 8, with a transparency table
    // that changes nothing.
    for (int depth : {2, 8}) {
        Image im;
        im.type = indexed, im.depth = depth, im.channels = 1;
        const int entries = 1 << depth;
        std::string plte, trns;
        for (int k = 0; k < entries; ++k) {
            plte += char(k * 3), plte += char(255 - k), plte += char(k * 11);
            trns += char(k * 5);
        }
        im.before = chunk("PLTE", plte) + chunk("tRNS", trns);
        fill(im, [&](int x, int, int) { return unsigned(x * 31) % entries; });
        const shell::Palette p = read(png(im));
        for (int i = 0; i < 256; ++i) {
            const int k = (i * 31) % entries;
            ASSERT_EQ(p[i],
                      (std::array<uint8_t, 3>{uint8_t(k * 3), uint8_t(255 - k), uint8_t(k * 11)}))
                << depth << " " << i;
        }
    }

    // RGB with a transparent colour, interlaced, a strip five pixels wide
    // (resampled) and the texts before the pixels: the international text
    // rules over the Latin-1 one, and a text after the pixels is not read.
    Image im;
    im.width = 5, im.height = 5, im.interlaced = true;
    const std::string trns(6, '\0');  // black is transparent
    const std::string title = "Sunset \xe9t\xe9";
    im.before = chunk("tRNS", trns) + chunk("tEXt", std::string("Title\0", 6) + title) +
                chunk("tEXt", std::string("Description\0", 12) + "Latin") +
                chunk("iTXt", std::string("Description\0\0\0\0\0", 16) + "caf\xc3\xa9");
    im.after = chunk("tEXt", std::string("Title\0", 6) + "too late");
    fill(im, [](int x, int y, int c) { return unsigned(y * 50 + x * 60 + c); });
    shell::Palette p{};
    const auto r = decodepalette(png(im), "strip.png", p);
    ASSERT_TRUE(r.ok()) << r.error().reason;
    EXPECT_EQ(r.value().name, "Sunset \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(r.value().description, "caf\xc3\xa9");
    EXPECT_EQ(p[0], (std::array<uint8_t, 3>{0, 1, 2}));
    EXPECT_EQ(p[255], (std::array<uint8_t, 3>{240, 241, 242}));
    // Entry 51 stands at x = 0.8 between pixels 0 and 1.
    EXPECT_EQ(p[51], (std::array<uint8_t, 3>{48, 49, 50}));
}
