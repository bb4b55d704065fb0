// The file is built in memory in two pieces: the header, directory and data
// area (tiffhead), then the strip, row by row (raw) or in one piece once the
// LZW encoder has finished. The caller puts the bytes on disk.
#include "huewright/files/tiff.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "huewright/files/lzw.h"

namespace huewright {

const char* saveerror(const shell::Error& e) {
    switch (e.fault) {
        case shell::Fault::open:
            return "Error opening a save file.";
        case shell::Fault::memory:
            return "Not enough memory to buffer image lines.";
        case shell::Fault::write:
            return "Error writing to save file.";
        case shell::Fault::content:
            return "Data compression error.";
        case shell::Fault::read:
        case shell::Fault::cancelled:
            break;
    }
    return "";
}

namespace {

// TIFF field types.
constexpr uint16_t type_byte = 1;
constexpr uint16_t type_ascii = 2;
constexpr uint16_t type_short = 3;
constexpr uint16_t type_long = 4;
constexpr uint16_t type_rational = 5;
constexpr uint16_t type_undefined = 7;

constexpr uint16_t byteorder_intel = 0x4949;  // "II": little-endian
constexpr uint16_t tiffidentifier = 42;
constexpr uint32_t directoryoffset = 8;
constexpr uint16_t entrycount = 19;
constexpr uint32_t bitspersampleoffset = 242;  // after the directory and its next-offset 0
constexpr uint32_t descriptionoffset = 248;    // after the three BitsPerSample values
constexpr uint16_t photometric_rgb = 2;
constexpr uint16_t resolutionunit_inch = 2;
constexpr uint32_t dotsperinch = 300;
// The Exif directory the Exif pointer leads to holds the three fields an Exif
// directory must have: the Exif and Flashpix versions the file follows and
// the colour space of its pixels, sRGB. Readers that find no directory there
// parse whatever follows as one and fail or warn.
constexpr uint16_t exifentrycount = 3;
constexpr uint32_t exifdirectorysize = 2 + exifentrycount * 12 + 4;  // count, entries, next 0
static_assert(exifdirectorysize % 2 == 0, "every later offset must stay even");
constexpr char exifversion[4] = {'0', '2', '3', '2'};
constexpr char flashpixversion[4] = {'0', '1', '0', '0'};
constexpr uint16_t colorspace_srgb = 1;
constexpr int maxdimension = 0xFFFF;  // width and height are stored as SHORT

class Bytes {
  public:
    std::vector<uint8_t> b;
    void u16(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v & 0xFF));
        b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    // A SHORT value sits in the first two bytes of an entry's value field.
    void entry(uint16_t id, uint16_t type, uint32_t count, uint32_t value) {
        u16(id);
        u16(type);
        u32(count);
        u32(value);
    }
    // Four bytes of UNDEFINED data fit the value field itself, in file order.
    void entry(uint16_t id, uint16_t type, const char (&value)[4]) {
        u16(id);
        u16(type);
        u32(4);
        b.insert(b.end(), value, value + 4);
    }
    void text(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        b.push_back(0);
    }
    void block(const std::vector<uint8_t>& v) { b.insert(b.end(), v.begin(), v.end()); }
};

// Everything before the strip: header, the directory of 19 entries in tag
// order, and the data area the entries point into, the Exif directory among
// them. Every piece has an even size, so every offset is even.
std::vector<uint8_t> tiffhead(int xres, int yres, int compression, const Metadata& m,
                              const std::vector<uint8_t>& iptc, const std::string& xmp,
                              uint32_t rawsize) {
    const uint32_t descsize = static_cast<uint32_t>(m.descriptionstring.size() + 1);
    const uint32_t softsize = static_cast<uint32_t>(m.softwarestring.size() + 1);
    const uint32_t artsize = static_cast<uint32_t>(m.artiststring.size() + 1);
    const uint32_t copysize = static_cast<uint32_t>(m.copyrightstring.size() + 1);
    const uint32_t iptcsize = static_cast<uint32_t>(iptc.size());
    const uint32_t xmpsize = static_cast<uint32_t>(xmp.size() + 1);

    const uint32_t D = descriptionoffset + descsize;  // XResolution, then YResolution
    const uint32_t S = D + 16;                        // Software
    const uint32_t A = S + softsize;                  // Artist
    const uint32_t R = A + artsize;                   // Copyright
    const uint32_t I = R + copysize;                  // IPTC record
    const uint32_t E = I + iptcsize;                  // Exif directory
    const uint32_t X = E + exifdirectorysize;         // XMP packet
    const uint32_t P = X + xmpsize;                   // the strip

    Bytes h;
    h.b.reserve(P);
    h.u16(byteorder_intel);
    h.u16(tiffidentifier);
    h.u32(directoryoffset);
    h.u16(entrycount);
    h.entry(256, type_short, 1, static_cast<uint32_t>(xres));  // ImageWidth
    h.entry(257, type_short, 1, static_cast<uint32_t>(yres));  // ImageLength
    h.entry(258, type_short, 3, bitspersampleoffset);          // BitsPerSample
    h.entry(259, type_short, 1, static_cast<uint32_t>(compression));
    h.entry(262, type_short, 1, photometric_rgb);              // PhotometricInterpretation
    h.entry(270, type_ascii, descsize, descriptionoffset);     // ImageDescription
    h.entry(273, type_long, 1, P);                             // StripOffsets
    h.entry(277, type_short, 1, 3);                            // SamplesPerPixel
    h.entry(278, type_short, 1, static_cast<uint32_t>(yres));  // RowsPerStrip: one strip
    // StripByteCounts: the raw size, replaced by the compressed size once the
    // LZW strip is written (its value field is at stripbytecountsoffset).
    h.entry(279, type_long, 1, rawsize);
    h.entry(282, type_rational, 1, D);                 // XResolution
    h.entry(283, type_rational, 1, D + 8);             // YResolution
    h.entry(296, type_short, 1, resolutionunit_inch);  // ResolutionUnit
    h.entry(305, type_ascii, softsize, S);             // Software
    h.entry(315, type_ascii, artsize, A);              // Artist
    h.entry(700, type_byte, xmpsize, X);               // XMP packet
    h.entry(33432, type_ascii, copysize, R);           // Copyright
    h.entry(33723, type_undefined, iptcsize, I);       // IPTC-NAA record
    h.entry(34665, type_long, 1, E);                   // Exif IFD pointer
    h.u32(0);                                          // no further directory
    h.u16(8), h.u16(8), h.u16(8);                      // BitsPerSample values
    h.text(m.descriptionstring);
    h.u32(dotsperinch), h.u32(1);
    h.u32(dotsperinch), h.u32(1);
    h.text(m.softwarestring);
    h.text(m.artiststring);
    h.text(m.copyrightstring);
    h.block(iptc);
    // The Exif directory: entries in tag order, every value in its entry.
    h.u16(exifentrycount);
    h.entry(36864, type_undefined, exifversion);      // ExifVersion
    h.entry(40960, type_undefined, flashpixversion);  // FlashpixVersion
    h.entry(40961, type_short, 1, colorspace_srgb);   // ColorSpace
    h.u32(0);                                         // no further directory
    h.text(xmp);
    return h.b;
}

}  // namespace

shell::Result<TiffFile> encodetiff(const shell::Surface& picture, int compression,
                                   const Metadata& m,
                                   const std::function<void(int row, int rows)>& progress) {
    const bool lzw = compression != compression_none;
    // The strip holds the picture's device pixels, which at scale 1 are its
    // pixels.
    const int xres = picture.devicewidth(), yres = picture.deviceheight();
    const uint64_t rawsize = uint64_t(xres) * 3 * uint64_t(yres);
    // Sizes the directory cannot express would make a file no reader takes.
    if (xres < 1 || yres < 1 || xres > maxdimension || yres > maxdimension || rawsize > UINT32_MAX)
        return shell::Error{shell::Fault::write, "", "the picture is too large for a TIFF file"};
    const shell::Error nomemory{shell::Fault::memory, "", "not enough memory for the strip"};
    const size_t rowbytes = size_t(xres) * 3;
    const std::vector<uint8_t> iptc = iptcwrite(m);
    const std::string xmp = xmpwrite(m);
    const std::vector<uint8_t> head = tiffhead(xres, yres, lzw ? compression_lzw : compression_none,
                                               m, iptc, xmp, uint32_t(rawsize));

    // A raw strip goes straight into the file; an LZW strip is complete, and
    // its size known, only when the encoder has finished.
    TiffFile file;
    std::unique_ptr<LzwEncoder> encoder;
    if (lzw) {
        encoder.reset(new (std::nothrow) LzwEncoder(rawsize));
        if (!encoder || !encoder->ok()) return nomemory;
    } else {
        file.size = head.size() + rawsize;
        file.bytes.reset(new (std::nothrow) uint8_t[file.size]);
        if (!file.bytes) return nomemory;
        std::copy(head.begin(), head.end(), file.bytes.get());
    }
    const shell::Error ineffective{shell::Fault::content, "",
                                   "LZW compression is ineffective for this image"};
    for (int j = 0; j < yres; ++j) {
        if (progress) progress(j, yres);
        // The surface keeps its rows as red, green, blue bytes: exactly the
        // strip's order.
        const uint8_t* row = picture.row(j);
        if (!encoder)
            std::copy(row, row + rowbytes, file.bytes.get() + head.size() + size_t(j) * rowbytes);
        else if (encoder->LZWcompress(row, rowbytes))
            return ineffective;
    }
    if (encoder) {
        if (encoder->LZWfinish()) return ineffective;
        file.size = head.size() + encoder->codebytes();
        file.bytes.reset(new (std::nothrow) uint8_t[file.size]);
        if (!file.bytes) return nomemory;
        uint8_t* at = std::copy(head.begin(), head.end(), file.bytes.get());
        std::copy(encoder->strip(), encoder->strip() + encoder->codebytes(), at);
        // StripByteCounts said the raw size; the strip is what it is.
        const uint32_t n = static_cast<uint32_t>(encoder->codebytes());
        for (int k = 0; k < 4; ++k)
            file.bytes[stripbytecountsoffset + k] = static_cast<uint8_t>((n >> (8 * k)) & 0xFF);
    }
    return file;
}

}  // namespace huewright
