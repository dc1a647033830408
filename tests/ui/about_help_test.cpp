#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextTable>

#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/readability.h"
#include "ui/ui_window.h"
#include "ui/window_placement.h"

namespace morvane {
namespace {

using testing::Anchor;
using testing::expectCentredOn;
using ::testing::HasSubstr;
using ::testing::Not;

QStringList shownLinks(const AboutWindow& about) {
    QStringList labels;
    for (const QPushButton* link : about.links()) {
        if (!link->isHidden()) labels << link->text();
    }
    return labels;
}

// Esc and Ctrl+W each close the shown and active `window`.
void expectClosesWithEscapeAndCtrlW(QWidget& window) {
    for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(window.isVisible()) << QKeySequence(keys).toString().toStdString();
    }
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

TEST(About, ShowsOnlyTheLinksWithARealTargetAndClosesWithEscapeOrCtrlW) {
    AboutWindow about(AppLinks{});
    EXPECT_EQ(shownLinks(about), QStringList{"Application Documentation"});
    // The licence the package and its metainfo declare.
    EXPECT_TRUE(about.copyrightLabel()->text().contains("MIT License"))
        << about.copyrightLabel()->text().toStdString();
    expectClosesWithEscapeAndCtrlW(about);

    const AboutWindow placeholders(
        AppLinks{"https://morvane-astro.example.org/", "https://discord.gg/morvane",
                 "https://www.example.com/", "https://rules.morvane-game.net/"});
    EXPECT_EQ(shownLinks(placeholders),
              (QStringList{"Application Documentation", "Support Discord", "Morvane Game Rules"}));

    AboutWindow chat(AppLinks{"morvane-astro dot net", "https://chat.morvane-game.net/",
                              "https://morvane-game.net/", "https://notdiscord.com/rules"});
    EXPECT_EQ(shownLinks(chat), (QStringList{"Application Documentation", "Support Chat",
                                             "The World of Morvane", "Morvane Game Rules"}));
    EXPECT_EQ(supportLinkLabel("https://discord.com/invite/x"), "Support Discord");
    EXPECT_EQ(supportLinkLabel("https://notdiscord.gg/x"), "Support Chat");
    testing::expectControlsNamed(chat);
}

TEST(WindowPlacement, AboutOpensCentredOnTheAnchorsWindowButInsideTheScreen) {
    Anchor anchor;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    AboutWindow about(AppLinks{});
    for (const QPoint offset : {QPoint(200, 150), QPoint(0, 0)}) {  // then in the screen's corner
        anchor.window.move(screen.topLeft() + offset);
        about.showCentredOn(anchor.inner);
        expectCentredOn(about, anchor.window);
        about.hide();
    }
}

TEST(Help, AMissingGuideIsExplainedWithThePlacesSearched) {
    Anchor anchor;
    QTemporaryDir nowhere;
    const QStringList places = {nowhere.filePath("share/doc/morvane-astro/user-guide.html"),
                                nowhere.filePath("build/docs/user-guide.html")};
    HelpWindow* help = showUserGuide(anchor.inner, places);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    for (const QString& place : places)
        EXPECT_THAT(help->browser()->toPlainText().toStdString(), HasSubstr(place.toStdString()));
    expectCentredOn(*help, anchor.window);

    // One window: asking again brings the same one back; Esc and Ctrl+W close it.
    EXPECT_EQ(showUserGuide(anchor.inner, places), help);
    expectClosesWithEscapeAndCtrlW(*help);
    testing::expectControlsNamed(*help, false);
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
    QTextBrowser* browser = help->browser();
    // No style sheet shown as text.
    EXPECT_THAT(browser->toPlainText().toStdString(), Not(HasSubstr("color-scheme")));
    const auto tables = [browser] {
        QList<const QTextTable*> found;
        for (QTextFrame* frame : browser->document()->rootFrame()->childFrames()) {
            if (const auto* table = qobject_cast<QTextTable*>(frame)) found << table;
        }
        return found;
    };
    ASSERT_FALSE(tables().isEmpty());
    for (const QTextTable* table : tables()) EXPECT_GT(table->format().border(), 0);

    // Headings come out as headings; every screenshot beside the guide loads and fits next
    // to the text.
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qsizetype imagesInFile = QString::fromUtf8(file.readAll()).count("<img ");
    int headings = 0, images = 0;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) ++headings;
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
    EXPECT_GE(headings, 3);
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
    const QPalette dark = testing::darkPalette();
    help->setPalette(dark);
    QCoreApplication::processEvents();
    ASSERT_FALSE(tables().isEmpty());
    const QColor head = tables().front()->cellAt(0, 0).format().background().color();
    EXPECT_GE(contrastRatio(head, dark.color(QPalette::Text)), 4.5) << head.name().toStdString();
    delete help;
}

}  // namespace
}  // namespace morvane
