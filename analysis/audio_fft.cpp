#include "analysis/audio_fft.h"

#include <cmath>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

// Every float operation below rounds to single precision on its own (SSE arithmetic, no
// fused multiply-add), so the vector and scalar paths give the same bits.

std::array<std::int32_t, FFTSize> BitReverseTable{};

namespace {

// Imaginary parts during and after a transform.
alignas(16) float ImagBuffer[FFTSize];

// The twiddles of the current stage, position by position. The recurrence restarts at
// 1 + 0i for every block of a stage, so each block sees the same sequence: working it out
// once per stage leaves every value as it was and lets the butterflies run four at a time.
alignas(16) float TwiddleReal[FFTSize / 2];
alignas(16) float TwiddleImag[FFTSize / 2];

void computeTwiddles(int half, float alpha, float beta) {
    float ar = 1.0f;
    float ai = 0.0f;
    for (int p = 0; p < half; ++p) {
        TwiddleReal[p] = ar;
        TwiddleImag[p] = ai;
        const float deltaAR = alpha * ar + beta * ai;
        ai = ai - (alpha * ai - beta * ar);
        ar = ar - deltaAR;
    }
}

inline void butterfly(float* re, float* im, int j, int k, float ar, float ai) {
    const float tr = ar * re[k] - ai * im[k];
    const float ti = ar * im[k] + ai * re[k];
    re[k] = re[j] - tr;
    im[k] = im[j] - ti;
    re[j] = re[j] + tr;
    im[j] = im[j] + ti;
}

void runStage(float* re, float* im, int size, int half) {
#if defined(__SSE__)
    if (half >= 4) {
        for (int i = 0; i < FFTSize; i += size) {
            float* reJ = re + i;
            float* imJ = im + i;
            float* reK = reJ + half;
            float* imK = imJ + half;
            for (int p = 0; p < half; p += 4) {
                const __m128 ar = _mm_load_ps(TwiddleReal + p);
                const __m128 ai = _mm_load_ps(TwiddleImag + p);
                const __m128 rk = _mm_loadu_ps(reK + p);
                const __m128 ik = _mm_loadu_ps(imK + p);
                const __m128 rj = _mm_loadu_ps(reJ + p);
                const __m128 ij = _mm_loadu_ps(imJ + p);
                const __m128 tr = _mm_sub_ps(_mm_mul_ps(ar, rk), _mm_mul_ps(ai, ik));
                const __m128 ti = _mm_add_ps(_mm_mul_ps(ar, ik), _mm_mul_ps(ai, rk));
                _mm_storeu_ps(reK + p, _mm_sub_ps(rj, tr));
                _mm_storeu_ps(imK + p, _mm_sub_ps(ij, ti));
                _mm_storeu_ps(reJ + p, _mm_add_ps(rj, tr));
                _mm_storeu_ps(imJ + p, _mm_add_ps(ij, ti));
            }
        }
        return;
    }
#endif
    for (int i = 0; i < FFTSize; i += size)
        for (int p = 0; p < half; ++p)
            butterfly(re, im, i + p, i + p + half, TwiddleReal[p], TwiddleImag[p]);
}

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
    std::uint8_t bits = 10;
    for (std::int32_t i = 0; i < FFTSize; ++i)
        BitReverseTable[static_cast<std::size_t>(i)] = ReverseBits(i, bits);
}

void ComputeFFT(const std::int16_t* input, float* output) {
    float* re = output;
    float* im = ImagBuffer;
    for (int i = 0; i < FFTSize; ++i) {
        const std::int32_t j = BitReverseTable[static_cast<std::size_t>(i)];
        re[j] = static_cast<float>(input[i]);
        im[j] = 0.0f;
    }

    int half = 1;
    for (int size = 2; size <= FFTSize; size *= 2) {
        // The angle step uses 6.283185, not 2 pi in full; each value is rounded to single.
        const float delta = static_cast<float>(6.283185 / size);
        float alpha = static_cast<float>(std::sin(0.5 * static_cast<double>(delta)));
        alpha = (alpha + alpha) * alpha;
        const float beta = static_cast<float>(std::sin(static_cast<double>(delta)));
        computeTwiddles(half, alpha, beta);
        runStage(re, im, size, half);
        half = size;
    }
}
