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

    std::uint32_t topicCount() const { return m_topics; }
    std::size_t wordCount() const { return m_postings.size(); }

private:
    struct Posting {
        std::uint32_t topic;
        std::uint32_t count;
        std::uint32_t inTitle;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    using Postings =
        std::unordered_map<std::string, std::vector<Posting>, TextHash, std::equal_to<>>;

    // Per-topic scores for one query word; empty when no topic holds it.
    std::unordered_map<std::uint32_t, double> scoresFor(std::string_view word, bool prefix) const;

    Postings m_postings;
    std::uint32_t m_topics = 0;
};
