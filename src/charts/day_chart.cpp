#include "charts/day_chart.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string_view>

#include "charts/svg_parts.h"
#include "engine/arc.h"
#include "engine/calendar.h"
#include "engine/constants.h"

namespace morvane {

namespace {

// The plot: 26 units an hour across, 1.2 units a degree of altitude from +90 to −90.
constexpr double kLeft = 40.0;
constexpr double kRight = 664.0;
constexpr double kTop = 42.0;
constexpr double kBottom = 258.0;
constexpr double kHorizonY = 150.0;
constexpr double kUnitsPerDegree = 1.2;
constexpr double kMoonRowTop = 278.0;
constexpr double kRowHeight = 14.0;
constexpr double kStripTop = 296.0;
constexpr double kRowBaseline = 10.5;  // of 9-unit text in a row

// The chart keeps a light page of its own under any palette, so its ink is chosen for that
// page and for print: dark text, and bands that run from a pale sky to a deep night.
constexpr const char* kInk = "#333333";
constexpr const char* kMutedInk = "#666666";
constexpr const char* kLightInk = "#f0f0f5";
constexpr const char* kSunColor = "#e08a00";
constexpr const char* kMoonColor = "#f4f4f8";
constexpr const char* kMoonOutline = "#4a4a55";
constexpr const char* kMoonUpFill = "#cfc6f2";
constexpr const char* kMoonUpStroke = "#6d5fb0";

struct Band {
    double from;  // degrees, the band's lower altitude
    double to;
    const char* fill;
    const char* name;
};

// Lightest to darkest, as the stages are ordered.
constexpr std::array<Band, 5> kBands = {{
    {0.0, 90.0, "#d7eafb", "day"},
    {-6.0, 0.0, "#a3c4e6", "civil"},
    {-12.0, -6.0, "#6a8dbb", "nautical"},
    {-18.0, -12.0, "#3b5584", "astronomical"},
    {-90.0, -18.0, "#1c2242", "night"},
}};

struct LevelStyle {
    const char* fill;
    const char* ink;
};
// Indexed by LightLevel: bright, dim, dark.
constexpr std::array<LevelStyle, 3> kLevelStyles = {{
    {"#ffe07a", "#333333"},
    {"#8fa3c4", "#1a1a1a"},
    {"#1c2242", "#f0f0f5"},
}};

enum class MarkGroup : std::uint8_t { sun, twilight, moon, eclipse };

constexpr std::array<const char*, 4> kMarkColors = {"#c77400", "#4f6f9e", "#7a6cc0", "#d0201c"};

struct Mark {
    std::string_view label;
    MarkGroup group;
};

Mark markOf(EventKind kind) {
    switch (kind) {
        case EventKind::sunrise:
            return {"sunrise", MarkGroup::sun};
        case EventKind::sunset:
            return {"sunset", MarkGroup::sun};
        case EventKind::noon:
            return {"noon", MarkGroup::sun};
        case EventKind::midnight:
            return {"midnight", MarkGroup::sun};
        case EventKind::civilDawn:
            return {"civil dawn", MarkGroup::twilight};
        case EventKind::civilDusk:
            return {"civil dusk", MarkGroup::twilight};
        case EventKind::nauticalDawn:
            return {"nautical dawn", MarkGroup::twilight};
        case EventKind::nauticalDusk:
            return {"nautical dusk", MarkGroup::twilight};
        case EventKind::astronomicalDawn:
            return {"astronomical dawn", MarkGroup::twilight};
        case EventKind::astronomicalDusk:
            return {"astronomical dusk", MarkGroup::twilight};
        case EventKind::moonrise:
            return {"moonrise", MarkGroup::moon};
        case EventKind::moonset:
            return {"moonset", MarkGroup::moon};
        case EventKind::solarEclipse:
            return {"solar eclipse", MarkGroup::eclipse};
        case EventKind::lunarEclipse:
            return {"lunar eclipse", MarkGroup::eclipse};
        default:
            return {kindName(kind), MarkGroup::sun};
    }
}

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
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
            default:
                out += c;
        }
    }
}

// `attributes` goes into the start tag as it is; the text is escaped.
void appendText(std::string& out, double x, double y, std::string_view attributes,
                std::string_view text) {
    fmt::format_to(std::back_inserter(out), FMT_COMPILE("<text x=\"{:.1f}\" y=\"{:.1f}\" {}>"), x,
                   y, attributes);
    appendEscaped(out, text);
    out += "</text>\n";
}

void appendRect(std::string& out, double x, double y, double width, double height,
                std::string_view attributes) {
    fmt::format_to(std::back_inserter(out),
                   FMT_COMPILE("<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" "
                               "height=\"{:.1f}\" {} />\n"),
                   x, y, width, height, attributes);
}

// The ink and font of a text, and any further attributes.
std::string font(std::string_view ink, int size, std::string_view more = {}) {
    std::string attributes =
        fmt::format("fill=\"{}\" font-family=\"Arial, sans-serif\" font-size=\"{}\"", ink, size);
    if (!more.empty()) {
        attributes += ' ';
        attributes += more;
    }
    return attributes;
}

class Frame {
  public:
    explicit Frame(const DayLight& day) : start_(day.start) {}
    [[nodiscard]] double x(double t) const { return kLeft + (t - start_) * (kRight - kLeft); }
    static double y(double altitude) {
        const double degrees = std::clamp(altitude * 180.0 / kPi, -90.0, 90.0);
        return kHorizonY - degrees * kUnitsPerDegree;
    }
    static double yDegrees(double degrees) { return kHorizonY - degrees * kUnitsPerDegree; }

  private:
    double start_;
};

void appendHeader(std::string& out, const DayLight& day) {
    const std::string moment = fmt::format("Day from {}  (local {})", dateLabel(day.start),
                                           localTimeLabel(day.start, day.longitude));
    const std::string place = fmt::format("Lat: {}  Long: {}", Arc(day.latitude).formatDMS(),
                                          Arc(day.longitude).formatDMS());
    appendText(out, kLeft, 16, font(kInk, 12), moment);
    appendText(out, kLeft, 32, font(kInk, 11), place);
    std::string_view words;
    if (day.summary.course == SunCourse::polarDay) {
        words = "Polar day: Nolomar stays above the horizon all day";
    } else if (day.summary.course == SunCourse::polarNight) {
        words = "Polar night: Nolomar stays below the horizon all day";
    }
    if (!words.empty()) {
        appendText(out, kRight, 32, font("#1a1a1a", 12, "font-weight=\"bold\" text-anchor=\"end\""),
                   words);
    }
}

void appendBands(std::string& out) {
    for (const Band& band : kBands) {
        const double top = Frame::yDegrees(band.to);
        const double bottom = Frame::yDegrees(band.from);
        appendRect(out, kLeft, top, kRight - kLeft, bottom - top,
                   fmt::format("fill=\"{}\"", band.fill));
        appendText(out, kRight + 4.0, (top + bottom) * 0.5 + 2.8, font(kMutedInk, 8), band.name);
    }
    // Every 30°, with the horizon drawn stronger.
    for (int degrees = -90; degrees <= 90; degrees += 30) {
        const double y = Frame::yDegrees(degrees);
        fmt::format_to(std::back_inserter(out),
                       FMT_COMPILE("<line x1=\"{:.1f}\" y1=\"{:.1f}\" x2=\"{:.1f}\" y2=\"{:.1f}\" "
                                   "stroke=\"#8a94a6\" stroke-width=\"{}\" opacity=\"0.6\" />\n"),
                       kLeft, y, kRight, y, degrees == 0 ? "0.8" : "0.3");
        appendText(out, kLeft - 4.0, y + 3.0, font(kMutedInk, 9, "text-anchor=\"end\""),
                   degrees < 0 ? fmt::format("\u2212{}\u00b0", -degrees)
                               : fmt::format("{}\u00b0", degrees));
    }
}

// Ticks at the whole hours of the place's local solar time; a label every third hour. Within a
// day the local clock runs at one hour an hour to within seconds.
void appendHourTicks(std::string& out, const DayLight& day, const Frame& frame) {
    double minutes = std::fmod(localSolarMinutes(day.start, day.longitude), 1440.0);
    if (minutes < 0.0) minutes += 1440.0;
    if (!std::isfinite(minutes)) return;
    const double past = std::fmod(minutes, 60.0);
    long long hour = static_cast<long long>(std::floor(minutes / 60.0));
    double offset = 0.0;  // minutes from the start to the first whole hour
    if (past > 0.0) {
        offset = 60.0 - past;
        ++hour;
    }
    for (; offset < 1440.0; offset += 60.0, ++hour) {
        const double x = frame.x(day.start + offset / 1440.0);
        const long long shown = hour % 24;
        const bool labelled = shown % 3 == 0;
        fmt::format_to(std::back_inserter(out),
                       FMT_COMPILE("<line x1=\"{0:.1f}\" y1=\"{1:.1f}\" x2=\"{0:.1f}\" "
                                   "y2=\"{2:.1f}\" stroke=\"{3}\" stroke-width=\"0.5\" />\n"),
                       x, kBottom, kBottom + (labelled ? 5.0 : 3.0), kMutedInk);
        if (!labelled) continue;
        fmt::format_to(std::back_inserter(out),
                       FMT_COMPILE("<line x1=\"{0:.1f}\" y1=\"{1:.1f}\" x2=\"{0:.1f}\" "
                                   "y2=\"{2:.1f}\" stroke=\"#8a94a6\" stroke-width=\"0.3\" "
                                   "opacity=\"0.6\" />\n"),
                       x, kTop, kBottom);
        appendText(out, x, kBottom + 13.0, font(kInk, 9, "text-anchor=\"middle\""),
                   fmt::format("{:02d}:00", shown));
    }
    appendText(out, kRight + 4.0, kBottom + 13.0, font(kMutedInk, 8), "local time");
}

// A curve over the day; a sample that is no number breaks it.
template <typename Altitude>
void appendCurve(std::string& out, const DayLight& day, const Frame& frame, Altitude altitude,
                 std::string_view strokes) {
    std::string points;
    const auto flush = [&] {
        if (points.empty()) return;
        fmt::format_to(std::back_inserter(out), FMT_COMPILE("<polyline points=\"{}\" {} />\n"),
                       points, strokes);
        points.clear();
    };
    for (const LightSample& sample : day.curve) {
        const double a = altitude(sample);
        if (!std::isfinite(a)) {
            flush();
            continue;
        }
        if (!points.empty()) points += ' ';
        fmt::format_to(std::back_inserter(points), FMT_COMPILE("{:.1f},{:.1f}"), frame.x(sample.t),
                       Frame::y(a));
    }
    flush();
}

void appendCurves(std::string& out, const DayLight& day, const Frame& frame) {
    const auto moon = [](const LightSample& s) { return s.moonAltitude; };
    const auto sun = [](const LightSample& s) { return s.sunAltitude; };
    // An outline keeps the pale curve readable on the pale day band.
    appendCurve(out, day, frame, moon,
                fmt::format("fill=\"none\" stroke=\"{}\" stroke-width=\"3\" "
                            "stroke-linejoin=\"round\"",
                            kMoonOutline));
    appendCurve(out, day, frame, moon,
                fmt::format("fill=\"none\" stroke=\"{}\" stroke-width=\"1.6\" "
                            "stroke-linejoin=\"round\"",
                            kMoonColor));
    appendCurve(out, day, frame, sun,
                fmt::format("fill=\"none\" stroke=\"{}\" stroke-width=\"2.2\" "
                            "stroke-linejoin=\"round\"",
                            kSunColor));
}

// A dashed line across the plot, a dot where the body stands, and the name with the local time:
// Nolomar's and the twilight's hang from the top, where the day band is pale, and Yael's stand
// on the bottom, in the night band.
void appendMarks(std::string& out, const DayLight& day, const Frame& frame) {
    for (const SkyEvent& event : day.events) {
        const Mark mark = markOf(event.kind);
        const char* color = kMarkColors.at(static_cast<std::size_t>(mark.group));
        const bool moonBody =
            mark.group == MarkGroup::moon || event.kind == EventKind::lunarEclipse;
        const double x = frame.x(event.t);
        fmt::format_to(std::back_inserter(out),
                       FMT_COMPILE("<line x1=\"{0:.1f}\" y1=\"{1:.1f}\" x2=\"{0:.1f}\" "
                                   "y2=\"{2:.1f}\" stroke=\"{3}\" stroke-width=\"0.8\" "
                                   "stroke-dasharray=\"3,2\" />\n"),
                       x, kTop, kBottom, color);
        const double altitude = moonBody ? moonAltitude(event.t, day.latitude, day.longitude)
                                         : sunAltitude(event.t, day.latitude, day.longitude);
        if (std::isfinite(altitude)) {
            fmt::format_to(std::back_inserter(out),
                           FMT_COMPILE("<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"2.5\" fill=\"{}\" "
                                       "stroke=\"white\" stroke-width=\"0.6\" />\n"),
                           x, Frame::y(altitude), color);
        }
        const std::string label =
            fmt::format("{} {}", mark.label, localTimeLabel(event.t, day.longitude));
        if (mark.group == MarkGroup::moon) {
            fmt::format_to(std::back_inserter(out),
                           FMT_COMPILE("<text transform=\"translate({:.1f},{:.1f}) rotate(-90)\" "
                                       "{}>"),
                           x - 2.5, kBottom - 4.0, font(kLightInk, 9));
        } else {
            fmt::format_to(
                std::back_inserter(out),
                FMT_COMPILE("<text transform=\"translate({:.1f},{:.1f}) rotate(90)\" "
                            "{}>"),
                x + 2.5, kTop + 4.0,
                font(kInk, 9, mark.group == MarkGroup::eclipse ? "font-weight=\"bold\"" : ""));
        }
        appendEscaped(out, label);
        out += "</text>\n";
    }
}

void appendRowCaption(std::string& out, double top, std::string_view caption) {
    appendText(out, kLeft - 3.0, top + kRowBaseline - 0.5, font(kInk, 8, "text-anchor=\"end\""),
               caption);
}

void appendMoonUp(std::string& out, const DayLight& day, const Frame& frame) {
    appendRowCaption(out, kMoonRowTop, "Yael up");
    appendRect(out, kLeft, kMoonRowTop, kRight - kLeft, kRowHeight,
               "fill=\"none\" stroke=\"#b0b0b8\" stroke-width=\"0.4\"");
    for (const MoonUp& up : day.moonUp) {
        const double from = frame.x(up.from);
        const double width = frame.x(up.to) - from;
        appendRect(out, from, kMoonRowTop, width, kRowHeight,
                   fmt::format("fill=\"{}\" stroke=\"{}\" stroke-width=\"0.6\"", kMoonUpFill,
                               kMoonUpStroke));
        const std::string lit = fmt::format("{} % lit", std::llround(up.illumination * 100.0));
        // Inside a bar wide enough for it, else just after it (or before, at the right edge).
        constexpr double kTextWidth = 44.0;
        std::string_view anchor = "middle";
        double x = from + width * 0.5;
        if (width < kTextWidth) {
            anchor = from + width + kTextWidth <= kRight ? "start" : "end";
            x = anchor == "start" ? from + width + 2.0 : from - 2.0;
        }
        appendText(out, x, kMoonRowTop + kRowBaseline,
                   font("#2a2050", 9, fmt::format("text-anchor=\"{}\"", anchor)), lit);
    }
}

void appendLightStrip(std::string& out, const DayLight& day, const Frame& frame) {
    appendRowCaption(out, kStripTop, "Light");
    for (const LightSpan& span : day.levels) {
        const LevelStyle& style = kLevelStyles.at(static_cast<std::size_t>(span.level));
        const double from = frame.x(span.from);
        const double width = frame.x(span.to) - from;
        appendRect(out, from, kStripTop, width, kRowHeight, fmt::format("fill=\"{}\"", style.fill));
        if (width >= 36.0) {
            appendText(out, from + width * 0.5, kStripTop + kRowBaseline,
                       font(style.ink, 9, "text-anchor=\"middle\""), levelName(span.level));
        }
    }
    appendRect(out, kLeft, kStripTop, kRight - kLeft, kRowHeight,
               "fill=\"none\" stroke=\"#b0b0b8\" stroke-width=\"0.4\"");
}

struct LegendLine {
    const char* color;
    const char* width;
    bool dashed;
    const char* text;
    double advance;  // to the next entry
};

void appendLegendLine(std::string& out, double x, double y, const char* color, const char* width,
                      bool dashed) {
    fmt::format_to(std::back_inserter(out),
                   FMT_COMPILE("<line x1=\"{:.1f}\" y1=\"{:.1f}\" x2=\"{:.1f}\" y2=\"{:.1f}\" "
                               "stroke=\"{}\" stroke-width=\"{}\"{} />\n"),
                   x, y, x + 16.0, y, color, width, dashed ? " stroke-dasharray=\"3,2\"" : "");
}

void appendLegendBox(std::string& out, double x, double y, std::string_view fill,
                     std::string_view stroke) {
    appendRect(out, x, y - 7.5, 16.0, 9.0,
               fmt::format("fill=\"{}\" stroke=\"{}\" stroke-width=\"0.6\"", fill, stroke));
}

// Two rows: what the curves, the bar and the strip mean, then the colours of the marks.
void appendLegend(std::string& out) {
    constexpr double kFirst = 331.0;
    constexpr double kSecond = 348.0;
    const std::string ink = font(kInk, 9);
    double x = kLeft;
    const std::array<LegendLine, 2> curves = {{
        {kSunColor, "2.2", false, "Nolomar's altitude", 120.0},
        {kMoonColor, "1.6", false, "Yael's altitude", 110.0},
    }};
    for (const LegendLine& line : curves) {
        if (line.color == kMoonColor)
            appendLegendLine(out, x, kFirst - 3.0, kMoonOutline, "3", false);
        appendLegendLine(out, x, kFirst - 3.0, line.color, line.width, line.dashed);
        appendText(out, x + 20.0, kFirst, ink, line.text);
        x += line.advance;
    }
    appendLegendBox(out, x, kFirst, kMoonUpFill, kMoonUpStroke);
    appendText(out, x + 20.0, kFirst, ink, "Yael up, with her lit fraction");
    x += 180.0;
    for (const LightLevel level : {LightLevel::bright, LightLevel::dim, LightLevel::dark}) {
        appendLegendBox(out, x, kFirst, kLevelStyles.at(static_cast<std::size_t>(level)).fill,
                        "#b0b0b8");
        appendText(out, x + 20.0, kFirst, ink, levelName(level));
        x += level == LightLevel::bright ? 62.0 : 52.0;
    }
    x = kLeft;
    const std::array<LegendLine, 4> marks = {{
        {kMarkColors[0], "0.8", true, "Nolomar's events", 120.0},
        {kMarkColors[1], "0.8", true, "dawn and dusk", 110.0},
        {kMarkColors[2], "0.8", true, "Yael's events", 110.0},
        {kMarkColors[3], "0.8", true, "eclipse", 110.0},
    }};
    for (const LegendLine& line : marks) {
        appendLegendLine(out, x, kSecond - 3.0, line.color, line.width, line.dashed);
        appendText(out, x + 20.0, kSecond, ink, line.text);
        x += line.advance;
    }
}

void appendDayChart(std::string& out, const DayLight& day) {
    const Frame frame(day);
    out += "<rect x=\"0\" y=\"0\" width=\"720\" height=\"360\" fill=\"white\" />\n";
    appendHeader(out, day);
    appendBands(out);
    appendHourTicks(out, day, frame);
    appendCurves(out, day, frame);
    appendMarks(out, day, frame);
    appendMoonUp(out, day, frame);
    appendLightStrip(out, day, frame);
    appendLegend(out);
}

}  // namespace

std::string dayChartDocument(const DayLight& day) {
    return svg::document("0 0 720 360", svg::Links::none, std::size_t{24} * 1024,
                         [&](std::string& out) { appendDayChart(out, day); });
}

}  // namespace morvane
