// PNG through Windows's imaging component (WIC): the encoder of
// palettes/png.h and the decoder behind the strip reader (pngstrip.h).
//
// WIC compresses and decompresses the pixels; the chunks around them are
// ours. The encoder keeps only WIC's header and image data, and puts the
// text chunks in as libpng writes them, so that a file differs from the
// Linux build's only in how deflate packed the pixels. The decoder reads
// the header and the texts itself, with the limits the Linux reader has, and
// turns WIC's pixels into 8-bit RGB by libpng's rules. Compressed texts
// (zTXt, compressed iTXt) are not read: there is no inflater here but WIC's,
// which keeps them to itself.
//
// Sections: chunks; encoding; decoding.
#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "palettes/codec.h"
#include "palettes/png.h"
#include "palettes/pngstrip.h"

namespace palettes {

namespace {

using Microsoft::WRL::ComPtr;

// The largest image libpng writes on Linux, so both builds refuse the same.
constexpr int kMaxEncodedSide = 1000000;
// WIC decodes a whole image before its first row can be read, so a strip
// is read only up to this many pixels (about 200 MB of 24-bit pixels).
constexpr uint64_t kMaxDecodedPixels = 1u << 26;
// The bytes of the signature and a chunk's length, type and checksum.
constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr size_t kChunkFraming = 12;
constexpr size_t kHeaderBytes = 13;
constexpr const char* kWhatEncoder = "the imaging component cannot encode the image";

// Set by the test hook: the encoder fails as when memory runs out.
std::atomic<bool> failallocations{false};

// ---------------------------------------------------------------- chunks

uint32_t crc32(const char* type, std::string_view data) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (char ch : std::string_view(type, 4)) c = table[(c ^ uint8_t(ch)) & 0xFF] ^ (c >> 8);
    for (char ch : data) c = table[(c ^ uint8_t(ch)) & 0xFF] ^ (c >> 8);
    return ~c;
}

uint32_t get32(std::string_view s, size_t at) {
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 |
           uint32_t(uint8_t(s[at + 2])) << 8 | uint8_t(s[at + 3]);
}

void put32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += char((v >> shift) & 0xFF);
}

void appendchunk(std::string& out, const char* type, std::string_view data) {
    put32(out, uint32_t(data.size()));
    out.append(type, 4);
    out.append(data);
    put32(out, crc32(type, data));
}

// One chunk of a PNG file, its data a view into the file.
struct Chunk {
    std::string type;
    std::string_view data;
    bool intact;  // its checksum holds
};

// The chunks after the signature, up to the first that runs past the end.
std::vector<Chunk> chunks(std::string_view file) {
    std::vector<Chunk> out;
    size_t at = kSignature.size();
    while (at + kChunkFraming <= file.size()) {
        const uint32_t length = get32(file, at);
        if (length > file.size() - at - kChunkFraming) break;
        Chunk c{std::string(file.substr(at + 4, 4)), file.substr(at + 8, length), false};
        c.intact = crc32(c.type.c_str(), c.data) == get32(file, at + 8 + length);
        out.push_back(c);
        at += kChunkFraming + length;
        if (c.type == "IEND") break;
    }
    return out;
}

// COM on the calling thread for as long as the object lives; a thread that
// already has it, in whatever mode, keeps it.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ~ComScope() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

ComPtr<IWICImagingFactory> factory() {
    ComPtr<IWICImagingFactory> f;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f));
    return f;
}

// ---------------------------------------------------------------- encoding

// The pixels as WIC takes them: blue, green, red (and alpha) order.
std::vector<BYTE> bgrpixels(const PngImage& image) {
    const int n = image.channels;
    std::vector<BYTE> out(size_t(image.width) * n * image.height);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* src = image.data + size_t(y) * image.stride;
        BYTE* dst = out.data() + size_t(y) * image.width * n;
        for (int x = 0; x < image.width; ++x, src += n, dst += n) {
            dst[0] = src[2], dst[1] = src[1], dst[2] = src[0];
            if (n == 4) dst[3] = src[3];
        }
    }
    return out;
}

// What WIC makes of the pixels: a whole PNG file in memory.
bool wicencode(const PngImage& image, std::string& file) {
    ComScope com;
    ComPtr<IWICImagingFactory> f = factory();
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    ComPtr<IStream> stream(SHCreateMemStream(nullptr, 0));
    WICPixelFormatGUID format =
        image.channels == 4 ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    const WICPixelFormatGUID asked = format;
    if (!f || !stream || FAILED(f->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(UINT(image.width), UINT(image.height))) ||
        FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, asked))
        return false;
    std::vector<BYTE> pixels = bgrpixels(image);
    const UINT stride = UINT(image.width * image.channels);
    if (FAILED(
            frame->WritePixels(UINT(image.height), stride, UINT(pixels.size()), pixels.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;
    STATSTG st{};
    if (FAILED(stream->Stat(&st, STATFLAG_NONAME)) || st.cbSize.QuadPart > (1ull << 31))
        return false;
    file.resize(size_t(st.cbSize.QuadPart));
    const LARGE_INTEGER start{};
    ULONG got = 0;
    return SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
           SUCCEEDED(stream->Read(file.data(), ULONG(file.size()), &got)) && got == file.size();
}

// A text chunk's data as libpng writes it: the key, a zero, and for iTXt an
// uncompressed text without language tags.
std::string textdata(const PngText& t) {
    std::string d = std::string(t.key) + '\0';
    if (t.international) d += std::string("\0\0\0\0", 4);
    return d + t.text;
}

}  // namespace

shell::Result<std::string> encodepng(const PngImage& image, const std::vector<PngText>& texts,
                                     int /*level*/) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxEncodedSide ||
        image.height > kMaxEncodedSide || (image.channels != 3 && image.channels != 4) ||
        (image.stride != 0 && image.stride < size_t(image.width) * image.channels) ||
        image.data == nullptr)
        return shell::Error{shell::Fault::content, "", "no image the encoder can write"};
    if (failallocations) return shell::Error{shell::Fault::memory, "", "out of memory"};
    std::string wic;
    if (!wicencode(image, wic) || wic.compare(0, kSignature.size(), kSignature) != 0)
        return shell::Error{shell::Fault::content, "", kWhatEncoder};

    // WIC's header and pixels, with our texts between them as libpng puts
    // them; whatever else WIC adds (colour space, resolution) is left out.
    std::string out(kSignature);
    bool header = false, pixels = false;
    for (const Chunk& c : chunks(wic)) {
        if (c.type == "IHDR" && !header) {
            appendchunk(out, "IHDR", c.data);
            for (const PngText& t : texts)
                appendchunk(out, t.international ? "iTXt" : "tEXt", textdata(t));
            header = true;
        } else if (c.type == "IDAT" && header) {
            appendchunk(out, "IDAT", c.data);
            pixels = true;
        }
    }
    if (!pixels) return shell::Error{shell::Fault::content, "", kWhatEncoder};
    appendchunk(out, "IEND", "");
    return out;
}

void setpngmemoryfailure(bool fail) {
    failallocations = fail;
}

// ---------------------------------------------------------------- decoding

namespace {

// The header's fields.
struct Header {
    uint32_t width, height;
    int depth, colourtype, interlace;
};

// A text chunk's key and text; false for a compressed or broken one.
bool readtext(const Chunk& c, PngTextChunk& t) {
    const size_t zero = c.data.find('\0');
    if (zero == std::string_view::npos || zero == 0) return false;
    t.key = std::string(c.data.substr(0, zero));
    std::string_view rest = c.data.substr(zero + 1);
    t.international = c.type == "iTXt";
    if (t.international) {
        // Compression flag and method, then the language tag and the
        // translated key, each ended by a zero.
        if (rest.size() < 2 || rest[0] != 0) return false;
        rest.remove_prefix(2);
        for (int k = 0; k < 2; ++k) {
            const size_t end = rest.find('\0');
            if (end == std::string_view::npos) return false;
            rest.remove_prefix(end + 1);
        }
    }
    t.text = std::string(rest);
    return true;
}

// libpng's rounding of a 16-bit sample (high byte first) to 8 bits.
uint8_t scale16(int high, int low) {
    int v = high;
    v += ((low - v + 128) * 65535) >> 24;
    return uint8_t(v);
}

// Row 0 of the frame in `format` turned into 8-bit RGB by libpng's rules;
// false for a format this does not know.
bool convertrow(const WICPixelFormatGUID& format, const std::vector<BYTE>& in, uint32_t width,
                const std::vector<WICColor>& colours, std::vector<uint8_t>& rgb) {
    rgb.assign(size_t(width) * 3, 0);
    auto put = [&](uint32_t x, int r, int g, int b) {
        rgb[x * 3] = uint8_t(r), rgb[x * 3 + 1] = uint8_t(g), rgb[x * 3 + 2] = uint8_t(b);
    };
    // Samples of fewer than 8 bits, most significant first.
    auto packed = [&](uint32_t x, int bits) {
        const int shift = 8 - bits - int(x * bits % 8);
        return (in[x * bits / 8] >> shift) & ((1 << bits) - 1);
    };
    auto word = [&](size_t at) {  // WIC keeps 16-bit samples little-endian
        return std::make_pair(int(in[at + 1]), int(in[at]));
    };
    const struct Grey {
        GUID format;
        int bits;
    } greys[] = {{GUID_WICPixelFormatBlackWhite, 1},
                 {GUID_WICPixelFormat2bppGray, 2},
                 {GUID_WICPixelFormat4bppGray, 4},
                 {GUID_WICPixelFormat8bppGray, 8}};
    for (const Grey& g : greys)
        if (IsEqualGUID(format, g.format)) {
            const int top = (1 << g.bits) - 1;
            for (uint32_t x = 0; x < width; ++x) {
                const int v = packed(x, g.bits) * 255 / top;
                put(x, v, v, v);
            }
            return true;
        }
    const struct Indexed {
        GUID format;
        int bits;
    } indexed[] = {{GUID_WICPixelFormat1bppIndexed, 1},
                   {GUID_WICPixelFormat2bppIndexed, 2},
                   {GUID_WICPixelFormat4bppIndexed, 4},
                   {GUID_WICPixelFormat8bppIndexed, 8}};
    for (const Indexed& p : indexed)
        if (IsEqualGUID(format, p.format)) {
            for (uint32_t x = 0; x < width; ++x) {
                // An index past the palette is black, as libpng reads it.
                const size_t k = size_t(p.bits == 8 ? in[x] : packed(x, p.bits));
                const WICColor c = k < colours.size() ? colours[k] : 0;
                put(x, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
            }
            return true;
        }
    if (IsEqualGUID(format, GUID_WICPixelFormat16bppGray)) {
        for (uint32_t x = 0; x < width; ++x) {
            const auto [hi, lo] = word(x * 2);
            const int v = scale16(hi, lo);
            put(x, v, v, v);
        }
        return true;
    }
    const bool bgr = IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
    const bool bgra = IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA);
    if (bgr || bgra) {
        const int n = bgr ? 3 : 4;
        for (uint32_t x = 0; x < width; ++x) put(x, in[x * n + 2], in[x * n + 1], in[x * n]);
        return true;
    }
    const bool rgb48 = IsEqualGUID(format, GUID_WICPixelFormat48bppRGB);
    const bool rgba64 = IsEqualGUID(format, GUID_WICPixelFormat64bppRGBA);
    if (rgb48 || rgba64) {
        const size_t n = rgb48 ? 6 : 8;
        for (uint32_t x = 0; x < width; ++x) {
            int c[3];
            for (int k = 0; k < 3; ++k) {
                const auto [hi, lo] = word(x * n + 2 * k);
                c[k] = scale16(hi, lo);
            }
            put(x, c[0], c[1], c[2]);
        }
        return true;
    }
    return false;
}

// Row 0 of the image WIC decodes, as 8-bit RGB.
shell::Result<std::vector<uint8_t>> wicrow(std::string_view file, uint32_t width) {
    const auto broken = [](const char* why) { return failure(kPngWhat, why); };
    ComScope com;
    ComPtr<IWICImagingFactory> f = factory();
    ComPtr<IStream> stream(
        SHCreateMemStream(reinterpret_cast<const BYTE*>(file.data()), UINT(file.size())));
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!f || !stream) return failure(kPngWhat, "out of memory", shell::Fault::memory);
    if (FAILED(f->CreateDecoderFromStream(stream.Get(), &GUID_VendorMicrosoft,
                                          WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)))
        return broken("the imaging component cannot decode it");
    WICPixelFormatGUID format{};
    frame->GetPixelFormat(&format);
    std::vector<WICColor> colours;
    ComPtr<IWICPalette> palette;
    UINT count = 0;
    if (SUCCEEDED(f->CreatePalette(&palette)) && SUCCEEDED(frame->CopyPalette(palette.Get())) &&
        SUCCEEDED(palette->GetColorCount(&count)) && count > 0) {
        colours.resize(count);
        palette->GetColors(count, colours.data(), &count);
    }
    const WICRect top{0, 0, INT(width), 1};
    std::vector<BYTE> in(size_t(width) * 8);
    std::vector<uint8_t> rgb;
    if (SUCCEEDED(frame->CopyPixels(&top, UINT(in.size()), UINT(in.size()), in.data())) &&
        convertrow(format, in, width, colours, rgb))
        return rgb;
    // A format of WIC's own choosing: its own conversion to 8-bit colour.
    ComPtr<IWICBitmapSource> converted;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), &converted)) ||
        FAILED(converted->CopyPixels(&top, UINT(in.size()), UINT(in.size()), in.data())) ||
        !convertrow(GUID_WICPixelFormat24bppBGR, in, width, colours, rgb))
        return broken("its pixels cannot be read as 8-bit RGB");
    return rgb;
}

}  // namespace

shell::Result<PngRow> decodepngrow(std::string_view bytes) {
    if (bytes.compare(0, kSignature.size(), kSignature) != 0)
        return failure(kPngWhat, "it has no PNG signature");
    const std::vector<Chunk> all = chunks(bytes);
    if (all.empty() || all[0].type != "IHDR" || all[0].data.size() != kHeaderBytes ||
        !all[0].intact)
        return failure(kPngWhat, "it has no header");
    const std::string_view d = all[0].data;
    const Header h{get32(d, 0), get32(d, 4), uint8_t(d[8]), uint8_t(d[9]), uint8_t(d[12])};
    if (h.width == 0 || h.height == 0) return failure(kPngWhat, "the image is empty");
    if (h.width > kMaxPngWidth || h.height > kMaxPngHeight)
        return failure(kPngWhat, "the image is larger than a strip may be");
    const uint64_t pixels = uint64_t(h.width) * h.height;
    if (h.interlace != 0 && pixels > kMaxInterlacedPixels)
        return failure(kPngWhat, "it is interlaced and larger than " +
                                     std::to_string(kMaxInterlacedPixels) + " pixels");
    if (pixels > kMaxDecodedPixels)
        return failure(kPngWhat,
                       "it is larger than " + std::to_string(kMaxDecodedPixels) + " pixels");

    PngRow out;
    out.width = h.width;
    // The texts before the pixels, as the Linux reader takes them.
    for (const Chunk& c : all) {
        if (c.type == "IDAT") break;
        PngTextChunk t;
        if ((c.type == "tEXt" || c.type == "iTXt") && c.intact && readtext(c, t))
            out.texts.push_back(std::move(t));
    }
    shell::Result<std::vector<uint8_t>> row = wicrow(bytes, h.width);
    if (!row.ok()) return row.error();
    out.rgb = std::move(row.value());
    return out;
}

}  // namespace palettes
