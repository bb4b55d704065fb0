// Feeds arbitrary bytes to the MAP reader. Besides the checks every reader
// gets (fuzzcheck.h) it holds the streaming parser to its promise: the
// outcome does not depend on how the bytes are split into the pieces the
// file reader hands over.
#include "fuzzcheck.h"
#include "palettes/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzcheck::check;
    using fuzzcheck::sentinel;
    fuzzcheck::checkreader(palettes::Format::map, data, size);
    const char* text = reinterpret_cast<const char*>(data);

    palettes::MapParser one;
    one.feed(text, size);
    shell::Palette whole = sentinel();
    const bool ok = one.finish(whole);
    if (!ok) check(whole == sentinel());

    // Two pieces, split at a place the input chooses.
    size_t split = size == 0 ? 0 : (size_t(data[0]) * 131u + size) % (size + 1);
    palettes::MapParser two;
    two.feed(text, split);
    two.feed(text + split, size - split);
    shell::Palette pieces = sentinel();
    check(two.finish(pieces) == ok);
    check(pieces == whole);

    // One byte at a time, for inputs small enough to keep the run fast.
    if (size <= 4096) {
        palettes::MapParser bytes;
        for (size_t i = 0; i < size; ++i) bytes.feed(text + i, 1);
        shell::Palette single = sentinel();
        check(bytes.finish(single) == ok);
        check(single == whole);
    }
    return 0;
}
