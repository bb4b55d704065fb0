#include "huewright/files/lzw.h"

#include <algorithm>

namespace huewright {

// The strip is assembled as 16-bit words whose bytes are swapped on the way
// in, so that the buffer's memory is the big-endian byte stream and can be
// written in one piece. That only holds on a little-endian machine.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the strip buffer assumes little-endian");

// The last word in progress is counted after the final limit check, and a
// code that spills over touches one word beyond the limit: four spare words
// cover both. calloc refuses a size it cannot hold, and ok() then says so.
LzwEncoder::LzwEncoder(uint64_t rawsize)
    : bufferwords(rawsize * 19 / 20 / 2 + 4), bytelimit_(rawsize * 19 / 20) {
    codebuffer.reset(static_cast<uint16_t*>(std::calloc(bufferwords, sizeof(uint16_t))));
    if (ok()) LZWinit(LzwReset::newstrip);
}

void LzwEncoder::LZWinit(LzwReset reset) {
    if (reset == LzwReset::newstrip) {
        // Only the words an earlier strip reached can be non-zero.
        std::fill(codebuffer.get(), codebuffer.get() + std::min(bufferwords, codewords + 2), 0);
        codewords = 0;
        codeindex = 0;
        codebytes_ = 0;
        started = false;
        W = lzw_empty;
    }
    std::fill(slots.begin(), slots.end(), freeslot);
    entrytotal = lzw_firstfree;
    codebits = 0;
}

int LzwEncoder::writeLZWcode(uint16_t code) {
    const BitsEntry& e = bitstable[codebits][codeindex];
    const uint16_t hi = e.hishift >= 0 ? static_cast<uint16_t>(code << e.hishift)
                                       : static_cast<uint16_t>(code >> -e.hishift);
    codebuffer.get()[codewords] |= bigendian(hi);
    if (e.loshift != bits_nolow) {
        ++codewords;
        codebytes_ += 2;
        codebuffer.get()[codewords] |= bigendian(static_cast<uint16_t>(code << e.loshift));
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
        LZWinit(LzwReset::afterclear);
    }
    return lzw_ok;
}

// W + K (`key`) is not in the table: it becomes the next entry in the free
// slot the search ended on, the code of W goes out and K starts the next
// string.
int LzwEncoder::addstring(uint32_t slot, uint32_t key) {
    slots[slot] = key << codebits12 | static_cast<uint32_t>(entrytotal);
    if (writeLZWcode(W)) return lzw_ineffective;
    W = static_cast<uint16_t>(key & 0xFF);
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
    // Each byte's search depends on the previous one's result, so the loop
    // is one chain of dependent steps: W lives in a register and a hit costs
    // one XOR, one load and one mask.
    uint32_t w = W;
    const uint32_t* table = slots.data();
    for (; n < count; ++n) {
        const uint32_t K = bytes[n];
        const uint32_t key = w << 8 | K;
        uint32_t h = w ^ (K << bytehashshift);
        uint32_t s = table[h];
        if ((s >> codebits12) != key && s != freeslot) {
            const uint32_t step = (hashsize - h) | 1;
            do {
                h = (h - step) & (hashsize - 1);
                s = table[h];
            } while ((s >> codebits12) != key && s != freeslot);
        }
        if (s != freeslot) {
            w = s & codemask;
            continue;
        }
        W = static_cast<uint16_t>(w);
        if (addstring(h, key)) return lzw_ineffective;
        w = W;
    }
    W = static_cast<uint16_t>(w);
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
