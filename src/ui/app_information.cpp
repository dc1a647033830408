#include "ui/app_information.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "morvane_version.h"

namespace morvane {

QString releaseVersion() { return QString::fromUtf8(kVersion); }

QString buildNumber() { return QString::fromUtf8(kBuildNumber); }

QStringList userGuideCandidates() {
    const QString dir = QCoreApplication::applicationDirPath();
    return {
        QDir::cleanPath(dir + QStringLiteral("/../share/doc/morvane-astro/user-guide.html")),
        QDir::cleanPath(QString::fromUtf8(kBuildTreeUserGuide)),
    };
}

QString firstExistingFile(const QStringList& candidates) {
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile()) return QFileInfo(path).canonicalFilePath();
    }
    return {};
}

QString userGuidePath() { return firstExistingFile(userGuideCandidates()); }

const AppLinks& appLinks() {
    static const AppLinks links{QString::fromUtf8(kDeveloperWebsite),
                                QString::fromUtf8(kSupportChat), QString::fromUtf8(kWorldWebsite),
                                QString::fromUtf8(kWorldRules)};
    return links;
}

namespace {

bool hostIsOrEndsIn(const QString& host, const QString& domain) {
    return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

}  // namespace

bool isConfiguredLink(const QString& target) {
    const QUrl url(target.trimmed(), QUrl::StrictMode);
    if (target.trimmed().isEmpty() || !url.isValid() || url.isRelative()) return false;
    const QString host = url.host().toLower();
    for (const char* reserved : {"example.org", "example.com", "example.net", "example"}) {
        if (hostIsOrEndsIn(host, QString::fromLatin1(reserved))) return false;
    }
    return true;
}

QString supportLinkLabel(const QString& target) {
    const QString host = QUrl(target.trimmed()).host().toLower();
    const bool discord = hostIsOrEndsIn(host, QStringLiteral("discord.com")) ||
                         hostIsOrEndsIn(host, QStringLiteral("discord.gg"));
    return discord ? QStringLiteral("Support Discord") : QStringLiteral("Support Chat");
}

}  // namespace morvane
