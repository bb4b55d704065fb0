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
#include <utility>

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

shell::Result<PaletteInfo> readugr(std::string_view bytes, shell::Palette& palette) {
    LineReader lines(withoutbom(bytes));
    std::string_view line;
    PaletteInfo r;
    r.sampled = true;
    // Where each stop puts its colour; a later stop at the same index
    // replaces an earlier one. The array bounds the memory whatever the
    // file holds.
    std::optional<Colour> slots[kSlots];
    enum { outside, inblock, ingradient } stage = outside;
    bool found = false;
    bool smooth = false;
    // The programs that write this format wrap their lines at a fixed width,
    // anywhere between two pairs, so the gradient section is one stream of
    // pairs: an index waits for its colour across line ends. Other keys
    // (rotation=, and keys of newer versions) are not needed.
    long long index = 0;
    bool indexed = false;
    while (!found && lines.next(line)) {
        std::string_view t = trim(line);
        if (stage == outside) {
            // Anything between blocks (another program's comments) is skipped.
            if (!t.empty() && t.back() == '{') {
                r.name = std::string(trim(t.substr(0, t.size() - 1)));
                stage = inblock;
            }
            continue;
        }
        if (stage == inblock) {
            // The first block may hold no gradient; the file's first gradient
            // counts.
            if (t == "}") stage = outside;
            if (t == kGradientSection) stage = ingradient;
            continue;
        }
        for (const Pair& p : pairsof(t)) {
            long long v = 0;
            if (p.key == kOpacitySection || p.key == "}") {
                found = true;
                break;
            } else if (p.key == "title") {
                r.name = std::string(p.value);
            } else if (p.key == "smooth") {
                smooth = p.value == "yes";
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
    if (stage != ingradient) return failure(kWhat, "no block holds a gradient section");

    std::vector<int> stops;
    for (int x = 0; x < kSlots; ++x)
        if (slots[x]) stops.push_back(x);
    if (stops.empty()) return failure(kWhat, "the gradient " + quoted(r.name) + " has no colours");
    const int n = static_cast<int>(stops.size());
    // The stop k places away around the cycle, and where it stands seen from
    // stop `from` (400 further on past the last, 400 back before the first).
    auto stopat = [&](int from, int k) {
        int j = from + k;
        int shift = j < 0 ? -kSlots : j >= n ? kSlots : 0;
        j = (j % n + n) % n;
        return std::pair<int, const Colour&>(stops[j] + shift, *slots[stops[j]]);
    };
    // smooth=yes is a cubic Hermite curve per channel through every stop,
    // around the cycle: at each stop its slope is the one from the stop
    // before to the stop after (a Catmull-Rom curve for uneven spacing), so
    // the curve passes through the stops with no kink at them, and where it
    // overshoots 0 or 255 it is clamped. smooth=no mixes two stops in
    // proportion.
    std::vector<std::array<double, 3>> slope(stops.size());
    for (int k = 0; k < n; ++k) {
        auto [xa, a] = stopat(k, -1);
        auto [xb, b] = stopat(k, 1);
        // With one stop the neighbours are that stop a cycle either side.
        for (int c = 0; c < 3; ++c) slope[k][c] = double(b[c] - a[c]) / (xb - xa);
    }
    Colour table[kSlots];
    int next = 0;  // the first stop at or after x
    for (int x = 0; x < kSlots; ++x) {
        while (next < n && stops[next] < x) ++next;
        const int k = next - 1;  // the stop before x; -1 is the last a cycle back
        auto [before, a] = stopat(k, 0);
        auto [after, b] = stopat(k, 1);
        // With one stop, before and after are the same stop a cycle apart.
        const double h = after - before, f = after == x ? 1 : (x - before) / h;
        const int ka = (k + n) % n, kb = (k + 1) % n;
        for (int c = 0; c < 3; ++c) {
            double v = a[c] + (b[c] - a[c]) * f;
            if (smooth) {
                const double f2 = f * f, f3 = f2 * f;
                v = (2 * f3 - 3 * f2 + 1) * a[c] + (f3 - 2 * f2 + f) * h * slope[ka][c] +
                    (3 * f2 - 2 * f3) * b[c] + (f3 - f2) * h * slope[kb][c];
            }
            table[x][c] = tobyte(v / 255);
        }
    }
    for (int i = 0; i < 256; ++i) palette[i] = table[slotofentry(i)];
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
