#include "help/chm/text_encoding.h"

#include <cstring>

#include <strings.h>

#include <QByteArrayView>
#include <QStringDecoder>

std::string charsetForLanguage(std::uint32_t language) {
    const std::uint32_t primary = language & 0x3FF;
    switch (primary) {
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x18:
    case 0x1B:
    case 0x1C:
    case 0x24:
        return "windows-1250";
    case 0x02:
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x2F:
    case 0x3F:
    case 0x44:
    case 0x50:
        return "windows-1251";
    case 0x1A: // Croatian, Serbian and Bosnian: Cyrillic or Latin by sub-language
        return (language >> 10) == 3 || (language >> 10) == 7 ? "windows-1251" : "windows-1250";
    case 0x08:
        return "windows-1253";
    case 0x1F:
    case 0x2C:
    case 0x43:
        return "windows-1254";
    case 0x0D:
        return "windows-1255";
    case 0x01:
    case 0x20:
    case 0x29:
        return "windows-1256";
    case 0x25:
    case 0x26:
    case 0x27:
        return "windows-1257";
    case 0x2A:
        return "windows-1258";
    case 0x1E:
        return "windows-874";
    case 0x11:
        return "Shift_JIS";
    case 0x12:
        return "windows-949";
    case 0x04: // Chinese: simplified for China and Singapore, traditional elsewhere
        return language == 0x0804 || language == 0x1004 ? "GBK" : "Big5";
    default:
        return "windows-1252";
    }
}

char32_t decodeUtf8(std::string_view bytes, std::size_t at, std::size_t& length) {
    length = 0;
    const auto c = static_cast<unsigned char>(bytes[at]);
    std::size_t extra = 0;
    char32_t cp = 0;
    if (c < 0x80) {
        length = 1;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - at <= extra)
        return 0;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto d = static_cast<unsigned char>(bytes[at + k]);
        if ((d & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    length = extra + 1;
    return cp;
}

void appendUtf8(char32_t cp, std::string& out) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return;
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

namespace {

bool eightAreAscii(const char* bytes) {
    std::uint64_t eight;
    std::memcpy(&eight, bytes, 8);
    return (eight & 0x8080808080808080ull) == 0;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, eight bytes at a time.
        if (bytes.size() - i >= 8 && eightAreAscii(bytes.data() + i)) {
            i += 8;
            continue;
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        decodeUtf8(bytes, i, length);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

namespace {

bool declaresCharset(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, 2048);
    if (head.starts_with("\xef\xbb\xbf") || head.starts_with("\xff\xfe") ||
        head.starts_with("\xfe\xff"))
        return true;
    for (std::size_t i = 0; i + 7 <= head.size(); ++i) {
        if ((head[i] == 'c' || head[i] == 'C') && strncasecmp(head.data() + i, "charset", 7) == 0)
            return true;
    }
    return false;
}

QString decodeWith(std::string_view bytes, const std::string& charset) {
    QStringDecoder decoder(charset.c_str());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Latin1);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace

std::string htmlEncodingFor(std::string_view bytes, const std::string& fallback) {
    if (declaresCharset(bytes))
        return {};
    return isValidUtf8(bytes) ? "UTF-8" : fallback;
}

QString decodeHtml(std::string_view bytes, const std::string& fallback) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (declaresCharset(bytes)) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(view);
        // A page that names no charset after all comes back as UTF-8, valid or not.
        const bool utf8 = QByteArrayView(decoder.name()).compare("UTF-8", Qt::CaseInsensitive) == 0;
        if (decoder.isValid() && (!utf8 || isValidUtf8(bytes)))
            return decoder.decode(view);
    }
    return decodeText(bytes, fallback);
}

void makePageUtf8(std::string& bytes, const std::string& fallback) {
    const bool valid = isValidUtf8(bytes);
    if (!declaresCharset(bytes)) {
        if (!valid)
            bytes = decodeWith(bytes, fallback).toStdString();
        return;
    }
    // Most pages that name a charset name UTF-8, and are: they stay as they are but for the
    // byte-order mark, which decoding would drop.
    const QStringDecoder decoder = QStringDecoder::decoderForHtml(
        QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (valid && decoder.isValid() &&
        QByteArrayView(decoder.name()).compare("UTF-8", Qt::CaseInsensitive) == 0) {
        if (bytes.starts_with("\xef\xbb\xbf"))
            bytes.erase(0, 3);
        return;
    }
    bytes = decodeHtml(bytes, fallback).toStdString();
}

QString decodeText(std::string_view bytes, const std::string& fallback) {
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decodeWith(bytes, fallback);
}
