#include "charts/calendar_chart.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "charts/svg_parts.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "events/calendar_text.h"

namespace morvane {

namespace {

// The month grid: 5 columns of 160 points, 6 rows of 77, centred across the page under the
// heading, the legend's two rows below it.
constexpr double kMonthLeft = 21.0;
constexpr double kMonthTop = 80.0;
constexpr double kMonthCellWidth = 160.0;
constexpr double kMonthCellHeight = 77.0;
constexpr int kMarkLines = 3;

// The year: 4 columns by 3 rows of month boxes, each a name line over a 6 × 5 grid.
constexpr double kYearLeft = 27.0;
constexpr double kYearTop = 80.0;
constexpr double kYearBoxWidth = 188.0;
constexpr double kYearBoxHeight = 150.0;
constexpr double kYearColumnStep = 200.0;
constexpr double kYearRowStep = 158.0;
constexpr double kYearNameHeight = 15.0;
constexpr int kYearColumns = 4;

constexpr double kLegendFirst = 562.0;
constexpr double kLegendSecond = 579.0;
constexpr double kPageMargin = 21.0;

// A light page under any palette, ink chosen for it and for print.
constexpr const char* kInk = "#333333";
constexpr const char* kMutedInk = "#666666";
constexpr const char* kPaleInk = "#f0f0f5";
constexpr const char* kGridStroke = "#b0b0b8";
constexpr const char* kDiscDark = "#3a3a46";
constexpr const char* kDiscLit = "#f4f1de";
constexpr const char* kDiscOutline = "#8a8a96";
constexpr const char* kNewMoonFill = "#2b2b33";
constexpr const char* kFullMoonFill = "#fff3b0";
constexpr const char* kFullMoonStroke = "#8a7a2a";
constexpr const char* kEclipseColor = "#d0201c";
constexpr const char* kConjunctionColor = "#7a4cc0";
constexpr const char* kIngressColor = "#2e7d32";
constexpr const char* kSeasonColor = "#1f78b4";
constexpr const char* kChosenColor = "#e08a00";
constexpr const char* kFontFamily = "Arial, sans-serif";

// The dark and light ends of a year day's shade: the day chart's night and the disc's lit part.
constexpr std::array<int, 3> kShadeDark = {0x1c, 0x22, 0x42};
constexpr std::array<int, 3> kShadeLight = {0xf4, 0xf1, 0xde};

// Advance widths of Arial for printable ASCII, in thousandths of an em. Other characters count
// as wide: accented letters are narrower than 600, the arrows and symbols that fall back to
// another font below 1000.
constexpr std::array<std::uint16_t, 95> kAsciiWidths = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};

// A renderer without Arial draws with its sans-serif, as the web engine here does with DejaVu
// Sans, whose letters run up to a sixth wider: the widths are reckoned for that.
constexpr double kFallbackWidening = 1.18;

// The width of a UTF-8 text in points at the font size.
double textWidth(std::string_view utf8, double size, bool bold = false) {
    double thousandths = 0.0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (lead >= 0xF0) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        if (lead >= 0x20 && lead < 0x7F) {
            thousandths += kAsciiWidths.at(lead - 0x20U);
        } else {
            thousandths += length == 2 ? 600.0 : 1000.0;
        }
        i += length;
    }
    return thousandths / 1000.0 * size * (bold ? 1.1 : 1.0) * kFallbackWidening;
}

// The text cut at a character boundary and ended with "…" so that it fits the width.
std::string fitted(std::string_view utf8, double size, double width, bool bold = false) {
    if (textWidth(utf8, size, bold) <= width) return std::string(utf8);
    constexpr std::string_view kEllipsis = "\u2026";
    std::string_view kept = utf8;
    while (!kept.empty()) {
        // Drop the last character: its continuation bytes, then its lead byte.
        while (!kept.empty() && (static_cast<unsigned char>(kept.back()) & 0xC0) == 0x80)
            kept.remove_suffix(1);
        if (!kept.empty()) kept.remove_suffix(1);
        std::string candidate(kept);
        candidate += kEllipsis;
        if (textWidth(candidate, size, bold) <= width) return candidate;
    }
    return std::string(kEllipsis);
}

// The markup characters escaped; control characters, which XML does not allow, dropped.
void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) continue;
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

std::string font(std::string_view ink, double size, std::string_view more = {}) {
    std::string attributes =
        fmt::format("fill=\"{}\" font-family=\"{}\" font-size=\"{:g}\"", ink, kFontFamily, size);
    if (!more.empty()) {
        attributes += ' ';
        attributes += more;
    }
    return attributes;
}

// `attributes` goes into the start tag as it is; the text is escaped.
void appendText(std::string& out, double x, double y, std::string_view attributes,
                std::string_view text) {
    fmt::format_to(std::back_inserter(out), FMT_COMPILE("<text x=\"{:.1f}\" y=\"{:.1f}\" {}>"), x,
                   y, attributes);
    appendEscaped(out, text);
    out += "</text>\n";
}

void appendRect(std::string& out, const CalendarRect& r, std::string_view attributes) {
    fmt::format_to(std::back_inserter(out),
                   FMT_COMPILE("<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" "
                               "height=\"{:.1f}\" {} />\n"),
                   r.x, r.y, r.width, r.height, attributes);
}

CalendarRect inset(const CalendarRect& r, double by) {
    return {r.x + by, r.y + by, r.width - 2.0 * by, r.height - 2.0 * by};
}

// Yael's disc: dark, with the lit part between the limb on the lit side and the terminator, the
// half-ellipse whose half-width is r·|cos e| — on the lit side while she is a crescent, on the
// far side once gibbous — so the lit share is (1 − cos e) / 2 as the phase has it. Seen from the
// north a waxing Yael is lit on the right. From the southern hemisphere one faces north to see
// her and her picture is turned half round: the disc is drawn mirrored there.
void appendPhaseDisc(std::string& out, double cx, double cy, double r, double elongation,
                     bool southern) {
    const double e = wrapBelowTwoPi(elongation);
    double litSide = e < kPi ? 1.0 : -1.0;  // +1: right
    if (southern) litSide = -litSide;
    const double c = std::cos(e);
    const double terminatorSide = c >= 0.0 ? litSide : -litSide;
    // From the top down along the limb, back up along the terminator. A sweep of 1 turns
    // clockwise on the page: top to bottom through the right, bottom to top through the left.
    const int limbSweep = litSide > 0.0 ? 1 : 0;
    const int terminatorSweep = terminatorSide > 0.0 ? 0 : 1;
    fmt::format_to(
        std::back_inserter(out),
        FMT_COMPILE("<circle cx=\"{0:.2f}\" cy=\"{1:.2f}\" r=\"{2:.2f}\" fill=\"{3}\" "
                    "stroke=\"{4}\" stroke-width=\"0.5\" />\n"
                    "<path d=\"M {0:.2f},{5:.2f} A {2:.2f},{2:.2f} 0 0,{7} {0:.2f},{6:.2f} "
                    "A {8:.2f},{2:.2f} 0 0,{9} {0:.2f},{5:.2f} Z\" fill=\"{10}\" />\n"),
        cx, cy, r, kDiscDark, kDiscOutline, cy - r, cy + r, limbSweep, r * std::fabs(c),
        terminatorSweep, kDiscLit);
}

enum class Glyph : std::uint8_t {
    newMoon,
    fullMoon,
    solarEclipse,
    lunarEclipse,
    conjunction,
    ingress,
    season
};

Glyph glyphOf(EventKind kind) {
    switch (kind) {
        case EventKind::newMoon:
            return Glyph::newMoon;
        case EventKind::fullMoon:
            return Glyph::fullMoon;
        case EventKind::solarEclipse:
            return Glyph::solarEclipse;
        case EventKind::lunarEclipse:
            return Glyph::lunarEclipse;
        case EventKind::conjunction:
            return Glyph::conjunction;
        case EventKind::ingress:
            return Glyph::ingress;
        default:
            return Glyph::season;
    }
}

// A mark's symbol centred on (cx, cy), `r` its half-size. Eclipses are filled when visible at
// the place and only outlined when not; Nolomar's is a diamond, Yael's a disc.
void appendGlyph(std::string& out, Glyph glyph, double cx, double cy, double r, bool filled) {
    auto it = std::back_inserter(out);
    const std::string eclipsePaint =
        filled ? fmt::format("fill=\"{}\"", kEclipseColor)
               : fmt::format("fill=\"white\" stroke=\"{}\" stroke-width=\"1\"", kEclipseColor);
    switch (glyph) {
        case Glyph::newMoon:
            fmt::format_to(it, "<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"{:.1f}\" fill=\"{}\" />\n",
                           cx, cy, r, kNewMoonFill);
            break;
        case Glyph::fullMoon:
            fmt::format_to(it,
                           "<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"{:.1f}\" fill=\"{}\" "
                           "stroke=\"{}\" stroke-width=\"0.8\" />\n",
                           cx, cy, r, kFullMoonFill, kFullMoonStroke);
            break;
        case Glyph::lunarEclipse:
            fmt::format_to(it, "<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"{:.1f}\" {} />\n", cx, cy,
                           r, eclipsePaint);
            break;
        case Glyph::solarEclipse: {
            const double d = r * 1.2;
            fmt::format_to(it,
                           "<polygon points=\"{:.1f},{:.1f} {:.1f},{:.1f} {:.1f},{:.1f} "
                           "{:.1f},{:.1f}\" {} />\n",
                           cx, cy - d, cx + d, cy, cx, cy + d, cx - d, cy, eclipsePaint);
            break;
        }
        case Glyph::conjunction:
            // Two bodies meeting: a ring with a stroke leaving it, as almanacs write it.
            fmt::format_to(it,
                           "<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"{:.1f}\" fill=\"none\" "
                           "stroke=\"{}\" stroke-width=\"1\" />\n"
                           "<line x1=\"{:.1f}\" y1=\"{:.1f}\" x2=\"{:.1f}\" y2=\"{:.1f}\" "
                           "stroke=\"{}\" stroke-width=\"1\" />\n",
                           cx - 0.3 * r, cy + 0.3 * r, 0.62 * r, kConjunctionColor, cx + 0.14 * r,
                           cy - 0.14 * r, cx + r, cy - r, kConjunctionColor);
            break;
        case Glyph::ingress:
            fmt::format_to(it,
                           "<polygon points=\"{:.1f},{:.1f} {:.1f},{:.1f} {:.1f},{:.1f}\" "
                           "fill=\"{}\" />\n",
                           cx - 0.8 * r, cy - r, cx + r, cy, cx - 0.8 * r, cy + r, kIngressColor);
            break;
        case Glyph::season:
            fmt::format_to(it,
                           "<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" height=\"{:.1f}\" "
                           "fill=\"{}\" />\n",
                           cx - 0.85 * r, cy - 0.85 * r, 1.7 * r, 1.7 * r, kSeasonColor);
            break;
    }
}

void appendGlyph(std::string& out, const SkyEvent& event, double cx, double cy, double r) {
    appendGlyph(out, glyphOf(event.kind), cx, cy, r, event.visible);
}

std::string joinedTimes(const std::vector<double>& moments, double longitude) {
    std::string text;
    for (const double t : moments) {
        if (!text.empty()) text += ' ';
        text += localTimeLabel(t, longitude);
    }
    return text;
}

// "↑ 05:12  ↓ 18:40" with an em space between, which XML does not fold away as it does spaces.
std::string sunLine(const CalendarDay& day, double longitude) {
    if (day.sunDay == SunDay::polarNight) return "polar night";
    if (day.sunDay == SunDay::polarDay) return "polar day";
    std::string line;
    if (!day.sunrises.empty()) line = "\u2191 " + joinedTimes(day.sunrises, longitude);
    if (!day.sunsets.empty()) {
        if (!line.empty()) line += "\u2003";
        line += "\u2193 " + joinedTimes(day.sunsets, longitude);
    }
    return line;
}

// A mark's line in a cell. Eclipses leave their visibility to the symbol, to stay short.
std::string cellMarkText(const SkyEvent& event, double longitude) {
    std::string words;
    if (event.kind == EventKind::solarEclipse || event.kind == EventKind::lunarEclipse) {
        words =
            fmt::format("{} eclipse, {}", event.kind == EventKind::solarEclipse ? "solar" : "lunar",
                        eclipseClassName(event.eclipseClass));
    } else {
        words = calendarMarkWords(event);
    }
    return words + ' ' + localTimeLabel(event.t, longitude);
}

void appendHeading(std::string& out, std::string_view title, std::string_view place,
                   CalendarClock clock, double hour) {
    const double width = kCalendarPageWidth - 2.0 * kPageMargin;
    appendText(out, kPageMargin, 38.0, font(kInk, 20, "font-weight=\"bold\""),
               fitted(title, 20, width, true));
    appendText(out, kPageMargin, 56.0, font(kInk, 11), fitted(place, 11, width));
    appendText(out, kPageMargin, 70.0, font(kMutedInk, 9),
               fitted(calendarClockText(clock, hour), 9, width));
}

void appendMonthDay(std::string& out, const CalendarMonth& month, int index) {
    const CalendarDay& day = month.days.at(static_cast<std::size_t>(index));
    const CalendarRect cell = monthDayCell(index);
    const double right = cell.x + cell.width;
    appendRect(out, cell,
               fmt::format("fill=\"white\" stroke=\"{}\" stroke-width=\"0.6\"", kGridStroke));
    appendText(out, cell.x + 6.0, cell.y + 17.0, font(kInk, 13, "font-weight=\"bold\""),
               fmt::format("{}", index + 1));
    appendPhaseDisc(out, right - 16.0, cell.y + 16.0, 10.0, day.elongation, month.latitude < 0.0);
    appendText(out, right - 31.0, cell.y + 19.0, font(kMutedInk, 8, "text-anchor=\"end\""),
               fmt::format("{} %", std::llround(day.illuminated * 100.0)));
    constexpr double kTextLeft = 6.0;
    appendText(out, cell.x + kTextLeft, cell.y + 33.0, font(kInk, 8.5),
               fitted(sunLine(day, month.longitude), 8.5, cell.width - 2.0 * kTextLeft));

    // At most three lines; when more marks fall on the day the third line counts the rest.
    const auto count = static_cast<int>(day.marks.size());
    const int shown = count <= kMarkLines ? count : kMarkLines - 1;
    constexpr double kMarkLeft = 17.0;
    for (int i = 0; i < shown; ++i) {
        const SkyEvent& event = day.marks.at(static_cast<std::size_t>(i));
        const double baseline = cell.y + 46.0 + 12.0 * i;
        appendGlyph(out, event, cell.x + 10.0, baseline - 3.0, 3.6);
        appendText(
            out, cell.x + kMarkLeft, baseline, font(kInk, 8),
            fitted(cellMarkText(event, month.longitude), 8, cell.width - kMarkLeft - kTextLeft));
    }
    if (shown < count) {
        appendText(out, cell.x + kMarkLeft, cell.y + 46.0 + 12.0 * shown, font(kMutedInk, 8),
                   fmt::format("+{} more", count - shown));
    }
}

void appendChosenFrame(std::string& out, const CalendarRect& cell, double width) {
    appendRect(
        out, inset(cell, width * 0.5),
        fmt::format("fill=\"none\" stroke=\"{}\" stroke-width=\"{:g}\"", kChosenColor, width));
}

// The legend's entries are laid out from the left, each as wide as its text.
class LegendRow {
  public:
    explicit LegendRow(double y) : y_(y) {}
    [[nodiscard]] double symbolX() const { return x_ + 5.0; }
    [[nodiscard]] double symbolY() const { return y_ - 3.0; }
    void text(std::string& out, std::string_view words, double symbolWidth = 12.0) {
        appendText(out, x_ + symbolWidth, y_, font(kInk, 8), words);
        x_ += symbolWidth + textWidth(words, 8) + 14.0;
    }

  private:
    double x_ = kPageMargin;
    double y_;
};

void appendMonthLegend(std::string& out, bool southern) {
    LegendRow first(kLegendFirst);
    struct Entry {
        Glyph glyph;
        bool filled;
        std::string_view words;
    };
    constexpr std::array<Entry, 6> kFirst = {{
        {Glyph::newMoon, true, "new moon"},
        {Glyph::fullMoon, true, "full moon"},
        {Glyph::solarEclipse, true, "solar eclipse, visible here"},
        {Glyph::solarEclipse, false, "solar eclipse, not visible here"},
        {Glyph::lunarEclipse, true, "lunar eclipse, visible here"},
        {Glyph::lunarEclipse, false, "lunar eclipse, not visible here"},
    }};
    for (const Entry& entry : kFirst) {
        appendGlyph(out, entry.glyph, first.symbolX(), first.symbolY(), 3.6, entry.filled);
        first.text(out, entry.words);
    }
    LegendRow second(kLegendSecond);
    constexpr std::array<Entry, 3> kSecond = {{
        {Glyph::conjunction, true, "planet conjunction"},
        {Glyph::ingress, true, "Nolomar enters a sign"},
        {Glyph::season, true, "equinox or solstice"},
    }};
    for (const Entry& entry : kSecond) {
        appendGlyph(out, entry.glyph, second.symbolX(), second.symbolY(), 3.6, entry.filled);
        second.text(out, entry.words);
    }
    second.text(out, "\u2191 sunrise\u2003\u2193 sunset", 0.0);
    appendPhaseDisc(out, second.symbolX() + 1.0, second.symbolY(), 5.0, kHalfPi * 0.6, southern);
    second.text(out,
                southern ? "Yael's phase, seen from the south (mirrored)"
                         : "Yael's phase, seen from the north",
                14.0);
    appendChosenFrame(out, {second.symbolX() - 5.0, kLegendSecond - 9.0, 18.0, 11.0}, 2.0);
    second.text(out, "chosen day", 20.0);
}

void appendMonth(std::string& out, const CalendarMonth& month, std::string_view place,
                 int chosenDayIndex) {
    out += "<rect x=\"0\" y=\"0\" width=\"842\" height=\"595\" fill=\"white\" />\n";
    appendHeading(out,
                  fmt::format("{} {}", kMonthNames.at(static_cast<std::size_t>(month.monthIndex)),
                              month.year),
                  place, month.clock, month.hour);
    for (int i = 0; i < kCalendarDays; ++i) appendMonthDay(out, month, i);
    if (chosenDayIndex >= 0 && chosenDayIndex < kCalendarDays)
        appendChosenFrame(out, monthDayCell(chosenDayIndex), 2.5);
    appendMonthLegend(out, month.latitude < 0.0);
}

// The shade of a year day: the night's colour at new moon, the lit disc's at full.
std::string shadeOf(double illuminated) {
    const double f = std::clamp(illuminated, 0.0, 1.0);
    std::array<long long, 3> rgb{};
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb.at(i) = std::llround(kShadeDark.at(i) + (kShadeLight.at(i) - kShadeDark.at(i)) * f);
    return fmt::format("#{:02x}{:02x}{:02x}", rgb[0], rgb[1], rgb[2]);
}

void appendYearDay(std::string& out, const CalendarDay& day, const CalendarRect& cell,
                   bool southern) {
    appendRect(
        out, cell,
        fmt::format("fill=\"{}\" stroke=\"white\" stroke-width=\"0.5\"", shadeOf(day.illuminated)));
    appendText(out, cell.x + 2.5, cell.y + 8.5, font(day.illuminated < 0.45 ? kPaleInk : kInk, 7),
               fmt::format("{}", day.dayIndex + 1));
    appendPhaseDisc(out, cell.x + cell.width - 8.0, cell.y + cell.height * 0.5, 5.0, day.elongation,
                    southern);
    double x = cell.x + 5.0;
    for (const SkyEvent& event : day.marks) {
        if (event.kind == EventKind::newMoon || event.kind == EventKind::fullMoon) continue;
        if (x > cell.x + 20.0) break;  // two fit beside the disc
        appendGlyph(out, event, x, cell.y + cell.height - 5.0, 2.8);
        x += 8.0;
    }
}

void appendYearLegend(std::string& out, bool southern) {
    LegendRow first(kLegendFirst);
    constexpr int kSwatches = 5;
    for (int i = 0; i < kSwatches; ++i) {
        appendRect(out, {first.symbolX() - 5.0 + 11.0 * i, kLegendFirst - 8.0, 11.0, 10.0},
                   fmt::format("fill=\"{}\"", shadeOf(i / (kSwatches - 1.0))));
    }
    first.text(out, "Yael's lit share: new moon (dark) to full moon (light)", 60.0);
    appendPhaseDisc(out, first.symbolX() + 1.0, first.symbolY(), 5.0, kHalfPi * 0.6, southern);
    first.text(out,
               southern ? "Yael's phase, seen from the south (mirrored)"
                        : "Yael's phase, seen from the north",
               14.0);
    LegendRow second(kLegendSecond);
    struct Entry {
        Glyph glyph;
        bool filled;
        std::string_view words;
    };
    constexpr std::array<Entry, 5> kEntries = {{
        {Glyph::solarEclipse, true, "solar eclipse, visible here"},
        {Glyph::solarEclipse, false, "solar eclipse, not visible here"},
        {Glyph::lunarEclipse, true, "lunar eclipse, visible here"},
        {Glyph::lunarEclipse, false, "lunar eclipse, not visible here"},
        {Glyph::season, true, "equinox or solstice"},
    }};
    for (const Entry& entry : kEntries) {
        appendGlyph(out, entry.glyph, second.symbolX(), second.symbolY(), 3.6, entry.filled);
        second.text(out, entry.words);
    }
    appendChosenFrame(out, {second.symbolX() - 5.0, kLegendSecond - 9.0, 18.0, 11.0}, 2.0);
    second.text(out, "chosen day", 20.0);
}

void appendYear(std::string& out, const CalendarYear& year, std::string_view place, int chosenMonth,
                int chosenDayIndex) {
    out += "<rect x=\"0\" y=\"0\" width=\"842\" height=\"595\" fill=\"white\" />\n";
    appendHeading(out, fmt::format("Year {}", year.year), place, year.clock, year.hour);
    const bool southern = year.latitude < 0.0;
    for (int m = 0; m < kCalendarMonths; ++m) {
        const CalendarRect box = yearMonthBox(m);
        appendText(out, box.x + 1.0, box.y + 11.0, font(kInk, 10, "font-weight=\"bold\""),
                   kMonthNames.at(static_cast<std::size_t>(m)));
        const CalendarMonth& month = year.months.at(static_cast<std::size_t>(m));
        for (int d = 0; d < kCalendarDays; ++d)
            appendYearDay(out, month.days.at(static_cast<std::size_t>(d)), yearDayCell(m, d),
                          southern);
    }
    if (chosenMonth >= 0 && chosenMonth < kCalendarMonths) {
        appendRect(out, inset(yearMonthBox(chosenMonth), -2.0),
                   fmt::format("fill=\"none\" stroke=\"{}\" stroke-width=\"1\"", kChosenColor));
        if (chosenDayIndex >= 0 && chosenDayIndex < kCalendarDays)
            appendChosenFrame(out, yearDayCell(chosenMonth, chosenDayIndex), 2.0);
    }
    appendYearLegend(out, southern);
}

}  // namespace

bool CalendarRect::contains(double px, double py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
}

CalendarRect monthDayCell(int dayIndex) {
    const int row = dayIndex / kCalendarColumns;
    const int column = dayIndex % kCalendarColumns;
    return {kMonthLeft + kMonthCellWidth * column, kMonthTop + kMonthCellHeight * row,
            kMonthCellWidth, kMonthCellHeight};
}

CalendarRect yearMonthBox(int monthIndex) {
    const int row = monthIndex / kYearColumns;
    const int column = monthIndex % kYearColumns;
    return {kYearLeft + kYearColumnStep * column, kYearTop + kYearRowStep * row, kYearBoxWidth,
            kYearBoxHeight};
}

CalendarRect yearDayCell(int monthIndex, int dayIndex) {
    const CalendarRect box = yearMonthBox(monthIndex);
    const double width = box.width / kCalendarColumns;
    const double height = (box.height - kYearNameHeight) / kCalendarRows;
    const int column = dayIndex % kCalendarColumns;
    const int row = dayIndex / kCalendarColumns;
    return {box.x + width * column, box.y + kYearNameHeight + height * row, width, height};
}

std::string calendarMonthSvg(const CalendarMonth& month, std::string_view place,
                             int chosenDayIndex) {
    return svg::document("0 0 842 595", svg::Links::none, std::size_t{48} * 1024,
                         [&](std::string& out) { appendMonth(out, month, place, chosenDayIndex); });
}

std::string calendarYearSvg(const CalendarYear& year, std::string_view place, int chosenMonth,
                            int chosenDayIndex) {
    return svg::document(
        "0 0 842 595", svg::Links::none, std::size_t{160} * 1024,
        [&](std::string& out) { appendYear(out, year, place, chosenMonth, chosenDayIndex); });
}

}  // namespace morvane
