// PNG strips (.png): the palette as an image whose row 0 holds the entries
// from left to right. Written 256 x 16, 8-bit RGB, with the palette's name
// and description as text chunks; read from any PNG the decoder can turn
// into 8-bit RGB (pngstrip.h), taking row 0 and resampling it to 256
// entries.
//
// The encoder (palettes/png.h) also writes the desktop artwork.
#include "palettes/png.h"

#include <cstring>

#include "palettes/codec.h"
#include "palettes/pngstrip.h"

namespace palettes {

const char* const kPngWhat = "Not a PNG strip";

namespace {

constexpr int kStripWidth = 256;
constexpr int kStripHeight = 16;
constexpr const char* kTitleKey = "Title";
constexpr const char* kDescriptionKey = "Description";

std::string latin1toutf8(std::string_view s) {
    std::string out;
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xc0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

// Text for a tEXt chunk, which holds Latin-1 and line feeds only. Characters
// beyond Latin-1 become '?', other control characters spaces; `lossless`
// tells whether the text came through unchanged.
std::string utf8tolatin1(std::string_view utf8, bool keeplines, bool& lossless) {
    std::string valid = validutf8(utf8);
    lossless = valid == utf8;
    std::string out;
    for (size_t i = 0; i < valid.size();) {
        auto c = static_cast<unsigned char>(valid[i]);
        size_t len = c < 0x80 ? 1 : c < 0xe0 ? 2 : c < 0xf0 ? 3 : 4;
        uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1f) << 6 | (valid[i + 1] & 0x3f) : 0x100;
        i += len;
        if (cp > 0xff) {
            out += '?';
            lossless = false;
        } else if ((cp < 0x20 && !(keeplines && cp == '\n')) || (cp >= 0x7f && cp < 0xa0)) {
            out += ' ';
            lossless = false;
        } else {
            out += static_cast<char>(cp);
        }
    }
    return out;
}

}  // namespace

shell::Result<PaletteInfo> readpng(std::string_view bytes, shell::Palette& palette) {
    shell::Result<PngRow> decoded = decodepngrow(bytes);
    if (!decoded.ok()) return decoded.error();
    const PngRow& row = decoded.value();

    // Row 0 as a gradient: pixel x stands at t = x / (width - 1), and entry
    // i is the straight mix of the two pixels around t = i / 255. A strip
    // 256 wide is taken as it is.
    shell::Palette scratchpalette{};
    for (int i = 0; i < 256; ++i) {
        double x = row.width > 1 ? i * double(row.width - 1) / 255 : 0;
        uint32_t left = std::min(static_cast<uint32_t>(x), row.width - 1);
        uint32_t right = std::min(left + 1, row.width - 1);
        double f = x - left;
        for (int c = 0; c < 3; ++c) {
            double a = row.rgb[left * 3 + c], b = row.rgb[right * 3 + c];
            scratchpalette[i][c] = tobyte((a + (b - a) * f) / 255);
        }
    }

    // The texts before the pixels; an international (UTF-8) text rules over
    // a Latin-1 one of the same key.
    PaletteInfo r;
    r.sampled = row.width != 256;
    for (int pass = 0; pass < 2; ++pass)
        for (const PngTextChunk& t : row.texts) {
            if (t.international != (pass == 1)) continue;
            std::string value = t.international ? validutf8(t.text) : latin1toutf8(t.text);
            if (t.key == kTitleKey) r.name = value;
            if (t.key == kDescriptionKey) r.description = value;
        }
    palette = scratchpalette;
    return r;
}

shell::Result<std::string> writepng(const shell::Palette& palette, std::string_view name,
                                    std::string_view description) {
    // tEXt chunks hold Latin-1. When the name or description does not fit,
    // the tEXt chunk gets the nearest Latin-1 text and an iTXt chunk of the
    // same key carries the exact UTF-8, which readers of iTXt prefer.
    bool titleexact = true, descriptionexact = true;
    std::string titleutf8 = oneline(validutf8(name), "Palette");
    std::string title = utf8tolatin1(titleutf8, false, titleexact);
    std::string descutf8 = multiline(description);
    std::string desc = utf8tolatin1(descutf8, true, descriptionexact);
    std::vector<PngText> texts = {{kTitleKey, title}};
    if (!titleexact) texts.push_back({kTitleKey, titleutf8, true});
    if (!desc.empty()) texts.push_back({kDescriptionKey, desc});
    if (!descriptionexact) texts.push_back({kDescriptionKey, descutf8, true});

    // Every row of the strip is the palette.
    uint8_t row[kStripWidth * 3];
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) row[i * 3 + c] = palette[i][c];
    return encodepng(PngImage{kStripWidth, kStripHeight, 3, 0, row}, texts);
}

}  // namespace palettes
