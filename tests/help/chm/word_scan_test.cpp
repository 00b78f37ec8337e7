// The word scan reads 64 bytes and the search's word table eight bytes at a time; words that
// straddle those steps or end with the text must come out as one character at a time gives
// them.
#include "help/chm/topic_search.h"
#include "help/chm/word_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <random>
#include <set>

namespace {

// Words as Qt's own character tables give them, one code point at a time.
std::vector<std::string> referenceWords(std::string_view text) {
    std::vector<std::string> words;
    QString current;
    const auto flush = [&] {
        if (!current.isEmpty())
            words.push_back(current.toStdString());
        current.clear();
    };
    const QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (const uint cp32 : decoded.toUcs4()) {
        const auto cp = static_cast<char32_t>(cp32);
        const bool alone = (cp >= 0x3040 && cp <= 0x30FF) || (cp >= 0x4E00 && cp <= 0x9FFF);
        if (alone) {
            flush();
            current = QString::fromUcs4(&cp, 1);
            flush();
        } else if (QChar::isLetterOrNumber(cp) || QChar::isMark(cp)) {
            const char32_t folded = QChar::toCaseFolded(cp);
            current += QString::fromUcs4(&folded, 1);
        } else {
            flush();
        }
    }
    flush();
    return words;
}

// Random texts of pieces that change how a word is read, in buffers of exactly their size so
// that the address checker sees any read past the end.
class RandomTexts {
public:
    explicit RandomTexts(unsigned seed) : m_random(seed) {}

    std::string next() {
        static const char* const pieces[] = {"a",
                                             "record",
                                             "Spectrum",
                                             "x8",
                                             "abcdefgh",
                                             "ABCDEFGHI",
                                             "sixteen_letters",
                                             " ",
                                             " ",
                                             ".",
                                             "\n",
                                             "é",
                                             "Запись",
                                             "录音",
                                             "\xc2\xa0",
                                             "\xff",
                                             "naïve",
                                             "ÉTÉ",
                                             "1234567890123456789",
                                             "-"};
        std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
        std::uniform_int_distribution<int> length(0, 300);
        std::string text;
        const int target = length(m_random);
        while (static_cast<int>(text.size()) < target)
            text += pieces[piece(m_random)];
        return text;
    }

private:
    std::mt19937 m_random;
};

std::vector<std::string> scannedWords(const std::string& text) {
    // An exact-size copy: the scan may not read past it.
    const auto exact = std::make_unique<char[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), exact.get());
    return splitWords(std::string_view(exact.get(), text.size()));
}

} // namespace

TEST(WordScan, WordsWhereverTheBlocksEnd) {
    // Words reaching across the 64-byte blocks, with capitals or accents in the later block.
    const std::string padding(60, ' ');
    const std::string cases[] = {
        padding + "abcdefgh",
        padding + "abcDEFGH",
        padding + "abcdéfgh",
        padding + "abcd" + "\xff",
        std::string(64, 'a'),
        std::string(64, 'a') + "B",
        std::string(63, ' ') + "Z",
        std::string(128, 'x') + "é" + std::string(70, 'y'),
        "",
        "é",
        "A",
    };
    for (const std::string& text : cases)
        EXPECT_EQ(scannedWords(text), referenceWords(text)) << text;
}

TEST(WordScan, RandomTextsGiveTheWordsOfOneCharacterAtATime) {
    RandomTexts texts(20261210);
    for (int i = 0; i < 2000; ++i) {
        const std::string text = texts.next();
        ASSERT_EQ(scannedWords(text), referenceWords(text)) << text;
    }
}

// Every word of every topic finds exactly the topics that hold it, whatever its length and
// wherever it stands in its text.
TEST(WordScan, TheSearchFindsEveryWordInExactlyItsTopics) {
    RandomTexts texts(7);
    TopicSearch search;
    std::map<std::string, std::set<std::uint32_t>> holders;
    std::vector<std::unique_ptr<char[]>> buffers;
    for (std::uint32_t topic = 0; topic < 200; ++topic) {
        const std::string text = texts.next();
        for (const std::string& w : referenceWords(text))
            holders[w].insert(topic);
        buffers.push_back(std::make_unique<char[]>(text.size() + 1));
        std::copy(text.begin(), text.end(), buffers.back().get());
        search.add({}, std::string_view(buffers.back().get(), text.size()));
    }
    EXPECT_EQ(search.wordCount(), holders.size());
    for (const auto& [word, topics] : holders) {
        std::set<std::uint32_t> found;
        for (const TopicSearch::Hit& hit : search.search(word))
            found.insert(hit.topic);
        EXPECT_EQ(found, topics) << word;
    }
}
