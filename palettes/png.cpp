// PNG strips (.png): the palette as an image whose row 0 holds the entries
// from left to right. Written 256 x 16, 8-bit RGB, with the palette's name
// and description as text chunks; read from any PNG libpng can turn into
// 8-bit RGB, taking row 0 and resampling it to 256 entries.
//
// The encoder (palettes/png.h) also writes the desktop artwork.
//
// libpng reports errors by longjmp. The functions that call setjmp keep no
// objects with destructors of their own: every buffer is made before and
// handed in by pointer, so a jump out of libpng skips nothing that needs
// cleaning up, and the libpng structures are freed by the caller's guard.
#include "palettes/png.h"

#include <png.h>

#include <atomic>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "palettes/codec.h"

namespace palettes {

namespace {

const char* const kWhat = "Not a PNG strip";
constexpr int kStripWidth = 256;
constexpr int kStripHeight = 16;
// Limits for untrusted files: no palette strip is wider, and libpng refuses
// larger images before allocating anything.
constexpr uint32_t kMaxWidth = 1u << 16;
constexpr uint32_t kMaxHeight = 1u << 20;
// Row 0 of an interlaced image is complete only after most of the image has
// been decoded, so interlaced images are read only up to this many pixels.
constexpr uint64_t kMaxInterlacedPixels = 1u << 24;
// The largest ancillary chunk (a text, possibly compressed) libpng keeps.
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;
// The largest block libpng may allocate while reading. libpng sizes a text
// chunk's buffer by the length the chunk claims, before reading it, so a
// few bytes claiming a 2 GB text would otherwise cost 2 GB; rows (at most
// kMaxWidth 16-bit RGBA pixels) and the decompressor stay far below this.
constexpr png_alloc_size_t kMaxAllocation = 4u << 20;
// The passes of Adam7 interlacing that hold pixels of row 0: all but the
// last, which holds the odd rows only.
constexpr int kPassesWithRowZero = 6;
// Room for the written file beyond the filtered rows, which deflate may
// store uncompressed: zlib's and the chunks' framing (a few bytes per block
// of a few kilobytes), the header chunks and the texts.
constexpr size_t kEncodedOverhead = 64 * 1024;
constexpr size_t kFramingShare = 256;
constexpr const char* kTitleKey = "Title";
constexpr const char* kDescriptionKey = "Description";

struct ErrorState {
    char message[200];
    bool outofmemory;  // an allocation failed: the error is the lack of memory
};

// Set by the test hook: every allocation of the encoder fails.
std::atomic<bool> failallocations{false};

void onerror(png_structp png, png_const_charp message) {
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void onwarning(png_structp, png_const_charp) {}

// A refused allocation is an error (or, for an ancillary chunk, a warning
// and the chunk skipped) inside libpng.
png_voidp boundedmalloc(png_structp, png_alloc_size_t size) {
    return size <= kMaxAllocation ? malloc(size) : nullptr;
}

void plainfree(png_structp, png_voidp block) {
    free(block);
}

// The encoder's allocations, which note a failure for the error report.
png_voidp notedmalloc(png_structp png, png_alloc_size_t size) {
    void* block = failallocations ? nullptr : malloc(size);
    if (!block) static_cast<ErrorState*>(png_get_mem_ptr(png))->outofmemory = true;
    return block;
}

// The bytes being read and how far libpng got.
struct Source {
    const unsigned char* data;
    size_t size;
    size_t at;
};

void readbytes(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (count > src->size - src->at) png_error(png, "the file ends early");
    memcpy(out, src->data + src->at, count);
    src->at += count;
}

// What the header says, after the transformations to 8-bit RGB.
struct Header {
    uint32_t width, height;
    int passes;
    size_t rowbytes;
    int channels, depth;
};

// Reads the header and sets up 8-bit RGB output: palettes and low bit depths
// expand, 16 bits are scaled (rounded, not cut) to 8, grey becomes RGB, and
// alpha is dropped (a palette has no opacity).
bool readheader(png_structp png, png_infop info, Header* h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxWidth, kMaxHeight);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    h->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    h->width = png_get_image_width(png, info);
    h->height = png_get_image_height(png, info);
    h->rowbytes = png_get_rowbytes(png, info);
    h->channels = png_get_channels(png, info);
    h->depth = png_get_bit_depth(png, info);
    return true;
}

// Reads row 0 into `row`; other rows of an interlaced image pass through
// `scratch`.
bool readrowzero(png_structp png, const Header* h, png_bytep row, png_bytep scratch) {
    if (setjmp(png_jmpbuf(png))) return false;
    if (h->passes == 1) {
        png_read_row(png, row, nullptr);
        return true;
    }
    for (int pass = 0; pass < kPassesWithRowZero; ++pass)
        for (uint32_t y = 0; y < h->height; ++y) png_read_row(png, y == 0 ? row : scratch, nullptr);
    return true;
}

// Frees the libpng structures however the reading or writing ended.
struct ReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};
struct WriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteGuard() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

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

struct Sink {
    std::string* out;
};

// The buffer was reserved for the whole file: growing it here could throw
// through libpng's C frames, so running out of room is an error instead.
void writebytes(png_structp png, png_bytep data, png_size_t count) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (count > sink->out->capacity() - sink->out->size()) png_error(png, "out of room");
    sink->out->append(reinterpret_cast<const char*>(data), count);
}

void flushbytes(png_structp) {}

bool writeimage(png_structp png, png_infop info, const PngImage* image, png_textp texts,
                int textcount, int level) {
    if (setjmp(png_jmpbuf(png))) return false;
    if (level >= 0) png_set_compression_level(png, level);
    png_set_IHDR(png, info, png_uint_32(image->width), png_uint_32(image->height), 8,
                 image->channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (textcount > 0) png_set_text(png, info, texts, textcount);
    png_write_info(png, info);
    for (int y = 0; y < image->height; ++y)
        png_write_row(png, const_cast<png_bytep>(image->data + size_t(y) * image->stride));
    png_write_end(png, info);
    return true;
}

}  // namespace

shell::Result<PaletteInfo> readpng(std::string_view bytes, shell::Palette& palette) {
    ErrorState errors{};
    ReadGuard guard;
    guard.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &errors, onerror, onwarning,
                                         nullptr, boundedmalloc, plainfree);
    if (guard.png) guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return failure(kWhat, "out of memory", shell::Fault::memory);
    Source src{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0};
    png_set_read_fn(guard.png, &src, readbytes);

    Header h{};
    if (!readheader(guard.png, guard.info, &h)) return failure(kWhat, errors.message);
    if (h.channels != 3 || h.depth != 8 || h.rowbytes != size_t(h.width) * 3)
        return failure(kWhat, "its pixels cannot be read as 8-bit RGB");
    if (h.passes > 1 && uint64_t(h.width) * h.height > kMaxInterlacedPixels)
        return failure(kWhat, "it is interlaced and larger than " +
                                  std::to_string(kMaxInterlacedPixels) + " pixels");
    std::vector<png_byte> row(h.rowbytes), scratch(h.passes > 1 ? h.rowbytes : 0);
    if (!readrowzero(guard.png, &h, row.data(), scratch.data()))
        return failure(kWhat, errors.message);

    // Row 0 as a gradient: pixel x stands at t = x / (width - 1), and entry
    // i is the straight mix of the two pixels around t = i / 255. A strip
    // 256 wide is taken as it is.
    shell::Palette scratchpalette{};
    for (int i = 0; i < 256; ++i) {
        double x = h.width > 1 ? i * double(h.width - 1) / 255 : 0;
        uint32_t left = std::min(static_cast<uint32_t>(x), h.width - 1);
        uint32_t right = std::min(left + 1, h.width - 1);
        double f = x - left;
        for (int c = 0; c < 3; ++c) {
            double a = row[left * 3 + c], b = row[right * 3 + c];
            scratchpalette[i][c] = tobyte((a + (b - a) * f) / 255);
        }
    }

    // The texts before the pixels; an international (UTF-8) text rules over
    // a Latin-1 one of the same key.
    PaletteInfo r;
    r.sampled = h.width != 256;
    png_textp texts = nullptr;
    int count = png_get_text(guard.png, guard.info, &texts, nullptr);
    for (int pass = 0; pass < 2; ++pass)
        for (int k = 0; k < count; ++k) {
            bool international = texts[k].compression >= PNG_ITXT_COMPRESSION_NONE;
            if (international != (pass == 1) || texts[k].text == nullptr) continue;
            std::string_view text(texts[k].text,
                                  international ? texts[k].itxt_length : texts[k].text_length);
            std::string value = international ? validutf8(text) : latin1toutf8(text);
            if (strcmp(texts[k].key, kTitleKey) == 0) r.name = value;
            if (strcmp(texts[k].key, kDescriptionKey) == 0) r.description = value;
        }
    palette = scratchpalette;
    return r;
}

shell::Result<std::string> encodepng(const PngImage& image, const std::vector<PngText>& texts,
                                     int level) {
    if (image.width <= 0 || image.height <= 0 || image.width > int(PNG_USER_WIDTH_MAX) ||
        image.height > int(PNG_USER_HEIGHT_MAX) || (image.channels != 3 && image.channels != 4) ||
        (image.stride != 0 && image.stride < size_t(image.width) * image.channels) ||
        image.data == nullptr)
        return shell::Error{shell::Fault::content, "", "no image libpng can write"};
    std::vector<png_text> chunks(texts.size());
    size_t textbytes = 0;
    for (size_t k = 0; k < texts.size(); ++k) {
        png_text& t = chunks[k];
        t.compression =
            texts[k].international ? PNG_ITXT_COMPRESSION_NONE : PNG_TEXT_COMPRESSION_NONE;
        t.key = const_cast<char*>(texts[k].key);
        t.text = const_cast<char*>(texts[k].text.data());
        t.text_length = texts[k].text.size();
        textbytes += 2 * texts[k].text.size();
    }
    const size_t filtered = size_t(image.height) * (1 + size_t(image.width) * image.channels);
    std::string out;
    out.reserve(filtered + filtered / kFramingShare + kEncodedOverhead + textbytes);
    Sink sink{&out};
    ErrorState errors{};
    WriteGuard guard;
    guard.png = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, &errors, onerror, onwarning,
                                          &errors, notedmalloc, plainfree);
    if (guard.png) guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return shell::Error{shell::Fault::memory, "", "out of memory"};
    png_set_write_fn(guard.png, &sink, writebytes, flushbytes);
    if (!writeimage(guard.png, guard.info, &image, chunks.data(), int(chunks.size()), level)) {
        if (errors.outofmemory) return shell::Error{shell::Fault::memory, "", "out of memory"};
        return shell::Error{shell::Fault::content, "", errors.message};
    }
    return out;
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
    png_byte row[kStripWidth * 3];
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) row[i * 3 + c] = palette[i][c];
    return encodepng(PngImage{kStripWidth, kStripHeight, 3, 0, row}, texts);
}

void setpngmemoryfailure(bool fail) {
    failallocations = fail;
}

}  // namespace palettes
