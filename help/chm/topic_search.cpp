#include "help/chm/topic_search.h"

#include "help/chm/text_encoding.h"

#include <QChar>

#include <algorithm>
#include <cmath>

namespace {

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Scripts written without blanks between words.
bool standsAlone(char32_t cp) {
    return (cp >= 0x3040 && cp <= 0x30FF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
           (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0x20000 && cp <= 0x2FFFF);
}

} // namespace

void forEachWord(std::string_view text, const std::function<void(std::string_view)>& word) {
    std::string current;
    const auto flush = [&] {
        if (!current.empty())
            word(current);
        current.clear();
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            // The common case, without a table look-up.
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
                current += static_cast<char>(c);
            else if (c >= 'A' && c <= 'Z')
                current += static_cast<char>(c + ('a' - 'A'));
            else
                flush();
            ++i;
            continue;
        }
        std::size_t length = 0;
        const char32_t cp = decodeUtf8(text, i, length);
        if (length == 0) {
            flush();
            ++i;
            continue;
        }
        i += length;
        if (standsAlone(cp)) {
            flush();
            encode(cp, current);
            flush();
        } else if (QChar::isLetterOrNumber(cp) || QChar::isMark(cp)) {
            encode(QChar::toCaseFolded(cp), current);
        } else {
            flush();
        }
    }
    flush();
}

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    forEachWord(text, [&](std::string_view w) { words.emplace_back(w); });
    return words;
}

void TopicSearch::add(std::string_view title, std::string_view body) {
    const std::uint32_t topic = m_topics++;
    // The counts of this topic, gathered before they join the index.
    std::unordered_map<std::string, Posting, TextHash, std::equal_to<>> counts;
    const auto count = [&](std::string_view w, bool inTitle) {
        auto it = counts.find(w);
        if (it == counts.end())
            it = counts.emplace(std::string(w), Posting{topic, 0, 0}).first;
        ++it->second.count;
        if (inTitle)
            ++it->second.inTitle;
    };
    forEachWord(title, [&](std::string_view w) { count(w, true); });
    forEachWord(body, [&](std::string_view w) { count(w, false); });
    for (auto& [word, posting] : counts) {
        auto it = m_postings.find(word);
        if (it == m_postings.end())
            it = m_postings.emplace(word, std::vector<Posting>{}).first;
        it->second.push_back(posting);
    }
}

std::unordered_map<std::uint32_t, double> TopicSearch::scoresFor(std::string_view word,
                                                                 bool prefix) const {
    std::unordered_map<std::uint32_t, double> scores;
    const auto addPostings = [&](const std::vector<Posting>& postings) {
        const double rarity =
            std::log(1.0 + static_cast<double>(m_topics) / static_cast<double>(postings.size()));
        for (const Posting& p : postings)
            scores[p.topic] += (std::log(1.0 + p.count) + 2.0 * (p.inTitle > 0)) * rarity;
    };
    if (!prefix) {
        const auto it = m_postings.find(word);
        if (it != m_postings.end())
            addPostings(it->second);
        return scores;
    }
    for (const auto& [w, postings] : m_postings) {
        if (w.size() >= word.size() && std::string_view(w).substr(0, word.size()) == word)
            addPostings(postings);
    }
    return scores;
}

std::vector<TopicSearch::Hit> TopicSearch::search(std::string_view query) const {
    // The query's words; a "*" right after a word makes it a prefix.
    struct Term {
        std::string word;
        bool prefix;
    };
    std::vector<Term> terms;
    std::size_t start = 0;
    while (start < query.size()) {
        std::size_t end = query.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos)
            end = query.size();
        const std::string_view token = query.substr(start, end - start);
        const std::vector<std::string> words = splitWords(token);
        for (std::size_t k = 0; k < words.size(); ++k) {
            const bool last = k + 1 == words.size();
            terms.push_back({words[k], last && !token.empty() && token.back() == '*'});
        }
        start = end + 1;
    }
    if (terms.empty())
        return {};

    std::unordered_map<std::uint32_t, double> total = scoresFor(terms[0].word, terms[0].prefix);
    for (std::size_t k = 1; k < terms.size() && !total.empty(); ++k) {
        const auto scores = scoresFor(terms[k].word, terms[k].prefix);
        for (auto it = total.begin(); it != total.end();) {
            const auto found = scores.find(it->first);
            if (found == scores.end()) {
                it = total.erase(it);
            } else {
                it->second += found->second;
                ++it;
            }
        }
    }
    std::vector<Hit> hits;
    hits.reserve(total.size());
    for (const auto& [topic, score] : total)
        hits.push_back({topic, score});
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.score != b.score ? a.score > b.score : a.topic < b.topic;
    });
    return hits;
}
