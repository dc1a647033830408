#include "ui/app_information.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "morvane_version.h"

namespace morvane {

QString releaseVersion() { return QString::fromUtf8(kVersion); }

QString buildNumber() { return QString::fromUtf8(kBuildNumber); }

QString userGuidePath() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        dir + QStringLiteral("/../share/doc/morvane-astro/user-guide.html"),
        QString::fromUtf8(kBuildTreeUserGuide),
    };
    for (const QString& path : candidates) {
        if (QFileInfo::exists(path)) return QFileInfo(path).canonicalFilePath();
    }
    return {};
}

const AppLinks& appLinks() {
    static const AppLinks links{QString::fromUtf8(kDeveloperWebsite), QString::fromUtf8(kSupportChat),
                                QString::fromUtf8(kWorldWebsite), QString::fromUtf8(kWorldRules)};
    return links;
}

}  // namespace morvane
