#include "analysis/audio_fft.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Block = std::array<std::int16_t, kFFTSize>;
using Spectrum = std::array<float, kFFTSize>;

class AudioFFT : public ::testing::Test {
protected:
    void SetUp() override { InitFFT(); }

    Spectrum transform(const Block& input) {
        Spectrum out;
        out.fill(-999.0f); // every entry must be overwritten
        ComputeFFT(input.data(), out.data());
        return out;
    }
};

// The transform written out step by step, one butterfly at a time, with the twiddle
// recurrence running inside every block. ComputeFFT must give exactly these bits.
Spectrum plainTransform(const Block& input) {
    Spectrum re{};
    std::array<float, kFFTSize> im{};
    for (int i = 0; i < kFFTSize; ++i) {
        std::uint8_t bits = 10;
        const int j = ReverseBits(i, bits);
        re[j] = static_cast<float>(input[i]);
        im[j] = 0.0f;
    }
    int half = 1;
    for (int size = 2; size <= kFFTSize; size *= 2) {
        const float delta = static_cast<float>(6.283185 / size);
        float alpha = static_cast<float>(std::sin(0.5 * static_cast<double>(delta)));
        alpha = (alpha + alpha) * alpha;
        const float beta = static_cast<float>(std::sin(static_cast<double>(delta)));
        for (int i = 0; i < kFFTSize; i += size) {
            float ar = 1.0f;
            float ai = 0.0f;
            for (int j = i; j < i + half; ++j) {
                const int k = j + half;
                const float tr = ar * re[k] - ai * im[k];
                const float ti = ar * im[k] + ai * re[k];
                re[k] = re[j] - tr;
                im[k] = im[j] - ti;
                re[j] = re[j] + tr;
                im[j] = im[j] + ti;
                const float deltaAR = alpha * ar + beta * ai;
                ai = ai - (alpha * ai - beta * ar);
                ar = ar - deltaAR;
            }
        }
        half = size;
    }
    return re;
}

// Real part of the exact transform, in double precision.
std::vector<double> directTransform(const Block& input) {
    std::vector<double> out(kFFTSize);
    for (int m = 0; m < kFFTSize; ++m) {
        double sum = 0.0;
        for (int n = 0; n < kFFTSize; ++n)
            sum += input[n] *
                   std::cos(2.0 * M_PI * ((static_cast<long>(m) * n) % kFFTSize) / kFFTSize);
        out[m] = sum;
    }
    return out;
}

Block randomBlock(unsigned seed, int amplitude) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> dist(-amplitude, amplitude);
    Block b;
    for (auto& s : b)
        s = static_cast<std::int16_t>(dist(rng));
    return b;
}

} // namespace

TEST(ReverseBits, ReversesTheLowestBits) {
    struct Case {
        std::int32_t index;
        std::uint8_t bits;
        std::int32_t expected;
    };
    const Case cases[] =
        {
            {1, 10, 512}, {512, 10, 1},        {1023, 10, 1023}, {6, 10, 384},
            {0, 10, 0},   {5, 3, 5},           {6, 3, 3},        {1, 1, 1},
            {7, 0, 0},    {1024 + 1, 10, 512}, // bits above the count are ignored
        };
    for (const Case& c : cases) {
        std::uint8_t bits = c.bits;
        EXPECT_EQ(ReverseBits(c.index, bits), c.expected) << c.index << " over " << int(c.bits);
        EXPECT_EQ(bits, c.bits);
    }
}

TEST_F(AudioFFT, InitFillsTheBitReverseTable) {
    const auto& table = BitReverseTable();
    for (int i = 0; i < kFFTSize; ++i) {
        const int j = table[i];
        ASSERT_GE(j, 0);
        ASSERT_LT(j, kFFTSize);
        EXPECT_EQ(table[j], i) << i; // reversal undoes itself
    }
    EXPECT_EQ(table[1], 512);
    EXPECT_EQ(table[6], 384);
}

TEST_F(AudioFFT, ZeroInputGivesZeroOutput) {
    const Spectrum out = transform(Block{});
    for (float v : out)
        EXPECT_EQ(v, 0.0f);
}

TEST_F(AudioFFT, ImpulseGivesItsHeightInEveryBin) {
    for (std::int16_t a : {std::int16_t(1), std::int16_t(-32768), std::int16_t(12345)}) {
        Block in{};
        in[0] = a;
        const Spectrum out = transform(in);
        for (int m = 0; m < kFFTSize; ++m)
            ASSERT_EQ(out[m], static_cast<float>(a)) << "bin " << m << " for " << a;
    }
}

TEST_F(AudioFFT, HalfBlockOfConstantGivesItsSumAtBinZero) {
    // The shape the capture delivers: 512 samples, then zeros.
    for (int c : {1, -7, 32767, -32768}) {
        Block in{};
        for (int i = 0; i < 512; ++i)
            in[i] = static_cast<std::int16_t>(c);
        const Spectrum out = transform(in);
        EXPECT_EQ(out[0], 512.0f * static_cast<float>(c)) << c;
    }
}

TEST_F(AudioFFT, CosineLandsInItsBinAndItsMirror) {
    const double amplitude = 10000.0;
    for (int m0 : {1, 37, 100, 255, 511}) {
        Block in;
        for (int n = 0; n < kFFTSize; ++n)
            in[n] = static_cast<std::int16_t>(
                std::lround(amplitude * std::cos(2.0 * M_PI * m0 * n / kFFTSize)));
        const Spectrum out = transform(in);
        const double peak = 512.0 * amplitude;
        EXPECT_NEAR(out[m0], peak, peak * 1e-4) << m0;
        EXPECT_NEAR(out[kFFTSize - m0], peak, peak * 1e-4) << m0;
        for (int m = 0; m < kFFTSize; ++m) {
            if (m == m0 || m == kFFTSize - m0)
                continue;
            ASSERT_LT(std::abs(out[m]), peak * 1e-4) << "bin " << m << " for " << m0;
        }
    }
}

TEST_F(AudioFFT, AgreesWithADoublePrecisionTransform) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const Block in = randomBlock(seed, 32767);
        const Spectrum out = transform(in);
        const std::vector<double> exact = directTransform(in);
        double energy = 0.0;
        for (std::int16_t s : in)
            energy += double(s) * s;
        // Rounding through ten stages and the recurrence-built twiddles leaves errors near
        // 1e-7 of the input's size (measured: 7.7e-8); a wrong twiddle step or sign is off by
        // the input's size itself.
        const double tolerance = 1e-6 * std::sqrt(energy * kFFTSize);
        for (int m = 0; m < kFFTSize; ++m)
            ASSERT_NEAR(out[m], exact[m], tolerance) << "bin " << m << " seed " << seed;
    }
}

// Built once as the program has it and once without the eight-wide path (test_fft_four_wide),
// so both vector widths are held to the same bits.
TEST_F(AudioFFT, MatchesTheButterflyByButterflyTransformBitForBit) {
    for (unsigned seed = 10; seed < 20; ++seed) {
        const Block in = randomBlock(seed, seed % 2 ? 32767 : 300);
        const Spectrum out = transform(in);
        const Spectrum expected = plainTransform(in);
        ASSERT_EQ(std::memcmp(out.data(), expected.data(), sizeof(float) * kFFTSize), 0)
            << "seed " << seed;
    }
}

// Blocks whose sums and differences come out as exact zeros of either sign, and the extremes:
// the early butterflies are cut short where that gives the same bits, which only memcmp sees.
TEST_F(AudioFFT, MatchesTheButterflyByButterflyTransformOnShapedBlocks) {
    struct Case {
        const char* name;
        std::int16_t (*sample)(int n);
    };
    const Case cases[] = {
        {"impulse at the end", [](int n) { return std::int16_t(n == 1023 ? -32768 : 0); }},
        {"halves cancel",
         [](int n) {
             return std::int16_t(n < 512 ? n * 37 % 2001 - 1000 : -((n - 512) * 37 % 2001 - 1000));
         }},
        {"halves equal", [](int n) { return std::int16_t((n % 512) * 61 % 3001 - 1500); }},
        {"full scale alternating", [](int n) { return std::int16_t(n % 2 ? 32767 : -32768); }},
        {"negative half block", [](int n) { return std::int16_t(n < 512 ? -32768 : 0); }},
        {"every eighth", [](int n) { return std::int16_t(n % 8 == 3 ? -n : 0); }},
    };
    for (const Case& c : cases) {
        Block in;
        for (int n = 0; n < kFFTSize; ++n)
            in[n] = c.sample(n);
        const Spectrum out = transform(in);
        const Spectrum expected = plainTransform(in);
        EXPECT_EQ(std::memcmp(out.data(), expected.data(), sizeof(float) * kFFTSize), 0) << c.name;
    }
}

TEST_F(AudioFFT, WritesAnOutputArrayOfAnyAlignment) {
    const Block in = randomBlock(5, 32767);
    const Spectrum expected = plainTransform(in);
    alignas(16) float storage[kFFTSize + 1];
    float* shifted = storage + 1; // 4 bytes past a 16-byte boundary
    ComputeFFT(in.data(), shifted);
    EXPECT_EQ(std::memcmp(shifted, expected.data(), sizeof(float) * kFFTSize), 0);
}
