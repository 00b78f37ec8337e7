#pragma once

#include "help/chm/word_scan.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

    std::uint32_t topicCount() const { return m_topics; }
    std::size_t wordCount() const { return m_words.size(); }

private:
    // A topic that holds a word: how often (the low 31 bits of `weight`) and whether the title
    // holds it (the top bit).
    struct Posting {
        std::uint32_t topic;
        std::uint32_t weight;
    };
    static constexpr std::uint32_t kInTitle = 0x80000000u;
    // A word: its first eight bytes (zero-padded), where all its bytes lie in m_wordBytes, and
    // while topics are added, topic + 1 of the last topic that held it and its weight there.
    struct Word {
        std::uint64_t head;
        std::uint32_t offset;
        std::uint32_t size;
        std::uint32_t tallyTopic;
        std::uint32_t tallyWeight;
    };
    // A word to look up: its bytes, how many may be read (see WordSink), its head and hash.
    struct Key {
        std::string_view bytes;
        std::size_t readable;
        std::uint64_t head;
        std::uint64_t hash;
    };
    // A slot of the word table: the word's number + 1 (0: free), and the high half of its hash.
    struct Slot {
        std::uint32_t number;
        std::uint32_t hash;
    };
    class Counter;

    std::string_view wordAt(std::size_t n) const {
        return {m_wordBytes.data() + m_words[n].offset, m_words[n].size};
    }
    static Key keyOf(std::string_view word, std::size_t readable);
    // A word's number, or -1; the number of a word, added when new.
    std::int64_t findWord(const Key& key) const;
    std::uint32_t addWord(const Key& key);
    void place(std::uint32_t number, std::uint64_t hash);
    // Per-topic scores for one query word; empty when no topic holds it.
    std::unordered_map<std::uint32_t, double> scoresFor(std::string_view word, bool prefix) const;

    // The words by number, their bytes one after the other (with eight spare bytes at the end,
    // for reads eight bytes at a time), and per word the topics that hold it, in topic order.
    // The table finds a word's number by its hash (open addressing, at most half full).
    std::vector<Word> m_words;
    std::string m_wordBytes = std::string(8, '\0');
    std::vector<std::vector<Posting>> m_postings;
    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_touched; // the words of the topic being added
    std::uint32_t m_topics = 0;
};
