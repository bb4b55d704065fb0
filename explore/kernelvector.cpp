// The vector kernel: eight orbits in the lanes of two AVX2 registers, stepped
// in exact double-double arithmetic.
//
// The rule rounds every step twice: the extended result (64-bit significand)
// of each operation, then the double it stores. Double rounding only makes a
// difference when the value lies within a few extended units of a point
// halfway between two doubles. So each lane computes the step's exact value U
// as an unevaluated sum hi + lo of doubles (products split exactly with fused
// multiply-adds, sums with TwoSum), takes hi, the double nearest to U, and
// checks that U lies further from the halfway points beside hi than the
// extended roundings of the rule can move it. If so the rule's double is hi;
// if not (about one step in a hundred) that lane's step is done by the rule.
// The escape test likewise uses a margin and asks the rule near the border.
//
// This file is compiled for AVX2 and FMA; havevector() decides at run time
// whether it may be called. It includes no header with inline functions
// (kernellanes.h and rule.h must stay so), so that no AVX2 copy of a shared
// function can end up used elsewhere.
#pragma GCC target("avx2,fma")

#include <immintrin.h>

#include <cstdint>

#include "explore/kernellanes.h"

namespace explore::kerneldetail {

namespace {

inline __m256d twosum(__m256d a, __m256d b, __m256d& err) {
    const __m256d s = _mm256_add_pd(a, b);
    const __m256d bb = _mm256_sub_pd(s, a);
    const __m256d aa = _mm256_sub_pd(s, bb);
    err = _mm256_add_pd(_mm256_sub_pd(a, aa), _mm256_sub_pd(b, bb));
    return s;
}

inline __m256d vabs(__m256d v) {
    return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v);
}

// Lanes where every value within w of hi + lo rounds to hi, whatever extended
// roundings happen on the way: |lo| + w stays below half a unit of hi. A
// power of two (whose lower neighbour is closer), zero, or a value that is not
// finite is never certain.
inline __m256d certain(__m256d hi, __m256d lo, __m256d w) {
    const __m256i b = _mm256_castpd_si256(hi);
    const __m256i expmask = _mm256_set1_epi64x(0x7FF0000000000000LL);
    const __m256i mantmask = _mm256_set1_epi64x(0x000FFFFFFFFFFFFFLL);
    const __m256d scale = _mm256_castsi256_pd(_mm256_and_si256(b, expmask));  // 2^e
    const __m256d half = _mm256_mul_pd(scale, _mm256_set1_pd(0x1p-53));
    const __m256d ok = _mm256_cmp_pd(_mm256_add_pd(vabs(lo), w), half, _CMP_LT_OQ);
    const __m256i pow2 = _mm256_cmpeq_epi64(_mm256_and_si256(b, mantmask), _mm256_setzero_si256());
    return _mm256_andnot_pd(_mm256_castsi256_pd(pow2), ok);
}

// Four orbits in the lanes of one register set; while they run, this is
// their state, and the Orbit records are brought up to date only when a lane
// needs the scalar bookkeeping.
struct Quad {
    __m256d x, y, cx, cy;
    __m256i sx, sy;              // the saved state's bits
    __m256i n, saved, nextsave;  // steps done, when the state was saved, next save
    __m256d active;              // all ones in a lane that follows a point
};

// A step of four lanes: the new state, which lanes are certain of it, and
// which lanes need more than counting and saving.
struct Stepped {
    __m256d zx, zy, sure, below;
    __m256i save;  // lanes that save their state at this step
    int events;    // one bit a lane
};

// The rounding of an extended operation whose exact result is hi + lo (hi
// the double nearest to it, so |lo| is at most half a unit of hi): the
// extended value is hi plus lo rounded to a multiple of 2^-11 units of hi,
// ties to even. Adding and removing 1.5 * 2^52 of those multiples does that
// rounding in one double addition. Valid when hi is not a power of two whose
// lower binade lo reaches into (callers check `pow2`).
inline __m256d extlow(__m256d hi, __m256d lo) {
    const __m256i expmask = _mm256_set1_epi64x(0x7FF0000000000000LL);
    const __m256d scale = _mm256_castsi256_pd(_mm256_and_si256(_mm256_castpd_si256(hi), expmask));
    const __m256d big = _mm256_mul_pd(scale, _mm256_set1_pd(1.5 * 0x1p-11));
    return _mm256_sub_pd(_mm256_add_pd(lo, big), big);
}

// Lanes whose hi is a power of two (or zero) while lo is not zero: there the
// extended grid below hi is finer, and extlow would not apply.
inline __m256d pow2(__m256d hi, __m256d lo) {
    const __m256i mantmask = _mm256_set1_epi64x(0x000FFFFFFFFFFFFFLL);
    const __m256i m = _mm256_and_si256(_mm256_castpd_si256(hi), mantmask);
    const __m256d flat = _mm256_castsi256_pd(_mm256_cmpeq_epi64(m, _mm256_setzero_si256()));
    return _mm256_and_pd(flat, _mm256_cmp_pd(lo, _mm256_setzero_pd(), _CMP_NEQ_UQ));
}

inline Stepped stepquad(const Quad& q, __m256d esclow, __m256i limit) {
    // Each step's window is the furthest the rule's extended roundings can
    // move its result from the exact value, 2^-64 of each rounded quantity
    // (with 1% to spare), plus the error of the approximation here, which is
    // below 2^-101 of the terms summed.
    const __m256d c64 = _mm256_set1_pd(1.01 * 0x1p-64), c98 = _mm256_set1_pd(0x1p-98);
    const __m256d zero = _mm256_setzero_pd();
    Stepped r;
    // zx = (x + y)(x - y) + cx, exactly x^2 - y^2 + cx. The rule rounds x + y,
    // x - y, their product and the sum. When neither of x and y is more than
    // 2^10 times the other (or one is 0), their exponents differ by at most
    // 10, x + y and x - y fit the extended significand, and only the last two
    // roundings count.
    {
        const __m256d x2 = _mm256_mul_pd(q.x, q.x);
        const __m256d x2l = _mm256_fmsub_pd(q.x, q.x, x2);
        const __m256d y2 = _mm256_mul_pd(q.y, q.y);
        const __m256d y2l = _mm256_fmsub_pd(q.y, q.y, y2);
        __m256d e1, e2, lo;
        const __m256d s1 = twosum(x2, _mm256_sub_pd(zero, y2), e1);
        const __m256d s2 = twosum(s1, q.cx, e2);
        const __m256d rest = _mm256_add_pd(_mm256_sub_pd(_mm256_add_pd(e1, x2l), y2l), e2);
        r.zx = twosum(s2, rest, lo);
        const __m256d ax = vabs(q.x), ay = vabs(q.y), k1024 = _mm256_set1_pd(1024.0);
        const __m256d close =
            _mm256_and_pd(_mm256_cmp_pd(ax, _mm256_mul_pd(k1024, ay), _CMP_LE_OQ),
                          _mm256_cmp_pd(ay, _mm256_mul_pd(k1024, ax), _CMP_LE_OQ));
        const __m256d exact = _mm256_or_pd(
            close,
            _mm256_or_pd(_mm256_cmp_pd(ax, zero, _CMP_EQ_OQ), _mm256_cmp_pd(ay, zero, _CMP_EQ_OQ)));
        // The exact splits of products above need the low parts not to
        // underflow: a nonzero x or y below 2^-400 is left to the rule.
        const __m256d tinyx =
            _mm256_andnot_pd(_mm256_cmp_pd(ax, zero, _CMP_EQ_OQ),
                             _mm256_cmp_pd(ax, _mm256_set1_pd(0x1p-400), _CMP_LT_OQ));
        const __m256d tinyy =
            _mm256_andnot_pd(_mm256_cmp_pd(ay, zero, _CMP_EQ_OQ),
                             _mm256_cmp_pd(ay, _mm256_set1_pd(0x1p-400), _CMP_LT_OQ));
        // One rounding of about |x^2 - y^2| when the sums are exact, else three.
        const __m256d k = _mm256_blendv_pd(_mm256_set1_pd(3.0), _mm256_set1_pd(1.0), exact);
        const __m256d w =
            _mm256_add_pd(_mm256_mul_pd(c64, _mm256_fmadd_pd(k, vabs(s1), vabs(r.zx))),
                          _mm256_mul_pd(c98, _mm256_add_pd(_mm256_add_pd(x2, y2), vabs(q.cx))));
        r.sure = _mm256_andnot_pd(_mm256_or_pd(tinyx, tinyy), certain(r.zx, lo, w));
    }
    // zy = 2 x y + cy. The product 2 x y is exactly p + pl, so its extended
    // rounding is known exactly (except next to a power of two); only the
    // rounding of the sum remains.
    {
        const __m256d x2 = _mm256_add_pd(q.x, q.x);
        const __m256d p = _mm256_mul_pd(x2, q.y);
        const __m256d pl = _mm256_fmsub_pd(x2, q.y, p);
        const __m256d unknown = pow2(p, pl);
        const __m256d pr = _mm256_blendv_pd(extlow(p, pl), pl, unknown);
        __m256d e, lo;
        const __m256d s = twosum(p, q.cy, e);
        r.zy = twosum(s, _mm256_add_pd(e, pr), lo);
        const __m256d w = _mm256_add_pd(
            _mm256_mul_pd(c64, _mm256_add_pd(_mm256_and_pd(unknown, vabs(p)), vabs(r.zy))),
            _mm256_mul_pd(c98, _mm256_add_pd(vabs(p), vabs(q.cy))));
        r.sure = _mm256_and_pd(r.sure, certain(r.zy, lo, w));
    }
    // Below the escape sum with room to spare (the rule's sum and this one
    // differ by less than 2^-50 of it).
    const __m256d sum = _mm256_fmadd_pd(r.zx, r.zx, _mm256_mul_pd(r.zy, r.zy));
    r.below = _mm256_cmp_pd(sum, esclow, _CMP_LT_OQ);
    // Anything but counting and saving: a doubtful step, a possible escape, a
    // return to the saved state, or the last step.
    const __m256i n1 = _mm256_add_epi64(q.n, _mm256_set1_epi64x(1));
    const __m256i hit = _mm256_and_si256(_mm256_cmpeq_epi64(_mm256_castpd_si256(r.zx), q.sx),
                                         _mm256_cmpeq_epi64(_mm256_castpd_si256(r.zy), q.sy));
    const __m256i last = _mm256_cmpeq_epi64(n1, limit);
    r.save = _mm256_cmpeq_epi64(n1, q.nextsave);
    const __m256d quiet = _mm256_andnot_pd(_mm256_castsi256_pd(_mm256_or_si256(hit, last)),
                                           _mm256_and_pd(r.sure, r.below));
    r.events = _mm256_movemask_pd(_mm256_andnot_pd(quiet, q.active));
    return r;
}

// A quiet step: the lanes take their new state, count it, and save it at the
// powers of two, as settle() does.
inline void advance(Quad& q, const Stepped& r) {
    q.x = r.zx;
    q.y = r.zy;
    q.n = _mm256_add_epi64(q.n, _mm256_set1_epi64x(1));
    q.sx = _mm256_blendv_epi8(q.sx, _mm256_castpd_si256(r.zx), r.save);
    q.sy = _mm256_blendv_epi8(q.sy, _mm256_castpd_si256(r.zy), r.save);
    q.saved = _mm256_blendv_epi8(q.saved, q.n, r.save);
    // As settle() does: doubling up to kSaveEvery, then kSaveEvery more.
    const __m256i k64 = _mm256_set1_epi64x(kSaveEvery);
    const __m256i stepby = _mm256_blendv_epi8(q.nextsave, k64, _mm256_cmpgt_epi64(q.nextsave, k64));
    q.nextsave = _mm256_blendv_epi8(q.nextsave, _mm256_add_epi64(q.nextsave, stepby), r.save);
}

Quad pack(const Orbit* o) {
    Quad q;
    q.x = _mm256_setr_pd(o[0].zx, o[1].zx, o[2].zx, o[3].zx);
    q.y = _mm256_setr_pd(o[0].zy, o[1].zy, o[2].zy, o[3].zy);
    q.cx = _mm256_setr_pd(o[0].cx, o[1].cx, o[2].cx, o[3].cx);
    q.cy = _mm256_setr_pd(o[0].cy, o[1].cy, o[2].cy, o[3].cy);
    q.sx =
        _mm256_setr_epi64x(int64_t(o[0].sx), int64_t(o[1].sx), int64_t(o[2].sx), int64_t(o[3].sx));
    q.sy =
        _mm256_setr_epi64x(int64_t(o[0].sy), int64_t(o[1].sy), int64_t(o[2].sy), int64_t(o[3].sy));
    q.n = _mm256_setr_epi64x(o[0].n, o[1].n, o[2].n, o[3].n);
    q.saved = _mm256_setr_epi64x(o[0].saved, o[1].saved, o[2].saved, o[3].saved);
    q.nextsave = _mm256_setr_epi64x(o[0].nextsave, o[1].nextsave, o[2].nextsave, o[3].nextsave);
    q.active = _mm256_castsi256_pd(_mm256_setr_epi64x(-(o[0].index >= 0), -(o[1].index >= 0),
                                                      -(o[2].index >= 0), -(o[3].index >= 0)));
    return q;
}

void unpack(const Quad& q, Orbit* o) {
    alignas(32) double x[4], y[4];
    alignas(32) int64_t sx[4], sy[4], n[4], saved[4], nextsave[4];
    _mm256_store_pd(x, q.x);
    _mm256_store_pd(y, q.y);
    _mm256_store_si256(reinterpret_cast<__m256i*>(sx), q.sx);
    _mm256_store_si256(reinterpret_cast<__m256i*>(sy), q.sy);
    _mm256_store_si256(reinterpret_cast<__m256i*>(n), q.n);
    _mm256_store_si256(reinterpret_cast<__m256i*>(saved), q.saved);
    _mm256_store_si256(reinterpret_cast<__m256i*>(nextsave), q.nextsave);
    for (int k = 0; k < 4; ++k) {
        o[k].zx = x[k];
        o[k].zy = y[k];
        o[k].sx = uint64_t(sx[k]);
        o[k].sy = uint64_t(sy[k]);
        o[k].n = int(n[k]);
        o[k].saved = int(saved[k]);
        o[k].nextsave = int(nextsave[k]);
    }
}

}  // namespace

int vectorstep(const double* x, const double* y, const double* cx, const double* cy, double* zx,
               double* zy, int* below) {
    Quad q{};
    q.x = _mm256_loadu_pd(x);
    q.y = _mm256_loadu_pd(y);
    q.cx = _mm256_loadu_pd(cx);
    q.cy = _mm256_loadu_pd(cy);
    q.nextsave = _mm256_set1_epi64x(1 << 20);
    q.active = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    const Stepped r = stepquad(q, _mm256_set1_pd(escapesum() * (1 - 0x1p-45)),
                               _mm256_set1_epi64x(kMaxIterations + 1));
    _mm256_storeu_pd(zx, r.zx);
    _mm256_storeu_pd(zy, r.zy);
    *below = _mm256_movemask_pd(_mm256_and_pd(r.sure, r.below));
    return _mm256_movemask_pd(r.sure);
}

bool runvector(Feed& f) {
    constexpr int kQuads = 2;           // two independent register sets keep the units busy
    constexpr int kCancelEvery = 4096;  // steps between looks at the cancel flag
    const int iterations = limit(f);
    const __m256d esclow = _mm256_set1_pd(escapesum() * (1 - 0x1p-45));
    const __m256i last = _mm256_set1_epi64x(iterations);
    Orbit lane[4 * kQuads];
    int active = 0;
    for (Orbit& o : lane) active += load(f, o);
    Quad q[kQuads];
    for (int g = 0; g < kQuads; ++g) q[g] = pack(&lane[4 * g]);

    for (int tick = 0; active > 0; ++tick) {
        if (tick % kCancelEvery == 0 && cancelled(f)) return false;
        Stepped r[kQuads];
        for (int g = 0; g < kQuads; ++g) r[g] = stepquad(q[g], esclow, last);
        for (int g = 0; g < kQuads; ++g) {
            if (!r[g].events) {
                advance(q[g], r[g]);
                continue;
            }
            // The lanes as they were before this step; each is then stepped
            // by the rule where the step is doubtful, and settled by the
            // rule's bookkeeping.
            Orbit* o = &lane[4 * g];
            unpack(q[g], o);
            alignas(32) double zx[4], zy[4];
            _mm256_store_pd(zx, r[g].zx);
            _mm256_store_pd(zy, r[g].zy);
            const int sure = _mm256_movemask_pd(r[g].sure);
            const int below = _mm256_movemask_pd(r[g].below);
            for (int k = 0; k < 4; ++k) {
                if (o[k].index < 0) continue;
                const bool certainstep = (sure >> k) & 1;
                if (certainstep) {
                    o[k].zx = zx[k];
                    o[k].zy = zy[k];
                } else {
                    exactstep(o[k].zx, o[k].zy, o[k].cx, o[k].cy);
                }
                ++o[k].n;
                const bool out =
                    (certainstep && ((below >> k) & 1)) ? false : exactescaped(o[k].zx, o[k].zy);
                const int outcome = settle(o[k], out, iterations);
                if (outcome == going) continue;
                answer(f, o[k], outcome);
                active += load(f, o[k]) - 1;
            }
            q[g] = pack(o);
        }
    }
    return true;
}

}  // namespace explore::kerneldetail
