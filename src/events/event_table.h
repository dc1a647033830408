#pragma once

// Sky events as text: the fixed-width table of the Events output and of the command line, and
// CSV rows. Pure: no Qt, so the desktop application and the command line print the same bytes.

#include <span>
#include <string>

#include "events/sky_events.h"

namespace morvane {

/// The bodies of the event as the positions list writes them, joined by ", ":
/// "Épeòn, Álaran", "Yael".
std::string eventBodies(const SkyEvent& event);

/// The details column: eclipses "total, visible here" / "partial, not visible here"; ingresses
/// the short name of the sign entered ("Ládo"); conjunctions the pair ("EP-AL"); equinoxes and
/// solstices which one ("northward"); noon and midnight Nolomar's altitude in degrees and
/// minutes ("alt  45:12", "alt  -3:05"); other kinds nothing.
std::string eventDetails(const SkyEvent& event);

/// The header line of eventTable, with its line feed.
std::string eventTableHeader();
/// One line of eventTable, with its line feed.
std::string eventTableRow(const SkyEvent& event, double longitude);

/// Fixed-width text: a header line, then one line per event: the date label (OST), the local
/// time at the longitude (radians, east positive), the kind, the bodies and the details.
/// Columns are counted in characters, not bytes, and no line ends in spaces.
std::string eventTable(std::span<const SkyEvent> events, double longitude);

/// The CSV header row: kind,t,label,local,bodies,class,visible,sign,pair. Rows end in "\n" like
/// every other text the program writes; fields are quoted as RFC 4180 asks.
std::string eventCsvHeader();
/// One CSV row: the members of eventCsvHeader, empty where the kind carries none.
std::string eventCsvRow(const SkyEvent& event, double longitude);

/// The JSON object of one event, on one line: kind, t, label, local, bodies, and where the kind
/// carries them class and visible, sign, or pair. The events command writes an array of these.
std::string eventJson(const SkyEvent& event, double longitude);

/// The day count as decimal text that reads back to the same double, in fixed notation with at
/// least nine digits after the point ("258840.000000000"): a second is 1.2e-5 days, and scripts
/// compare moments far below it.
std::string eventMomentText(double t);

/// An angle in whole degrees and minutes, rounded to the minute: "49:03", "-3:05", "0:00" (no
/// sign on what rounds to zero).
std::string degreesMinutesText(double radians);

/// Whether the kind carries an eclipse class and visibility, a sign, or a pair.
bool isEclipseKind(EventKind kind);

}  // namespace morvane
