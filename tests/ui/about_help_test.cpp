#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <cmath>

#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/window_placement.h"

namespace morvane {
namespace {

QStringList shownLinks(const AboutWindow& about) {
    QStringList labels;
    for (const QPushButton* link : about.links()) {
        if (!link->isHidden()) labels << link->text();
    }
    return labels;
}

// Whether pressing `keys` in the shown and active `window` closes it.
bool closesWith(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) return false;
    QTest::keyClick(&window, key, modifiers);
    return !window.isVisible();
}

// A window away from the screen's corner, so that centring on it is not a coincidence.
struct Anchor {
    QWidget window;
    QWidget* inner = new QWidget(&window);
    Anchor() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        window.setGeometry(screen.x() + 150, screen.y() + 110, 360, 300);
        inner->setGeometry(20, 20, 60, 40);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// The frame of `window` is centred on `anchor`'s but shifted, if need be, into the screen.
void expectCentredOn(const QWidget& window, const QWidget& anchor) {
    // A window manager reports the frame a little after the window is mapped.
    (void)QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 2000);
    const QRect screen = anchor.screen()->availableGeometry();
    QRect expected(QPoint(), window.frameGeometry().size());
    expected.moveCenter(anchor.frameGeometry().center());
    expected.moveLeft(
        std::clamp(expected.left(), screen.left(), screen.right() + 1 - expected.width()));
    expected.moveTop(
        std::clamp(expected.top(), screen.top(), screen.bottom() + 1 - expected.height()));
    EXPECT_LE((window.frameGeometry().topLeft() - expected.topLeft()).manhattanLength(), 2)
        << window.frameGeometry().x() << "," << window.frameGeometry().y() << " instead of "
        << expected.x() << "," << expected.y();
}

// Records the addresses handed to the desktop instead of starting a browser.
struct UrlCatcher : QTextBrowser {
    QList<QUrl> opened;
    explicit UrlCatcher(const QString& scheme) : scheme(scheme) {
        QDesktopServices::setUrlHandler(scheme, this, "setSource");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme); }
    QString scheme;

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType) override { opened << url; }
};

double luminance(const QColor& colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(About, ShowsOnlyTheLinksWithARealTarget) {
    EXPECT_EQ(shownLinks(AboutWindow(AppLinks{})), QStringList{"Application Documentation"});

    const AboutWindow placeholders(
        AppLinks{"https://morvane-astro.example.org/", "https://discord.gg/morvane",
                 "https://www.example.com/", "https://rules.morvane-game.net/"});
    EXPECT_EQ(shownLinks(placeholders),
              (QStringList{"Application Documentation", "Support Discord", "Morvane Game Rules"}));
    EXPECT_EQ(placeholders.links().size(), 5);

    const AboutWindow chat(AppLinks{"morvane-astro dot net", "https://chat.morvane-game.net/",
                                    "https://morvane-game.net/", "https://notdiscord.com/rules"});
    EXPECT_EQ(shownLinks(chat), (QStringList{"Application Documentation", "Support Chat",
                                             "The World of Morvane", "Morvane Game Rules"}));
    EXPECT_EQ(supportLinkLabel("https://discord.com/invite/x"), "Support Discord");
    EXPECT_EQ(supportLinkLabel("https://notdiscord.gg/x"), "Support Chat");

    for (const QPushButton* link : chat.links()) {
        EXPECT_FALSE(link->accessibleName().isEmpty());
        EXPECT_FALSE(link->accessibleDescription().isEmpty()) << link->text().toStdString();
    }
}

TEST(About, EscapeAndCtrlWCloseIt) {
    AboutWindow about(AppLinks{});
    EXPECT_TRUE(closesWith(about, Qt::Key_Escape));
    EXPECT_TRUE(closesWith(about, Qt::Key_W, Qt::ControlModifier));
    EXPECT_EQ(about.size(), QSize(650, 650));
}

TEST(WindowPlacement, CentresOnTheAnchorsWindowInsideTheScreen) {
    Anchor anchor;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.resize(120, 80);
    centreOn(&window, anchor.inner);
    window.show();  // the frame is known only now; it was estimated from the anchor's
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    expectCentredOn(window, anchor.window);

    // Near the screen's corner the window stays on the screen instead.
    anchor.window.move(screen.topLeft());
    window.resize(400, 300);
    centreOn(&window, anchor.inner);
    EXPECT_EQ(window.frameGeometry().topLeft(), screen.topLeft());

    // About opens over the anchor, moved only as far as the screen requires.
    anchor.window.move(screen.x() + 200, screen.y() + 150);
    AboutWindow about(AppLinks{});
    about.showCentredOn(anchor.inner);
    expectCentredOn(about, anchor.window);
}

TEST(Help, AMissingGuideIsExplainedWithThePlacesSearched) {
    Anchor anchor;
    QTemporaryDir nowhere;
    const QStringList places = {nowhere.filePath("share/doc/morvane-astro/user-guide.html"),
                                nowhere.filePath("build/docs/user-guide.html")};
    HelpWindow* help = showUserGuide(anchor.inner, places);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Morvane Astro Help");
    EXPECT_TRUE(help->guidePath().isEmpty());
    const QString text = help->browser()->toPlainText();
    EXPECT_TRUE(text.contains("The user guide is missing")) << text.toStdString();
    EXPECT_TRUE(text.contains(places[0])) << text.toStdString();
    EXPECT_TRUE(text.contains(places[1])) << text.toStdString();
    expectCentredOn(*help, anchor.window);

    // One window: asking again brings the same one back; Esc and Ctrl+W close it.
    EXPECT_EQ(showUserGuide(anchor.inner, places), help);
    EXPECT_TRUE(closesWith(*help, Qt::Key_Escape));
    EXPECT_TRUE(closesWith(*help, Qt::Key_W, Qt::ControlModifier));
    for (const QWidget* control : help->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus) continue;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    }
    delete help;
}

TEST(Help, ShowsTheBuiltGuideWithItsHeadingsTablesAndImages) {
    const QString guide = userGuidePath();
    ASSERT_FALSE(guide.isEmpty()) << "the user_guide_html target renders the guide";
    AboutWindow about(AppLinks{});
    QTest::mouseClick(about.links().front(), Qt::LeftButton);  // "Application Documentation"
    HelpWindow* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<HelpWindow*>(window); shown && shown->isVisible())
            help = shown;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(showUserGuide(&about), help);
    EXPECT_EQ(help->guidePath(), guide);
    QTextBrowser* browser = help->browser();
    const QTextDocument* document = browser->document();

    QStringList headings;
    int tables = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) headings << block.text();
        if (auto* table = qobject_cast<QTextTable*>(QTextCursor(block).currentFrame())) {
            if (table->firstCursorPosition().block() == block) {
                ++tables;
                EXPECT_GT(table->format().border(), 0);
            }
        }
    }
    EXPECT_TRUE(headings.contains("Morvane Astro user guide"));
    EXPECT_TRUE(headings.contains("Getting started"));
    EXPECT_TRUE(headings.contains("Troubleshooting"));
    EXPECT_GT(tables, 0);
    EXPECT_FALSE(browser->toPlainText().contains("color-scheme"));  // no style sheet as text

    // Every screenshot beside the guide loads and fits next to the text.
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qsizetype imagesInFile = QString::fromUtf8(file.readAll()).count("<img ");
    int images = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
            if (!image.isValid()) continue;
            ++images;
            const QVariant data =
                browser->loadResource(QTextDocument::ImageResource, QUrl(image.name()));
            EXPECT_FALSE(QImage::fromData(data.toByteArray()).isNull())
                << image.name().toStdString();
            EXPECT_LE(image.width(), 640);
        }
    }
    EXPECT_EQ(images, imagesInFile);
    EXPECT_GT(images, 0);

    // In-page links move within the guide, Back returns; other links go to the desktop.
    help->resize(700, 600);
    QCoreApplication::processEvents();
    browser->setSource(QUrl("#troubleshooting"));
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
    ASSERT_TRUE(help->backButton()->isEnabled());
    QTest::mouseClick(help->backButton(), Qt::LeftButton);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
    {
        UrlCatcher catcher(QStringLiteral("https"));
        browser->setSource(QUrl("https://morvane-game.net/rules"));
        EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl("https://morvane-game.net/rules")});
    }
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(guide));

    // A dark palette gives a dark page: table heads keep their contrast.
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
    dark.setColor(QPalette::Text, QColor(0xe3, 0xe5, 0xe8));
    dark.setColor(QPalette::Window, QColor(0x2a, 0x2b, 0x2e));
    dark.setColor(QPalette::WindowText, QColor(0xe3, 0xe5, 0xe8));
    help->setPalette(dark);
    QCoreApplication::processEvents();
    const QTextTable* firstTable = nullptr;
    for (QTextFrame* frame : browser->document()->rootFrame()->childFrames()) {
        if ((firstTable = qobject_cast<QTextTable*>(frame))) break;
    }
    ASSERT_NE(firstTable, nullptr);
    const QColor head = firstTable->cellAt(0, 0).format().background().color();
    EXPECT_GE(contrast(head, dark.color(QPalette::Text)), 4.5) << head.name().toStdString();
    delete help;
}

}  // namespace
}  // namespace morvane
