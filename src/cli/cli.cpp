#include "cli/cli.h"

#include <fmt/format.h>

#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include "catalogue/fixed_star.h"
#include "cli/json.h"
#include "cli/options.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"
#include "morvane_version.h"
#include "reports/positions_text.h"

namespace morvane::cli {

namespace {

constexpr const char* kProgram = "morvane-astro-cli";

const char* const kUsage =
    "Usage: morvane-astro-cli COMMAND [OPTIONS]\n"
    "       morvane-astro-cli --help | --version\n"
    "\n"
    "Commands:\n"
    "  positions [--json]   azimuth, altitude, ecliptic longitude and sign of every body\n"
    "  labels               the date label and the next full and new moon\n"
    "  catalogue [--json]   the fixed-star catalogue, one entry per line\n"
    "\n"
    "Moment:\n"
    "  --date Y-M-D         world calendar date (default 720-01-01)\n"
    "  --time HH:MM         clock time (default 12:00)\n"
    "  --local-time         read --time as local solar time at the place\n"
    "  --t DAYS             the day count itself; overrides the three above\n"
    "Place:\n"
    "  --lat VALUE          latitude: 40.5N, 40.5S or signed degrees (default 40.5N)\n"
    "  --lon VALUE          longitude: 20.9W, 20.9E or signed degrees, east positive\n"
    "                       (default 20.9W)\n";

/// Bad input: one line naming the option and what it accepts.
struct UsageError {
    std::string message;
};

enum class OptionKind { moment, place, output };

struct OptionSpec {
    bool takesValue;
    OptionKind kind;
};

const std::map<std::string, OptionSpec, std::less<>> kOptions = {
    {"--date", {true, OptionKind::moment}},     {"--time", {true, OptionKind::moment}},
    {"--local-time", {false, OptionKind::moment}}, {"--t", {true, OptionKind::moment}},
    {"--lat", {true, OptionKind::place}},       {"--lon", {true, OptionKind::place}},
    {"--json", {false, OptionKind::output}},
};

struct Command {
    bool usesMoment;
    bool usesPlace;
    bool acceptsJson;
};

const std::map<std::string, Command, std::less<>> kCommands = {
    {"positions", {true, true, true}},
    {"labels", {true, true, false}},
    {"catalogue", {false, false, true}},
};

struct Invocation {
    std::string command;
    Date date;
    ClockTime time;
    bool localTime = false;
    std::optional<double> dayCount;
    double latitude = degreesToRadians(40.5);
    double longitude = -degreesToRadians(20.9);
    bool json = false;
};

template <typename T>
T require(std::optional<T> value, const std::string& option, std::string_view text,
          const char* accepts) {
    if (!value) {
        throw UsageError{fmt::format("{}: expected {}, got \"{}\"", option, accepts,
                                     printable(text))};
    }
    return *value;
}

Invocation parse(const std::vector<std::string>& args) {
    Invocation call;
    call.command = args.front();
    const auto command = kCommands.find(call.command);
    if (command == kCommands.end()) {
        throw UsageError{fmt::format("unknown command \"{}\"; expected one of positions, labels, "
                                     "catalogue (see --help)",
                                     printable(call.command))};
    }
    std::set<std::string, std::less<>> seen;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto option = kOptions.find(name);
        if (option == kOptions.end()) {
            throw UsageError{fmt::format("unknown option \"{}\" (see --help)", printable(name))};
        }
        const OptionSpec spec = option->second;
        const bool applies = (spec.kind == OptionKind::moment && command->second.usesMoment) ||
                             (spec.kind == OptionKind::place && command->second.usesPlace) ||
                             (spec.kind == OptionKind::output && command->second.acceptsJson);
        if (!applies) {
            throw UsageError{fmt::format("{}: not an option of the {} command", name, call.command)};
        }
        if (!seen.insert(name).second) {
            throw UsageError{fmt::format("{}: given more than once", name)};
        }
        std::string value;
        if (spec.takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                throw UsageError{fmt::format("{}: missing its value", name)};
            }
        } else if (inlineValue) {
            throw UsageError{fmt::format("{}: takes no value", name)};
        }

        if (name == "--date") {
            call.date = require(parseDate(value), name, value,
                                "Y-M-D with year 1 to 1000000, month 1 to 12, day 1 to 30");
        } else if (name == "--time") {
            call.time = require(parseTime(value), name, value, "HH:MM with HH 0 to 23, MM 0 to 59");
        } else if (name == "--local-time") {
            call.localTime = true;
        } else if (name == "--t") {
            call.dayCount = require(parseDayCount(value), name, value,
                                    "a finite decimal number of days, at most 1e9 in size");
        } else if (name == "--lat") {
            call.latitude = require(parseLatitude(value), name, value,
                                    "degrees up to 90 as 40.5N, 40.5S or signed (-40.5 is south)");
        } else if (name == "--lon") {
            call.longitude = require(parseLongitude(value), name, value,
                                     "degrees up to 180 as 20.9W, 20.9E or signed (east positive)");
        } else if (name == "--json") {
            call.json = true;
        }
    }
    return call;
}

double momentOf(const Invocation& call) {
    if (call.dayCount) return *call.dayCount;
    // Whole hours and minutes go in as typed: 01:01 must stay 01:01.
    const double base = dayCount(call.date.year, call.date.month - 1, call.date.day - 1,
                                 call.time.hours, call.time.minutes);
    if (!call.localTime) return base;
    const double hour =
        static_cast<double>(call.time.hours) + static_cast<double>(call.time.minutes) / 60.0;
    return localDayCount(base, hour, call.longitude);
}

void writePositions(const Invocation& call, std::ostream& out) {
    const auto rows = positionsList(momentOf(call), call.latitude, call.longitude);
    if (!call.json) {
        out << positionsText(rows);
        return;
    }
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
    out << jsonArray(objects);
}

void writeLabels(const Invocation& call, std::ostream& out) {
    const double t = momentOf(call);
    out << "Date: " << dateLabel(t) << '\n'
        << "Next full moon: " << dateLabelWithLocalTime(nextMoonPhase(t, kPi), call.longitude)
        << '\n'
        << "Next new moon: " << dateLabelWithLocalTime(nextMoonPhase(t, 0.0), call.longitude)
        << '\n';
}

void writeCatalogue(const Invocation& call, std::ostream& out) {
    const auto& stars = FixedStar::catalogue();
    if (!call.json) {
        // Shortest text that reads back to the same double.
        for (const FixedStar& star : stars) {
            out << fmt::format("{}\t{}\t{}\t{}\t{}\t{}\t{}\n", star.name, star.eq.phi,
                               star.eq.theta, star.ec.phi, star.ec.theta, star.magnitude,
                               star.color);
        }
        return;
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
    out << jsonArray(objects);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kProgram << ": missing command; expected one of positions, labels, catalogue "
                           "(see --help)\n";
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

    Invocation call;
    try {
        call = parse(args);
    } catch (const UsageError& error) {
        err << kProgram << ": " << error.message << '\n';
        return kExitUsage;
    }

    // Build the whole output first, so bad input or a failure leaves standard output empty.
    std::ostringstream text;
    if (call.command == "positions") {
        writePositions(call, text);
    } else if (call.command == "labels") {
        writeLabels(call, text);
    } else {
        writeCatalogue(call, text);
    }
    out << text.str();
    if (!out.flush()) {
        err << kProgram << ": cannot write to standard output\n";
        return kExitWriteFailure;
    }
    return kExitOk;
}

}  // namespace morvane::cli
