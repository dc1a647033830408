// The user guide is read by anchors: the contents, the links in the text and the help window all
// jump to heading ids, so each heading needs an id of its own and each in-page link a target.
// The converter is also run on a small page for the rules the real guide does not exercise.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QStringList firstCaptures(const QString& html, const char* pattern) {
    QStringList found;
    for (auto it = QRegularExpression(QString::fromLatin1(pattern)).globalMatch(html);
         it.hasNext();) {
        found << it.next().captured(1);
    }
    return found;
}

TEST(UserGuidePage, EveryHeadingHasAUniqueIdThatTheLinksToItFind) {
    const QString html = readFile(QStringLiteral(USER_GUIDE_HTML));
    ASSERT_FALSE(html.isEmpty()) << "the user_guide_html target renders " USER_GUIDE_HTML;

    const QStringList headings = firstCaptures(html, R"((<h[1-6]\b[^>]*>))");
    EXPECT_GE(headings.size(), 20);
    for (const QString& tag : headings) {
        EXPECT_TRUE(tag.contains(QRegularExpression(QStringLiteral(R"(\bid="[^"]+")"))))
            << "a heading without an id: " << tag.toStdString();
    }

    const QStringList ids = firstCaptures(html, R"re(\bid="([^"]*)")re");
    const QSet<QString> targets(ids.begin(), ids.end());
    EXPECT_EQ(targets.size(), ids.size()) << "an id is used twice";

    const QStringList links = firstCaptures(html, R"re(\bhref="#([^"]*)")re");
    EXPECT_GE(links.size(), 10);  // the contents alone link every section
    for (const QString& link : links) EXPECT_TRUE(targets.contains(link)) << link.toStdString();

    // Where the help window's own tests send the guide.
    EXPECT_TRUE(targets.contains(QStringLiteral("troubleshooting")));
}

TEST(MdToHtml, NumbersRepeatedAnchorsAndLeavesOutFiguresWhoseImageIsMissing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("guide.md")),
              "# The *guide*\n\n"
              "## One *two*\n\n## One two\n\n## Sun & `Moon` <kbd>F1</kbd>\n\n## Contents\n\n"
              "| Key | Does |\n|---|---|\n| <kbd>F1</kbd> | Help |\n\n"
              "![Shown](here.png)\n\n![Gone](gone.png)\n\nText ![inline](lost.png) stays.\n");
    writeFile(dir.filePath(QStringLiteral("here.png")), "");

    QProcess converter;
    converter.start(QStringLiteral(MD_TO_HTML), {dir.filePath(QStringLiteral("guide.md")),
                                                 dir.filePath(QStringLiteral("guide.html"))});
    ASSERT_TRUE(converter.waitForFinished(30000));
    EXPECT_EQ(converter.exitCode(), 0);
    const QString warning = QString::fromUtf8(converter.readAllStandardError());
    EXPECT_THAT(warning.toStdString(), HasSubstr("gone.png, lost.png"));

    const QString html = readFile(dir.filePath(QStringLiteral("guide.html")));
    const std::string page = html.toStdString();
    EXPECT_THAT(page, HasSubstr("<title>The guide</title>"));
    EXPECT_THAT(page, HasSubstr("<h1 id=\"the-guide\">The <em>guide</em></h1>"));
    for (const char* heading :
         {"<h2 id=\"one-two\">One <em>two</em></h2>", "<h2 id=\"one-two-1\">One two</h2>",
          "<h2 id=\"sun--moon-f1\">Sun &amp; <code>Moon</code> "
          "<kbd>F1</kbd></h2>",
          "<h2 id=\"contents\">Contents</h2>"}) {
        EXPECT_THAT(page, HasSubstr(heading));
    }

    // The contents stand before the first section and never take a section's anchor.
    const auto contents =
        html.indexOf(QStringLiteral("<nav class=\"toc\">\n"
                                    "<h2 id=\"contents-1\">Contents</h2>"));
    EXPECT_GE(contents, 0);
    EXPECT_LT(contents, html.indexOf(QStringLiteral("<h2 id=\"one-two\"")));
    EXPECT_THAT(page, HasSubstr("<li><a href=\"#one-two-1\">One two</a></li>"));

    EXPECT_THAT(page, HasSubstr("<td><kbd>F1</kbd></td>"));
    EXPECT_THAT(page, HasSubstr("<figure>\n<img src=\"here.png\" alt=\"Shown\" "
                                "loading=\"lazy\">\n"
                                "<figcaption>Shown</figcaption>\n</figure>"));
    EXPECT_THAT(page, Not(HasSubstr("Gone")));
    EXPECT_THAT(page, Not(HasSubstr("lost.png")));
    EXPECT_THAT(page, HasSubstr("stays."));
}

}  // namespace
