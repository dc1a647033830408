#include "events/light_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/text.h"
#include "events/event_table.h"

namespace morvane {

namespace {

// Widths of the light table's columns in characters: the date label of years 1 to 999, "HH:MM",
// the header "Nolomar", the longest stage ("astronomical"), an altitude "-89:59" under "Yael",
// and a fraction "0.500".
constexpr std::size_t kDateWidth = 19;
constexpr std::size_t kLocalWidth = 5;
constexpr std::size_t kSunWidth = 7;
constexpr std::size_t kStageWidth = 12;
constexpr std::size_t kMoonWidth = 6;
constexpr std::size_t kLitWidth = 5;
constexpr std::string_view kGap = "  ";

std::string tableLine(std::string_view date, std::string_view local, std::string_view sun,
                      std::string_view stage, std::string_view moon, std::string_view lit,
                      std::string_view level) {
    std::string line;
    appendPadded(line, date, kDateWidth);
    line += kGap;
    appendPadded(line, local, kLocalWidth);
    line += kGap;
    appendRightAligned(line, sun, kSunWidth);
    line += kGap;
    appendPadded(line, stage, kStageWidth);
    line += kGap;
    appendRightAligned(line, moon, kMoonWidth);
    line += kGap;
    appendRightAligned(line, lit, kLitWidth);
    line += kGap;
    line += level;
    line += '\n';
    return line;
}

std::string momentText(double t, double longitude) {
    return fmt::format("{} ({})", localTimeLabel(t, longitude), dateLabel(t));
}

std::string durationText(double days) {
    const long long minutes = std::llround(days * 1440.0);
    return fmt::format("{} h {} min", minutes / 60, minutes % 60);
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += ", ";
        text += part;
    }
    return text;
}

std::string momentsText(const std::vector<double>& moments, double longitude) {
    std::vector<std::string> parts;
    parts.reserve(moments.size());
    for (const double t : moments) parts.push_back(momentText(t, longitude));
    return joined(parts);
}

// Why a dawn, a dusk, a sunrise or a sunset is missing. `below` is the first stage under the
// altitude the event crosses: a day that never reaches it, or never leaves it, has no crossing;
// otherwise the crossing of the other sense lies in the day and this one just outside it.
std::string missingSunEvent(const DaySummary& s, TwilightStage below, std::string_view altitude) {
    const bool sunrise = below == TwilightStage::civil;
    if (s.darkestStage < below) {
        if (sunrise) return "none: polar day, Nolomar stays above the horizon";
        return fmt::format("none: Nolomar stays above {} all {}", altitude,
                           s.course == SunCourse::polarDay ? "day" : "night");
    }
    if (s.lightestStage >= below) {
        if (sunrise) return "none: polar night, Nolomar stays below the horizon";
        return fmt::format("none: Nolomar stays below {} all day", altitude);
    }
    return "none within the day";
}

std::string sunEventText(const DaySummary& s, const std::vector<double>& moments, double longitude,
                         TwilightStage below, std::string_view altitude) {
    if (moments.empty()) return missingSunEvent(s, below, altitude);
    return momentsText(moments, longitude);
}

std::string moonEventText(const DayLight& day, const std::vector<double>& moments) {
    if (!moments.empty()) return momentsText(moments, day.longitude);
    const DaySummary& s = day.summary;
    if (s.moonrises.empty() && s.moonsets.empty()) {
        return day.moonUp.empty() ? "none: Yael stays below the horizon all day"
                                  : "none: Yael stays above the horizon all day";
    }
    return "none within the day";
}

std::string noonText(const DayLight& day) {
    std::vector<std::string> parts;
    for (const SkyEvent& event : day.events) {
        if (event.kind != EventKind::noon) continue;
        parts.push_back(fmt::format("{}, altitude {}", momentText(event.t, day.longitude),
                                    degreesMinutesText(event.sunAltitude)));
    }
    return parts.empty() ? "none within the day" : joined(parts);
}

std::string darkestText(const DayLight& day) {
    const auto& darkest = day.summary.darkest;
    if (!darkest) return "none: no darkness, Nolomar stays above the horizon all day";
    return fmt::format("{} – {} ({}), {}, Yael {}", localTimeLabel(darkest->from, day.longitude),
                       localTimeLabel(darkest->to, day.longitude),
                       durationText(darkest->to - darkest->from), stageWords(darkest->stage),
                       darkest->moonUp ? "up" : "down");
}

std::string illuminationText(const DaySummary& s) {
    std::string_view trend = "steady";
    if (s.illuminationEnd > s.illuminationStart) trend = "waxing";
    if (s.illuminationEnd < s.illuminationStart) trend = "waning";
    return fmt::format("{:.1f}% to {:.1f}%, {}", s.illuminationStart * 100.0,
                       s.illuminationEnd * 100.0, trend);
}

}  // namespace

std::vector<SummaryFact> daySummaryFacts(const DayLight& day) {
    const DaySummary& s = day.summary;
    const double lon = day.longitude;
    std::vector<SummaryFact> facts = {
        {"Astronomical dawn",
         sunEventText(s, s.astronomicalDawns, lon, TwilightStage::night, "−18°")},
        {"Nautical dawn",
         sunEventText(s, s.nauticalDawns, lon, TwilightStage::astronomical, "−12°")},
        {"Civil dawn", sunEventText(s, s.civilDawns, lon, TwilightStage::nautical, "−6°")},
        {"Sunrise", sunEventText(s, s.sunrises, lon, TwilightStage::civil, "0°")},
        {"Noon", noonText(day)},
        {"Sunset", sunEventText(s, s.sunsets, lon, TwilightStage::civil, "0°")},
        {"Civil dusk", sunEventText(s, s.civilDusks, lon, TwilightStage::nautical, "−6°")},
        {"Nautical dusk",
         sunEventText(s, s.nauticalDusks, lon, TwilightStage::astronomical, "−12°")},
        {"Astronomical dusk",
         sunEventText(s, s.astronomicalDusks, lon, TwilightStage::night, "−18°")},
        {"Day length", durationText(s.dayLength)},
        {"Moonrise", moonEventText(day, s.moonrises)},
        {"Moonset", moonEventText(day, s.moonsets)},
        {"Yael lit", illuminationText(s)},
        {"Darkest", darkestText(day)},
    };
    for (const SkyEvent& eclipse : s.eclipses) {
        facts.push_back(
            {eclipse.kind == EventKind::solarEclipse ? "Solar eclipse" : "Lunar eclipse",
             fmt::format("{}, {}", momentText(eclipse.t, lon), eventDetails(eclipse))});
    }
    return facts;
}

std::string daySummaryText(const DayLight& day) {
    const std::vector<SummaryFact> facts = daySummaryFacts(day);
    std::size_t width = 0;
    for (const SummaryFact& fact : facts) width = std::max(width, characterCount(fact.label));
    std::string text;
    for (const SummaryFact& fact : facts) {
        text += fact.label;
        text += ':';
        text.append(width - characterCount(fact.label) + 1, ' ');
        text += fact.value;
        text += '\n';
    }
    return text;
}

std::vector<LightSample> lightRows(const DayLight& day, double step) {
    std::vector<LightSample> rows;
    if (!(step > 0.0)) return rows;
    // Each moment from its index, not from a running sum, so that no row drifts.
    for (long long k = 0;; ++k) {
        const double t = day.start + static_cast<double>(k) * step;
        if (!(t < day.end)) break;
        rows.push_back(lightAt(t, day.latitude, day.longitude, day.thresholds));
    }
    return rows;
}

std::string lightTableHeader() {
    return tableLine("Date", "Local", "Nolomar", "Stage", "Yael", "Lit", "Level");
}

std::string lightTableRow(const LightSample& sample, double longitude) {
    return tableLine(dateLabel(sample.t), localTimeLabel(sample.t, longitude),
                     degreesMinutesText(sample.sunAltitude), stageName(sample.stage),
                     degreesMinutesText(sample.moonAltitude),
                     fmt::format("{:.3f}", sample.illumination), levelName(sample.level));
}

}  // namespace morvane
