// Feeds arbitrary bytes to the MAP reader. Besides the sanitizers' checks it
// holds the reader to two promises: a failed read leaves the palette as it
// was, and the outcome does not depend on how the bytes are split into the
// pieces the file reader hands over.
#include <cstddef>
#include <cstdint>

#include "huewright/mapfile.h"

namespace {

shell::Palette sentinel() {
    shell::Palette pal;
    for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i ^ 0x5a), uint8_t(~i)};
    return pal;
}

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);

    shell::Palette whole = sentinel();
    bool ok = huewright::parsemap(text, size, whole);
    if (!ok) check(whole == sentinel());

    // Two pieces, split at a place the input chooses.
    size_t split = size == 0 ? 0 : (size_t(data[0]) * 131u + size) % (size + 1);
    huewright::MapParser two;
    two.feed(text, split);
    two.feed(text + split, size - split);
    shell::Palette pieces = sentinel();
    check(two.finish(pieces) == ok);
    check(pieces == whole);

    // One byte at a time, for inputs small enough to keep the run fast.
    if (size <= 4096) {
        huewright::MapParser bytes;
        for (size_t i = 0; i < size; ++i) bytes.feed(text + i, 1);
        shell::Palette single = sentinel();
        check(bytes.finish(single) == ok);
        check(single == whole);
    }
    return 0;
}
