#include "help/chm/word_scan.h"

#include "help/chm/text_encoding.h"

#include <QChar>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// Scripts written without blanks between words.
bool standsAlone(char32_t cp) {
    return (cp >= 0x3040 && cp <= 0x30FF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
           (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0x20000 && cp <= 0x2FFFF);
}

// The lower-case form of an ASCII letter or digit, else 0.
constexpr auto kAsciiWordChars = [] {
    std::array<char, 256> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[c] = static_cast<char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<char>(c + ('a' - 'A'));
    return table;
}();

char asciiWordChar(char c) {
    return kAsciiWordChars[static_cast<unsigned char>(c)];
}

// The words of text whose runs hold characters beyond ASCII, character by character.
void scanEachCharacter(std::string_view text, std::string& current, WordSink& sink) {
    const auto flush = [&] {
        if (!current.empty())
            sink.word(current, current.size());
        current.clear();
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            if (const char lower = asciiWordChar(text[i]))
                current += lower;
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
            appendUtf8(cp, current);
            flush();
        } else if (QChar::isLetterOrNumber(cp) || QChar::isMark(cp)) {
            appendUtf8(QChar::toCaseFolded(cp), current);
        } else {
            flush();
        }
    }
    flush();
}

// Classes of 64 bytes at a time, eight in each 64-bit step: bit k of each mask stands for
// byte k.
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of each byte of `low7` (bytes below 0x80) that lies in [from, to].
std::uint64_t inRange(std::uint64_t low7, unsigned from, unsigned to) {
    const std::uint64_t atLeastFrom = low7 + kOnes * (0x80u - from);
    const std::uint64_t aboveTo = low7 + kOnes * (0x7Fu - to);
    return atLeastFrom & ~aboveTo & kHighBits;
}

// The high bits of the eight bytes as the low eight bits.
std::uint64_t gatherHighBits(std::uint64_t bytes) {
    return (((bytes >> 7) & kOnes) * 0x0102040810204080ull) >> 56;
}

struct ByteClasses {
    std::uint64_t word = 0;  // an ASCII letter or digit, or a byte beyond ASCII
    std::uint64_t upper = 0; // an ASCII capital
    std::uint64_t high = 0;  // a byte beyond ASCII
};

ByteClasses classify(const char* bytes) {
    ByteClasses c;
    for (int k = 0; k < 8; ++k) {
        std::uint64_t x;
        std::memcpy(&x, bytes + 8 * k, 8);
        const std::uint64_t high = x & kHighBits;
        const std::uint64_t low7 = x & ~kHighBits;
        const std::uint64_t ascii = ~x & kHighBits;
        const std::uint64_t upper = inRange(low7, 'A', 'Z') & ascii;
        const std::uint64_t word =
            ((inRange(low7, '0', '9') | inRange(low7, 'a', 'z')) & ascii) | upper | high;
        c.word |= gatherHighBits(word) << (8 * k);
        c.upper |= gatherHighBits(upper) << (8 * k);
        c.high |= gatherHighBits(high) << (8 * k);
    }
    return c;
}

// Bits [from, to) of a 64-bit mask; from < to <= 64.
std::uint64_t bitsBetween(unsigned from, unsigned to) {
    const std::uint64_t below = to == 64 ? ~0ull : (1ull << to) - 1;
    return below & ~((1ull << from) - 1);
}

class FunctionSink : public WordSink {
public:
    explicit FunctionSink(const std::function<void(std::string_view)>& f) : m_f(f) {}
    void word(std::string_view word, std::size_t) override { m_f(word); }

private:
    const std::function<void(std::string_view)>& m_f;
};

} // namespace

// The text is cut into runs of word bytes 64 bytes at a time. Most runs are ASCII: such a run
// is a word, handed on as it stands in the text, or lowered when it has capitals. Runs with
// bytes beyond ASCII are read character by character.
void scanWords(std::string_view text, WordSink& sink) {
    std::string current;
    const std::size_t size = text.size();
    const auto run = [&](std::size_t start, std::size_t end, bool upper, bool high) {
        const std::string_view bytes = text.substr(start, end - start);
        if (high) {
            scanEachCharacter(bytes, current, sink);
        } else if (upper) {
            current.assign(bytes);
            for (char& c : current)
                c = asciiWordChar(c);
            sink.word(current, current.size());
            current.clear();
        } else {
            sink.word(bytes, size - start);
        }
    };
    char tail[64];
    bool inRun = false;
    std::size_t start = 0;
    unsigned from = 0; // where the run starts in this block
    bool upper = false;
    bool high = false;
    for (std::size_t block = 0; block < size; block += 64) {
        const char* bytes = text.data() + block;
        if (size - block < 64) {
            // The last block, padded with bytes that are no word's.
            std::memset(tail, 0, sizeof tail);
            std::memcpy(tail, bytes, size - block);
            bytes = tail;
        }
        const ByteClasses c = classify(bytes);
        std::uint64_t edges = c.word ^ ((c.word << 1) | (inRun ? 1u : 0u));
        while (edges) {
            const auto bit = static_cast<unsigned>(std::countr_zero(edges));
            edges &= edges - 1;
            if (!inRun) {
                inRun = true;
                start = block + bit;
                from = bit;
                upper = false;
                high = false;
                continue;
            }
            const std::uint64_t span = bitsBetween(from, bit);
            run(start, block + bit, upper || (c.upper & span), high || (c.high & span));
            inRun = false;
        }
        if (inRun) {
            const std::uint64_t span = bitsBetween(from, 64);
            upper = upper || (c.upper & span);
            high = high || (c.high & span);
            from = 0;
        }
    }
    if (inRun)
        run(start, size, upper, high);
}

void forEachWord(std::string_view text, const std::function<void(std::string_view)>& word) {
    FunctionSink sink(word);
    scanWords(text, sink);
}

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    forEachWord(text, [&](std::string_view w) { words.emplace_back(w); });
    return words;
}
