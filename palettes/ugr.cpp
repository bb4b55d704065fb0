// Ultra Fractal gradients (.ugr, .gradient): named blocks, each holding a
// gradient section of colour stops on a cyclic scale of 400 indexes, and an
// opacity section.
//
//   Sunset {
//   gradient:
//     title="Sunset" smooth=no
//     index=0 color=16711680
//   opacity:
//     smooth=no index=0 opacity=255
//   }
//
// `color` packs the channels as R + 256 G + 65536 B. Entry i of a palette
// stands at index round(i * 399 / 255), both when writing and reading.
#include <optional>

#include "palettes/codec.h"

namespace palettes {

namespace {

const char* const kWhat = "Not an Ultra Fractal gradient";
// The gradient's scale: indexes 0 to 399, and 399 is followed by 0 again.
constexpr int kSlots = 400;
constexpr long long kMaxColour = 0xffffff;
constexpr std::string_view kGradientSection = "gradient:";
constexpr std::string_view kOpacitySection = "opacity:";

using Colour = std::array<uint8_t, 3>;

// The index a palette entry stands at. 399 i / 255 is never halfway between
// two integers, so rounding half up is plain rounding.
int slotofentry(int i) {
    return (i * (kSlots - 1) + 127) / 255;
}

// One key=value pair of a gradient line; a value in quotes may hold spaces.
struct Pair {
    std::string_view key, value;
};

std::vector<Pair> pairsof(std::string_view line) {
    std::vector<Pair> out;
    size_t at = 0;
    for (;;) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) break;
        size_t keyend = std::min(line.find_first_of(" \t=", at), line.size());
        Pair p{line.substr(at, keyend - at), {}};
        at = keyend;
        if (at < line.size() && line[at] == '=') {
            ++at;
            if (at < line.size() && line[at] == '"') {
                size_t close = std::min(line.find('"', at + 1), line.size());
                p.value = line.substr(at + 1, close - at - 1);
                at = std::min(close + 1, line.size());
            } else {
                size_t end = std::min(line.find_first_of(" \t", at), line.size());
                p.value = line.substr(at, end - at);
                at = end;
            }
        }
        out.push_back(p);
    }
    return out;
}

std::string lineerror(int line, const std::string& what) {
    return "line " + std::to_string(line) + " " + what;
}

}  // namespace

ReadResult readugr(std::string_view bytes, shell::Palette& palette) {
    LineReader lines(withoutbom(bytes));
    std::string_view line;
    ReadResult r;
    // Where each stop puts its colour; a later stop at the same index
    // replaces an earlier one. The array bounds the memory whatever the
    // file holds.
    std::optional<Colour> slots[kSlots];
    enum { outside, inblock, ingradient } stage = outside;
    bool found = false;
    while (!found && lines.next(line)) {
        std::string_view t = trim(line);
        if (stage == outside) {
            // Anything between blocks (another program's comments) is skipped.
            if (!t.empty() && t.back() == '{') {
                r.name = std::string(trim(t.substr(0, t.size() - 1)));
                stage = inblock;
            }
        } else if (stage == inblock) {
            // The first block may hold no gradient; the file's first gradient
            // counts.
            if (t == "}") stage = outside;
            if (t == kGradientSection) stage = ingradient;
        } else if (t == kOpacitySection || t == "}") {
            found = true;
        } else {
            // An index is followed by its colour on the same line; other
            // keys (rotation=, smooth=, and keys of newer versions) are not
            // needed. smooth=yes asks for a smoother curve through the stops:
            // it is read as straight lines like smooth=no.
            long long index = 0;
            bool indexed = false;  // an index waits for its colour
            for (const Pair& p : pairsof(t)) {
                long long v = 0;
                if (p.key == "title") {
                    r.name = std::string(p.value);
                } else if (p.key == "index") {
                    if (!parseint(p.value, v))
                        return failure(kWhat,
                                       lineerror(lines.number(), "has index=" + quoted(p.value) +
                                                                     ", a whole number expected"));
                    index = v;
                    indexed = true;
                } else if (p.key == "color" && indexed) {
                    if (!parseint(p.value, v) || v < 0 || v > kMaxColour)
                        return failure(kWhat,
                                       lineerror(lines.number(), "has color=" + quoted(p.value) +
                                                                     ", 0 to 16777215 expected"));
                    // Indexes outside 0 to 399 wrap around the cycle.
                    long long slot = (index % kSlots + kSlots) % kSlots;
                    slots[slot] =
                        Colour{uint8_t(v & 255), uint8_t(v >> 8 & 255), uint8_t(v >> 16 & 255)};
                    indexed = false;
                }
            }
        }
    }
    if (stage != ingradient) return failure(kWhat, "no block holds a gradient section");

    // Each index between two stops mixes them in proportion, around the
    // cycle: after the last stop come the first ones again, 400 further on.
    std::vector<int> stops;
    for (int x = 0; x < kSlots; ++x)
        if (slots[x]) stops.push_back(x);
    if (stops.empty()) return failure(kWhat, "the gradient " + quoted(r.name) + " has no colours");
    Colour table[kSlots];
    size_t next = 0;  // the first stop at or after x
    for (int x = 0; x < kSlots; ++x) {
        while (next < stops.size() && stops[next] < x) ++next;
        int after = next < stops.size() ? stops[next] : stops[0] + kSlots;
        int before = next > 0 ? stops[next - 1] : stops.back() - kSlots;
        const Colour& a = *slots[(before + kSlots) % kSlots];
        const Colour& b = *slots[after % kSlots];
        // With one stop, before and after are the same stop a cycle apart.
        double f = after == x ? 1 : double(x - before) / (after - before);
        for (int c = 0; c < 3; ++c) table[x][c] = tobyte((a[c] + (b[c] - a[c]) * f) / 255);
    }
    for (int i = 0; i < 256; ++i) palette[i] = table[slotofentry(i)];
    r.ok = true;
    return r;
}

std::string writeugr(const shell::Palette& palette, std::string_view name) {
    // One reader splits the block's first line on spaces: the block name is
    // an identifier. The title may say more, without quotes inside.
    std::string title = oneline(validutf8(name), "Palette");
    for (char& c : title)
        if (c == '"') c = '\'';
    std::string s;
    s.reserve(256 * 32 + 128);
    s += identifier(name);
    s += " {\n";
    s += kGradientSection;
    s += "\n  title=\"" + title + "\" smooth=no\n";
    for (int i = 0; i < 256; ++i) {
        s += "  index=";
        appendint(s, slotofentry(i));
        s += " color=";
        appendint(s, palette[i][0] + 256 * palette[i][1] + 65536 * palette[i][2]);
        s += '\n';
    }
    s += kOpacitySection;
    s += "\n  smooth=no index=0 opacity=255\n}\n";
    return s;
}

}  // namespace palettes
