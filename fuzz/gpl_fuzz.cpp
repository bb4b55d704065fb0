// Feeds arbitrary bytes to the GIMP palette reader; fuzzcheck.h says what is checked.
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzcheck::checkreader(palettes::Format::gpl, data, size);
    return 0;
}
