#include "ui/about_window.h"
#include "ui/resources.h"

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/app_information.h"

namespace morvane {

namespace {

QLabel* centred(const QString& text, QWidget* parent, double scale, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

void openUserGuide() {
    const QString guide = userGuidePath();
    QDesktopServices::openUrl(guide.isEmpty() ? QUrl(appLinks().developerWebsite)
                                              : QUrl::fromLocalFile(guide));
}

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    ensureResources();
    setWindowTitle(QStringLiteral("About Morvane Astro"));
    setObjectName(QStringLiteral("about"));
    setFixedSize(650, 650);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(14);
    layout->setContentsMargins(48, 20, 48, 20);
    layout->setAlignment(Qt::AlignTop);

    auto* image = new QSvgWidget(QStringLiteral(":/MorvaneAstro.svg"), this);
    image->setFixedSize(100, 100);
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(centred(QStringLiteral("Morvane Astro"), this, 1.9, true));

    version_ = centred(releaseVersion() + QLatin1Char('.') + buildNumber(), this, 1.25, true);
    copyright_ = centred(QStringLiteral("© %1 The Morvane Astro developers. All rights reserved.")
                             .arg(QDate::currentDate().year()),
                         this, 0.95);
    layout->addWidget(version_);
    layout->addWidget(copyright_);

    auto* about = centred(
        QStringLiteral(
            "<p><b>Morvane Astro</b> computes the sky of <b>Morvane</b> for any moment and place "
            "of its world: the stars and constellations above you, the sun Nolomar, the moon "
            "Yael and the four wandering planets, the horoscope of the hour, and the almanac "
            "tables of rises, sets, phases, eclipses and conjunctions.</p>"
            "<p>It is a companion for people who play games set in Morvane: the calendar, the "
            "clock, the heavens and their readings follow the lore of that world, worked out as "
            "exactly as the numbers allow. The world of Morvane and its lore belong to their "
            "creators; this tool is an unofficial aid made by players for players.</p>"),
        this, 0.95);
    about->setTextFormat(Qt::RichText);
    layout->addWidget(about);

    const struct {
        const char* label;
        QString target;
    } links[] = {
        {"Application Documentation", {}},
        {"Developer Website", appLinks().developerWebsite},
        {"Support Discord", appLinks().supportChat},
        {"The World of Morvane", appLinks().worldWebsite},
        {"Morvane Game Rules", appLinks().worldRules},
    };
    for (const auto& link : links) {
        auto* button = new QPushButton(QString::fromUtf8(link.label), this);
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
        button->setPalette(palette);
        const QString target = link.target;
        connect(button, &QPushButton::clicked, this, [target] {
            if (target.isEmpty()) {
                openUserGuide();
            } else {
                QDesktopServices::openUrl(QUrl(target));
            }
        });
        layout->addWidget(button, 0, Qt::AlignHCenter);
        links_.append(button);
    }
}

}  // namespace morvane
