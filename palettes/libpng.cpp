// PNG through libpng: the encoder of palettes/png.h, and the decoder behind
// the strip reader (pngstrip.h).
//
// libpng reports errors by longjmp. The functions that call setjmp keep no
// objects with destructors of their own: every buffer is made before and
// handed in by pointer, so a jump out of libpng skips nothing that needs
// cleaning up, and the libpng structures are freed by the caller's guard.
#include <png.h>

#include <atomic>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "palettes/codec.h"
#include "palettes/png.h"
#include "palettes/pngstrip.h"

namespace palettes {

namespace {

// The largest ancillary chunk (a text, possibly compressed) libpng keeps.
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;
// The largest block libpng may allocate while reading. libpng sizes a text
// chunk's buffer by the length the chunk claims, before reading it, so a
// few bytes claiming a 2 GB text would otherwise cost 2 GB; rows (at most
// kMaxPngWidth 16-bit RGBA pixels) and the decompressor stay far below this.
constexpr png_alloc_size_t kMaxAllocation = 4u << 20;
// The passes of Adam7 interlacing that hold pixels of row 0: all but the
// last, which holds the odd rows only.
constexpr int kPassesWithRowZero = 6;
// Room for the written file beyond the filtered rows, which deflate may
// store uncompressed: zlib's and the chunks' framing (a few bytes per block
// of a few kilobytes), the header chunks and the texts.
constexpr size_t kEncodedOverhead = 64 * 1024;
constexpr size_t kFramingShare = 256;

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
    png_set_user_limits(png, kMaxPngWidth, kMaxPngHeight);
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

shell::Result<PngRow> decodepngrow(std::string_view bytes) {
    ErrorState errors{};
    ReadGuard guard;
    guard.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &errors, onerror, onwarning,
                                         nullptr, boundedmalloc, plainfree);
    if (guard.png) guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return failure(kPngWhat, "out of memory", shell::Fault::memory);
    Source src{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0};
    png_set_read_fn(guard.png, &src, readbytes);

    Header h{};
    if (!readheader(guard.png, guard.info, &h)) return failure(kPngWhat, errors.message);
    if (h.channels != 3 || h.depth != 8 || h.rowbytes != size_t(h.width) * 3)
        return failure(kPngWhat, "its pixels cannot be read as 8-bit RGB");
    if (h.passes > 1 && uint64_t(h.width) * h.height > kMaxInterlacedPixels)
        return failure(kPngWhat, "it is interlaced and larger than " +
                                     std::to_string(kMaxInterlacedPixels) + " pixels");
    std::vector<png_byte> row(h.rowbytes), scratch(h.passes > 1 ? h.rowbytes : 0);
    if (!readrowzero(guard.png, &h, row.data(), scratch.data()))
        return failure(kPngWhat, errors.message);

    PngRow out;
    out.width = h.width;
    out.rgb = std::move(row);
    png_textp texts = nullptr;
    const int count = png_get_text(guard.png, guard.info, &texts, nullptr);
    for (int k = 0; k < count; ++k) {
        if (texts[k].text == nullptr) continue;
        const bool international = texts[k].compression >= PNG_ITXT_COMPRESSION_NONE;
        out.texts.push_back(PngTextChunk{
            texts[k].key,
            std::string(texts[k].text, international ? texts[k].itxt_length : texts[k].text_length),
            international});
    }
    return out;
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

void setpngmemoryfailure(bool fail) {
    failallocations = fail;
}

}  // namespace palettes
