// The screen save against libtiff's LZW encoder, in the same run and on the
// same pixels: writetiff/<image> is our whole save (metadata, LZW strip,
// temporary file and rename), libtiff/<image> is libtiff writing the same
// pixels as one LZW strip. Both write to a memory-backed folder when there is
// one, so that the disk does not decide the result.
#include <benchmark/benchmark.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "huewright/tests/files/tiff_images.h"
#include "huewright/ui/screensave.h"
#include "shell/headless/host.h"

namespace {

class IdleProgram : public shell::Program {
  public:
    int proc(shell::Window&, const shell::Message&) override { return 1; }
};

shell::ProgramDesc idledesc() {
    shell::ProgramDesc d;
    d.title = "Xo Gradient";
    d.width = 800;
    d.height = 640;
    d.make = [] { return std::make_unique<IdleProgram>(); };
    return d;
}

std::string scratchfile(const char* name) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/bench_tiff_" + std::to_string(getpid()) + "_" + name;
}

const shell::Surface& picture(bool withmset) {
    static const shell::Surface screen = huewright::tiffimages::screenlike(false);
    static const shell::Surface mset = huewright::tiffimages::screenlike(true);
    return withmset ? mset : screen;
}

void writetiffbench(benchmark::State& state, bool withmset) {
    const shell::Surface& pic = picture(withmset);
    shell::headless::Host host(idledesc());
    const std::string file = scratchfile("ours.tif");
    std::string description = "Xo Gradient curve parameters\n";
    for (auto _ : state) {
        huewright::MetadataInputs meta{description, "Anonymous"};
        if (!huewright::writetiff(host, pic, huewright::compression_lzw, file, meta).ok())
            state.SkipWithError("save failed");
    }
    std::remove(file.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * pic.width() * pic.height() * 3);
}

void libtiffbench(benchmark::State& state, bool withmset) {
    const shell::Surface& pic = picture(withmset);
    const std::string file = scratchfile("libtiff.tif");
    const tmsize_t size = tmsize_t(pic.width()) * pic.height() * 3;
    for (auto _ : state) {
        TIFF* t = TIFFOpen(file.c_str(), "w");
        if (!t) {
            state.SkipWithError("TIFFOpen failed");
            break;
        }
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(pic.width()));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(pic.height()));
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, uint32_t(pic.height()));
        if (TIFFWriteEncodedStrip(t, 0, const_cast<uint8_t*>(pic.data()), size) < 0)
            state.SkipWithError("strip not written");
        TIFFClose(t);
    }
    std::remove(file.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

}  // namespace

BENCHMARK_CAPTURE(writetiffbench, screen, false)
    ->Name("writetiff/screen")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libtiffbench, screen, false)
    ->Name("libtiff/screen")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(writetiffbench, mset, true)
    ->Name("writetiff/mset")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libtiffbench, mset, true)->Name("libtiff/mset")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
