#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/calculation.h"

namespace morvane::cli {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whole number of 1 to `maxDigits` decimal digits, nothing else.
std::optional<std::int64_t> parseDigits(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int64_t> parseInRange(std::string_view text, std::int64_t low,
                                         std::int64_t high) {
    // Leading zeros are allowed ("01"), so allow a few more digits than the bound has.
    const auto value = parseDigits(text, 9);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

// Degrees with an optional hemisphere letter: `positive` and `negative` are the letters for
// the two senses.
std::optional<TypedAngle> parseDegrees(std::string_view text, char positive, char negative,
                                       double maxMagnitude) {
    if (text.empty()) return std::nullopt;
    bool isNegative = false;
    const char last = static_cast<char>(text.back() & ~0x20);  // upper case for ASCII letters
    if (last == positive || last == negative) {
        text.remove_suffix(1);
        if (text.empty() || !(isDigit(text.front()) || text.front() == '.')) {
            return std::nullopt;  // a letter and a sign together would be ambiguous
        }
        isNegative = last == negative;
    }
    const auto number = parseDecimal(text);
    if (!number) return std::nullopt;
    double magnitude = *number;
    if (std::signbit(magnitude)) {
        isNegative = !isNegative;
        magnitude = -magnitude;
    }
    if (magnitude > maxMagnitude) return std::nullopt;
    return TypedAngle{magnitude, isNegative};
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    // from_chars would also take "inf" and "nan"; insist on a digit or a point first so that
    // only plain numbers pass.
    const std::size_t first = text.front() == '-' ? 1 : 0;
    if (first >= text.size() || !(isDigit(text[first]) || text[first] == '.')) return std::nullopt;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimalIn(std::string_view text, double low, double high) {
    const auto value = parseDecimal(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

std::optional<Date> parseDate(std::string_view text) {
    const std::size_t firstDash = text.find('-');
    if (firstDash == std::string_view::npos) return std::nullopt;
    const std::size_t secondDash = text.find('-', firstDash + 1);
    if (secondDash == std::string_view::npos) return std::nullopt;
    const auto year = parseInRange(text.substr(0, firstDash), 1, kMaxYear);
    const auto month = parseInRange(text.substr(firstDash + 1, secondDash - firstDash - 1), 1, 12);
    const auto day = parseInRange(text.substr(secondDash + 1), 1, 30);
    if (!year || !month || !day) return std::nullopt;
    return Date{*year, *month, *day};
}

std::optional<ClockTime> parseTime(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto hours = parseDigits(text.substr(0, colon), 2);
    const auto minutes = parseDigits(text.substr(colon + 1), 2);
    if (!hours || !minutes || *hours > 23 || *minutes > 59) return std::nullopt;
    return ClockTime{*hours, *minutes};
}

std::optional<double> parseDayCount(std::string_view text) {
    const auto t = parseDecimal(text);
    if (!t || std::fabs(*t) > kMaxDayCount) return std::nullopt;
    return t;
}

std::optional<TypedAngle> parseLatitudeAngle(std::string_view text) {
    return parseDegrees(text, 'N', 'S', 90.0);
}

std::optional<TypedAngle> parseLongitudeAngle(std::string_view text) {
    return parseDegrees(text, 'E', 'W', 180.0);
}

std::optional<std::int64_t> parseRows(std::string_view text) {
    return parseInRange(text, 0, kMaxRows);
}

std::optional<double> parseStep(std::string_view text) {
    double divisor = 1.0;
    if (!text.empty()) {
        const char unit = text.back();
        if (unit == 'm') divisor = 1440.0;
        if (unit == 'h') divisor = 24.0;
        if (unit == 'm' || unit == 'h' || unit == 'd') text.remove_suffix(1);
    }
    const auto number = parseDecimal(text);
    if (!number) return std::nullopt;
    return *number / divisor;  // finite: the divisor is at least 1
}

std::optional<double> parseDays(std::string_view text) {
    const auto days = parseDecimal(text);
    if (!days || !(*days > 0.0) || *days > kMaxEventDays) return std::nullopt;
    return days;
}

std::optional<std::int64_t> parseCount(std::string_view text) {
    return parseInRange(text, 1, kMaxEventCount);
}

std::string printable(std::string_view text) {
    constexpr std::size_t kMaxShown = 60;
    std::size_t cut = std::min(text.size(), kMaxShown);
    // Never split a UTF-8 character: the message must stay valid text.
    while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    std::string shown;
    for (char c : text.substr(0, cut)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += (byte < 0x20 || byte == 0x7F) ? '?' : c;
    }
    if (cut < text.size()) shown += "...";
    return shown;
}

}  // namespace morvane::cli
