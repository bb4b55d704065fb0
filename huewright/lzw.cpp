#include "lzw.h"

#include <algorithm>

namespace huewright {

// The strip is assembled as 16-bit words whose bytes are swapped on the way
// in, so that the vector's memory is the big-endian byte stream and can be
// written in one piece. That only holds on a little-endian machine.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the strip buffer assumes little-endian");

const char* const lzw_ineffectivetext =
    "LZW compression ineffective for this image.\nPlease save in uncompressed format.";
const char* const lzw_ineffectivecaption = "TIFF LZW";

namespace {

// Fibonacci hashing of the 20-bit (prefix, byte) key: the top bits of the
// product spread neighbouring prefixes and bytes over the whole table.
inline uint32_t hashslot(uint32_t key20, int bits) {
    return (key20 * 0x9E3779B1u) >> (32 - bits);
}

}  // namespace

LzwEncoder::LzwEncoder(uint64_t rawsize)
    : slotkey(hashsize, 0),
      slotcode(hashsize, 0),
      // The last word in progress is counted after the final limit check, and a
      // code that spills over touches one word beyond the limit: four spare
      // words cover both.
      codebuffer(rawsize * 19 / 20 / 2 + 4, 0),
      bytelimit_(rawsize * 19 / 20) {
    LZWinit(0);
}

void LzwEncoder::LZWinit(int index) {
    if (index == 0) {
        std::fill(codebuffer.begin(), codebuffer.end(), 0);
        codewords = 0;
        codeindex = 0;
        codebytes_ = 0;
        started = false;
        W = lzw_empty;
    }
    // A new generation empties the table without touching its slots; only
    // when the generation counter would run out are the slots cleared.
    if (++generation > maxgeneration) {
        std::fill(slotkey.begin(), slotkey.end(), 0);
        generation = 1;
    }
    entrytotal = lzw_firstfree;
    codebits = 0;
}

int LzwEncoder::writeLZWcode(uint16_t code) {
    const BitsEntry& e = BITS[codebits][codeindex];
    const uint16_t hi = e.hishift >= 0 ? static_cast<uint16_t>(code << e.hishift)
                                       : static_cast<uint16_t>(code >> -e.hishift);
    codebuffer[codewords] |= bigendian(hi);
    if (e.loshift != bits_nolow) {
        ++codewords;
        codebytes_ += 2;
        codebuffer[codewords] |= bigendian(static_cast<uint16_t>(code << e.loshift));
    }
    codeindex = e.nextindex;
    if (codeindex == 0) {
        ++codewords;
        codebytes_ += 2;
    }
    return codebytes_ > bytelimit_ ? lzw_ineffective : lzw_ok;
}

// Counts one more table entry. A decoder lags one entry behind the encoder
// and switches width one code early, so the width must go up as soon as the
// next free code reaches a power of two, and the table is handed back with a
// Clear two codes before 4096, still at 12 bits.
int LzwEncoder::advance() {
    ++entrytotal;
    if (entrytotal == 512 || entrytotal == 1024 || entrytotal == 2048) {
        ++codebits;
    } else if (entrytotal == lzw_tablefull) {
        if (writeLZWcode(lzw_clear)) return lzw_ineffective;
        LZWinit(1);
    }
    return lzw_ok;
}

// W + K is not in the table: it becomes the next entry, the code of W goes
// out and K starts the next string.
int LzwEncoder::addstring(uint32_t slot, uint32_t key, uint8_t K) {
    slotkey[slot] = key;
    slotcode[slot] = static_cast<uint16_t>(entrytotal);
    if (writeLZWcode(W)) return lzw_ineffective;
    W = K;
    return advance();
}

int LzwEncoder::LZWcompress(const uint8_t* bytes, size_t count) {
    if (!started) {
        started = true;
        if (writeLZWcode(lzw_clear)) return lzw_ineffective;
        W = lzw_empty;
    }
    size_t n = 0;
    if (W == lzw_empty && count > 0) W = bytes[n++];
    for (; n < count; ++n) {
        const uint8_t K = bytes[n];
        const uint32_t key20 = (uint32_t(W) << 8) | K;
        const uint32_t key = (generation << keybits) | key20;
        uint32_t slot = hashslot(key20, hashbits);
        bool found = false;
        for (;;) {
            const uint32_t k = slotkey[slot];
            if (k == key) {
                found = true;
                break;
            }
            if ((k >> keybits) != generation) break;  // a free slot: W + K is new
            slot = (slot + 1) & (hashsize - 1);
        }
        if (found) {
            W = slotcode[slot];
        } else if (addstring(slot, key, K)) {
            return lzw_ineffective;
        }
    }
    return lzw_ok;
}

int LzwEncoder::LZWfinish() {
    if (!started) {
        started = true;
        if (writeLZWcode(lzw_clear)) return lzw_ineffective;
    }
    if (W != lzw_empty) {
        if (writeLZWcode(W)) return lzw_ineffective;
        W = lzw_empty;
        // The decoder adds an entry for this code too; the EOI that follows
        // must be read at the width that entry implies.
        if (advance()) return lzw_ineffective;
    }
    if (writeLZWcode(lzw_eoi)) return lzw_ineffective;
    // The word in progress belongs to the strip; when the last code ended on a
    // word boundary it is an extra all-zero word, which keeps the length even.
    codebytes_ += 2;
    return lzw_ok;
}

}  // namespace huewright
