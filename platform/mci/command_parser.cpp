#include "platform/mci/command_parser.h"

#include "common/ascii.h"
#include "platform/mci/command_errors.h"

#include <charconv>
#include <cstddef>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Walks the words of one command after its verb.
class Words {
public:
    explicit Words(const std::vector<CommandToken>& tokens) : m_tokens(tokens) {}

    bool atEnd() const { return m_next >= m_tokens.size(); }
    const CommandToken& take() { return m_tokens[m_next++]; }
    bool takeKeyword(std::string_view word) {
        if (atEnd() || m_tokens[m_next].quoted || !equalsIgnoringCase(m_tokens[m_next].text, word))
            return false;
        ++m_next;
        return true;
    }

private:
    const std::vector<CommandToken>& m_tokens;
    std::size_t m_next = 0;
};

std::optional<int> parseNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || text[0] == '-')
        return std::nullopt;
    return value;
}

// Reads the number after a keyword into `slot`; `badCode` when it is not a number or out of range.
int readNumber(Words& words, std::optional<int>& slot, CommandError badCode, int low, int high,
               int only1 = 0, int only2 = 0) {
    if (words.atEnd())
        return toCode(CommandError::MissingValue);
    const std::optional<int> n = parseNumber(words.take().text);
    if (!n || *n < low || *n > high)
        return toCode(badCode);
    if (only1 != 0 && *n != only1 && *n != only2)
        return toCode(badCode);
    slot = *n;
    return 0;
}

int parseOpen(Words& words, ParsedCommand& out) {
    if (words.atEnd())
        return toCode(CommandError::MissingValue);
    // Only new, empty devices are opened; opening an existing file is not offered.
    if (!words.takeKeyword("new"))
        return toCode(CommandError::BadValue);
    bool haveAlias = false;
    while (!words.atEnd()) {
        if (words.takeKeyword("type")) {
            if (words.atEnd())
                return toCode(CommandError::MissingValue);
            if (!equalsIgnoringCase(words.take().text, "waveaudio"))
                return toCode(CommandError::UnsupportedDeviceType);
        } else if (words.takeKeyword("alias")) {
            if (words.atEnd())
                return toCode(CommandError::MissingValue);
            out.alias = words.take().text;
            if (out.alias.empty())
                return toCode(CommandError::MissingValue);
            haveAlias = true;
        } else {
            return toCode(CommandError::BadValue);
        }
    }
    return haveAlias ? 0 : toCode(CommandError::MissingValue);
}

int parseSet(Words& words, SetValues& values) {
    if (words.atEnd())
        return toCode(CommandError::MissingValue);
    while (!words.atEnd()) {
        int error = 0;
        if (words.takeKeyword("time")) {
            if (!words.takeKeyword("format"))
                return toCode(words.atEnd() ? CommandError::MissingValue : CommandError::BadValue);
            if (words.atEnd())
                return toCode(CommandError::MissingValue);
            const std::string& f = words.take().text;
            if (equalsIgnoringCase(f, "ms") || equalsIgnoringCase(f, "milliseconds"))
                values.timeFormat = TimeFormat::Milliseconds;
            else if (equalsIgnoringCase(f, "bytes"))
                values.timeFormat = TimeFormat::Bytes;
            else
                return toCode(CommandError::BadTimeFormat);
        } else if (words.takeKeyword("bitspersample")) {
            error = readNumber(words, values.bitsPerSample, CommandError::BadBitsPerSample, 8, 16,
                               8, 16);
        } else if (words.takeKeyword("channels")) {
            error = readNumber(words, values.channels, CommandError::BadChannels, 1, 2);
        } else if (words.takeKeyword("samplespersec")) {
            error =
                readNumber(words, values.samplesPerSec, CommandError::BadSampleRate, 8000, 192000);
        } else if (words.takeKeyword("bytespersec")) {
            error = readNumber(words, values.bytesPerSec, CommandError::BadValue, 1, 1 << 30);
        } else {
            return toCode(CommandError::BadValue);
        }
        if (error != 0)
            return error;
    }
    return 0;
}

} // namespace

std::optional<std::vector<CommandToken>> tokenizeCommand(std::string_view text) {
    std::vector<CommandToken> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        CommandToken token;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            token.text = std::string(text.substr(i + 1, close - i - 1));
            token.quoted = true;
            i = close + 1;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !isBlank(text[i]))
                ++i;
            token.text = std::string(text.substr(start, i - start));
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

ParseResult parseCommand(std::string_view text) {
    ParseResult result;
    const std::optional<std::vector<CommandToken>> tokens = tokenizeCommand(text);
    if (!tokens) {
        result.error = toCode(CommandError::BadValue);
        return result;
    }
    if (tokens->empty() || (*tokens)[0].quoted) {
        result.error = toCode(CommandError::UnknownCommand);
        return result;
    }

    ParsedCommand& cmd = result.command;
    const std::string& verb = (*tokens)[0].text;
    const std::vector<CommandToken> rest(tokens->begin() + 1, tokens->end());
    Words words(rest);

    if (equalsIgnoringCase(verb, "open")) {
        cmd.verb = CommandVerb::Open;
        result.error = parseOpen(words, cmd);
        return result;
    }

    if (equalsIgnoringCase(verb, "set"))
        cmd.verb = CommandVerb::Set;
    else if (equalsIgnoringCase(verb, "record"))
        cmd.verb = CommandVerb::Record;
    else if (equalsIgnoringCase(verb, "stop"))
        cmd.verb = CommandVerb::Stop;
    else if (equalsIgnoringCase(verb, "status"))
        cmd.verb = CommandVerb::StatusLength;
    else if (equalsIgnoringCase(verb, "save"))
        cmd.verb = CommandVerb::Save;
    else if (equalsIgnoringCase(verb, "delete"))
        cmd.verb = CommandVerb::Delete;
    else if (equalsIgnoringCase(verb, "close"))
        cmd.verb = CommandVerb::Close;
    else {
        result.error = toCode(CommandError::UnknownCommand);
        return result;
    }

    // Every other command names its device right after the verb.
    if (words.atEnd()) {
        result.error = toCode(CommandError::MissingValue);
        return result;
    }
    cmd.alias = words.take().text;

    switch (cmd.verb) {
    case CommandVerb::Set:
        result.error = parseSet(words, cmd.values);
        return result;
    case CommandVerb::StatusLength:
        if (words.atEnd())
            result.error = toCode(CommandError::MissingValue);
        else if (!words.takeKeyword("length") || !words.atEnd())
            result.error = toCode(CommandError::BadValue);
        return result;
    case CommandVerb::Save:
        if (words.atEnd()) {
            result.error = toCode(CommandError::MissingValue);
            return result;
        }
        cmd.path = words.take().text;
        if (cmd.path.empty())
            result.error = toCode(CommandError::MissingValue);
        else if (!words.atEnd())
            result.error = toCode(CommandError::BadValue);
        return result;
    default:
        if (!words.atEnd())
            result.error = toCode(CommandError::BadValue);
        return result;
    }
}
