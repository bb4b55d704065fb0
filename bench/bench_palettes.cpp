// The start-up palette to and from every format: encode/<format> makes the
// file's bytes, decode/<format> reads them back, recognising the format from
// the content as the programs and palette-convert do.
#include <benchmark/benchmark.h>

#include "huewright/model/model.h"
#include "palettes/palettes.h"

namespace {

const shell::Palette& startup() {
    static const shell::Palette palette = [] {
        huewright::Model m;
        m.startuppalette();
        return m.palette;
    }();
    return palette;
}

const char* const kDescription = "Xo Gradient curve parameters\n\nRed: Sine\nphase: 1\n";

void encode(benchmark::State& state, palettes::Format format) {
    for (auto _ : state) {
        std::string bytes =
            palettes::encodepalette(format, startup(), "Startup", kDescription).value();
        benchmark::DoNotOptimize(bytes);
    }
}

void decode(benchmark::State& state, palettes::Format format) {
    const std::string bytes =
        palettes::encodepalette(format, startup(), "Startup", kDescription).value();
    shell::Palette palette{};
    for (auto _ : state) {
        const auto r = palettes::decodepalette(bytes, "startup", palette);
        if (!r.ok()) state.SkipWithError(r.error().reason.c_str());
        benchmark::DoNotOptimize(palette);
    }
}

const int registered = [] {
    for (const palettes::FormatInfo& f : palettes::formats()) {
        std::string key = f.key;
        benchmark::RegisterBenchmark(("encode/" + key).c_str(), encode, f.format);
        if (f.canread) benchmark::RegisterBenchmark(("decode/" + key).c_str(), decode, f.format);
    }
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
