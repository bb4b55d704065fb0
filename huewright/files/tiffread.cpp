// The directory is read entry by entry with every offset checked against
// the file; the strip holding the wanted row is decoded only as far as
// that row.
#include "huewright/files/tiffread.h"

#include <array>
#include <cstring>

namespace huewright {

namespace {

const char* const kNotTiff = "Not a TIFF image";

// TIFF field types and the bytes one value of each takes.
constexpr int kTypeSize[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
constexpr uint16_t kTypeShort = 3, kTypeLong = 4;

// The tags read here.
enum Tag : uint16_t {
    tag_width = 256,
    tag_height = 257,
    tag_bitspersample = 258,
    tag_compression = 259,
    tag_photometric = 262,
    tag_description = 270,
    tag_stripoffsets = 273,
    tag_samplesperpixel = 277,
    tag_rowsperstrip = 278,
    tag_stripbytecounts = 279,
    tag_planar = 284,
    tag_predictor = 317,
    tag_xmp = 700,
};
constexpr int kCompressionNone = 1, kCompressionLzw = 5;
constexpr int kPhotometricRgb = 2;

shell::Error notiff(const std::string& why) {
    return shell::Error{shell::Fault::content, "", std::string(kNotTiff) + ": " + why};
}

// The file's bytes in its byte order.
class Reader {
  public:
    Reader(std::string_view b, bool big) : b_(b), big_(big) {}
    bool has(uint64_t at, uint64_t n) const { return at <= b_.size() && n <= b_.size() - at; }
    uint32_t u16(uint64_t at) const {
        const auto* p = reinterpret_cast<const uint8_t*>(b_.data() + at);
        return big_ ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
    }
    uint32_t u32(uint64_t at) const {
        return big_ ? (u16(at) << 16 | u16(at + 2)) : (u16(at + 2) << 16 | u16(at));
    }
    std::string_view bytes(uint64_t at, uint64_t n) const { return b_.substr(at, n); }

  private:
    std::string_view b_;
    bool big_;
};

// One directory entry: where its values are and how many.
struct Entry {
    uint16_t type = 0;
    uint32_t count = 0;
    uint64_t at = 0;  // offset of the first value
};

// Value k of a SHORT or LONG entry.
uint32_t number(const Reader& r, const Entry& e, uint32_t k) {
    return e.type == kTypeShort ? r.u16(e.at + 2ull * k) : r.u32(e.at + 4ull * k);
}

// ---- LZW, as TIFF writes it: codes of 9 to 12 bits, most significant bit
// first, Clear 256, end 257, and each width taking over one code early.
constexpr uint16_t kClear = 256, kEnd = 257, kFirstFree = 258;
constexpr int kCodes = 4096;

class LzwDecoder {
  public:
    // Decodes `in` and keeps bytes [from, to) of the output in out; stops
    // once it has them. False when the codes are damaged or end first.
    bool decode(std::string_view in, uint64_t from, uint64_t to, uint8_t* out) {
        const auto* p = reinterpret_cast<const uint8_t*>(in.data());
        const uint64_t bits = uint64_t(in.size()) * 8;
        uint64_t bit = 0;
        reset();
        int old = -1;
        while (produced_ < to) {
            if (bit + width_ > bits) return false;
            uint32_t code = 0;
            for (int k = 0; k < width_; ++k, ++bit)
                code = code << 1 | ((p[bit >> 3] >> (7 - (bit & 7))) & 1);
            if (code == kClear) {
                reset();
                old = -1;
                continue;
            }
            if (code == kEnd) return false;
            if (old < 0) {
                if (code > 255) return false;
                emit(int(code), from, to, out);
            } else if (int(code) < next_) {
                emit(int(code), from, to, out);
                add(old, first_[code]);
            } else if (int(code) == next_) {
                // The string just being defined: the last one and its own
                // first byte.
                add(old, first_[old]);
                emit(int(code), from, to, out);
            } else {
                return false;
            }
            old = int(code);
            if (next_ >= (1 << width_) - 1 && width_ < 12) ++width_;
        }
        return true;
    }

  private:
    void reset() {
        next_ = kFirstFree;
        width_ = 9;
        for (int c = 0; c < 256; ++c) {
            prefix_[c] = -1;
            byte_[c] = uint8_t(c);
            first_[c] = uint8_t(c);
            length_[c] = 1;
        }
    }
    void add(int prefix, uint8_t b) {
        if (next_ >= kCodes) return;  // a full table takes no more strings
        prefix_[next_] = int16_t(prefix);
        byte_[next_] = b;
        first_[next_] = first_[prefix];
        length_[next_] = uint16_t(length_[prefix] + 1);
        ++next_;
    }
    void emit(int code, uint64_t from, uint64_t to, uint8_t* out) {
        const uint64_t start = produced_;
        produced_ += length_[code];
        if (produced_ <= from || start >= to) return;
        // The string is spelled from its last byte back to its first.
        uint64_t at = produced_;
        for (int c = code; c >= 0; c = prefix_[c]) {
            --at;
            if (at >= from && at < to) out[at - from] = byte_[c];
        }
    }

    std::array<int16_t, kCodes> prefix_{};
    std::array<uint8_t, kCodes> byte_{}, first_{};
    std::array<uint16_t, kCodes> length_{};
    int next_ = kFirstFree;
    int width_ = 9;
    uint64_t produced_ = 0;
};

// The XML entities an escaped text may hold, resolved; a reference that is
// none is kept as it stands.
std::string unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const size_t semi = s.find(';', i);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += s[i];
            continue;
        }
        const std::string_view name = s.substr(i + 1, semi - i - 1);
        static const std::pair<const char*, char> named[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        bool done = false;
        for (const auto& n : named)
            if (name == n.first) out += n.second, done = true;
        if (!done && name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            uint32_t v = 0;
            bool ok = name.size() > (hex ? 2u : 1u);
            for (size_t k = hex ? 2 : 1; k < name.size() && ok; ++k) {
                const char c = name[k];
                const int d = c >= '0' && c <= '9'          ? c - '0'
                              : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                            : -1;
                ok = d >= 0 && v < 0x110000;
                v = v * (hex ? 16 : 10) + uint32_t(d);
            }
            // Code points as UTF-8; surrogates and NUL are no characters.
            if (ok && v > 0 && v < 0x110000 && (v < 0xD800 || v > 0xDFFF)) {
                if (v < 0x80) {
                    out += char(v);
                } else if (v < 0x800) {
                    out += char(0xC0 | (v >> 6));
                    out += char(0x80 | (v & 0x3F));
                } else if (v < 0x10000) {
                    out += char(0xE0 | (v >> 12));
                    out += char(0x80 | ((v >> 6) & 0x3F));
                    out += char(0x80 | (v & 0x3F));
                } else {
                    out += char(0xF0 | (v >> 18));
                    out += char(0x80 | ((v >> 12) & 0x3F));
                    out += char(0x80 | ((v >> 6) & 0x3F));
                    out += char(0x80 | (v & 0x3F));
                }
                done = true;
            }
        }
        if (done)
            i = semi;
        else
            out += s[i];
    }
    return out;
}

}  // namespace

bool istiff(std::string_view b) {
    return b.size() >= 4 && (b.substr(0, 4) == std::string_view("II*\0", 4) ||
                             b.substr(0, 4) == std::string_view("MM\0*", 4));
}

shell::Result<TiffImage> readtiff(std::string_view bytes) {
    if (!istiff(bytes)) return notiff("it does not start as one");
    const Reader r(bytes, bytes[0] == 'M');
    if (!r.has(4, 4)) return notiff("it ends in its header");
    const uint32_t ifd = r.u32(4);
    if (!r.has(ifd, 2)) return notiff("its directory lies outside the file");
    const uint32_t count = r.u16(ifd);
    if (!r.has(ifd + 2ull, 12ull * count)) return notiff("its directory runs past the end");

    std::array<Entry, 13> found{};  // by position in `wanted`
    static const Tag wanted[13] = {
        tag_width,        tag_height,          tag_bitspersample, tag_compression,
        tag_photometric,  tag_description,     tag_stripoffsets,  tag_samplesperpixel,
        tag_rowsperstrip, tag_stripbytecounts, tag_planar,        tag_predictor,
        tag_xmp};
    for (uint32_t k = 0; k < count; ++k) {
        const uint64_t at = ifd + 2ull + 12ull * k;
        const uint32_t tag = r.u16(at);
        Entry e;
        e.type = uint16_t(r.u16(at + 2));
        e.count = r.u32(at + 4);
        if (e.type == 0 || e.type > 12) continue;  // a type newer than this reader
        const uint64_t size = uint64_t(kTypeSize[e.type]) * e.count;
        e.at = size <= 4 ? at + 8 : r.u32(at + 8);
        for (size_t w = 0; w < found.size(); ++w) {
            if (tag != wanted[w]) continue;
            if (!r.has(e.at, size))
                return notiff("field " + std::to_string(tag) + " lies outside the file");
            found[w] = e;
        }
    }
    auto entry = [&](Tag t) -> const Entry& {
        size_t w = 0;
        while (wanted[w] != t) ++w;
        return found[w];
    };
    auto numeric = [&](Tag t) {
        const Entry& e = entry(t);
        return e.count > 0 && (e.type == kTypeShort || e.type == kTypeLong);
    };
    // One number: the field's first value, or `absent` when it is missing.
    auto value = [&](Tag t, uint32_t absent) {
        return numeric(t) ? number(r, entry(t), 0) : absent;
    };

    TiffImage im;
    if (!numeric(tag_width) || !numeric(tag_height)) return notiff("it gives no picture size");
    const uint32_t w = value(tag_width, 0), h = value(tag_height, 0);
    if (w < 1 || h < 1 || w > 0xFFFF || h > 0xFFFF) return notiff("its picture size is not one");
    im.width = int(w);
    im.height = int(h);

    const Entry& d = entry(tag_description);
    if (d.count > 0 && d.type == 2) {
        std::string_view text = r.bytes(d.at, d.count);
        im.description = std::string(text.substr(0, text.find('\0')));
    } else if (const Entry& x = entry(tag_xmp); x.count > 0 && (x.type == 1 || x.type == 7)) {
        if (std::optional<std::string> t = xmpdescription(r.bytes(x.at, x.count)))
            im.description = *t;
    }

    // The pixels: 8-bit RGB, interleaved, raw or LZW without a predictor.
    const Entry& bps = entry(tag_bitspersample);
    bool eightbits = numeric(tag_bitspersample);
    for (uint32_t k = 0; eightbits && k < bps.count && k < 3; ++k)
        eightbits = number(r, bps, k) == 8;
    im.compression = int(value(tag_compression, kCompressionNone));
    im.rowsperstrip = int(std::min<uint32_t>(value(tag_rowsperstrip, h), h));
    if (!eightbits || value(tag_samplesperpixel, 1) != 3)
        im.pixels = "its pixels are not 8-bit RGB";
    else if (value(tag_photometric, 0) != kPhotometricRgb)
        im.pixels = "its pixels are not RGB";
    else if (value(tag_planar, 1) != 1)
        im.pixels = "its colour planes are stored apart";
    else if (im.compression != kCompressionNone && im.compression != kCompressionLzw)
        im.pixels = "its compression " + std::to_string(im.compression) + " is not read here";
    else if (value(tag_predictor, 1) != 1)
        im.pixels = "its compression uses a predictor";
    else if (im.rowsperstrip < 1 || !numeric(tag_stripoffsets) || !numeric(tag_stripbytecounts))
        im.pixels = "it says nothing of its strips";
    if (!im.pixels.empty()) return im;

    const uint32_t strips = (h + uint32_t(im.rowsperstrip) - 1) / uint32_t(im.rowsperstrip);
    const Entry& so = entry(tag_stripoffsets);
    const Entry& sb = entry(tag_stripbytecounts);
    if (so.count < strips || sb.count < strips) {
        im.pixels = "it has fewer strips than rows";
        return im;
    }
    for (uint32_t k = 0; k < strips; ++k) {
        im.stripoffsets.push_back(number(r, so, k));
        im.stripbytes.push_back(number(r, sb, k));
    }
    im.rgb8 = true;
    return im;
}

shell::Result<std::vector<uint8_t>> tiffrow(std::string_view bytes, const TiffImage& im, int y) {
    const auto fail = [](const std::string& why) {
        return shell::Error{shell::Fault::content, "", "its picture cannot be read: " + why};
    };
    if (!im.rgb8) return fail(im.pixels);
    if (y < 0 || y >= im.height) return fail("it has no row " + std::to_string(y));
    const uint64_t rowbytes = uint64_t(im.width) * 3;
    const size_t strip = size_t(y / im.rowsperstrip);
    const uint64_t from = rowbytes * uint64_t(y % im.rowsperstrip);
    const Reader r(bytes, false);
    if (strip >= im.stripoffsets.size() || !r.has(im.stripoffsets[strip], im.stripbytes[strip]))
        return fail("a strip lies outside the file");
    const std::string_view data = r.bytes(im.stripoffsets[strip], im.stripbytes[strip]);
    std::vector<uint8_t> row(rowbytes);
    if (im.compression == kCompressionNone) {
        if (data.size() < from + rowbytes) return fail("a strip ends early");
        std::memcpy(row.data(), data.data() + from, rowbytes);
        return row;
    }
    LzwDecoder lzw;
    if (!lzw.decode(data, from, from + rowbytes, row.data()))
        return fail("its compressed strip is damaged");
    return row;
}

std::optional<std::string> xmpdescription(std::string_view packet) {
    const size_t start = packet.find("<dc:description");
    if (start == std::string_view::npos) return std::nullopt;
    const size_t end = packet.find("</dc:description>", start);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view element = packet.substr(start, end - start);
    const size_t li = element.find("<rdf:li");
    if (li == std::string_view::npos) return std::nullopt;
    const size_t open = element.find('>', li);
    if (open == std::string_view::npos) return std::nullopt;
    if (element[open - 1] == '/') return std::string();  // an empty element
    const size_t close = element.find("</rdf:li>", open);
    if (close == std::string_view::npos) return std::nullopt;
    return unescape(element.substr(open + 1, close - open - 1));
}

}  // namespace huewright
