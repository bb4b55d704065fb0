#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "huewright/files/lzw.h"
#include "tiff_images.h"
#include "tiff_testutil.h"

using namespace huewright;
using huewright::tifftest::referencelzw;

namespace {

struct Strip {
    int result = lzw_ok;
    std::vector<uint8_t> bytes;
};

// Runs the encoder as the writer does: one call per row of `rowbytes` bytes,
// then the end of the strip.
Strip encode(const std::vector<uint8_t>& data, size_t rowbytes = 0) {
    if (rowbytes == 0) rowbytes = data.size();
    LzwEncoder enc(data.size());
    enc.LZWinit(LzwReset::newstrip);
    Strip s;
    for (size_t at = 0; at < data.size() && s.result == lzw_ok; at += rowbytes)
        s.result = enc.LZWcompress(data.data() + at, std::min(rowbytes, data.size() - at));
    if (s.result == lzw_ok) s.result = enc.LZWfinish();
    if (s.result == lzw_ok) s.bytes.assign(enc.strip(), enc.strip() + enc.codebytes());
    return s;
}

std::vector<uint8_t> bytesof(const shell::Surface& s) {
    return std::vector<uint8_t>(s.data(), s.data() + size_t(s.width()) * s.height() * 3);
}

std::vector<uint8_t> repeated(size_t pixels, std::vector<uint8_t> pixel) {
    std::vector<uint8_t> v;
    for (size_t i = 0; i < pixels; ++i) v.insert(v.end(), pixel.begin(), pixel.end());
    return v;
}

// The first `count` codes of a strip, all read at `width` bits.
std::vector<int> fixedwidthcodes(const std::vector<uint8_t>& strip, int width, int count) {
    std::vector<int> out;
    size_t bit = 0;
    for (int c = 0; c < count; ++c) {
        int v = 0;
        for (int b = 0; b < width; ++b, ++bit)
            v = (v << 1) | ((strip[bit / 8] >> (7 - bit % 8)) & 1);
        out.push_back(v);
    }
    return out;
}

}  // namespace

TEST(Lzw, RepeatedPixelStartsWithTheTextbookCodes) {
    // 1 2 3 1 2 3 ...: 258 stands for "1 2", 259 for "2 3", 260 for "3 1".
    const std::vector<uint8_t> data = repeated(64 * 64, {1, 2, 3});
    const Strip s = encode(data, 64 * 3);
    ASSERT_EQ(s.result, lzw_ok);
    EXPECT_EQ(fixedwidthcodes(s.bytes, 9, 7), (std::vector<int>{256, 1, 2, 3, 258, 260, 259}));
    EXPECT_EQ(s.bytes, referencelzw(data.data(), data.size()).bytes);
    EXPECT_EQ(s.bytes.size() % 2, 0u);
}

TEST(Lzw, CodeWidthGrowsAfterEntry511AndTheTableIsClearedAt4094) {
    // One colour: each new string is one byte longer, so entry 511 is added
    // by the 254th string code.
    const std::vector<uint8_t> flat = repeated(128 * 128, {7, 7, 7});
    const auto ref = referencelzw(flat.data(), flat.size());
    ASSERT_FALSE(ref.refused);
    ASSERT_GT(ref.codes.size(), 256u);
    EXPECT_EQ(ref.codes[0], std::make_pair(256, 9));
    for (int k = 1; k <= 254; ++k) EXPECT_EQ(ref.codes[k].second, 9) << k;
    EXPECT_EQ(ref.codes[255].second, 10);
    EXPECT_EQ(encode(flat, 128 * 3).bytes, ref.bytes);

    // The last string's code counts an entry too: after 253 string codes
    // (1 + 2 + ... + 253 bytes) and a shorter last string, that entry is 511
    // and the EOI that follows is read at 10 bits.
    const std::vector<uint8_t> edge = repeated(32133 / 3, {7, 7, 7});
    const auto e = referencelzw(edge.data(), edge.size());
    ASSERT_EQ(e.codes.size(), 256u);
    EXPECT_EQ(e.codes[254].second, 9);
    EXPECT_EQ(e.codes[255], std::make_pair(257, 10));
    EXPECT_EQ(encode(edge).bytes, e.bytes);

    // A picture with enough variety fills the table: 3836 string codes after
    // the first Clear, then a 12-bit Clear, then 9-bit codes again.
    shell::Surface pic(257, 257);
    tiffimages::mandelbrot(pic, 0, 0, 257);
    const std::vector<uint8_t> data = bytesof(pic);
    const auto r = referencelzw(data.data(), data.size());
    ASSERT_FALSE(r.refused);
    ASSERT_GT(r.codes.size(), 3840u);
    EXPECT_EQ(r.codes[511 - 257].second, 9);
    EXPECT_EQ(r.codes[512 - 257].second, 10);
    EXPECT_EQ(r.codes[1024 - 257].second, 11);
    EXPECT_EQ(r.codes[2048 - 257].second, 12);
    EXPECT_EQ(r.codes[3837], std::make_pair(256, 12));
    EXPECT_EQ(r.codes[3838].second, 9);
    EXPECT_EQ(encode(data, 257 * 3).bytes, r.bytes);
}

TEST(Lzw, HashedTableWritesTheSameStripAsALinearScan) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    cases.push_back({"screen with preview", bytesof(tiffimages::screenlike(true))});
    // Runs of noise between runs of one colour: many resets, every width.
    std::vector<uint8_t> mixed;
    uint32_t seed = 99;
    for (int block = 0; block < 300; ++block) {
        seed = seed * 1664525u + 1013904223u;
        const size_t run = 50 + (seed >> 20) % 900;
        for (size_t i = 0; i < run; ++i) {
            seed = seed * 1664525u + 1013904223u;
            mixed.push_back(block % 3 == 0 ? uint8_t(seed >> 24) : uint8_t(block * 5));
        }
    }
    mixed.resize(mixed.size() / 3 * 3);
    cases.push_back({"mixed", mixed});
    for (const auto& [name, data] : cases) {
        const auto ref = referencelzw(data.data(), data.size());
        ASSERT_FALSE(ref.refused) << name;
        const Strip s = encode(data, 800 * 3);
        ASSERT_EQ(s.result, lzw_ok) << name;
        EXPECT_EQ(s.bytes, ref.bytes) << name;
        // Fed in one piece the encoder does not care where rows end.
        EXPECT_EQ(encode(data).bytes, ref.bytes) << name;
    }
}

TEST(Lzw, StripEndsWithAnExtraZeroWordWhenTheLastCodeEndsOnAWordBoundary) {
    int found = 0;
    for (size_t pixels = 40; pixels < 400 && found < 3; ++pixels) {
        const std::vector<uint8_t> data = repeated(pixels, {200, 200, 200});
        const auto ref = referencelzw(data.data(), data.size());
        if (ref.refused || ref.bits % 16 != 0) continue;
        ++found;
        const Strip s = encode(data);
        ASSERT_EQ(s.result, lzw_ok);
        EXPECT_EQ(s.bytes.size(), ref.bits / 8 + 2) << pixels;
        EXPECT_EQ(s.bytes[s.bytes.size() - 1], 0);
        EXPECT_EQ(s.bytes[s.bytes.size() - 2], 0);
        EXPECT_EQ(s.bytes, ref.bytes);
    }
    EXPECT_GT(found, 0);
}

TEST(Lzw, RefusesDataThatDoesNotShrinkBelow95Percent) {
    // A single pixel: its first codes already pass 95 % of three bytes.
    EXPECT_EQ(encode({10, 20, 30}).result, lzw_ineffective);
    EXPECT_TRUE(referencelzw(std::vector<uint8_t>{10, 20, 30}.data(), 3).refused);

    // Noise stops as soon as the completed words pass the limit, never
    // writing beyond it.
    const std::vector<uint8_t> data = bytesof(tiffimages::noise(64, 64));
    LzwEncoder enc(data.size());
    enc.LZWinit(LzwReset::newstrip);
    EXPECT_EQ(enc.LZWcompress(data.data(), data.size()), lzw_ineffective);
    EXPECT_EQ(enc.bytelimit(), data.size() * 19 / 20);
    EXPECT_GT(enc.codebytes(), enc.bytelimit());
    EXPECT_LE(enc.codebytes(), enc.bytelimit() + 2);
    EXPECT_TRUE(referencelzw(data.data(), data.size()).refused);
}

TEST(Lzw, AStripNoMemoryHoldsLeavesTheEncoderUnusableWithoutThrowing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer stops the program at an allocation this large";
#else
    LzwEncoder enc(uint64_t(1) << 62);
    EXPECT_FALSE(enc.ok());
    EXPECT_TRUE(LzwEncoder(64).ok());
#endif
}
