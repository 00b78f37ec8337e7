// ComputeFFT against FFTW's 1024-point single-precision real transform, in the same run.
// Before timing, both transforms of the same block are compared, so a fast but wrong
// transform is caught here too.

#include "analysis/audio_fft.h"
#include "benchmark_run.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

std::array<std::int16_t, kFFTSize> testBlock() {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> dist(-32768, 32767);
    std::array<std::int16_t, kFFTSize> block{};
    for (auto& s : block)
        s = static_cast<std::int16_t>(dist(rng));
    return block;
}

class Fftw {
public:
    Fftw() {
        m_in = fftwf_alloc_real(kFFTSize);
        m_out = fftwf_alloc_complex(kFFTSize / 2 + 1);
        m_plan = fftwf_plan_dft_r2c_1d(kFFTSize, m_in, m_out, FFTW_MEASURE);
    }
    ~Fftw() {
        fftwf_destroy_plan(m_plan);
        fftwf_free(m_in);
        fftwf_free(m_out);
    }
    Fftw(const Fftw&) = delete;
    Fftw& operator=(const Fftw&) = delete;

    // Converts the samples too, as ComputeFFT does.
    void run(const std::int16_t* samples) {
        for (int i = 0; i < kFFTSize; ++i)
            m_in[i] = static_cast<float>(samples[i]);
        fftwf_execute(m_plan);
    }
    float real(int bin) const { return m_out[bin][0]; }

private:
    float* m_in = nullptr;
    fftwf_complex* m_out = nullptr;
    fftwf_plan m_plan = nullptr;
};

void BM_ComputeFFT(benchmark::State& state) {
    InitFFT();
    const auto block = testBlock();
    std::array<float, kFFTSize> out{};
    for (auto _ : state) {
        ComputeFFT(block.data(), out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputeFFT);

void BM_FftwRealToComplex(benchmark::State& state) {
    Fftw fftw;
    const auto block = testBlock();
    for (auto _ : state) {
        fftw.run(block.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FftwRealToComplex);

// Largest difference between the two real parts over bins 0..512, relative to the largest
// real part.
bool outputsAgree() {
    InitFFT();
    const auto block = testBlock();
    std::array<float, kFFTSize> ours{};
    ComputeFFT(block.data(), ours.data());
    Fftw fftw;
    fftw.run(block.data());
    double worst = 0.0;
    double largest = 0.0;
    for (int m = 0; m <= kFFTSize / 2; ++m) {
        worst = std::max(worst, std::abs(double(ours[m]) - fftw.real(m)));
        largest = std::max(largest, std::abs(double(fftw.real(m))));
    }
    std::printf("ComputeFFT vs FFTW, bins 0..512: largest difference %.3g (%.2g of the largest "
                "bin)\n",
                worst, worst / largest);
    return worst <= 1e-5 * largest;
}

} // namespace

int main(int argc, char** argv) {
    if (!outputsAgree()) {
        std::fprintf(stderr, "ComputeFFT and FFTW disagree\n");
        return 1;
    }
    return runBenchmarks(argc, argv);
}
