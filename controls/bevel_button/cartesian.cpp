#include "controls/bevel_button/cartesian.h"

#include "platform/ui/message_box.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kCrLf = "\r\n";

enum class Fault { Format, NonNumeric, Values };

std::string faultText(Fault fault) {
    const std::string crlf = kCrLf;
    switch (fault) {
    case Fault::Format:
        return "INVALID CARTESIAN CO-ORDINATES FORMAT." + crlf + crlf +
               "Co-ordinates must be in the format" + crlf +
               "\"(x,y)\" where x and y are Integers" + crlf + "in the range -32768 to +32767.";
    case Fault::NonNumeric:
        return "NON-NUMERIC CARTESIAN CO-ORDINATES." + crlf + crlf +
               "Co-ordinates must numeric Integers" + crlf + "in the range -32768 to +32767.";
    case Fault::Values:
        return "INVALID CARTESIAN CO-ORDINATES VALUES." + crlf + crlf +
               "Values must be Integers in the" + crlf + "range -32768 to +32767 only.";
    }
    return {};
}

bool fail(Fault fault, MessageBox& messages) {
    messages.show(faultText(fault), kCartesianTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// An optional sign, digits, and optionally a point followed by digits; nothing else.
bool isNumeric(std::string_view s) {
    if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        s.remove_prefix(1);
    const auto point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view("0") : s.substr(point + 1);
    return !whole.empty() && !fraction.empty() &&
           std::all_of(whole.begin(), whole.end(), isDigit) &&
           std::all_of(fraction.begin(), fraction.end(), isDigit);
}

// The number as an Integer, halves to even; nothing when it lies outside -32768..32767.
std::optional<std::int16_t> toInteger(std::string_view s) {
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

void repair(std::string& text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    if (text.empty())
        text = "(0,0)";
    if (text.front() == ',')
        text.replace(0, 1, "(0,");
    if (text.front() != '(')
        text.insert(0, "(");
    if (text.find(',') == std::string::npos) {
        if (text.back() == ')')
            text.replace(text.size() - 1, 1, ",0");
        else
            text += ",0)";
    }
    if (text.back() == ',')
        text += "0)";
    if (text.back() != ')')
        text += ")";
}

} // namespace

bool ParseCartesian(std::string& text, std::int16_t& x, std::int16_t& y, MessageBox& messages) {
    repair(text);

    const std::size_t comma = text.find(',');
    if (text.front() != '(' || text.back() != ')' || comma == std::string::npos || comma < 2)
        return fail(Fault::Format, messages);

    const std::string_view all(text);
    const std::string_view xPart = all.substr(1, comma - 1);
    const std::string_view yPart = all.substr(comma + 1, all.size() - comma - 2);
    if (!isNumeric(xPart) || !isNumeric(yPart))
        return fail(Fault::NonNumeric, messages);

    const auto newX = toInteger(xPart);
    if (!newX)
        return fail(Fault::Values, messages);
    x = *newX;
    const auto newY = toInteger(yPart);
    if (!newY)
        return fail(Fault::Values, messages);
    y = *newY;

    text = "(" + std::to_string(x) + "," + std::to_string(y) + ")";
    return true;
}
