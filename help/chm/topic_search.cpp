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

// Words of the text, without a call through std::function for each.
// FNV-1a over a word's bytes, built while the word is.
constexpr std::uint64_t kHashStart = 1469598103934665603ull;
inline std::uint64_t hashByte(std::uint64_t h, unsigned char c) {
    return (h ^ c) * 1099511628211ull;
}

std::uint64_t hashOf(std::string_view word) {
    std::uint64_t h = kHashStart;
    for (char c : word)
        h = hashByte(h, static_cast<unsigned char>(c));
    return h;
}

// Words of the text with their hashes, without a call through std::function for each.
template <typename Word> void eachWord(std::string_view text, Word&& word) {
    std::string current;
    std::uint64_t hash = kHashStart;
    const auto flush = [&] {
        if (!current.empty())
            word(std::string_view(current), hash);
        current.clear();
        hash = kHashStart;
    };
    const auto append = [&](const std::string& bytes) {
        for (char b : bytes)
            hash = hashByte(hash, static_cast<unsigned char>(b));
        current += bytes;
    };
    std::string encoded;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            // The common case, without a table look-up.
            char lower = 0;
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
                lower = static_cast<char>(c);
            else if (c >= 'A' && c <= 'Z')
                lower = static_cast<char>(c + ('a' - 'A'));
            if (lower) {
                current += lower;
                hash = hashByte(hash, static_cast<unsigned char>(lower));
            } else if (!current.empty()) {
                flush();
            }
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
        encoded.clear();
        if (standsAlone(cp)) {
            flush();
            encode(cp, encoded);
            append(encoded);
            flush();
        } else if (QChar::isLetterOrNumber(cp) || QChar::isMark(cp)) {
            encode(QChar::toCaseFolded(cp), encoded);
            append(encoded);
        } else {
            flush();
        }
    }
    flush();
}

} // namespace

void forEachWord(std::string_view text, const std::function<void(std::string_view)>& word) {
    eachWord(text, [&](std::string_view w, std::uint64_t) { word(w); });
}

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    forEachWord(text, [&](std::string_view w) { words.emplace_back(w); });
    return words;
}

std::int64_t TopicSearch::findWord(std::string_view word, std::uint64_t hash) const {
    if (m_slots.empty())
        return -1;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint32_t n = m_slots[slot] - 1;
        if (m_slotHashes[slot] == hash && m_words[n] == word)
            return n;
    }
    return -1;
}

std::uint32_t TopicSearch::addWord(std::string_view word, std::uint64_t hash) {
    const std::int64_t found = findWord(word, hash);
    if (found >= 0)
        return static_cast<std::uint32_t>(found);
    if ((m_words.size() + 1) * 2 > m_slots.size()) {
        // Grow to keep the table at most half full.
        const std::size_t size = std::max<std::size_t>(1024, m_slots.size() * 2);
        m_slots.assign(size, 0);
        m_slotHashes.assign(size, 0);
        for (std::uint32_t n = 0; n < m_words.size(); ++n)
            place(n, hashOf(m_words[n]));
    }
    const auto n = static_cast<std::uint32_t>(m_words.size());
    m_words.emplace_back(word);
    m_lastTopic.push_back(0);
    m_lastEvent.push_back(0);
    place(n, hash);
    return n;
}

void TopicSearch::place(std::uint32_t n, std::uint64_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = n + 1;
    m_slotHashes[slot] = hash;
}

void TopicSearch::count(std::string_view word, std::uint64_t hash, std::uint32_t topic,
                        bool inTitle) {
    const std::uint32_t n = addWord(word, hash);
    if (m_lastTopic[n] != topic + 1) {
        m_lastTopic[n] = topic + 1;
        m_lastEvent[n] = static_cast<std::uint32_t>(m_events.size());
        m_events.push_back({n, {topic, 0, 0}});
    }
    Posting& posting = m_events[m_lastEvent[n]].posting;
    ++posting.count;
    if (inTitle)
        ++posting.inTitle;
}

void TopicSearch::finish() const {
    if (m_finished)
        return;
    // A counting sort by word keeps each word's topics in the order they were added.
    m_postingStart.assign(m_words.size() + 1, 0);
    for (const Event& e : m_events)
        ++m_postingStart[e.word + 1];
    for (std::size_t n = 0; n < m_words.size(); ++n)
        m_postingStart[n + 1] += m_postingStart[n];
    m_postings.resize(m_events.size());
    std::vector<std::uint32_t> next(m_postingStart.begin(), m_postingStart.end() - 1);
    for (const Event& e : m_events)
        m_postings[next[e.word]++] = e.posting;
    m_finished = true;
}

void TopicSearch::add(std::string_view title, std::string_view body) {
    const std::uint32_t topic = m_topics++;
    m_finished = false;
    eachWord(title, [&](std::string_view w, std::uint64_t h) { count(w, h, topic, true); });
    eachWord(body, [&](std::string_view w, std::uint64_t h) { count(w, h, topic, false); });
}

std::unordered_map<std::uint32_t, double> TopicSearch::scoresFor(std::string_view word,
                                                                 bool prefix) const {
    std::unordered_map<std::uint32_t, double> scores;
    finish();
    const auto addPostings = [&](std::size_t n) {
        const auto held = static_cast<double>(postingsEnd(n) - postingsBegin(n));
        if (held == 0)
            return;
        const double rarity = std::log(1.0 + static_cast<double>(m_topics) / held);
        for (const Posting* p = postingsBegin(n); p != postingsEnd(n); ++p)
            scores[p->topic] += (std::log(1.0 + p->count) + 2.0 * (p->inTitle > 0)) * rarity;
    };
    if (!prefix) {
        const std::int64_t n = findWord(word, hashOf(word));
        if (n >= 0)
            addPostings(static_cast<std::size_t>(n));
        return scores;
    }
    for (std::size_t n = 0; n < m_words.size(); ++n) {
        const std::string& w = m_words[n];
        if (w.size() >= word.size() && std::string_view(w).substr(0, word.size()) == word)
            addPostings(n);
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
