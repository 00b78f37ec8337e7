#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <QString>

// The character set a help file's texts use when they do not say: the Windows code page of the
// file's language (windows-1252 for English and most of western Europe).
std::string charsetForLanguage(std::uint32_t language);

bool isValidUtf8(std::string_view bytes);

// Appends code point `cp` as UTF-8; nothing for 0, a surrogate or a number past Unicode.
void appendUtf8(char32_t cp, std::string& out);

// The code point that starts at `at`; `length` is its number of bytes, or 0 where no valid UTF-8
// starts (a stray byte, an overlong form, a surrogate, a number past Unicode, a cut-off end).
char32_t decodeUtf8(std::string_view bytes, std::size_t at, std::size_t& length);

// The encoding to hand an HTML parser: nothing (let the document's own declaration decide)
// when the first bytes declare a charset, UTF-8 when the bytes are valid UTF-8, else `fallback`.
std::string htmlEncodingFor(std::string_view bytes, const std::string& fallback);

// A page's text: by its byte-order mark or declared charset, else UTF-8 when valid, else
// `fallback`.
QString decodeHtml(std::string_view bytes, const std::string& fallback);

// Makes a page's bytes UTF-8: unchanged when they declare no charset and are valid UTF-8, else
// decoded as decodeHtml does.
void makePageUtf8(std::string& bytes, const std::string& fallback);

// Plain text (titles, popup texts): UTF-8 when valid, else `fallback`.
QString decodeText(std::string_view bytes, const std::string& fallback);
