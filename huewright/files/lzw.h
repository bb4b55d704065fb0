// The LZW encoder of the TIFF writer: one strip, compression value 5.
//
// The byte stream is turned into codes of 9 to 12 bits, packed most
// significant bit first. The code stream is the one TIFF decoders read: Clear
// (256) first, end-of-information (257) last, first free code 258, the width
// raised when the next free code reaches 512, 1024 and 2048, and a Clear with a
// fresh table when it reaches 4094. The whole strip is kept in memory so that
// its length is known before it is written, and the encoder gives up as soon as
// the strip would take more than 95 % of the raw bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace huewright {

constexpr uint16_t lzw_clear = 256;      // resets the decoder's table
constexpr uint16_t lzw_eoi = 257;        // end of information
constexpr uint16_t lzw_firstfree = 258;  // the first code a string may take
constexpr int lzw_tablesize = 4096;      // codes are at most 12 bits
constexpr int lzw_tablefull = 4094;      // next free code at which the table is reset
constexpr uint16_t lzw_empty = 5000;     // above every code and byte: "no string"

// Results of the encoder.
enum LzwResult { lzw_ok = 0, lzw_ineffective = 1 };

// What a reset of the encoder starts: a new strip, or the table after a Clear
// code within the strip being written.
enum class LzwReset { newstrip, afterclear };

// How a code of width w (9 to 12) starting at bit o (0 to 15, counted from the
// most significant bit) of a 16-bit word lands in that word and the next.
struct BitsEntry {
    int nextindex;  // bit position after the code: (o + w) mod 16
    int hishift;    // 16 - w - o: left shift into the current word (right when negative)
    int loshift;    // 32 - w - o when the code runs into the next word, otherwise bits_nolow
};
constexpr int bits_nolow = 255;  // loshift of a code that ends within its word

constexpr BitsEntry bitsentry(int w, int o) {
    return BitsEntry{(o + w) % 16, 16 - w - o, o + w > 16 ? 32 - w - o : bits_nolow};
}
constexpr std::array<std::array<BitsEntry, 16>, 4> makebits() {
    std::array<std::array<BitsEntry, 16>, 4> t{};
    for (int w = 9; w <= 12; ++w)
        for (int o = 0; o < 16; ++o) t[w - 9][o] = bitsentry(w, o);
    return t;
}
// Indexed by width - 9, then by bit position.
constexpr std::array<std::array<BitsEntry, 16>, 4> bitstable = makebits();

// The value with its two bytes swapped.
constexpr uint16_t bigendian(uint16_t input) {
    return static_cast<uint16_t>((input >> 8) | (input << 8));
}

class LzwEncoder {
  public:
    // `rawsize` is the size of the uncompressed strip; the compressed one may
    // take at most rawsize * 19 / 20 bytes (plus the final word in progress).
    explicit LzwEncoder(uint64_t rawsize);
    // False when there was not enough memory for the strip's buffer; the
    // encoder must not be used then.
    bool ok() const { return codebuffer != nullptr; }

    // A new strip: empty table and empty output. After a Clear code: a fresh
    // table, and the output stays.
    void LZWinit(LzwReset reset);
    // Appends one code at the current width. Returns lzw_ineffective once the
    // completed words exceed the byte limit.
    int writeLZWcode(uint16_t code);
    // Compresses the next `count` bytes of the strip. The first call writes
    // the Clear code. Stops at once with lzw_ineffective.
    int LZWcompress(const uint8_t* bytes, size_t count);
    // Ends the strip: the code of the pending string, EOI, and the word in
    // progress, so the strip's length is always even.
    int LZWfinish();

    // The finished strip, `codebytes` bytes.
    const uint8_t* strip() const { return reinterpret_cast<const uint8_t*>(codebuffer.get()); }
    size_t codebytes() const { return codebytes_; }
    uint64_t bytelimit() const { return bytelimit_; }

  private:
    // The string table lives in an open-addressed hash of (prefix code,
    // appended byte), so looking up W + K costs a probe or two instead of a
    // scan over every entry. A slot holds the 20-bit key above the 12-bit
    // code, so one load answers both "is this W + K?" and "which code?"; the
    // 8192 slots (at most 3836 in use) take 32 KB and stay in the first-level
    // cache. The first slot tried is the prefix XOR the byte shifted onto the
    // top bits, which needs no mask and, for one prefix, spreads the 256 bytes
    // over 256 slots. A taken slot sends the search on with an odd stride that
    // depends on where it started: one colour adds codes 258, 259, ... all
    // followed by the same byte, and stepping to the neighbouring slot would
    // walk along that whole run.
    static constexpr int hashbits = 13;
    static constexpr uint32_t hashsize = 1u << hashbits;
    static constexpr int bytehashshift = hashbits - 8;  // the byte lands on the top bits
    static constexpr int codebits12 = 12;
    static constexpr uint32_t codemask = (1u << codebits12) - 1;
    // Prefix codes stop at 4093, so no key is 0xFFFFF: a free slot never
    // matches.
    static constexpr uint32_t freeslot = 0xFFFFFFFFu;

    std::array<uint32_t, hashsize> slots;  // key << 12 | code, or freeslot

    uint16_t W = lzw_empty;  // code of the longest string matched so far, or empty
    int entrytotal = 0;      // the next free code, 258 to 4094
    int codebits = 0;        // current code width minus 9
    bool started = false;    // the Clear code that opens the strip has been written

    // The strip as 16-bit words, each stored high byte first, so the memory of
    // the buffer is the strip's byte stream. Codes are ORed in: it starts zero
    // (from calloc, so the pages the strip never reaches cost nothing).
    struct Free {
        void operator()(uint16_t* p) const { std::free(p); }
    };
    std::unique_ptr<uint16_t, Free> codebuffer;
    size_t bufferwords;     // allocated length of codebuffer
    size_t codewords = 0;   // index of the word being filled
    int codeindex = 0;      // bit of that word where the next code starts, from the top
    size_t codebytes_ = 0;  // bytes in completed words (plus the last word once finished)
    uint64_t bytelimit_;    // the most bytes the strip may take: 95 % of the raw size

    int addstring(uint32_t slot, uint32_t key);
    int advance();
};

}  // namespace huewright
