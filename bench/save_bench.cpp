// The time of a save into the file system that holds the spool folder, for takes of 10 s and
// 60 s at 48,000 Hz, 16 bit, stereo: finishing the take, syncing what is not on disk yet and
// renaming it into place. It must not grow with the take.
//
//   save_bench FOLDER [benchmark options]   (FOLDER: where the spool and the targets go)

#include "benchmark_run.h"
#include "platform/spool/spool_messages.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_spool.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string g_folder;

void BM_SaveTake(benchmark::State& state) {
    const WaveFormat format{48000, 16, 2};
    const TakeSpool spool(g_folder + "/spool");
    const std::string target = g_folder + "/saved.wav";
    // The stream hands data over in blocks of 40 ms.
    const std::vector<char> block(static_cast<std::size_t>(format.bytesPerSecond() / 25), 7);
    for (auto _ : state) {
        state.PauseTiming();
        auto made = spool.newTake(format);
        if (!made) {
            state.SkipWithError(std::strerror(made.cause().error));
            break;
        }
        std::unique_ptr<TakeFile> take = std::move(made).value();
        for (int i = 0; i < state.range(0) * 25; ++i)
            take->append(block.data(), block.size());
        state.ResumeTiming();

        if (const auto saved = take->saveTo(target, nullptr); !saved) {
            state.SkipWithError(placeReason(saved.cause()).c_str());
            break;
        }

        state.PauseTiming();
        take.reset();
        ::unlink(target.c_str());
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(state.range(0)) + " s take");
}
BENCHMARK(BM_SaveTake)
    ->Arg(10)
    ->Arg(60)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: save_bench FOLDER [benchmark options]\n");
        return 2;
    }
    g_folder = argv[1];
    std::filesystem::create_directories(g_folder);
    argv[1] = argv[0];
    ++argv;
    --argc;
    return runBenchmarks(argc, argv);
}
