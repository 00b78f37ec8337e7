#include "platform/forms/form_file.h"

#include "common/ascii.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr FormKey kHostKeys[] = {
    {"left", PropertyType::Integer},
    {"top", PropertyType::Integer},
    {"width", PropertyType::Integer},
    {"height", PropertyType::Integer},
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isNameChar(char c, bool allowDot) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           (allowDot && c == '.');
}

bool isName(std::string_view s, bool allowDot) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [&](char c) { return isNameChar(c, allowDot); });
}

// An instance name, or a member of a control array: a name and its index, "optFreq(0)".
bool isInstanceName(std::string_view s) {
    const auto open = s.find('(');
    if (open == std::string_view::npos)
        return isName(s, false);
    const std::string_view index = s.substr(open + 1, s.size() - open - 1);
    return s.back() == ')' && isName(s.substr(0, open), false) && index.size() > 1 &&
           std::all_of(index.begin(), index.end() - 1, [](char c) { return c >= '0' && c <= '9'; });
}

template <class T, class... Base> bool parseNumber(std::string_view s, T& out, Base... base) {
    s = trim(s);
    if (s.empty())
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base...);
    return ec == std::errc() && end == s.data() + s.size();
}

bool parseInteger(std::string_view s, std::int32_t& out) {
    s = trim(s);
    if (s.size() > 1 && s.front() == '+')
        s.remove_prefix(1);
    return parseNumber(s, out);
}

bool parseHex(std::string_view s, std::uint32_t& out) {
    s = trim(s);
    if (s.size() < 3 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X'))
        return false;
    s.remove_prefix(2);
    if (s.front() == '-' || s.front() == '+')
        return false;
    return parseNumber(s, out, 16);
}

bool parseBoolean(std::string_view s, bool& out) {
    s = trim(s);
    if (equalsIgnoringCase(s, "true")) {
        out = true;
        return true;
    }
    if (equalsIgnoringCase(s, "false")) {
        out = false;
        return true;
    }
    return false;
}

// Splits at commas; a text with no comma is one field.
std::vector<std::string_view> splitFields(std::string_view s) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto comma = s.find(',');
        fields.push_back(trim(s.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        s.remove_prefix(comma + 1);
    }
}

bool parseColour(std::string_view s, ColourRef& out) {
    s = trim(s);
    if (s.size() > 4 && equalsIgnoringCase(s.substr(0, 4), "rgb(") && s.back() == ')') {
        const auto fields = splitFields(s.substr(4, s.size() - 5));
        if (fields.size() != 3)
            return false;
        std::array<std::int32_t, 3> channels{};
        for (int i = 0; i < 3; ++i) {
            if (!parseInteger(fields[i], channels[i]) || channels[i] < 0 || channels[i] > 255)
                return false;
        }
        out = Colour::RGB(channels[0], channels[1], channels[2]);
        return true;
    }
    return parseHex(s, out);
}

bool parseQuoted(std::string_view s, std::string& out) {
    s = trim(s);
    if (s.size() < 2 || s.front() != '"' || s.back() != '"')
        return false;
    s = s.substr(1, s.size() - 2);
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"')
            return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == s.size())
            return false;
        switch (s[i]) {
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        default:
            return false;
        }
    }
    return true;
}

std::string quoteText(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

bool parseFlag(std::string_view s, bool& out) {
    std::int32_t v = 0;
    if (!parseInteger(s, v) || (v != 0 && v != 1))
        return false;
    out = v == 1;
    return true;
}

bool parseFont(std::string_view s, FontValue& out) {
    const auto fields = splitFields(s);
    if (fields.size() < 2 || fields.size() > 6 || fields[0].empty())
        return false;
    FontValue font;
    font.name = std::string(fields[0]);
    if (!parseNumber(fields[1], font.pointSize) || !std::isfinite(font.pointSize) ||
        font.pointSize <= 0.0 || font.pointSize > 1000.0)
        return false;
    if (fields.size() > 2 &&
        (!parseInteger(fields[2], font.weight) || font.weight < 1 || font.weight > 1000))
        return false;
    if (fields.size() > 3 && !parseFlag(fields[3], font.italic))
        return false;
    if (fields.size() > 4 && !parseFlag(fields[4], font.underline))
        return false;
    if (fields.size() > 5 && !parseFlag(fields[5], font.strikeOut))
        return false;
    out = std::move(font);
    return true;
}

bool isBase64(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        return isNameChar(c, false) || c == '+' || c == '/' || c == '=';
    });
}

bool parsePicture(std::string_view s, PictureValue& out) {
    s = trim(s);
    if (equalsIgnoringCase(s, "none")) {
        out.source.clear();
        return true;
    }
    constexpr std::string_view prefix = "base64:";
    if (s.substr(0, prefix.size()) == prefix) {
        if (s.size() == prefix.size() || !isBase64(s.substr(prefix.size())))
            return false;
        out.source = std::string(s);
        return true;
    }
    std::string path;
    if (!parseQuoted(s, path) || path.empty())
        return false;
    // Embedded pictures are held as "base64:..." too; a path spelled so could not be told apart.
    if (path.starts_with(prefix))
        return false;
    out.source = std::move(path);
    return true;
}

std::string formatDouble(double d) {
    std::array<char, 32> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), d);
    return ec == std::errc() ? std::string(buf.data(), end) : std::string("0");
}

std::string withArticle(std::string_view word) {
    const bool vowel =
        !word.empty() && std::string_view("aeiou").find(word[0]) != std::string_view::npos;
    return (vowel ? "an " : "a ") + std::string(word);
}

// Parses `text` with `parse` and stores the value in `out`; `out` is left alone on failure.
template <class T>
bool parseInto(std::string_view text, PropertyValue& out, bool (*parse)(std::string_view, T&)) {
    T value{};
    if (!parse(text, value))
        return false;
    out = std::move(value);
    return true;
}

const FormType* findType(std::span<const FormType> types, std::string_view name) {
    for (const FormType& t : types)
        if (equalsIgnoringCase(t.typeName, name))
            return &t;
    return nullptr;
}

const FormKey* findKey(std::span<const FormKey> keys, std::string_view lowered) {
    for (const FormKey& k : keys)
        if (k.key == lowered)
            return &k;
    return nullptr;
}

} // namespace

std::string FormDiagnostic::text() const {
    if (line > 0)
        return fileName + ":" + std::to_string(line) + ": " + message;
    return fileName + ": " + message;
}

const FormInstance* FormFile::find(std::string_view name) const {
    for (const FormInstance& i : instances)
        if (equalsIgnoringCase(i.name, name))
            return &i;
    return nullptr;
}

bool parseFormValue(std::string_view text, PropertyType type, PropertyValue& out) {
    switch (type) {
    case PropertyType::Integer:
        return parseInto<std::int32_t>(text, out, parseInteger);
    case PropertyType::Boolean:
        return parseInto<bool>(text, out, parseBoolean);
    case PropertyType::Colour:
        return parseInto<ColourRef>(text, out, parseColour);
    case PropertyType::Text:
        return parseInto<std::string>(text, out, parseQuoted);
    case PropertyType::Font:
        return parseInto<FontValue>(text, out, parseFont);
    case PropertyType::Picture:
        return parseInto<PictureValue>(text, out, parsePicture);
    }
    return false;
}

std::string formatFormValue(const PropertyValue& value) {
    struct Formatter {
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(ColourRef c) const {
            char buf[32];
            if (c <= 0xFFFFFF)
                std::snprintf(buf, sizeof buf, "RGB(%d, %d, %d)", Colour::red(c), Colour::green(c),
                              Colour::blue(c));
            else
                std::snprintf(buf, sizeof buf, "0x%08X", c);
            return buf;
        }
        std::string operator()(const std::string& s) const { return quoteText(s); }
        std::string operator()(const FontValue& f) const {
            return f.name + ", " + formatDouble(f.pointSize) + ", " + std::to_string(f.weight) +
                   ", " + (f.italic ? "1" : "0") + ", " + (f.underline ? "1" : "0") + ", " +
                   (f.strikeOut ? "1" : "0");
        }
        std::string operator()(const PictureValue& p) const {
            if (p.isNone())
                return "none";
            if (p.source.starts_with("base64:"))
                return p.source;
            return quoteText(p.source);
        }
    };
    return std::visit(Formatter{}, value);
}

namespace {

// Reads a form a line at a time: the section its keys go to, and what it reports.
class FormReader {
public:
    FormReader(std::string_view fileName, std::span<const FormType> types)
        : m_file(fileName), m_types(types) {}

    void sectionHeader(std::string_view line, int lineNumber);
    void keyLine(std::string_view line, int lineNumber);
    FormFile finish() { return std::move(m_form); }

private:
    void complain(int line, std::string message) {
        m_form.diagnostics.push_back({m_file, line, std::move(message)});
    }

    FormFile m_form;
    std::string m_file;
    std::span<const FormType> m_types;
    // The section that keys go to; none before the first header or after a rejected one.
    FormInstance* m_current = nullptr;
    const FormType* m_currentType = nullptr;
    bool m_skipping = false; // inside a rejected section: its keys are not reported one by one
};

void FormReader::sectionHeader(std::string_view line, int lineNumber) {
    m_current = nullptr;
    m_currentType = nullptr;
    m_skipping = true;
    if (line.back() != ']') {
        complain(lineNumber, "malformed section header (expected [Name Type])");
        return;
    }
    const std::string_view inner = trim(line.substr(1, line.size() - 2));
    auto gap = std::find_if(inner.begin(), inner.end(), isSpace);
    const std::string_view name = inner.substr(0, gap - inner.begin());
    const std::string_view type =
        gap == inner.end() ? std::string_view() : trim(inner.substr(gap - inner.begin()));
    if (!isInstanceName(name) || !isName(type, true)) {
        complain(lineNumber, "malformed section header (expected [Name Type])");
        return;
    }
    const FormType* known = findType(m_types, type);
    if (!known) {
        complain(lineNumber, "unknown control type \"" + std::string(type) + "\" for \"" +
                                 std::string(name) + "\"");
        return;
    }
    if (m_form.find(name)) {
        complain(lineNumber, "instance \"" + std::string(name) + "\" is defined more than once");
        return;
    }
    m_form.instances.push_back(
        {std::string(name), std::string(known->typeName), lineNumber, PropertyBag()});
    m_current = &m_form.instances.back();
    m_currentType = known;
    m_skipping = false;
}

void FormReader::keyLine(std::string_view line, int lineNumber) {
    const auto equals = line.find('=');
    const std::string_view key =
        equals == std::string_view::npos ? std::string_view() : trim(line.substr(0, equals));
    if (!isName(key, false)) {
        complain(lineNumber, "malformed line (expected key = value)");
        return;
    }
    if (!m_current) {
        if (!m_skipping)
            complain(lineNumber, "\"" + std::string(key) + "\" is outside any section");
        return;
    }
    const std::string lowered = asciiLower(key);
    const FormKey* known = findKey(m_currentType->keys, lowered);
    if (!known)
        known = findKey(kHostKeys, lowered);
    if (!known) {
        complain(lineNumber, "unknown key \"" + std::string(key) + "\" for " + m_current->typeName +
                                 "; ignored");
        return;
    }
    PropertyValue value;
    if (!parseFormValue(line.substr(equals + 1), known->type, value)) {
        complain(lineNumber, "\"" + std::string(key) + "\" needs " +
                                 withArticle(typeName(known->type)) +
                                 " value; the default is used");
        return;
    }
    if (m_current->bag.contains(lowered))
        complain(lineNumber,
                 "\"" + std::string(key) + "\" is given more than once; this value is used");
    m_current->bag.set(lowered, std::move(value));
}

} // namespace

FormFile parseFormFile(std::string_view text, std::string_view fileName,
                       std::span<const FormType> types) {
    FormReader reader(fileName, types);
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto newline = text.find('\n');
        const std::string_view raw = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);

        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[')
            reader.sectionHeader(line, lineNumber);
        else
            reader.keyLine(line, lineNumber);
    }
    return reader.finish();
}

FormFile loadFormFile(const std::string& path, std::span<const FormType> types) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        FormFile form;
        form.diagnostics.push_back(
            {path, 0, "cannot be read (" + file.errorString().toStdString() + ")"});
        return form;
    }
    const QByteArray data = file.readAll();
    return parseFormFile(std::string_view(data.constData(), static_cast<std::size_t>(data.size())),
                         path, types);
}

std::string writeFormFile(const std::vector<FormInstance>& instances) {
    std::string out;
    for (const FormInstance& instance : instances) {
        if (!out.empty())
            out += '\n';
        out += "[" + instance.name + " " + instance.typeName + "]\n";
        for (const auto& [key, value] : instance.bag.entries())
            out += key + " = " + formatFormValue(value) + "\n";
    }
    return out;
}
