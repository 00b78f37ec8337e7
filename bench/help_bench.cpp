// The help viewer on one large help file (its path in HELP_BENCH_FILE):
//   BM_OpenWithContents   open the file and show it at its contents tab (a new engine each time)
//   BM_ChmlibReadAll      chmlib alone reading every topic once
//   BM_FirstSearch        open the file and search it, the search index built on the way
//   BM_LaterSearch        further searches once the index is there
#include "help/chm/chm_archive.h"
#include "help/chm/help_file.h"
#include "help/chm/topic_text.h"
#include "help/engine/help_session.h"
#include "help/engine/help_viewer_window.h"
#include "support_message_box.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>

#include <cstdlib>

namespace {

std::string benchFile() {
    const char* path = std::getenv("HELP_BENCH_FILE");
    return path ? path : "";
}

void BM_OpenWithContents(benchmark::State& state) {
    const std::string target = benchFile();
    SilentMessageBox boxes;
    int items = 0;
    for (auto _ : state) {
        HelpSession session(boxes);
        if (!session.HtmlHelp(0, target.c_str(), HelpCommand::HH_DISPLAY_TOC, 0))
            state.SkipWithError("the help file did not open");
        QApplication::processEvents();
        items = session.windows().front()->contentsTree()->topLevelItemCount();
        session.closeAll();
    }
    state.counters["chapters"] = items;
}

void BM_ChmlibReadAll(benchmark::State& state) {
    std::string error;
    std::vector<std::string> pages;
    {
        const auto file = HelpFile::open(benchFile(), error);
        pages = file->catalog().paths;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto archive = ChmArchive::open(benchFile(), error);
        for (const std::string& page : pages)
            bytes += archive->read(page)->size();
    }
    state.counters["topics"] = static_cast<double>(pages.size());
    benchmark::DoNotOptimize(bytes);
}

void BM_FirstSearch(benchmark::State& state) {
    std::size_t hits = 0;
    for (auto _ : state) {
        std::string error;
        const auto file = HelpFile::open(benchFile(), error);
        hits = file->search("ratemo").size();
    }
    state.counters["hits"] = static_cast<double>(hits);
}

void BM_LaterSearch(benchmark::State& state) {
    std::string error;
    const auto file = HelpFile::open(benchFile(), error);
    file->catalog();
    const char* const queries[] = {"ratemo", "запись", "sunver kado", "pel*", "café ratemo"};
    std::size_t i = 0;
    std::size_t hits = 0;
    for (auto _ : state)
        hits += file->search(queries[i++ % 5]).size();
    benchmark::DoNotOptimize(hits);
}

// The parts of the first search: reading the pages' text, and indexing it.
void BM_PageText(benchmark::State& state) {
    std::string error;
    const auto file = HelpFile::open(benchFile(), error);
    std::vector<std::string> pages;
    for (const std::string& p : file->catalog().paths)
        pages.push_back(*file->read(p));
    for (auto _ : state)
        for (const std::string& page : pages)
            benchmark::DoNotOptimize(readTopicText(page, "UTF-8"));
}

void BM_Indexing(benchmark::State& state) {
    std::string error;
    const auto file = HelpFile::open(benchFile(), error);
    std::vector<TopicText> texts;
    for (const std::string& p : file->catalog().paths)
        texts.push_back(readTopicText(*file->read(p), "UTF-8"));
    for (auto _ : state) {
        TopicSearch search;
        for (const TopicText& t : texts)
            search.add(t.title, t.body);
        benchmark::DoNotOptimize(search.wordCount());
    }
}

} // namespace

BENCHMARK(BM_PageText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Indexing)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenWithContents)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ChmlibReadAll)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LaterSearch)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
