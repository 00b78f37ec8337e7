#include "analysis/audio_fft.h"
#include "analysis/no_fused_multiply_add.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE__)
#include <immintrin.h>
#endif

// Every float operation below rounds to single precision on its own (SSE arithmetic, no
// fused multiply-add), so the vector and scalar paths give the same bits.

namespace {

// The transform's tables and scratch. The program has one (below): InitFFT builds its tables
// and every ComputeFFT works in it, so calls must not overlap.
struct Transform {
    // Entry i is i with its lowest 10 bits reversed.
    std::array<std::int32_t, kFFTSize> bitReverse{};
    // Imaginary parts during and after a transform.
    alignas(32) float imag[kFFTSize]{};
    // The twiddles of every stage, position by position: the stage whose half block is h keeps
    // its h values at [h, 2h). The recurrence restarts at 1 + 0i for every block of a stage and
    // never sees the samples, so each block of every transform meets the same sequence. Working
    // it out once, in InitFFT, leaves every value as it was; it is a serial chain of about a
    // thousand rounded steps that would otherwise cost more than all the butterflies.
    alignas(32) float twiddleReal[kFFTSize]{};
    alignas(32) float twiddleImag[kFFTSize]{};
    // The real parts, when the caller's output is not aligned for the vector stages.
    alignas(32) float real[kFFTSize]{};
    // The eight-wide butterflies, where the processor has them.
    bool useAvx = false;
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

#if defined(__SSE__)

// Four butterflies: j and k values, twiddles; results back into the same variables.
inline void butterfly4(__m128& rj, __m128& ij, __m128& rk, __m128& ik, __m128 ar, __m128 ai) {
    const __m128 tr = _mm_sub_ps(_mm_mul_ps(ar, rk), _mm_mul_ps(ai, ik));
    const __m128 ti = _mm_add_ps(_mm_mul_ps(ar, ik), _mm_mul_ps(ai, rk));
    rk = _mm_sub_ps(rj, tr);
    ik = _mm_sub_ps(ij, ti);
    rj = _mm_add_ps(rj, tr);
    ij = _mm_add_ps(ij, ti);
}

// The reorder and the first three stages (half blocks 1, 2 and 4) for one block of eight,
// in registers: re[j] for j = i .. i + 7 comes from input[bitReverse[j]] (the table
// undoes itself), every imaginary part starts at 0.
inline void firstThreeStages(const Transform& t, const std::int16_t* input, float* re, float* im,
                             int i) {
    const std::int32_t* rev = t.bitReverse.data() + i;
    __m128 r0 = _mm_setr_ps(input[rev[0]], input[rev[1]], input[rev[2]], input[rev[3]]);
    __m128 r1 = _mm_setr_ps(input[rev[4]], input[rev[5]], input[rev[6]], input[rev[7]]);
    __m128 i0 = _mm_setzero_ps();
    __m128 i1 = _mm_setzero_ps();

    // Half block 1: pairs (j, j + 1).
    {
        const __m128 ar = _mm_set1_ps(t.twiddleReal[1]);
        const __m128 ai = _mm_set1_ps(t.twiddleImag[1]);
        __m128 rj = _mm_shuffle_ps(r0, r1, _MM_SHUFFLE(2, 0, 2, 0));
        __m128 rk = _mm_shuffle_ps(r0, r1, _MM_SHUFFLE(3, 1, 3, 1));
        __m128 ij = _mm_shuffle_ps(i0, i1, _MM_SHUFFLE(2, 0, 2, 0));
        __m128 ik = _mm_shuffle_ps(i0, i1, _MM_SHUFFLE(3, 1, 3, 1));
        butterfly4(rj, ij, rk, ik, ar, ai);
        r0 = _mm_unpacklo_ps(rj, rk);
        r1 = _mm_unpackhi_ps(rj, rk);
        i0 = _mm_unpacklo_ps(ij, ik);
        i1 = _mm_unpackhi_ps(ij, ik);
    }
    // Half block 2: (j, j + 2) for the first two positions of each four.
    {
        const __m128 ar =
            _mm_setr_ps(t.twiddleReal[2], t.twiddleReal[3], t.twiddleReal[2], t.twiddleReal[3]);
        const __m128 ai =
            _mm_setr_ps(t.twiddleImag[2], t.twiddleImag[3], t.twiddleImag[2], t.twiddleImag[3]);
        __m128 rj = _mm_shuffle_ps(r0, r1, _MM_SHUFFLE(1, 0, 1, 0));
        __m128 rk = _mm_shuffle_ps(r0, r1, _MM_SHUFFLE(3, 2, 3, 2));
        __m128 ij = _mm_shuffle_ps(i0, i1, _MM_SHUFFLE(1, 0, 1, 0));
        __m128 ik = _mm_shuffle_ps(i0, i1, _MM_SHUFFLE(3, 2, 3, 2));
        butterfly4(rj, ij, rk, ik, ar, ai);
        // Back in order: (j0 j1 k0 k1) (j2 j3 k2 k3) of the two blocks of four.
        r0 = _mm_shuffle_ps(rj, rk, _MM_SHUFFLE(1, 0, 1, 0));
        r1 = _mm_shuffle_ps(rj, rk, _MM_SHUFFLE(3, 2, 3, 2));
        i0 = _mm_shuffle_ps(ij, ik, _MM_SHUFFLE(1, 0, 1, 0));
        i1 = _mm_shuffle_ps(ij, ik, _MM_SHUFFLE(3, 2, 3, 2));
    }
    // Half block 4: (j, j + 4).
    butterfly4(r0, i0, r1, i1, _mm_load_ps(t.twiddleReal + 4), _mm_load_ps(t.twiddleImag + 4));
    _mm_store_ps(re + i, r0);
    _mm_store_ps(re + i + 4, r1);
    _mm_store_ps(im + i, i0);
    _mm_store_ps(im + i + 4, i1);
}

void laterStage(const Transform& t, float* re, float* im, int size, int half) {
    const float* twr = t.twiddleReal + half;
    const float* twi = t.twiddleImag + half;
    for (int i = 0; i < kFFTSize; i += size) {
        float* reJ = re + i;
        float* imJ = im + i;
        float* reK = reJ + half;
        float* imK = imJ + half;
        for (int p = 0; p < half; p += 4) {
            __m128 rj = _mm_load_ps(reJ + p);
            __m128 ij = _mm_load_ps(imJ + p);
            __m128 rk = _mm_load_ps(reK + p);
            __m128 ik = _mm_load_ps(imK + p);
            butterfly4(rj, ij, rk, ik, _mm_load_ps(twr + p), _mm_load_ps(twi + p));
            _mm_store_ps(reK + p, rk);
            _mm_store_ps(imK + p, ik);
            _mm_store_ps(reJ + p, rj);
            _mm_store_ps(imJ + p, ij);
        }
    }
}

// SORVINTA_FFT_FOUR_WIDE builds the transform without it, so that the tests of the four-wide
// path run on processors that have AVX too.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(SORVINTA_FFT_FOUR_WIDE)
#define SORVINTA_FFT_AVX 1
// The same butterflies eight at a time, for processors that have AVX. Plain multiplies and
// adds (no fused multiply-add), so every value rounds exactly as in the four-wide path.
__attribute__((target("avx"))) void laterStagesAvx(const Transform& t, float* re, float* im) {
    for (int half = 8; half < kFFTSize; half *= 2) {
        const int size = half * 2;
        const float* twr = t.twiddleReal + half;
        const float* twi = t.twiddleImag + half;
        for (int i = 0; i < kFFTSize; i += size) {
            float* reJ = re + i;
            float* imJ = im + i;
            float* reK = reJ + half;
            float* imK = imJ + half;
            for (int p = 0; p < half; p += 8) {
                const __m256 ar = _mm256_loadu_ps(twr + p);
                const __m256 ai = _mm256_loadu_ps(twi + p);
                const __m256 rj = _mm256_loadu_ps(reJ + p);
                const __m256 ij = _mm256_loadu_ps(imJ + p);
                const __m256 rk = _mm256_loadu_ps(reK + p);
                const __m256 ik = _mm256_loadu_ps(imK + p);
                const __m256 tr = _mm256_sub_ps(_mm256_mul_ps(ar, rk), _mm256_mul_ps(ai, ik));
                const __m256 ti = _mm256_add_ps(_mm256_mul_ps(ar, ik), _mm256_mul_ps(ai, rk));
                _mm256_storeu_ps(reK + p, _mm256_sub_ps(rj, tr));
                _mm256_storeu_ps(imK + p, _mm256_sub_ps(ij, ti));
                _mm256_storeu_ps(reJ + p, _mm256_add_ps(rj, tr));
                _mm256_storeu_ps(imJ + p, _mm256_add_ps(ij, ti));
            }
        }
    }
}
#endif

void runStages(const Transform& t, const std::int16_t* input, float* re, float* im) {
    for (int i = 0; i < kFFTSize; i += 8)
        firstThreeStages(t, input, re, im, i);
#if defined(SORVINTA_FFT_AVX)
    if (t.useAvx) {
        laterStagesAvx(t, re, im);
        return;
    }
#endif
    for (int size = 16; size <= kFFTSize; size *= 2)
        laterStage(t, re, im, size, size / 2);
}

#else

void runStages(const Transform& t, const std::int16_t* input, float* re, float* im) {
    for (int i = 0; i < kFFTSize; ++i) {
        const std::int32_t j = t.bitReverse[static_cast<std::size_t>(i)];
        re[j] = static_cast<float>(input[i]);
        im[j] = 0.0f;
    }
    for (int half = 1; half < kFFTSize; half *= 2) {
        const int size = half * 2;
        for (int i = 0; i < kFFTSize; i += size) {
            for (int p = 0; p < half; ++p) {
                const int j = i + p;
                const int k = j + half;
                const float ar = t.twiddleReal[half + p];
                const float ai = t.twiddleImag[half + p];
                const float tr = ar * re[k] - ai * im[k];
                const float ti = ar * im[k] + ai * re[k];
                re[k] = re[j] - tr;
                im[k] = im[j] - ti;
                re[j] = re[j] + tr;
                im[j] = im[j] + ti;
            }
        }
    }
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
#if defined(SORVINTA_FFT_AVX)
    t.useAvx = __builtin_cpu_supports("avx");
#endif
}

void ComputeFFT(const std::int16_t* input, float* output) {
    Transform& t = theTransform;
    // The vector stages want 16-byte alignment; the caller's array may not have it.
    const bool aligned = reinterpret_cast<std::uintptr_t>(output) % 16 == 0;
    float* re = aligned ? output : t.real;
    runStages(t, input, re, t.imag);
    if (!aligned)
        std::memcpy(output, re, sizeof(float) * kFFTSize);
}

const std::array<std::int32_t, kFFTSize>& BitReverseTable() {
    return theTransform.bitReverse;
}
