#include "analysis/audio_fft.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

// Every butterfly below does the same float operations on the same values as the textbook
// order (bit-reversed input, ten stages of half blocks 1 .. 512, the twiddle recurrence), each
// rounded to single precision on its own, so the results are the same bits. Only the order in
// which independent butterflies run and where their values are kept differ.
//
// Where the values are kept: position j of the textbook order is kept at index rev(j) (its 10
// bits reversed) during the first seven stages. There the samples load in their own order, a
// butterfly's two values are 512 / half apart and every eight neighbours share one twiddle, so
// eight butterflies run as one vector operation without any shuffling. One transpose of 8 x 8
// blocks then brings the values to their textbook positions, where the last three stages'
// partners are 128 and more apart and their twiddles lie side by side.

namespace {

// Eight and four floats. Plain operators on them compile to the vector instructions of the
// function's target: one AVX2 register for a Vec8, an SSE register (or plain floats off x86)
// for a Vec4.
typedef float Vec8 __attribute__((vector_size(32)));
typedef float Vec4 __attribute__((vector_size(16)));

// Every function that takes or returns a vector is inlined, so no call passes one in registers
// whose layout would depend on the target.
#pragma GCC diagnostic ignored "-Wpsabi"

#define SORVINTA_FFT_INLINE inline __attribute__((always_inline))

// The transform's tables and scratch. The program has one (below): InitFFT builds its tables
// and every ComputeFFT works in it, so calls must not overlap.
struct Transform {
    // Entry i is i with its lowest 10 bits reversed.
    std::array<std::int32_t, kFFTSize> bitReverse{};
    // The twiddles of every stage, position by position: the stage whose half block is h keeps
    // its h values at [h, 2h). The recurrence restarts at 1 + 0i for every block of a stage and
    // never sees the samples, so each block of every transform meets the same sequence. Working
    // it out once, in InitFFT, leaves every value as it was; it is a serial chain of about a
    // thousand rounded steps that would otherwise cost more than all the butterflies.
    float twiddleReal[kFFTSize]{};
    float twiddleImag[kFFTSize]{};
    // The same values of the first seven stages (h = 1 .. 64) in the order the reversed indices
    // meet them, each on eight lanes: entry h + g is the twiddle of position h + rev(g) (g's
    // log2(h) bits reversed).
    float reversedTwiddleReal[128][8]{};
    float reversedTwiddleImag[128][8]{};
    // The values, at reversed indices during the first seven stages and at their own positions
    // during the last three. The padding keeps the two arrays off the same 4 KiB offsets, which
    // some processors mistake for a store and a load of one address.
    alignas(64) float real[kFFTSize + 16]{};
    alignas(64) float imag[kFFTSize]{};
    // The eight-wide registers, where the processor has them.
    bool useAvx2 = false;
};

Transform theTransform;

void computeTwiddles(Transform& t, int half, float alpha, float beta) {
    float ar = 1.0f;
    float ai = 0.0f;
    for (int p = 0; p < half; ++p) {
        t.twiddleReal[half + p] = ar;
        t.twiddleImag[half + p] = ai;
        const float deltaAR = alpha * ar + beta * ai;
        ai = ai - (alpha * ai - beta * ar);
        ar = ar - deltaAR;
    }
}

void buildTwiddles(Transform& t) {
    int half = 1;
    for (int size = 2; size <= kFFTSize; size *= 2) {
        // The angle step uses 6.283185, not 2 pi in full; each value is rounded to single.
        const float delta = static_cast<float>(6.283185 / size);
        float alpha = static_cast<float>(std::sin(0.5 * static_cast<double>(delta)));
        alpha = (alpha + alpha) * alpha;
        const float beta = static_cast<float>(std::sin(static_cast<double>(delta)));
        computeTwiddles(t, half, alpha, beta);
        half = size;
    }
}

void buildReversedTwiddles(Transform& t) {
    for (std::uint8_t bits = 0; bits <= 6; ++bits) {
        const int half = 1 << bits;
        for (int g = 0; g < half; ++g) {
            std::uint8_t count = bits;
            const int p = ReverseBits(g, count);
            for (int lane = 0; lane < 8; ++lane) {
                t.reversedTwiddleReal[half + g][lane] = t.twiddleReal[half + p];
                t.reversedTwiddleImag[half + g][lane] = t.twiddleImag[half + p];
            }
        }
    }
}

// The kernel below is written once for a vector of W floats, V: Vec8 where the processor has
// eight-wide registers, Vec4 otherwise (two Vec8 halves would not fit the sixteen four-wide
// registers). A row is eight floats side by side; a loop over `lane` takes it W at a time.
template <class V> constexpr int kLanes = sizeof(V) / sizeof(float);

template <class V> SORVINTA_FFT_INLINE V load(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V> SORVINTA_FFT_INLINE void store(float* p, const V& v) {
    std::memcpy(p, &v, sizeof v);
}

template <class V> SORVINTA_FFT_INLINE V loadSamples(const std::int16_t* p) {
    typedef std::int16_t Samples __attribute__((vector_size(sizeof(V) / 2)));
    Samples s;
    std::memcpy(&s, p, sizeof s);
    return __builtin_convertvector(s, V);
}

// W butterflies: j and k values, twiddles; results back into the same variables.
template <class V>
SORVINTA_FFT_INLINE void butterfly(V& rj, V& ij, V& rk, V& ik, const V& ar, const V& ai) {
    const V tr = ar * rk - ai * ik;
    const V ti = ar * ik + ai * rk;
    rk = rj - tr;
    ik = ij - ti;
    rj = rj + tr;
    ij = ij + ti;
}

// The butterfly of twiddle 1 + 0i on values whose imaginary parts are +0. Its products are
// then rk and +0 exactly (x - (+0) is x, and +0 + (+-0) is +0), so the full butterfly would
// give rj + rk, rj - rk and imaginary parts of +0: the same bits without the products.
template <class V> SORVINTA_FFT_INLINE void sumAndDifference(V& rj, V& rk) {
    const V k = rk;
    rk = rj - k;
    rj = rj + k;
}

// Twiddle g of the stage with half block h, in reversed order, on every lane.
template <class V>
SORVINTA_FFT_INLINE void reversedTwiddle(const Transform& t, int h, int g, V& ar, V& ai) {
    ar = load<V>(t.reversedTwiddleReal[h + g]);
    ai = load<V>(t.reversedTwiddleImag[h + g]);
}

// Stages h = 1, 2, 4 at reversed indices: index i pairs with i + 512 / h, and its twiddle is
// number i >> (10 - log2 h) in reversed order. Eight rows, 128 apart, hold every partner, so
// the three stages run in registers straight from the samples. Loops over rows are unrolled in
// full so that the rows stay in registers.
template <class V>
SORVINTA_FFT_INLINE void firstThreeStages(const Transform& t, const std::int16_t* input, float* re,
                                          float* im) {
    for (int column = 0; column < 128; column += kLanes<V>) {
        V r[8];
        V i[8];
        for (int m = 0; m < 8; ++m) {
            r[m] = loadSamples<V>(input + 128 * m + column);
            i[m] = V{};
        }
        // Every twiddle of half block 1 and the first of every other is exactly 1 + 0i, and
        // the imaginary parts stay +0 until a butterfly with another twiddle has run.
        for (int m = 0; m < 4; ++m)
            sumAndDifference(r[m], r[m + 4]);
        sumAndDifference(r[0], r[2]);
        sumAndDifference(r[1], r[3]);
        V ar;
        V ai;
        reversedTwiddle(t, 2, 1, ar, ai);
        butterfly(r[4], i[4], r[6], i[6], ar, ai);
        butterfly(r[5], i[5], r[7], i[7], ar, ai);
        sumAndDifference(r[0], r[1]);
        for (int m = 2; m < 8; m += 2) {
            reversedTwiddle(t, 4, m >> 1, ar, ai);
            butterfly(r[m], i[m], r[m + 1], i[m + 1], ar, ai);
        }
#pragma GCC unroll 8
        for (int m = 0; m < 8; ++m) {
            store(re + 128 * m + column, r[m]);
            store(im + 128 * m + column, i[m]);
        }
    }
}

// Stages h and 2h at reversed indices on four rows, `stride` apart from `base`
// (stride = 256 / h): the first pairs rows 0-2 and 1-3 with twiddle g, the second pairs rows
// 0-1 with twiddle 2g and 2-3 with twiddle 2g + 1.
template <class V>
SORVINTA_FFT_INLINE void twoReversedStages(const Transform& t, float* re, float* im, int base,
                                           int stride, int h, int g) {
    V r[4];
    V i[4];
    for (int c = 0; c < 4; ++c) {
        r[c] = load<V>(re + base + stride * c);
        i[c] = load<V>(im + base + stride * c);
    }
    V ar;
    V ai;
    reversedTwiddle(t, h, g, ar, ai);
    butterfly(r[0], i[0], r[2], i[2], ar, ai);
    butterfly(r[1], i[1], r[3], i[3], ar, ai);
    reversedTwiddle(t, 2 * h, 2 * g, ar, ai);
    butterfly(r[0], i[0], r[1], i[1], ar, ai);
    reversedTwiddle(t, 2 * h, 2 * g + 1, ar, ai);
    butterfly(r[2], i[2], r[3], i[3], ar, ai);
#pragma GCC unroll 8
    for (int c = 0; c < 4; ++c) {
        store(re + base + stride * c, r[c]);
        store(im + base + stride * c, i[c]);
    }
}

// Stages h = 8, 16 (partners 64 and 32 apart) and h = 32, 64 (16 and 8 apart).
template <class V> SORVINTA_FFT_INLINE void middleStages(const Transform& t, float* re, float* im) {
    for (int a = 0; a < 8; ++a)
        for (int e = 0; e < 32; e += kLanes<V>)
            twoReversedStages<V>(t, re, im, 128 * a + e, 32, 8, a);
    for (int q = 0; q < 32; ++q)
        for (int lane = 0; lane < 8; lane += kLanes<V>)
            twoReversedStages<V>(t, re, im, 32 * q + lane, 8, 32, q);
}

// Rows r0 .. r7 become columns.
[[maybe_unused]] SORVINTA_FFT_INLINE void transpose(Vec8 (&r)[8]) {
    Vec8 t[8];
    for (int n = 0; n < 8; n += 2) {
        t[n] = __builtin_shufflevector(r[n], r[n + 1], 0, 8, 1, 9, 4, 12, 5, 13);
        t[n + 1] = __builtin_shufflevector(r[n], r[n + 1], 2, 10, 3, 11, 6, 14, 7, 15);
    }
    Vec8 u[8];
    for (int n = 0; n < 8; n += 4) {
        u[n] = __builtin_shufflevector(t[n], t[n + 2], 0, 1, 8, 9, 4, 5, 12, 13);
        u[n + 1] = __builtin_shufflevector(t[n], t[n + 2], 2, 3, 10, 11, 6, 7, 14, 15);
        u[n + 2] = __builtin_shufflevector(t[n + 1], t[n + 3], 0, 1, 8, 9, 4, 5, 12, 13);
        u[n + 3] = __builtin_shufflevector(t[n + 1], t[n + 3], 2, 3, 10, 11, 6, 7, 14, 15);
    }
    for (int n = 0; n < 4; ++n) {
        r[n] = __builtin_shufflevector(u[n], u[n + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        r[n + 4] = __builtin_shufflevector(u[n], u[n + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

// Rows r0 .. r3 become columns. On x86-64 with the SSE instructions themselves: the compiler
// would turn generic shuffles of loaded rows back into loads of single lanes.
SORVINTA_FFT_INLINE void transpose(Vec4 (&r)[4]) {
#if defined(__SSE__)
    const __m128 t0 = _mm_unpacklo_ps(r[0], r[1]);
    const __m128 t1 = _mm_unpackhi_ps(r[0], r[1]);
    const __m128 t2 = _mm_unpacklo_ps(r[2], r[3]);
    const __m128 t3 = _mm_unpackhi_ps(r[2], r[3]);
    r[0] = _mm_movelh_ps(t0, t2);
    r[1] = _mm_movehl_ps(t2, t0);
    r[2] = _mm_movelh_ps(t1, t3);
    r[3] = _mm_movehl_ps(t3, t1);
#else
    const Vec4 t0 = __builtin_shufflevector(r[0], r[1], 0, 4, 1, 5);
    const Vec4 t1 = __builtin_shufflevector(r[0], r[1], 2, 6, 3, 7);
    const Vec4 t2 = __builtin_shufflevector(r[2], r[3], 0, 4, 1, 5);
    const Vec4 t3 = __builtin_shufflevector(r[2], r[3], 2, 6, 3, 7);
    r[0] = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
    r[1] = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
    r[2] = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
    r[3] = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
#endif
}

// Position j = 128a + 8m + c is kept at rev(j) = 128 rev3(c) + 8 rev4(m) + rev3(a): the eight
// rows 128 apart at 8 rev4(m), taken in rev3 order and transposed, are the rows of positions
// 128a + 8m (a = 0 .. 7), in rev3 order. Here they come back in the order of a, lanes
// lane .. lane + W - 1 of each; those come from the taken rows lane .. lane + W - 1 alone.
template <class V>
SORVINTA_FFT_INLINE void readOwnPositions(const float* values, int m, int lane, V (&rows)[8]) {
    static constexpr int rev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    static constexpr int rev4[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    const float* from = values + 8 * rev4[m];
    V columns[8];
    if constexpr (kLanes<V> == 8) {
        for (int c = 0; c < 8; ++c)
            columns[c] = load<V>(from + 128 * rev3[c]);
        transpose(columns);
    } else {
        for (int half = 0; half < 8; half += 4) {
            V quarter[4];
            for (int c = 0; c < 4; ++c)
                quarter[c] = load<V>(from + 128 * rev3[lane + c] + half);
            transpose(quarter);
            for (int c = 0; c < 4; ++c)
                columns[half + c] = quarter[c];
        }
    }
    for (int a = 0; a < 8; ++a)
        rows[a] = columns[rev3[a]];
}

// Stages h = 128, 256 and 512 at the values' own positions, on the eight rows of positions
// 128a + 8m: j pairs with j + h, twiddle j & (h - 1), so every partner is in the block and the
// twiddles of a row lie side by side. Only the real parts of the last stage leave the
// transform, so its imaginary parts are not worked out.
template <class V>
SORVINTA_FFT_INLINE void lastThreeStages(const Transform& t, const float* re, const float* im,
                                         float* output) {
    for (int m = 0; m < 16; ++m) {
        for (int lane = 0; lane < 8; lane += kLanes<V>) {
            V r[8];
            V i[8];
            readOwnPositions(re, m, lane, r);
            readOwnPositions(im, m, lane, i);
            const int column = 8 * m + lane;
            for (int a = 0; a < 8; a += 2)
                butterfly(r[a], i[a], r[a + 1], i[a + 1], load<V>(t.twiddleReal + 128 + column),
                          load<V>(t.twiddleImag + 128 + column));
            for (int a = 0; a < 8; a += 4) {
                for (int b = a; b < a + 2; ++b) {
                    const int p = 128 * (b & 1) + column;
                    butterfly(r[b], i[b], r[b + 2], i[b + 2], load<V>(t.twiddleReal + 256 + p),
                              load<V>(t.twiddleImag + 256 + p));
                }
            }
#pragma GCC unroll 8
            for (int a = 0; a < 4; ++a) {
                const int p = 128 * a + column;
                const V tr = load<V>(t.twiddleReal + 512 + p) * r[a + 4] -
                             load<V>(t.twiddleImag + 512 + p) * i[a + 4];
                store(output + p, r[a] + tr);
                store(output + p + 512, r[a] - tr);
            }
        }
    }
}

template <class V>
SORVINTA_FFT_INLINE void runStages(Transform& t, const std::int16_t* input, float* output) {
    firstThreeStages<V>(t, input, t.real, t.imag);
    middleStages<V>(t, t.real, t.imag);
    lastThreeStages<V>(t, t.real, t.imag, output);
}

void runPlain(Transform& t, const std::int16_t* input, float* output) {
    runStages<Vec4>(t, input, output);
}

// SORVINTA_FFT_FOUR_WIDE builds the transform without the eight-wide path, so that the tests
// of the plain path run on processors that have AVX2 too.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(SORVINTA_FFT_FOUR_WIDE)
#define SORVINTA_FFT_AVX2 1
// The same code with eight-wide registers (AVX2 also widens the samples eight at a time). Plain
// multiplies and adds (no fused multiply-add), so every value rounds exactly as in the plain
// path.
__attribute__((target("avx2"))) void runAvx2(Transform& t, const std::int16_t* input,
                                             float* output) {
    runStages<Vec8>(t, input, output);
}
#endif

} // namespace

std::int32_t ReverseBits(std::int32_t index, std::uint8_t& bits) {
    // Unsigned so that a count past 31 wraps instead of overflowing.
    std::uint32_t result = 0;
    for (unsigned n = 0; n < bits; ++n) {
        result = (result << 1) | static_cast<std::uint32_t>(index & 1);
        index /= 2;
    }
    return static_cast<std::int32_t>(result);
}

void InitFFT() {
    Transform& t = theTransform;
    std::uint8_t bits = 10;
    for (std::int32_t i = 0; i < kFFTSize; ++i)
        t.bitReverse[static_cast<std::size_t>(i)] = ReverseBits(i, bits);
    buildTwiddles(t);
    buildReversedTwiddles(t);
#if defined(SORVINTA_FFT_AVX2)
    t.useAvx2 = __builtin_cpu_supports("avx2");
#endif
}

void ComputeFFT(const std::int16_t* input, float* output) {
    Transform& t = theTransform;
#if defined(SORVINTA_FFT_AVX2)
    if (t.useAvx2) {
        runAvx2(t, input, output);
        return;
    }
#endif
    runPlain(t, input, output);
}

const std::array<std::int32_t, kFFTSize>& BitReverseTable() {
    return theTransform.bitReverse;
}
