#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

/// The release version ("0.1.0") and the build number, from the build configuration.
QString releaseVersion();
QString buildNumber();

/// Where the bundled user guide may be, most preferred first: installed beside the program, then
/// in the build tree. userGuidePath() is the first of them that exists, or empty.
QStringList userGuideCandidates();
QString userGuidePath();
/// The canonical path of the first of `candidates` that is a file; empty when none is.
QString firstExistingFile(const QStringList& candidates);

/// The web addresses of the About window's link buttons, from the build configuration. An empty
/// address means the build has none to offer.
struct AppLinks {
    QString developerWebsite;
    QString supportChat;
    QString worldWebsite;
    QString worldRules;
};
const AppLinks& appLinks();

/// Whether `target` is an address a user can be sent to: not empty, a valid URL, and not a
/// placeholder on one of the reserved example domains.
bool isConfiguredLink(const QString& target);

/// "Support Discord" when the support address is a Discord invite or server, else "Support Chat".
QString supportLinkLabel(const QString& target);

}  // namespace morvane
