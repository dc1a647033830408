#include "ui/about_window.h"

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSvgWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/resources.h"
#include "ui/window_placement.h"

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

AboutWindow::AboutWindow(QWidget* parent) : AboutWindow(appLinks(), parent) {}

AboutWindow::AboutWindow(const AppLinks& links, QWidget* parent) : QWidget(parent, Qt::Window) {
    ensureResources();
    setWindowTitle(QStringLiteral("About Morvane Astro"));
    setObjectName(QStringLiteral("about"));
    setAccessibleName(windowTitle());
    // An open About window must not keep the application running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(650, 650);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(14);
    layout->setContentsMargins(48, 20, 48, 20);
    layout->setAlignment(Qt::AlignTop);

    auto* image = new QSvgWidget(QStringLiteral(":/MorvaneAstro.svg"), this);
    image->setFixedSize(100, 100);
    image->setAccessibleName(QStringLiteral("Morvane Astro application icon"));
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(centred(QStringLiteral("Morvane Astro"), this, 1.9, true));

    version_ = centred(releaseVersion() + QLatin1Char('.') + buildNumber(), this, 1.25, true);
    version_->setAccessibleName(
        QStringLiteral("Version %1, build %2").arg(releaseVersion(), buildNumber()));
    copyright_ = centred(
        QStringLiteral("© %1 The Morvane Astro developers. Free software under the MIT License.")
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
        QString label;
        QString target;
        bool isGuide = false;
    } entries[] = {
        {QStringLiteral("Application Documentation"), {}, true},
        {QStringLiteral("Developer Website"), links.developerWebsite},
        {supportLinkLabel(links.supportChat), links.supportChat},
        {QStringLiteral("The World of Morvane"), links.worldWebsite},
        {QStringLiteral("Morvane Game Rules"), links.worldRules},
    };
    for (const auto& entry : entries) {
        auto* button = new QPushButton(entry.label, this);
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
        button->setPalette(palette);
        button->setAccessibleName(entry.label);
        if (entry.isGuide) {
            button->setAccessibleDescription(
                QStringLiteral("Opens the user guide in a help window"));
            connect(button, &QPushButton::clicked, this, [this] { showUserGuide(this); });
        } else {
            const QUrl url(entry.target.trimmed());
            button->setToolTip(url.toDisplayString());
            button->setAccessibleDescription(
                QStringLiteral("Opens %1 in your web browser").arg(url.toDisplayString()));
            connect(button, &QPushButton::clicked, this, [url] { QDesktopServices::openUrl(url); });
            // A placeholder or missing address would lead nowhere: leave the link out.
            button->setVisible(isConfiguredLink(entry.target));
        }
        layout->addWidget(button, 0, Qt::AlignHCenter);
        links_.append(button);
    }

    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

void AboutWindow::showCentredOn(QWidget* anchor) {
    if (!isVisible()) centreOn(this, anchor);
    show();
    raise();
    activateWindow();
}

}  // namespace morvane
