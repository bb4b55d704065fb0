// Helpers of the TIFF writer's tests: a plain reference LZW coder, a window
// to save from, a scratch folder, and readers for the written bytes.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/headless/host.h"
#include "shell/headless/testing.h"
#include "shell/window/program.h"

namespace huewright::tifftest {

// The code stream written the slow and obvious way: the string table is
// searched entry by entry, and every code is appended to a bit string one
// bit at a time. It shares nothing with the encoder under test but the rules.
struct ReferenceStrip {
    bool refused = false;                    // passed 95 % of the raw size
    std::vector<uint8_t> bytes;              // the strip
    std::vector<std::pair<int, int>> codes;  // (code, width) as written
    size_t bits = 0;                         // bits of all codes written
};

inline ReferenceStrip referencelzw(const uint8_t* data, size_t n) {
    ReferenceStrip out;
    const size_t limit = n * 19 / 20;
    struct Entry {
        int prefix, byte;
    };
    std::vector<Entry> table;  // codes 258 upward
    int width = 9;
    std::vector<bool> bitstring;
    auto emit = [&](int code) {
        out.codes.push_back({code, width});
        for (int b = width - 1; b >= 0; --b) bitstring.push_back((code >> b) & 1);
        // Only completed 16-bit words count against the limit.
        return bitstring.size() / 16 * 2 <= limit;
    };
    auto nextfree = [&] { return 258 + int(table.size()); };
    // One more entry: wider codes from 512, 1024 and 2048; a Clear at 4094.
    auto grow = [&](Entry e) {
        table.push_back(e);
        const int next = nextfree();
        if (next == 512 || next == 1024 || next == 2048) ++width;
        if (next == 4094) {
            if (!emit(256)) return false;
            table.clear();
            width = 9;
        }
        return true;
    };
    auto finish = [&](bool ok) {
        out.refused = !ok;
        out.bits = bitstring.size();
        if (ok) {
            const size_t words = bitstring.size() / 16 + 1;
            out.bytes.assign(words * 2, 0);
            for (size_t i = 0; i < bitstring.size(); ++i)
                if (bitstring[i]) out.bytes[i / 8] |= uint8_t(0x80 >> (i % 8));
        }
        return out;
    };
    if (!emit(256)) return finish(false);
    int w = -1;
    for (size_t i = 0; i < n; ++i) {
        const int k = data[i];
        if (w < 0) {
            w = k;
            continue;
        }
        int found = -1;
        for (size_t m = 0; m < table.size() && found < 0; ++m)
            if (table[m].prefix == w && table[m].byte == k) found = 258 + int(m);
        if (found >= 0) {
            w = found;
            continue;
        }
        const Entry e{w, k};
        if (!emit(w)) return finish(false);
        w = k;
        if (!grow(e)) return finish(false);
    }
    if (w >= 0) {
        if (!emit(w)) return finish(false);
        if (!grow(Entry{-1, -1})) return finish(false);
    }
    if (!emit(257)) return finish(false);
    return finish(true);
}

// A window to save from; its procedure handles nothing.
class IdleProgram : public shell::Program {
  public:
    int proc(shell::Window&, const shell::Message&) override { return 1; }
};
inline shell::ProgramDesc idledesc(int w = 800, int h = 640) {
    shell::ProgramDesc d;
    d.title = "Xo Gradient";
    d.width = w;
    d.height = h;
    d.make = [] { return std::make_unique<IdleProgram>(); };
    return d;
}

using shell::testing::readfile;
using shell::testing::writefile;

inline uint16_t le16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
inline uint32_t le32(const std::string& b, size_t at) {
    return uint32_t(le16(b, at)) | uint32_t(le16(b, at + 2)) << 16;
}

// Standard output of a shell command, or "" with ok false when it fails.
inline std::string run(const std::string& cmd, bool* ok = nullptr) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) {
        if (ok) *ok = false;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = pclose(p);
    if (ok) *ok = status == 0;
    return out;
}

// A fresh folder per test, removed afterwards with everything in it.
class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(scratch.ok()); }
    std::string path(const std::string& name) const { return scratch.path(name); }
    std::set<std::string> entries() const { return scratch.entries(); }
    shell::testing::ScratchDir scratch;
    const std::string& dir = scratch.dir();
};

}  // namespace huewright::tifftest
