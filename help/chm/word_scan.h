#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Receives the words of a text, in order.
class WordSink {
public:
    virtual ~WordSink() = default;
    // `readable` is how many bytes may be read from word.data() on: at least the word's length,
    // often more, so that a reader may load eight bytes at a time.
    virtual void word(std::string_view word, std::size_t readable) = 0;
};

// Hands `sink` every word of UTF-8 text, case-folded: runs of letters, digits and marks in any
// script. Chinese and Japanese characters, written without blanks, count one each.
void scanWords(std::string_view text, WordSink& sink);

void forEachWord(std::string_view text, const std::function<void(std::string_view)>& word);
std::vector<std::string> splitWords(std::string_view text);
