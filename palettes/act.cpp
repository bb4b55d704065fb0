// Adobe colour tables (.act): 256 colours of three bytes, red, green, blue,
// optionally followed by two big-endian 16-bit numbers: how many of the
// colours are used, and the transparent one (0xFFFF for none).
#include "palettes/codec.h"

namespace palettes {

namespace {

const char* const kWhat = "Not an Adobe colour table";
constexpr size_t kTableSize = 768;
constexpr size_t kTableSizeWithCount = 772;

}  // namespace

shell::Result<PaletteInfo> readact(std::string_view bytes, shell::Palette& palette) {
    if (bytes.size() != kTableSize && bytes.size() != kTableSizeWithCount)
        return failure(kWhat,
                       "it has " + std::to_string(bytes.size()) + " bytes, 768 or 772 expected");
    auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
    int count = 256;
    if (bytes.size() == kTableSizeWithCount) {
        count = byte(kTableSize) << 8 | byte(kTableSize + 1);
        if (count == 0 || count > 256)
            return failure(
                kWhat, "it says it uses " + std::to_string(count) + " colours, 1 to 256 expected");
    }
    // The colours beyond the count are not part of the table: those entries
    // stay black. The transparent index has no meaning for a palette.
    shell::Palette scratch{};
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c) scratch[i][c] = byte(3 * i + c);
    palette = scratch;
    PaletteInfo r;
    r.colours = count;
    return r;
}

// Just the 768 bytes: some readers take no other size.
std::string writeact(const shell::Palette& palette) {
    std::string s;
    s.reserve(kTableSize);
    for (const auto& e : palette)
        for (uint8_t v : e) s += static_cast<char>(v);
    return s;
}

}  // namespace palettes
