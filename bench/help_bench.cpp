// The help viewer on one large help file (its path in HELP_BENCH_FILE):
//   BM_OpenWithContents   open the file and show it at its contents tab (a new engine each time)
//   BM_ArchiveReadAll     the archive alone reading every topic once: open, then look up and
//                         read each topic, as the search index reads them
//   BM_IndexWhole         open the file and search it at once, the search index read on the way
//   BM_SearchInWindow     the first search in a help window made 1 s after it opened, while the
//                         index was read beside it
//   BM_LaterSearch        further searches once the index is there
#include "help/chm/help_file.h"
#include "help/chm/text_encoding.h"
#include "help/chm/topic_text.h"
#include "help/engine/help_session.h"
#include "help/engine/help_viewer_window.h"
#include "support_message_box.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
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

void BM_ArchiveReadAll(benchmark::State& state) {
    std::vector<std::string> pages;
    {
        std::string error;
        const auto file = HelpFile::open(benchFile(), error);
        pages = file->catalog().paths;
        // In the order the index reads them: as the archive stores them.
        std::stable_sort(pages.begin(), pages.end(),
                         [&](const std::string& a, const std::string& b) {
                             return file->archive().placeOf(a) < file->archive().placeOf(b);
                         });
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string error;
        const auto archive = ChmArchive::open(benchFile(), error);
        if (!archive) {
            state.SkipWithError("the help file does not open");
            break;
        }
        for (const std::string& page : pages)
            bytes += archive->read(page).value_or(std::string()).size();
    }
    state.counters["topics"] = static_cast<double>(pages.size());
    benchmark::DoNotOptimize(bytes);
}

void BM_IndexWhole(benchmark::State& state) {
    std::size_t hits = 0;
    for (auto _ : state) {
        std::string error;
        const auto file = HelpFile::open(benchFile(), error);
        hits = file->search("ratemo").size();
    }
    state.counters["hits"] = static_cast<double>(hits);
}

void BM_SearchInWindow(benchmark::State& state) {
    const std::string target = benchFile();
    SilentMessageBox boxes;
    int hits = 0;
    for (auto _ : state) {
        HelpSession session(boxes);
        if (!session.HtmlHelp(0, target.c_str(), HelpCommand::HH_DISPLAY_TOC, 0)) {
            state.SkipWithError("the help file did not open");
            break;
        }
        HelpViewerWindow* window = session.windows().front();
        // A second in which the user looks at the window before searching.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        window->searchField()->setText(QStringLiteral("ratemo"));
        const auto start = std::chrono::steady_clock::now();
        window->runSearch();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        hits = window->searchResults()->count();
        session.closeAll();
        QApplication::processEvents();
    }
    state.counters["hits"] = hits;
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
BENCHMARK(BM_ArchiveReadAll)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IndexWhole)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SearchInWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_LaterSearch)->Unit(benchmark::kMillisecond)->MinTime(1.0);
