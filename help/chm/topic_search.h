#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Calls `word` for every word of UTF-8 text, case-folded: runs of letters, digits and marks in
// any script. Chinese and Japanese characters, written without blanks, count one each.
void forEachWord(std::string_view text, const std::function<void(std::string_view)>& word);
std::vector<std::string> splitWords(std::string_view text);

// The program's own full-text search over topics: built once, then queried. A topic matches
// when it holds every word of the query; a word ending in "*" matches every word it begins.
// Hits come best first: words in the title count more, words that few topics hold count more.
class TopicSearch {
public:
    struct Hit {
        std::uint32_t topic; // in the order the topics were added
        double score;
    };

    void add(std::string_view title, std::string_view body);
    std::vector<Hit> search(std::string_view query) const;
    // Groups what add() gathered by word; search() does it when needed.
    void finish() const;

    std::uint32_t topicCount() const { return m_topics; }
    std::size_t wordCount() const { return m_words.size(); }

private:
    struct Posting {
        std::uint32_t topic;
        std::uint32_t count;
        std::uint32_t inTitle;
    };
    struct Event {
        std::uint32_t word;
        Posting posting;
    };
    void count(std::string_view word, std::uint64_t hash, std::uint32_t topic, bool inTitle);
    // The postings of word n, once finished.
    const Posting* postingsBegin(std::size_t n) const { return &m_postings[m_postingStart[n]]; }
    const Posting* postingsEnd(std::size_t n) const { return &m_postings[m_postingStart[n + 1]]; }
    // A word's number, or -1; the number of a word, added when new.
    std::int64_t findWord(std::string_view word, std::uint64_t hash) const;
    std::uint32_t addWord(std::string_view word, std::uint64_t hash);
    void place(std::uint32_t number, std::uint64_t hash);
    // Per-topic scores for one query word; empty when no topic holds it.
    std::unordered_map<std::uint32_t, double> scoresFor(std::string_view word, bool prefix) const;

    // The words by number. The table finds a word's number by its hash (open addressing; a slot
    // holds number + 1, 0 is free). While topics are added, each (word, topic) pair is one event
    // in the order met; finish() groups them by word: word n's postings are
    // m_postings[m_postingStart[n] .. m_postingStart[n + 1]), in topic order.
    std::vector<std::string> m_words;
    std::vector<std::uint32_t> m_lastTopic; // per word: topic + 1 of its last event
    std::vector<std::uint32_t> m_lastEvent; // per word: index of its last event
    std::vector<Event> m_events;
    mutable std::vector<Posting> m_postings;
    mutable std::vector<std::uint32_t> m_postingStart;
    mutable bool m_finished = true;
    std::vector<std::uint64_t> m_slotHashes;
    std::vector<std::uint32_t> m_slots;
    std::uint32_t m_topics = 0;
};
