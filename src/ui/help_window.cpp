#include "ui/help_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/window_placement.h"

namespace morvane {

namespace {

// Screenshots are taken at full window size; shown at half their width they stay readable and
// leave the text beside them in view (and on a 2× screen they keep every pixel).
constexpr int kMaxImageWidth = 640;
constexpr int kPageMargin = 14;

QString colourName(const QColor& a, const QColor& b, double share) {
    const auto mix = [share](int x, int y) { return qRound(x * (1.0 - share) + y * share); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue())).name();
}

// Qt's rich-text engine reads a subset of HTML 4 and CSS 2.1, so the page's own style sheet
// (custom properties, media queries) is replaced by this one, drawn from the palette so that a
// dark desktop gets a dark page with the same contrast.
QString guideStyleSheet(const QPalette& palette) {
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    return QStringLiteral(
               "h1 { font-size: xx-large; }"
               "h2 { font-size: x-large; margin-top: 22px; }"
               "h3 { font-size: large; margin-top: 16px; }"
               "code, kbd, pre { font-family: monospace; }"
               "code, kbd { background-color: %1; }"
               "pre { background-color: %1; white-space: pre-wrap; }"
               "table.grid { border-collapse: collapse; border-style: solid; border-color: %3;"
               " margin-top: 4px; margin-bottom: 12px; }"
               "th { background-color: %2; font-weight: bold; }"
               "th, td { padding: 4px; border-style: solid; border-width: 1px; border-color: %3; }"
               ".caption { color: %4; }"
               ".toc { background-color: %1; }"
               "blockquote { background-color: %1; }"
               "a { color: %5; text-decoration: none; }")
        .arg(colourName(base, text, 0.07), colourName(base, text, 0.12),
             colourName(base, text, 0.30), colourName(text, base, 0.25),
             palette.color(QPalette::Link).name());
}

// Rewrites the generated page into the HTML that QTextBrowser lays out: figures and the table of
// contents become blocks, tables get their grid, wide images are scaled to fit beside the text.
QString adaptGuide(QString html, const QDir& folder) {
    using Re = QRegularExpression;
    html.remove(Re(QStringLiteral("<style\\b.*?</style>"), Re::DotMatchesEverythingOption));
    html.replace(Re(QStringLiteral("<nav\\b[^>]*>")), QStringLiteral("<div class=\"toc\">"));
    html.replace(QStringLiteral("</nav>"), QStringLiteral("</div>"));
    html.replace(Re(QStringLiteral("<figure\\b[^>]*>")), QStringLiteral("<div align=\"center\">"));
    html.replace(QStringLiteral("</figure>"), QStringLiteral("</div>"));
    html.replace(Re(QStringLiteral("<figcaption\\b[^>]*>")),
                 QStringLiteral("<p class=\"caption\" align=\"center\">"));
    html.replace(QStringLiteral("</figcaption>"), QStringLiteral("</p>"));
    html.replace(Re(QStringLiteral("<table\\b[^>]*>")),
                 QStringLiteral("<table class=\"grid\" width=\"100%\" cellspacing=\"0\" "
                                "cellpadding=\"5\" border=\"1\">"));

    static const Re image(QStringLiteral("<img\\b[^>]*>"));
    static const Re source(QStringLiteral("\\bsrc=\"([^\"]*)\""));
    QString result;
    qsizetype copied = 0;
    for (auto it = image.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        QString tag = match.captured();
        const auto src = source.match(tag);
        if (src.hasMatch() && !tag.contains(QStringLiteral(" width="))) {
            const QString file =
                folder.filePath(QUrl::fromPercentEncoding(src.captured(1).toUtf8()));
            const QSize size = QImageReader(file).size();
            if (size.width() > kMaxImageWidth) {
                const int height = qRound(double(size.height()) * kMaxImageWidth / size.width());
                tag.insert(
                    4,
                    QStringLiteral(" width=\"%1\" height=\"%2\"").arg(kMaxImageWidth).arg(height));
            }
        }
        result += QStringView(html).mid(copied, match.capturedStart() - copied);
        result += tag;
        copied = match.capturedEnd();
    }
    result += QStringView(html).mid(copied);
    return result;
}

QString missingGuideHtml(const QStringList& candidates) {
    QString places;
    for (const QString& path : candidates) {
        places += QStringLiteral("<li><code>%1</code></li>").arg(path.toHtmlEscaped());
    }
    return QStringLiteral(
               "<h2>The user guide is missing</h2>"
               "<p>Morvane Astro looked for its user guide, <code>user-guide.html</code>, in these "
               "places and found it in none of them:</p><ul>%1</ul>"
               "<p>If you installed Morvane Astro from its package, reinstalling the package puts "
               "the guide back. In a build folder, build the <code>user_guide_html</code> "
               "target.</p>")
        .arg(places);
}

bool sameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

// Shows the guide file rewritten for the rich-text engine; anything that is not a place in the
// guide goes to the desktop's handler instead of replacing the guide.
class GuideBrowser final : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    QString guideFile;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.isLocalFile() &&
            sameFile(name.toLocalFile(), guideFile)) {
            QFile file(guideFile);
            if (file.open(QIODevice::ReadOnly)) {
                return adaptGuide(QString::fromUtf8(file.readAll()), QFileInfo(guideFile).dir());
            }
        }
        return QTextBrowser::loadResource(type, name);
    }

  protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        const bool withinGuide = (name.isRelative() && name.path().isEmpty()) ||
                                 (name.isLocalFile() && sameFile(name.toLocalFile(), guideFile));
        if (withinGuide || name.isEmpty()) {
            QTextBrowser::doSetSource(name, type);
        } else {
            QDesktopServices::openUrl(source().resolved(name));
        }
    }
};

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Morvane Astro Help"));
    setObjectName(QStringLiteral("help"));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_QuitOnClose, false);  // reading the guide does not keep the program alive

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    auto* bar = new QHBoxLayout;
    back_ = new QPushButton(QStringLiteral("Back"), this);
    back_->setEnabled(false);
    back_->setAccessibleName(QStringLiteral("Back"));
    back_->setAccessibleDescription(
        QStringLiteral("Returns to where you were in the guide (Alt+Left)"));
    back_->setToolTip(QStringLiteral("Back to where you were (Alt+Left)"));
    contents_ = new QPushButton(QStringLiteral("Contents"), this);
    contents_->setAccessibleName(QStringLiteral("Contents"));
    contents_->setAccessibleDescription(
        QStringLiteral("Goes to the top of the guide and its contents"));
    bar->addWidget(back_);
    bar->addWidget(contents_);
    bar->addStretch();
    layout->addLayout(bar);

    browser_ = new GuideBrowser(this);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);  // the browser's source handling decides, see above
    browser_->setAccessibleName(QStringLiteral("User guide"));
    browser_->setAccessibleDescription(QStringLiteral("The Morvane Astro user guide"));
    browser_->document()->setDocumentMargin(kPageMargin);
    // Text, tables and code wrap, and images are never wider than kMaxImageWidth: a horizontal
    // scroll bar would only ever scroll the pixel that full-width tables overhang.
    browser_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_->setMinimumWidth(kMaxImageWidth + 2 * kPageMargin +
                              browser_->verticalScrollBar()->sizeHint().width() +
                              2 * browser_->frameWidth());
    layout->addWidget(browser_, 1);
    applyStyle();

    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(contents_, &QPushButton::clicked, this, [this] {
        browser_->verticalScrollBar()->setValue(browser_->verticalScrollBar()->minimum());
    });
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }

    QSize size(860, 900);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    resize(size);
}

void HelpWindow::applyStyle() {
    browser_->document()->setDefaultStyleSheet(guideStyleSheet(palette()));
}

void HelpWindow::loadGuide(const QStringList& candidates) {
    const QString found = firstExistingFile(candidates);
    candidates_ = candidates;
    auto* browser = static_cast<GuideBrowser*>(browser_);
    if (!found.isEmpty() && found == guidePath_) return;  // keep the reader's place
    guidePath_ = found;
    browser->guideFile = found;
    browser->clearHistory();
    if (found.isEmpty()) {
        browser->setHtml(missingGuideHtml(candidates));
    } else {
        browser->setSource(QUrl::fromLocalFile(found));
    }
    back_->setEnabled(browser->isBackwardAvailable());
    contents_->setEnabled(!found.isEmpty());
}

void HelpWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && browser_ != nullptr) {
        applyStyle();
        if (guidePath_.isEmpty()) {
            browser_->setHtml(missingGuideHtml(candidates_));
        } else {
            browser_->reload();
        }
    }
}

HelpWindow* showUserGuide(QWidget* anchor, const QStringList& candidates) {
    static QPointer<HelpWindow> window;
    const bool created = window.isNull();
    if (created) {
        window = new HelpWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    }
    window->loadGuide(candidates);
    if (created) centreOn(window, anchor);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace morvane
