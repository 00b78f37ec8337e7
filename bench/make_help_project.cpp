// Writes a large help project for the help benchmarks:
//   make_help_project DIR TOPICS
// Each topic holds a few hundred words drawn from a fixed vocabulary (some of them Cyrillic and
// accented), so every run builds the same file. Contents in chapters of 20, an index of words.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::uint32_t next(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

std::vector<std::string> vocabulary() {
    static const char* const syllables[] = {"ra",  "te",  "mo", "li",  "sun", "ver", "ka",  "do",
                                            "pel", "tri", "no", "gas", "fi",  "lor", "ben", "qu"};
    static const char* const foreign[] = {"запись", "звук", "частота", "café",
                                          "naïve",  "ήχος", "déjà",    "größe"};
    std::vector<std::string> words;
    std::uint32_t state = 7;
    for (int i = 0; i < 4000; ++i) {
        std::string w;
        const int n = 2 + static_cast<int>(next(state) % 3);
        for (int k = 0; k < n; ++k)
            w += syllables[next(state) % 16];
        words.push_back(w);
    }
    for (const char* f : foreign)
        words.emplace_back(f);
    return words;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_help_project DIR TOPICS\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int topics = std::atoi(argv[2]);
    const std::vector<std::string> words = vocabulary();
    std::uint32_t state = 42;
    // Common words often, rare ones seldom, as in real text.
    const auto word = [&]() -> const std::string& {
        const std::uint32_t r = next(state) % 1000;
        const std::size_t range = r < 700 ? 200 : words.size();
        return words[next(state) % range];
    };
    std::ofstream project(dir + "/big.hhp");
    project << "[OPTIONS]\nCompiled file=big.chm\nContents file=toc.hhc\nIndex file=index.hhk\n"
               "Default topic=t0.htm\nTitle=Big Help\nLanguage=0x409\n\n[FILES]\n";
    std::ofstream toc(dir + "/toc.hhc");
    toc << "<html><head><meta charset=\"utf-8\"></head><body><ul>\n";
    for (int t = 0; t < topics; ++t) {
        const std::string name = "t" + std::to_string(t) + ".htm";
        project << name << "\n";
        const std::string title = "Topic " + std::to_string(t) + " " + word();
        std::ofstream page(dir + "/" + name);
        page << "<html><head><meta charset=\"utf-8\"><title>" << title
             << "</title></head><body><h1>" << title << "</h1>\n";
        const int paragraphs = 4 + static_cast<int>(next(state) % 6);
        for (int p = 0; p < paragraphs; ++p) {
            page << "<p>";
            const int n = 50 + static_cast<int>(next(state) % 80);
            for (int i = 0; i < n; ++i)
                page << word() << (i % 13 == 12 ? ". " : " ");
            page << "<b>" << word() << "</b> <a href=\"t" << next(state) % topics << ".htm\">"
                 << word() << "</a>.</p>\n";
        }
        page << "</body></html>\n";
        if (t % 20 == 0)
            toc << (t ? "</ul>\n" : "") << "<li><object type=\"text/sitemap\"><param name=\"Name\" "
                << "value=\"Chapter " << t / 20 << "\"><param name=\"Local\" value=\"" << name
                << "\"></object>\n<ul>\n";
        toc << "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"" << title
            << "\"><param name=\"Local\" value=\"" << name << "\"></object>\n";
    }
    toc << "</ul></ul></body></html>\n";
    std::ofstream index(dir + "/index.hhk");
    index << "<html><head><meta charset=\"utf-8\"></head><body><ul>\n";
    for (std::size_t i = 0; i < 3000 && i < words.size(); ++i)
        index << "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"" << words[i]
              << "\"><param name=\"Local\" value=\"t" << i % topics << ".htm\"></object>\n";
    index << "</ul></body></html>\n";
    return 0;
}
