// Feeds arbitrary text to the readers of the designers' curve descriptions
// and spline trailers. Besides the sanitizers' checks it holds them to what
// the programs rely on: a damaged text says why on one line, and curves
// that are given lie within the ranges the programs' models accept.
#include <string_view>

#include "palettes/curves.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

template <class T>
void checkwhy(const palettes::Reading<T>& r) {
    if (r.found == palettes::Found::damaged)
        check(!r.why.empty() && r.why.find('\n') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto curves = palettes::readgradientcurves(text);
    checkwhy(curves);
    if (curves.found == palettes::Found::curves)
        for (const palettes::CurveRecord& r : curves.value.channel) {
            if (r.loaded) continue;
            check(r.given[0] && r.fields[0] >= 0 && r.fields[0] <= 3);
            for (int f = 0; f < palettes::kCurveFields; ++f)
                check(!r.given[size_t(f)] ||
                      (r.fields[size_t(f)] >= 0 && r.fields[size_t(f)] <= 255));
            check(!palettes::curvesummary(r).empty());
        }

    const auto points = palettes::readsplinepoints(text);
    checkwhy(points);
    if (points.found == palettes::Found::curves) {
        check(points.value.columns.size() == size_t(palettes::kSplineColumns));
        for (const auto& p : points.value.points)
            check(p.size() >= size_t(palettes::kMinSplinePoints) &&
                  p.size() <= size_t(palettes::kMaxSplinePoints));
    }
    return 0;
}
