// The kernels that compute runs of points of the Mandelbrot set by the
// iteration rule (rule.h): what each point came to, for the pictures to be
// coloured from without computing them again.
//
// Every kernel gives exactly the rule's answer for every point; they differ
// only in speed. A point inside the main cardioid or the period-2 disc is
// known to belong to the set without a step, and is taken so when the angle
// of its final z is not asked for.
#pragma once

#include <atomic>
#include <cstdint>

namespace explore {

// What one point came to.
struct Escape {
    // The step at which the orbit left radius 2 (1 or more); 0 for a point
    // of the set.
    uint32_t count = 0;
    // An escaped point: the fraction that makes count + value a continuous
    // function of the point (the normalised iteration count, between about
    // -0.3 and 1). A point of the set: the palette entry of its final angle,
    // 1 ... 255, or 0 when that was not asked for.
    float value = 0;
};

enum class KernelKind {
    best,   // the fastest this processor runs (AVX2 lanes where available)
    lanes,  // scalar lanes in extended arithmetic, with cycle detection
    rule,   // rulepoint for every point
};

// A run of points that share an imaginary part: a row, or part of one.
struct PointRun {
    const double* cx;  // the real parts
    double cy;
    int count;
};

struct KernelOptions {
    int iterations = 512;  // the limit, kMinIterations ... kMaxIterations
    bool angles = true;    // points of the set need the angle of their final z
    KernelKind kind = KernelKind::best;
    // Checked now and then; once it is set the kernel stops.
    const std::atomic<bool>* cancel = nullptr;
};

// Computes every point of the run into out[0 ... count). When finalz is
// given, it receives the final z (zx, zy) of every point of the set whose
// angle was computed, two doubles a point. False when cancelled, with the
// answers incomplete.
bool computerun(const PointRun& run, const KernelOptions& options, Escape* out,
                double* finalz = nullptr);

// What an escaped orbit's value is, from the z at its escape step: the orbit
// is followed a few steps further, to far outside, where the fraction of a
// step it took to cross radius 2 can be read from the size of z.
float escapefraction(double zx, double zy, double cx, double cy);

// True for a point inside the main cardioid or the period-2 disc, whose
// orbit never escapes.
bool insidebulbs(double cx, double cy);

}  // namespace explore
