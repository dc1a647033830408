#pragma once

#include <QString>

namespace morvane {

/// The release version ("0.1.0") and the build number, from the build configuration.
QString releaseVersion();
QString buildNumber();

/// Where the bundled user guide is: installed beside the program, or in the build tree.
QString userGuidePath();

/// The web addresses of the About window's link buttons, from the build configuration.
struct AppLinks {
    QString developerWebsite;
    QString supportChat;
    QString worldWebsite;
    QString worldRules;
};
const AppLinks& appLinks();

}  // namespace morvane
