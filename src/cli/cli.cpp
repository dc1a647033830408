#include "cli/cli.h"

#include <fmt/format.h>

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <functional>
#include <ios>
#include <map>
#include <ostream>
#include <set>

#include "catalogue/fixed_star.h"
#include "charts/horoscope_chart.h"
#include "charts/star_map.h"
#include "cli/almanac_command.h"
#include "cli/calendar_command.h"
#include "cli/events_command.h"
#include "cli/export_command.h"
#include "cli/light_command.h"
#include "cli/options.h"
#include "cli/places.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/json.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"
#include "events/almanac.h"
#include "events/light.h"
#include "events/sky_events.h"
#include "export/documents.h"
#include "model/calculation.h"
#include "model/inputs.h"
#include "morvane_version.h"
#include "reports/conjunction_table.h"
#include "reports/positions_text.h"
#include "reports/sun_moon_table.h"

namespace morvane::cli {

namespace {

constexpr const char* kProgram = "morvane-astro-cli";

const char* const kUsage =
    "Usage: morvane-astro-cli COMMAND [OPTIONS]\n"
    "       morvane-astro-cli --help | --version\n"
    "\n"
    "Commands:\n"
    "  positions [--json]    azimuth, altitude, ecliptic longitude and sign of every body\n"
    "  labels                the date label and the next full and new moon\n"
    "  sunmoon [--rows N] [--step D] [--monthly]\n"
    "                        sun and moon table (default 24 rows an hour apart;\n"
    "                        --monthly: 30 rows a day apart)\n"
    "  conjunctions [--rows N] [--step D] [--yearly]\n"
    "                        planet conjunction table (default 144 rows ten minutes apart;\n"
    "                        --yearly: 360 rows a day apart)\n"
    "  starmap               the star map as an SVG document\n"
    "  horoscope             the horoscope as an SVG document\n"
    "  catalogue [--json]    the fixed-star catalogue, one entry per line\n"
    "  places [--json]       the saved locations: name, latitude and longitude in degrees\n"
    "  export --out DIR [--pdf]\n"
    "                        writes the two SVG charts and the three text documents (and with\n"
    "                        --pdf the five PDF files) into DIR under their usual names\n"
    "  events [--days N] [--kinds LIST] [--json | --csv]\n"
    "                        the sky events from the moment over N days (default 30) at the\n"
    "                        place, in order: date, local time, kind, bodies, details\n"
    "  next KIND [--count N] [--previous] [--json | --csv]\n"
    "                        the next N events of one kind (default 1); --previous: the last N\n"
    "                        before the moment, the latest first. Fewer rows and a note on\n"
    "                        standard error when none is found within 9000 days\n"
    "  light [--step D] [--moon-altitude DEG] [--moon-lit F] [--json | --csv]\n"
    "                        the day's light from the moment at the place, a row every step\n"
    "                        (default 10m, 1m to 1d): Nolomar's altitude, twilight stage,\n"
    "                        Yael's altitude and lit fraction, light level; then the summary\n"
    "  subpoints [--json]    latitude and longitude where Nolomar and Yael stand at the zenith\n"
    "  calendar [--month | --year] [--format txt|svg|json]\n"
    "                        the month (default) or year of the moment at the place: each day's\n"
    "                        phase of Yael at the time given, sunrise and sunset, and its events\n"
    "  almanac --from Y-M-D --to Y-M-D [--kinds LIST] [--format txt|csv|json]\n"
    "                        the events of the days from --from to --to, both included, from\n"
    "                        00:00 OST, at the place, with counts per kind and per year\n"
    "\n"
    "Moment:\n"
    "  --date Y-M-D          world calendar date (default 720-01-01)\n"
    "  --time HH:MM          clock time (default 12:00)\n"
    "  --local-time          read --time as local solar time at the place\n"
    "  --t DAYS              the day count itself; overrides the three above\n"
    "Place:\n"
    "  --lat VALUE           latitude: 40.5N, 40.5S or signed degrees (default 40.5N)\n"
    "  --lon VALUE           longitude: 20.9W, 20.9E or signed degrees, east positive\n"
    "                        (default 20.9W)\n"
    "  --place NAME          a saved location (see places), instead of --lat and --lon\n"
    "Tables:\n"
    "  --rows N              number of rows, 0 to 1000000\n"
    "  --step D              days between rows: a decimal number, or with a unit: 10m, 1h, 1d\n"
    "Events:\n"
    "  --days N              days to search, above 0 and at most 360000; fractions allowed\n"
    "  --kinds LIST          kind names separated by commas (default: every kind)\n"
    "  --count N             events to find, 1 to 100000\n"
    "  --json, --csv         a JSON array of objects, or CSV with a header row\n"
    "Calendar and almanac:\n"
    "  --month, --year       the calendar of the month (default) or of the year\n"
    "  --from Y-M-D, --to Y-M-D\n"
    "                        the almanac's first and last day; its kinds default to the moon\n"
    "                        phases, eclipses, conjunctions, oppositions, ingresses,\n"
    "                        equinoxes and solstices\n"
    "  --format F            txt, svg or json for the calendar; txt, csv or json for the\n"
    "                        almanac (--json and --csv say the same)\n"
    "Light:\n"
    "  --moon-altitude DEG   Yael lights a dark sky above this altitude, -90 to 90 (default 0)\n"
    "  --moon-lit F          ... with at least this fraction of her disc lit, 0 to 1\n"
    "                        (default 0.5)\n"
    "Kinds: new-moon first-quarter full-moon last-quarter solar-eclipse lunar-eclipse\n"
    "       conjunction opposition sunrise sunset moonrise moonset noon midnight\n"
    "       civil-dawn civil-dusk nautical-dawn nautical-dusk astronomical-dawn\n"
    "       astronomical-dusk ingress equinox solstice\n";

/// Bad input: one line naming the option and what it accepts.
struct UsageError {
    std::string message;
};

struct Command {
    std::set<std::string, std::less<>> options;  // beside the moment and place options
    bool usesMoment = true;
    bool takesKind = false;  // one word without dashes: the event kind of "next"
    bool placeOnly = false;  // the place options but not the moment's: the almanac has its span
};

const std::map<std::string, Command, std::less<>> kCommands = {
    {"positions", {{"--json"}}},
    {"labels", {{}}},
    {"sunmoon", {{"--rows", "--step", "--monthly"}}},
    {"conjunctions", {{"--rows", "--step", "--yearly"}}},
    {"starmap", {{}}},
    {"horoscope", {{}}},
    {"catalogue", {{"--json"}, false}},
    {"places", {{"--json"}, false}},
    {"export", {{"--out", "--pdf"}}},
    {"events", {{"--days", "--kinds", "--json", "--csv"}}},
    {"next", {{"--count", "--previous", "--json", "--csv"}, true, true}},
    {"light", {{"--step", "--moon-altitude", "--moon-lit", "--json", "--csv"}}},
    {"subpoints", {{"--json"}}},
    {"calendar", {{"--month", "--year", "--format", "--json"}}},
    {"almanac", {{"--from", "--to", "--kinds", "--format", "--json", "--csv"}, true, false, true}},
};

const std::set<std::string, std::less<>> kMomentAndPlaceOptions = {
    "--date", "--time", "--local-time", "--t", "--lat", "--lon", "--place"};
const std::set<std::string, std::less<>> kMomentOptions = {"--date", "--time", "--local-time",
                                                           "--t"};
const std::set<std::string, std::less<>> kFlags = {"--local-time", "--json",  "--monthly",
                                                   "--yearly",     "--pdf",   "--csv",
                                                   "--previous",   "--month", "--year"};
const std::set<std::string, std::less<>> kValueOptions = {
    "--rows",          "--step",     "--out",    "--days", "--kinds", "--count",
    "--moon-altitude", "--moon-lit", "--format", "--from", "--to"};

// The model's hour for a clock time: the file name must read the same minutes back.
double hourOfClock(std::int64_t hours, std::int64_t minutes) {
    double hour = static_cast<double>(hours) + static_cast<double>(minutes) / 60.0;
    for (int step = 0; step < 8 && clockOfHour(hour).second < minutes; ++step) {
        hour = std::nextafter(hour, hour + 1.0);
    }
    return hour;
}

ClockTime clockTimeOf(double hour) {
    const auto [hours, minutes] = clockOfHour(hour);
    return {hours, minutes};
}

struct Invocation {
    std::string command;
    // The application's inputs as the options set them: what no option sets keeps the
    // application's default.
    Inputs inputs;
    // What inputs.selectedCityID is looked up in: the manual entry, and the --place location.
    QList<CityPreset> cities{CityPreset::manual()};
    // The clock time of inputs.hour as typed: the day count takes whole hours and minutes, so
    // that 01:01 stays 01:01.
    ClockTime time = clockTimeOf(inputs.hour);
    std::optional<double> dayCount;
    double latitude = 0.0;   // radians, north positive: the place looked up once all is read
    double longitude = 0.0;  // radians, east positive
    bool json = false;
    std::optional<QString> place;
    std::optional<QString> outFolder;
    bool pdf = false;
    std::optional<std::int64_t> rows;
    std::optional<double> step;
    std::string stepText;  // as typed, for the light command's own bounds
    bool monthly = false;
    bool yearly = false;
    bool csv = false;
    double days = 30.0;
    std::vector<EventKind> kinds{kAllEventKinds.begin(), kAllEventKinds.end()};
    std::optional<EventKind> kind;
    std::int64_t count = 1;
    bool previous = false;
    MoonlightThresholds thresholds;
    std::optional<std::string> format;  // as --format, --json or --csv chose it: "txt", "csv", …
    bool year = false;                  // the calendar of the year rather than the month
    std::optional<Date> from;
    std::optional<Date> to;
};

template <typename T>
T require(std::optional<T> value, std::string_view option, std::string_view text,
          const char* accepts) {
    if (!value) {
        throw UsageError{
            fmt::format("{}: expected {}, got \"{}\"", option, accepts, printable(text))};
    }
    return *value;
}

void applyOption(Invocation& call, std::string_view name, std::string_view value) {
    if (name == "--date") {
        const Date date = require(parseDate(value), name, value,
                                  "Y-M-D with year 1 to 1000000, month 1 to 12, day 1 to 30");
        call.inputs.year = date.year;
        call.inputs.monthIndex = date.month - 1;
        call.inputs.dayIndex = date.day - 1;
    } else if (name == "--time") {
        call.time = require(parseTime(value), name, value, "HH:MM with HH 0 to 23, MM 0 to 59");
        call.inputs.hour = hourOfClock(call.time.hours, call.time.minutes);
    } else if (name == "--t") {
        call.dayCount = require(parseDayCount(value), name, value,
                                "a finite decimal number of days, at most 1e9 in size");
    } else if (name == "--lat") {
        const TypedAngle angle =
            require(parseLatitudeAngle(value), name, value,
                    "degrees up to 90 as 40.5N, 40.5S or signed (-40.5 is south)");
        call.inputs.manualLatDeg = angle.magnitudeDeg;
        call.inputs.latNorth = !angle.negative;
    } else if (name == "--lon") {
        const TypedAngle angle =
            require(parseLongitudeAngle(value), name, value,
                    "degrees up to 180 as 20.9W, 20.9E or signed (east positive)");
        call.inputs.manualLongDeg = angle.magnitudeDeg;
        call.inputs.longWest = angle.negative;
    } else if (name == "--out") {
        call.outFolder = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    } else if (name == "--pdf") {
        call.pdf = true;
    } else if (name == "--place") {
        call.place = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    } else if (name == "--rows") {
        call.rows = require(parseRows(value), name, value, "a whole number from 0 to 1000000");
    } else if (name == "--step") {
        call.step = require(parseStep(value), name, value,
                            "days as a decimal number, or a number with a unit: 10m, 1h, 1d");
        call.stepText = value;
    } else if (name == "--local-time") {
        call.inputs.useLocalTime = true;
    } else if (name == "--json") {
        call.json = true;
    } else if (name == "--monthly") {
        call.monthly = true;
    } else if (name == "--yearly") {
        call.yearly = true;
    } else if (name == "--csv") {
        call.csv = true;
    } else if (name == "--previous") {
        call.previous = true;
    } else if (name == "--days") {
        call.days =
            require(parseDays(value), name, value, "a number of days above 0 and at most 360000");
    } else if (name == "--count") {
        call.count = require(parseCount(value), name, value, "a whole number from 1 to 100000");
    } else if (name == "--moon-altitude") {
        call.thresholds.minAltitude = degreesToRadians(
            require(parseDecimalIn(value, -90.0, 90.0), name, value, "degrees from -90 to 90"));
    } else if (name == "--moon-lit") {
        call.thresholds.minIllumination =
            require(parseDecimalIn(value, 0.0, 1.0), name, value, "a fraction from 0 to 1");
    } else if (name == "--month") {
        call.year = false;
    } else if (name == "--year") {
        call.year = true;
    } else if (name == "--from" || name == "--to") {
        const Date date = require(parseDate(value), name, value,
                                  "Y-M-D with year 1 to 1000000, month 1 to 12, day 1 to 30");
        (name == "--from" ? call.from : call.to) = date;
    } else if (name == "--format") {
        const bool calendar = call.command == "calendar";
        if (value != "txt" && value != "json" && value != (calendar ? "svg" : "csv")) {
            throw UsageError{fmt::format("--format: expected {}, got \"{}\"",
                                         calendar ? "txt, svg or json" : "txt, csv or json",
                                         printable(value))};
        }
        call.format = std::string(value);
    } else if (name == "--kinds") {
        KindList list = parseKindList(value);
        if (list.unknown) {
            throw UsageError{fmt::format("--kinds: expected kinds from {}; got \"{}\"",
                                         kindNameList(), printable(*list.unknown))};
        }
        call.kinds = std::move(list.kinds);
    }
}

void applyKind(Invocation& call, std::string_view text) {
    if (call.kind) {
        throw UsageError{
            fmt::format("{}: takes one KIND; \"{}\" is a second", call.command, printable(text))};
    }
    call.kind = parseKind(text);
    if (!call.kind) {
        throw UsageError{fmt::format("{} KIND: expected one of {}; got \"{}\"", call.command,
                                     kindNameList(), printable(text))};
    }
}

void applyPlace(Invocation& call) {
    const QList<CityPreset> places = savedPlaces();
    if (const auto place = findPlace(places, *call.place)) {
        call.inputs.selectedCityID = place->id;
        call.cities.append(*place);
        return;
    }
    const std::string typed = printable(call.place->toStdString());
    if (const auto closest = closestPlaceName(places, *call.place)) {
        throw UsageError{
            fmt::format("--place: no saved location is named \"{}\"; did you mean "
                        "\"{}\"? (the places command lists them)",
                        typed, printable(closest->toStdString()))};
    }
    throw UsageError{
        fmt::format("--place: no saved location is named \"{}\" (the places command "
                    "lists them)",
                    typed)};
}

// The folder must exist (it is made when missing) and take files before anything is computed.
void checkOutFolder(const Invocation& call) {
    if (!call.outFolder || call.outFolder->isEmpty()) {
        throw UsageError{"export: --out DIR is required: the folder to write the files into"};
    }
    const QString& folder = *call.outFolder;
    const std::string shown = printable(folder.toStdString());
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        throw UsageError{
            fmt::format("--out: cannot make the folder \"{}\"; expected a writable "
                        "folder",
                        shown)};
    }
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) {
        throw UsageError{fmt::format("--out: \"{}\" is not a writable folder", shown)};
    }
}

std::int64_t dayNumberOf(const Date& date) {
    return (date.year - 1) * 360 + (date.month - 1) * 30 + (date.day - 1);
}

std::string dateText(const Date& date) {
    return fmt::format("{:03d}-{:02d}-{:02d}", date.year, date.month, date.day);
}

// --json and --csv are short for --format json and csv; the almanac needs its span, and lists
// the almanac's kinds unless told otherwise.
void checkCalendarAndAlmanac(Invocation& call, const std::set<std::string, std::less<>>& seen) {
    if (call.format && (call.json || call.csv)) {
        throw UsageError{fmt::format("{}: leave out --format; one format at a time",
                                     call.json ? "--json" : "--csv")};
    }
    if (call.json) call.format = "json";
    if (call.csv) call.format = "csv";
    if (seen.contains("--month") && seen.contains("--year")) {
        throw UsageError{"--year: leave out --month; one calendar at a time"};
    }
    if (call.command != "almanac") return;
    if (!call.from || !call.to) {
        throw UsageError{fmt::format("almanac: {} is required: the {} day of the span, as Y-M-D",
                                     call.from ? "--to" : "--from", call.from ? "last" : "first")};
    }
    if (dayNumberOf(*call.to) < dayNumberOf(*call.from)) {
        throw UsageError{
            fmt::format("--to: {} comes before --from {}; expected that day or a later one",
                        dateText(*call.to), dateText(*call.from))};
    }
    if (!seen.contains("--kinds")) call.kinds = defaultAlmanacKinds();
}

Invocation parse(const std::vector<std::string>& args) {
    Invocation call;
    call.command = args.front();
    const auto command = kCommands.find(call.command);
    if (command == kCommands.end()) {
        throw UsageError{
            fmt::format("unknown command \"{}\"; expected positions, labels, sunmoon, "
                        "conjunctions, starmap, horoscope, catalogue, places, export, events, "
                        "next, light, subpoints, calendar or almanac",
                        printable(call.command))};
    }
    std::set<std::string, std::less<>> seen;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        if (command->second.takesKind && !name.starts_with("-")) {
            applyKind(call, name);
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const bool known = kMomentAndPlaceOptions.contains(name) || kFlags.contains(name) ||
                           kValueOptions.contains(name);
        if (!known) {
            throw UsageError{fmt::format("unknown option \"{}\" (see --help)", printable(name))};
        }
        const bool applies = command->second.options.contains(name) ||
                             (command->second.usesMoment && kMomentAndPlaceOptions.contains(name));
        if (!applies) {
            throw UsageError{
                fmt::format("{}: not an option of the {} command", name, call.command)};
        }
        if (command->second.placeOnly && kMomentOptions.contains(name)) {
            throw UsageError{
                fmt::format("{}: not an option of the {} command; --from and --to give its days",
                            name, call.command)};
        }
        if (!seen.insert(name).second) {
            throw UsageError{fmt::format("{}: given more than once", name)};
        }
        std::string value;
        if (kFlags.contains(name)) {
            if (inlineValue) throw UsageError{fmt::format("{}: takes no value", name)};
        } else if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError{fmt::format("{}: missing its value", name)};
        }
        applyOption(call, name, value);
    }
    if (call.place && (seen.contains("--lat") || seen.contains("--lon"))) {
        throw UsageError{"--place: names a saved location; leave out --lat and --lon"};
    }
    if (call.place) applyPlace(call);
    const SelectedPlace where = call.inputs.place(call.cities);
    call.latitude = where.latitude;
    call.longitude = where.longitude;
    if (call.command == "export") checkOutFolder(call);
    if (command->second.takesKind && !call.kind) {
        throw UsageError{fmt::format("{}: missing KIND, one of {}", call.command, kindNameList())};
    }
    if (call.json && call.csv) throw UsageError{"--csv: leave out --json; one format at a time"};
    if (call.command == "calendar" || call.command == "almanac")
        checkCalendarAndAlmanac(call, seen);
    // A finer step only repeats what the minute samples of the day's curve already show, and
    // a coarser one leaves the day after the first row.
    if (call.command == "light" && call.step &&
        !(*call.step >= kMinLightStep && *call.step <= kMaxLightStep)) {
        throw UsageError{fmt::format("--step: expected 1m to 1d for the light table, got \"{}\"",
                                     printable(call.stepText))};
    }
    if ((call.monthly || call.yearly) && (call.rows || call.step)) {
        throw UsageError{fmt::format("{}: sets its own rows and step; leave out --rows and --step",
                                     call.monthly ? "--monthly" : "--yearly")};
    }
    return call;
}

double momentOf(const Invocation& call) {
    if (call.dayCount) return *call.dayCount;
    const Inputs& in = call.inputs;
    const double base =
        dayCount(in.year, in.monthIndex, in.dayIndex, call.time.hours, call.time.minutes);
    if (!in.useLocalTime) return base;
    const double hour =
        static_cast<double>(call.time.hours) + static_cast<double>(call.time.minutes) / 60.0;
    return localDayCount(base, hour, call.longitude);
}

struct TableShape {
    std::int64_t rows;
    double step;
};

// A table may not run past the day counts the engine can label and search.
TableShape tableShape(const Invocation& call, double start, TableShape standard,
                      TableShape periodic, bool usePeriodic) {
    TableShape shape = usePeriodic ? periodic : standard;
    if (call.rows) shape.rows = *call.rows;
    if (call.step) shape.step = *call.step;
    const double last = start + static_cast<double>(shape.rows) * shape.step;
    if (!(std::fabs(last) <= kMaxDayCount)) {
        throw UsageError{
            fmt::format("--step: {} rows of {} days from day {} would run past day "
                        "count 1e9",
                        shape.rows, shape.step, start)};
    }
    return shape;
}

std::string positionsOutput(const Invocation& call) {
    const auto rows = positionsList(momentOf(call), call.latitude, call.longitude);
    if (!call.json) return positionsText(rows);
    std::vector<JsonObject> objects;
    for (const BodyPosition& row : rows) {
        objects.emplace_back()
            .field("name", row.name)
            .field("bodyType", row.bodyType)
            .field("azimuth", row.azimuth)
            .field("altitude", row.altitude)
            .field("ecLong", row.ecLong)
            .field("sign", row.sign)
            .field("azimuthDeg", row.azimuthRadians * kDegreesPerRadian)
            .field("altitudeDeg", row.altitudeRadians * kDegreesPerRadian)
            .field("ecLongDeg", row.ecLongRadians * kDegreesPerRadian);
    }
    return jsonArray(objects);
}

std::string labelsOutput(const Invocation& call) {
    const double t = momentOf(call);
    return "Date: " + dateLabel(t) +
           "\nNext full moon: " + dateLabelWithLocalTime(nextMoonPhase(t, kPi), call.longitude) +
           "\nNext new moon: " + dateLabelWithLocalTime(nextMoonPhase(t, 0.0), call.longitude) +
           "\n";
}

std::string catalogueOutput(const Invocation& call) {
    const auto& stars = FixedStar::catalogue();
    if (!call.json) {
        std::string text;
        // Shortest text that reads back to the same double.
        for (const FixedStar& star : stars) {
            text +=
                fmt::format("{}\t{}\t{}\t{}\t{}\t{}\t{}\n", star.name, star.eq.phi, star.eq.theta,
                            star.ec.phi, star.ec.theta, star.magnitude, star.color);
        }
        return text;
    }
    std::vector<JsonObject> objects;
    for (const FixedStar& star : stars) {
        objects.emplace_back()
            .field("name", star.name)
            .field("eqPhi", star.eq.phi)
            .field("eqTheta", star.eq.theta)
            .field("ecPhi", star.ec.phi)
            .field("ecTheta", star.ec.theta)
            .field("magnitude", star.magnitude)
            .field("color", star.color);
    }
    return jsonArray(objects);
}

ExportContext exportContextOf(const Invocation& call) {
    const double t = momentOf(call);
    // The export command keeps to its five outputs, whose file set scripts rely on; the events
    // command lists what the Events output shows.
    ExportContext c{
        call.inputs, call.cities, calculateOutputs(t, call.latitude, call.longitude), {}, {}};
    if (call.dayCount) {  // the file is named from the calendar moment of the day count
        const CalendarFields f = calendarFields(t);
        c.year = f.year;
        c.monthIndex = f.month - 1;
        c.dayIndex = f.day - 1;
        c.hour = hourOfClock(f.hour, f.minute);
    }
    return c;
}

std::string placesOutput(const Invocation& call) {
    const QList<CityPreset> places = savedPlaces();
    if (!call.json) {
        std::string text;
        for (const CityPreset& place : places) {
            text += fmt::format("{}\t{}\t{}\n", place.name.toStdString(),
                                readableDegrees(place.latitude), readableDegrees(place.longitude));
        }
        return text;
    }
    std::vector<JsonObject> objects;
    for (const CityPreset& place : places) {
        objects.emplace_back()
            .field("name", place.name.toStdString())
            .field("id", canonicalUuid(place.id).toStdString())
            .number("latitudeDeg", readableDegrees(place.latitude))
            .number("longitudeDeg", readableDegrees(place.longitude));
    }
    return jsonArray(objects);
}

EventFormat eventFormat(const Invocation& call) {
    if (call.json) return EventFormat::json;
    return call.csv ? EventFormat::csv : EventFormat::text;
}

// The span is checked before anything is written: the searches stop at the day counts the
// engine can label.
double eventSpanEnd(const Invocation& call, double start) {
    const double end = start + call.days;
    if (!(std::fabs(end) <= kMaxDayCount)) {
        throw UsageError{fmt::format("--days: {} days from day {} would run past day count 1e9",
                                     call.days, start)};
    }
    return end;
}

void writeEvents(const Invocation& call, std::ostream& out) {
    const double start = momentOf(call);
    const double end = eventSpanEnd(call, start);
    EventWriter writer(out, eventFormat(call), call.longitude);
    EventFinder(call.latitude, call.longitude)
        .between(call.kinds, start, end, [&writer](const SkyEvent& event) { writer.add(event); });
    writer.finish();
}

// Each search starts from the event before, so that N events cost N searches. Fewer than N is
// no error: the rows found are written and a note on standard error says why they stop.
void writeNextEvents(const Invocation& call, std::ostream& out, std::ostream& err) {
    const EventFinder finder(call.latitude, call.longitude);
    EventWriter writer(out, eventFormat(call), call.longitude);
    double t = momentOf(call);
    std::optional<std::string> stop;
    while (writer.count() < call.count) {
        const auto event =
            call.previous ? finder.previous(*call.kind, t) : finder.next(*call.kind, t);
        if (!event) {
            stop = fmt::format("no {} {} within {} days {} {}", call.previous ? "earlier" : "later",
                               kindName(*call.kind), kSearchHorizonDays,
                               call.previous ? "before" : "after", dateLabel(t));
            break;
        }
        if (!(std::fabs(event->t) <= kMaxDayCount)) {
            stop = fmt::format("no {} {} within day counts -1e9 to 1e9",
                               call.previous ? "earlier" : "later", kindName(*call.kind));
            break;
        }
        writer.add(*event);
        t = event->t;
    }
    writer.finish();
    if (stop) {
        err << kProgram << ": " << call.command << ": " << writer.count() << " of " << call.count
            << " found; " << *stop << '\n';
    }
}

// The month or year of the moment: the typed date on the typed clock, or the calendar date of
// --t on the reference clock.
CalendarRequest calendarRequestOf(const Invocation& call) {
    CalendarRequest r;
    if (call.dayCount) {
        const CalendarFields f = calendarFields(*call.dayCount);
        r.year = f.year;
        r.monthIndex = static_cast<int>(f.month - 1);
        r.dayIndex = static_cast<int>(f.day - 1);
        r.hour = hourOfClock(f.hour, f.minute);
    } else {
        const Inputs& in = call.inputs;
        r.year = in.year;
        r.monthIndex = static_cast<int>(in.monthIndex);
        r.dayIndex = static_cast<int>(in.dayIndex);
        r.hour = in.hour;
        if (in.useLocalTime) {
            // The hour of the local clock as the moment itself refines it.
            r.clock = CalendarClock::local;
            r.hour = static_cast<double>(call.time.hours) +
                     static_cast<double>(call.time.minutes) / 60.0;
        }
    }
    r.wholeYear = call.year;
    // The last day on the local clock may end up to half a day after the reference one.
    const double end = dayCount(r.year, r.wholeYear ? 0 : r.monthIndex, 0, 0.0) +
                       (r.wholeYear ? 360.0 : 30.0) + 1.0;
    const bool beforeYearOne = call.dayCount && !(*call.dayCount >= dayCount(1, 0, 0, 0.0));
    if (beforeYearOne || !(end <= kMaxDayCount)) {
        throw UsageError{fmt::format(
            "--t: expected a day count from -0.5 (the first day of year 1) whose {} ends by day "
            "count 1e9, got {}",
            r.wholeYear ? "year" : "month", call.dayCount.value_or(0.0))};
    }
    r.latitude = call.latitude;
    r.longitude = call.longitude;
    r.place = call.inputs.placeLabel(call.cities, " ").toStdString();
    const std::string format = call.format.value_or("txt");
    r.format = format == "json"  ? CalendarFormat::json
               : format == "svg" ? CalendarFormat::svg
                                 : CalendarFormat::text;
    return r;
}

AlmanacRequest almanacRequestOf(const Invocation& call) {
    AlmanacRequest r;
    r.first = {call.from->year, call.from->month, call.from->day};
    r.last = {call.to->year, call.to->month, call.to->day};
    r.kinds = call.kinds;
    const std::string format = call.format.value_or("txt");
    r.format = format == "json"  ? AlmanacFormat::json
               : format == "csv" ? AlmanacFormat::csv
                                 : AlmanacFormat::text;
    r.latitude = call.latitude;
    r.longitude = call.longitude;
    r.place = call.inputs.placeLabel(call.cities, " ").toStdString();
    return r;
}

std::string output(const Invocation& call) {
    if (call.command == "calendar") return calendarOutput(calendarRequestOf(call));
    if (call.command == "places") return placesOutput(call);
    if (call.command == "positions") return positionsOutput(call);
    if (call.command == "labels") return labelsOutput(call);
    if (call.command == "catalogue") return catalogueOutput(call);
    const double t = momentOf(call);
    if (call.command == "sunmoon") {
        const TableShape shape = tableShape(call, t, {24, 1.0 / 24.0}, {30, 1.0}, call.monthly);
        return sunMoonTable(shape.rows, t, shape.step, call.latitude);
    }
    if (call.command == "conjunctions") {
        const TableShape shape = tableShape(call, t, {144, 1.0 / 144.0}, {360, 1.0}, call.yearly);
        return conjunctionTable(shape.rows, t, shape.step);
    }
    if (call.command == "starmap") return starMapDocument(t, call.latitude, call.longitude);
    if (call.command == "subpoints") return subpointsOutput(t, call.json);
    if (call.command == "light") {
        if (!(t + 1.0 <= kMaxDayCount)) {
            throw UsageError{
                fmt::format("--t: the day from day {} would run past day count 1e9", t)};
        }
        return lightOutput(dayLight(t, call.latitude, call.longitude, call.thresholds),
                           call.step.value_or(kDefaultLightStep), eventFormat(call));
    }
    return horoscopeDocument(t, call.latitude, call.longitude);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kProgram << ": missing command (see --help)\n";
        return kExitUsage;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return out.flush() ? kExitOk : kExitWriteFailure;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << kProgram << ' ' << kVersion << " (build " << kBuildNumber << ")\n";
        return out.flush() ? kExitOk : kExitWriteFailure;
    }

    // Everything is checked, and every output but the export's files built, before anything
    // is written, so that bad input leaves standard output empty.
    std::string text;
    try {
        const Invocation call = parse(args);
        if (call.command == "export") {
            return exportAll(exportContextOf(call), *call.outFolder, call.pdf, out, err);
        }
        // The almanac streams too: a century of daily sunrises and sunsets is 72,000 rows.
        if (call.command == "almanac") {
            try {
                writeAlmanac(almanacRequestOf(call), out);
            } catch (const std::ios_base::failure&) {
                err << kProgram << ": cannot write to standard output\n";
                return kExitWriteFailure;
            }
            return kExitOk;
        }
        // Events are written as they are found: a thousand years of every kind would take
        // hundreds of megabytes held at once.
        if (call.command == "events" || call.command == "next") {
            try {
                if (call.command == "events") writeEvents(call, out);
                if (call.command == "next") writeNextEvents(call, out, err);
            } catch (const WriteFailure&) {
                err << kProgram << ": cannot write to standard output\n";
                return kExitWriteFailure;
            }
            return kExitOk;
        }
        text = output(call);
    } catch (const UsageError& error) {
        err << kProgram << ": " << error.message << '\n';
        return kExitUsage;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) {
        err << kProgram << ": cannot write to standard output\n";
        return kExitWriteFailure;
    }
    return kExitOk;
}

}  // namespace morvane::cli
