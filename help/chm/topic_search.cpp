#include "help/chm/topic_search.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

std::uint64_t load8(const char* bytes) {
    std::uint64_t v;
    std::memcpy(&v, bytes, 8);
    return v;
}

// The first `size` (1 to 8) bytes at `bytes`, little-endian; eight may be read when `readable`.
std::uint64_t loadPart(const char* bytes, std::size_t size, bool readable) {
    if (readable)
        return size == 8 ? load8(bytes) : load8(bytes) & ((1ull << (8 * size)) - 1);
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < size; ++k)
        v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[k])) << (8 * k);
    return v;
}

std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 32;
    x *= 0xd6e8feb86659fd93ull;
    x ^= x >> 32;
    return x;
}

// a.size() == b.size(); `readable` as for WordSink, for each.
bool sameBytes(std::string_view a, std::size_t aReadable, std::string_view b,
               std::size_t bReadable) {
    std::size_t i = 0;
    for (; i + 8 <= a.size(); i += 8) {
        if (load8(a.data() + i) != load8(b.data() + i))
            return false;
    }
    if (i == a.size())
        return true;
    const std::size_t rest = a.size() - i;
    return loadPart(a.data() + i, rest, i + 8 <= aReadable) ==
           loadPart(b.data() + i, rest, i + 8 <= bReadable);
}

} // namespace

// A word as the table looks it up: its first eight bytes (zero-padded) and its hash, read
// eight bytes at a time where `readable` (see WordSink) allows.
TopicSearch::Key TopicSearch::keyOf(std::string_view word, std::size_t readable) {
    const bool eight = readable >= 8;
    Key key{word, readable, loadPart(word.data(), std::min<std::size_t>(word.size(), 8), eight),
            0x9e3779b97f4a7c15ull ^ word.size()};
    std::uint64_t& h = key.hash;
    if (word.size() <= 8) {
        h = mix(mix(h ^ key.head));
        return key;
    }
    std::size_t i = 0;
    for (; i + 8 <= word.size(); i += 8)
        h = mix(h ^ load8(word.data() + i));
    if (i < word.size())
        h = mix(h ^ loadPart(word.data() + i, word.size() - i, i + 8 <= readable));
    h = mix(h);
    return key;
}

// Counts the words of one topic.
class TopicSearch::Counter : public WordSink {
public:
    Counter(TopicSearch& search, std::uint32_t topic) : m_search(search), m_topic(topic) {}
    bool inTitle = false;

    void word(std::string_view word, std::size_t readable) override {
        Word& w = m_search.m_words[m_search.addWord(keyOf(word, readable))];
        if (w.tallyTopic != m_topic + 1) {
            w.tallyTopic = m_topic + 1;
            w.tallyWeight = 0;
            m_search.m_touched.push_back(static_cast<std::uint32_t>(&w - m_search.m_words.data()));
        }
        if ((w.tallyWeight & ~kInTitle) != ~kInTitle)
            ++w.tallyWeight;
        if (inTitle)
            w.tallyWeight |= kInTitle;
    }

private:
    TopicSearch& m_search;
    std::uint32_t m_topic;
};

std::int64_t TopicSearch::findWord(const Key& key) const {
    if (m_slots.empty())
        return -1;
    const std::size_t mask = m_slots.size() - 1;
    const auto high = static_cast<std::uint32_t>(key.hash >> 32);
    const std::size_t size = key.bytes.size();
    for (std::size_t slot = key.hash & mask; m_slots[slot].number != 0; slot = (slot + 1) & mask) {
        const std::uint32_t n = m_slots[slot].number - 1;
        const Word& w = m_words[n];
        if (m_slots[slot].hash != high || w.size != size || w.head != key.head)
            continue;
        // Stored words are followed by at least eight bytes.
        if (size <= 8 ||
            sameBytes(wordAt(n).substr(8), size, key.bytes.substr(8), key.readable - 8))
            return n;
    }
    return -1;
}

std::uint32_t TopicSearch::addWord(const Key& key) {
    const std::int64_t found = findWord(key);
    if (found >= 0)
        return static_cast<std::uint32_t>(found);
    if ((m_words.size() + 1) * 2 > m_slots.size()) {
        // Grow to keep the table at most half full.
        m_slots.assign(std::max<std::size_t>(1024, m_slots.size() * 2), Slot{0, 0});
        for (std::uint32_t n = 0; n < m_words.size(); ++n)
            place(n, keyOf(wordAt(n), m_words[n].size + 8).hash);
    }
    const auto n = static_cast<std::uint32_t>(m_words.size());
    m_wordBytes.resize(m_wordBytes.size() - 8);
    m_words.push_back({key.head, static_cast<std::uint32_t>(m_wordBytes.size()),
                       static_cast<std::uint32_t>(key.bytes.size()), 0, 0});
    m_wordBytes.append(key.bytes);
    m_wordBytes.append(8, '\0');
    m_postings.emplace_back();
    place(n, key.hash);
    return n;
}

void TopicSearch::place(std::uint32_t n, std::uint64_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    while (m_slots[slot].number != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = {n + 1, static_cast<std::uint32_t>(hash >> 32)};
}

void TopicSearch::add(std::string_view title, std::string_view body) {
    const std::uint32_t topic = m_topics++;
    Counter counter(*this, topic);
    counter.inTitle = true;
    scanWords(title, counter);
    counter.inTitle = false;
    scanWords(body, counter);
    for (const std::uint32_t n : m_touched)
        m_postings[n].push_back({topic, m_words[n].tallyWeight});
    m_touched.clear();
}

std::unordered_map<std::uint32_t, double> TopicSearch::scoresFor(std::string_view word,
                                                                 bool prefix) const {
    std::unordered_map<std::uint32_t, double> scores;
    const auto addPostings = [&](std::size_t n) {
        const auto held = static_cast<double>(m_postings[n].size());
        if (held == 0)
            return;
        const double rarity = std::log(1.0 + static_cast<double>(m_topics) / held);
        for (const Posting& p : m_postings[n]) {
            const std::uint32_t count = p.weight & ~kInTitle;
            const bool inTitle = (p.weight & kInTitle) != 0;
            scores[p.topic] += (std::log(1.0 + count) + 2.0 * inTitle) * rarity;
        }
    };
    if (!prefix) {
        const std::int64_t n = findWord(keyOf(word, word.size()));
        if (n >= 0)
            addPostings(static_cast<std::size_t>(n));
        return scores;
    }
    for (std::size_t n = 0; n < m_words.size(); ++n) {
        if (wordAt(n).starts_with(word))
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
