// The help viewer on one large help file (its path in HELP_BENCH_FILE):
//   BM_OpenWithContents   open the file and show it at its contents tab (a new engine each time)
//   BM_ChmlibReadAll      chmlib alone reading every topic once: open, then look up and read
//                         each topic, as the first search reads them
//   BM_FirstSearch        open the file and search it, the search index built on the way
//   BM_LaterSearch        further searches once the index is there
#include "help/chm/help_file.h"
#include "help/chm/text_encoding.h"
#include "help/chm/topic_text.h"
#include "help/engine/help_session.h"
#include "help/engine/help_viewer_window.h"
#include "support_message_box.h"

#include <benchmark/benchmark.h>
#include <chm_lib.h>

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
    std::vector<std::string> pages;
    {
        std::string error;
        const auto file = HelpFile::open(benchFile(), error);
        pages = file->catalog().paths;
    }
    std::vector<unsigned char> buffer;
    std::size_t bytes = 0;
    for (auto _ : state) {
        chmFile* archive = chm_open(benchFile().c_str());
        if (!archive) {
            state.SkipWithError("chmlib cannot open the help file");
            break;
        }
        for (const std::string& page : pages) {
            chmUnitInfo unit{};
            if (chm_resolve_object(archive, page.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
                continue;
            buffer.resize(unit.length);
            bytes += static_cast<std::size_t>(chm_retrieve_object(
                archive, &unit, buffer.data(), 0, static_cast<LONGINT64>(unit.length)));
        }
        chm_close(archive);
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

// The parts of the first search: getting the pages' text as it does (UTF-8, scanned, the
// parser for pages that may declare names), and indexing that text.
std::vector<std::string> benchPages(const HelpFile& file) {
    std::vector<std::string> pages;
    for (const std::string& p : file.catalog().paths)
        pages.push_back(*file.read(p));
    return pages;
}

void BM_PageText(benchmark::State& state) {
    std::string error;
    const auto file = HelpFile::open(benchFile(), error);
    const std::vector<std::string> pages = benchPages(*file);
    std::string title;
    std::string body;
    for (auto _ : state) {
        for (const std::string& bytes : pages) {
            std::string page = bytes;
            makePageUtf8(page, file->charset());
            title.clear();
            body.clear();
            scanPageText(page, title, body);
            if (mayDeclareNames(page))
                benchmark::DoNotOptimize(readTopicText(page, "UTF-8"));
            benchmark::DoNotOptimize(body.data());
        }
    }
}

void BM_Indexing(benchmark::State& state) {
    std::string error;
    const auto file = HelpFile::open(benchFile(), error);
    std::vector<std::pair<std::string, std::string>> texts;
    for (std::string page : benchPages(*file)) {
        makePageUtf8(page, file->charset());
        std::string title;
        std::string body;
        scanPageText(page, title, body);
        texts.emplace_back(std::move(title), std::move(body));
    }
    for (auto _ : state) {
        TopicSearch search;
        for (const auto& [title, body] : texts)
            search.add(title, body);
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
