// md_to_html INPUT.md OUTPUT.html
//
// Turns the user guide into one standalone HTML page with its own stylesheet. It understands the
// Markdown the guide uses and nothing more: ATX headings, paragraphs, emphasis, code spans and
// fenced code, links, images, nested lists, block quotes, pipe tables, rules and <kbd>.
//
// QTextDocument can convert Markdown too, but it writes an inline style on every block, fixes the
// body at the application's 9 pt font and drops heading anchors, so no stylesheet can make its
// page pleasant to read; hence this small converter.
//
// Images are resolved against the output's folder. A local image that is missing there is left
// out with its figure: the screenshots arrive after the text, and a guide with a broken image
// icon on every page reads worse than one without pictures.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

namespace {

const char* const kStyleSheet = R"css(
:root {
  color-scheme: light dark;
  --text: #1d1f23; --muted: #5c6370; --bg: #ffffff; --accent: #3b5bdb;
  --rule: #dde1e6; --code-bg: #f3f4f6; --th-bg: #eef1f5; --zebra: #f8f9fb;
  --note-bg: #eef3ff; --note-rule: #91a7ff;
}
@media (prefers-color-scheme: dark) {
  :root {
    --text: #e3e5e8; --muted: #a0a7b1; --bg: #17191d; --accent: #91a7ff;
    --rule: #343841; --code-bg: #23262c; --th-bg: #262a31; --zebra: #1c1f24;
    --note-bg: #1e2433; --note-rule: #4c6ef5;
  }
}
html { background: var(--bg); }
body {
  margin: 0 auto; padding: 2.5rem 1.5rem 4rem; max-width: 48rem;
  font: 16px/1.6 system-ui, -apple-system, "Segoe UI", Cantarell, Ubuntu, "Noto Sans",
        "DejaVu Sans", Roboto, "Helvetica Neue", Arial, sans-serif;
  color: var(--text); background: var(--bg);
  -webkit-text-size-adjust: 100%; text-rendering: optimizeLegibility;
}
h1, h2, h3, h4 { line-height: 1.25; margin: 2rem 0 0.75rem; font-weight: 650; }
h1 { font-size: 2.1rem; margin-top: 0; letter-spacing: -0.01em; }
h2 { font-size: 1.5rem; padding-bottom: 0.3rem; border-bottom: 1px solid var(--rule); margin-top: 2.75rem; }
h3 { font-size: 1.2rem; }
h4 { font-size: 1rem; }
p, ul, ol, table, pre, blockquote, figure { margin: 0 0 1rem; }
ul, ol { padding-left: 1.6rem; }
li { margin: 0.2rem 0; }
li > ul, li > ol { margin: 0.2rem 0 0.4rem; }
a { color: var(--accent); text-decoration: none; }
a:hover { text-decoration: underline; }
code, kbd, pre {
  font-family: ui-monospace, "DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", Menlo, Consolas, monospace;
  font-size: 0.88em;
}
code { background: var(--code-bg); border-radius: 4px; padding: 0.1em 0.35em; white-space: pre-wrap; }
td code, th code { white-space: pre; }
pre { background: var(--code-bg); border-radius: 6px; padding: 0.8rem 1rem; overflow-x: auto; line-height: 1.45; }
pre code { background: none; padding: 0; font-size: 0.85rem; }
kbd {
  display: inline-block; padding: 0.05em 0.4em; border: 1px solid var(--rule);
  border-bottom-width: 2px; border-radius: 4px; background: var(--code-bg); line-height: 1.3;
}
table { border-collapse: collapse; width: 100%; font-size: 0.94rem; }
th, td { border: 1px solid var(--rule); padding: 0.4rem 0.65rem; vertical-align: top; text-align: left; }
th { background: var(--th-bg); font-weight: 600; }
tbody tr:nth-child(even) { background: var(--zebra); }
img { max-width: 100%; height: auto; }
figure { margin: 1.25rem 0 1.5rem; text-align: center; }
figure img { border: 1px solid var(--rule); border-radius: 6px; box-shadow: 0 2px 10px rgba(0, 0, 0, 0.08); }
figcaption { color: var(--muted); font-size: 0.9rem; margin-top: 0.45rem; }
blockquote {
  margin-left: 0; padding: 0.6rem 1rem; background: var(--note-bg);
  border-left: 4px solid var(--note-rule); border-radius: 0 6px 6px 0;
}
blockquote > :last-child { margin-bottom: 0; }
hr { border: 0; border-top: 1px solid var(--rule); margin: 2rem 0; }
nav.toc { background: var(--code-bg); border-radius: 6px; padding: 0.8rem 1.2rem; margin: 1.5rem 0 2rem; }
nav.toc h2 { font-size: 1rem; margin: 0 0 0.4rem; border: 0; padding: 0; }
nav.toc ol { margin: 0; columns: 2; column-gap: 2rem; }
nav.toc li { margin: 0.1rem 0; break-inside: avoid; }
@media (max-width: 40rem) { nav.toc ol { columns: 1; } }
@media print {
  body { max-width: none; padding: 0; }
  a { color: inherit; }
  nav.toc { display: none; }
  h2, h3 { break-after: avoid; }
  figure, table, pre { break-inside: avoid; }
}
)css";

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '&':
                out += QLatin1String("&amp;");
                break;
            case '<':
                out += QLatin1String("&lt;");
                break;
            case '>':
                out += QLatin1String("&gt;");
                break;
            case '"':
                out += QLatin1String("&quot;");
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool isBlank(const QString& line) { return line.trimmed().isEmpty(); }

int indentOf(const QString& line) {
    int n = 0;
    while (n < line.size() && line.at(n) == QLatin1Char(' ')) {
        ++n;
    }
    return n;
}

// Removes up to `count` leading spaces; lines indented less keep their text.
QString dedented(const QString& line, int count) { return line.mid(qMin(count, indentOf(line))); }

struct ListMarker {
    bool valid = false;
    bool ordered = false;
    int indent = 0;     // spaces before the marker
    int contentAt = 0;  // column where the item's text begins
    int start = 1;      // number of an ordered item
};

ListMarker listMarker(const QString& line) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^( *)([-*+]|(\d{1,9})[.)])( +)(?=\S))"));
    const auto m = pattern.match(line);
    ListMarker marker;
    if (!m.hasMatch()) {
        return marker;
    }
    marker.valid = true;
    marker.ordered = m.capturedLength(3) > 0;
    marker.indent = m.capturedLength(1);
    marker.contentAt = m.capturedLength(0);
    marker.start = marker.ordered ? m.captured(3).toInt() : 1;
    return marker;
}

bool isRule(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral(R"(^ {0,3}([-*_])( *\1){2,} *$)"));
    return pattern.match(line).hasMatch();
}

bool isFence(const QString& line) { return line.trimmed().startsWith(QLatin1String("```")); }

bool isHeading(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral(R"(^#{1,6}( |$))"));
    return pattern.match(line).hasMatch();
}

bool isTableSeparator(const QString& line) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^ *\|? *:?-+:? *(\| *:?-+:? *)*\|? *$)"));
    return line.contains(QLatin1Char('|')) && pattern.match(line).hasMatch();
}

// Splits a table row at the pipes that are neither escaped nor inside a code span.
QStringList tableCells(QString row) {
    row = row.trimmed();
    if (row.startsWith(QLatin1Char('|'))) {
        row.remove(0, 1);
    }
    if (row.endsWith(QLatin1Char('|')) && !row.endsWith(QLatin1String("\\|"))) {
        row.chop(1);
    }
    QStringList cells;
    QString cell;
    bool inCode = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row.at(i);
        if (c == QLatin1Char('\\') && i + 1 < row.size() && row.at(i + 1) == QLatin1Char('|')) {
            cell += QLatin1Char('|');
            ++i;
        } else if (c == QLatin1Char('`')) {
            inCode = !inCode;
            cell += c;
        } else if (c == QLatin1Char('|') && !inCode) {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell.trimmed();
    return cells;
}

class Converter {
  public:
    explicit Converter(QDir outputDir) : outputDir_(std::move(outputDir)) {}

    QString page(const QStringList& lines) {
        const QString body = blocks(lines, false);
        QString html;
        html += QLatin1String(
            "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n");
        html += QLatin1String(
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n");
        html += QLatin1String("<title>") +
                escaped(title_.isEmpty() ? QStringLiteral("User guide") : title_) +
                QLatin1String("</title>\n<style>") + QLatin1String(kStyleSheet) +
                QLatin1String("</style>\n");
        html += QLatin1String("</head>\n<body>\n");
        html += withContents(body);
        html += QLatin1String("</body>\n</html>\n");
        return html;
    }

    const QStringList& missingImages() const { return missingImages_; }

  private:
    struct Section {
        QString id;
        QString html;
    };

    // The table of contents goes just before the first second-level heading, once the headings
    // of the whole document are known.
    QString withContents(const QString& body) const {
        if (sections_.size() < 3) {
            return body;
        }
        const QString marker = QLatin1String("<h2 id=\"") + sections_.first().id + QLatin1Char('"');
        const auto at = body.indexOf(marker);
        if (at < 0) {
            return body;
        }
        QString nav = QLatin1String("<nav class=\"toc\">\n<h2>Contents</h2>\n<ol>\n");
        for (const Section& section : sections_) {
            nav += QLatin1String("<li><a href=\"#") + section.id + QLatin1String("\">") +
                   section.html + QLatin1String("</a></li>\n");
        }
        nav += QLatin1String("</ol>\n</nav>\n");
        return body.left(at) + nav + body.mid(at);
    }

    // GitHub's anchor rule, so that links written for the Markdown file also work in the page.
    QString anchorFor(const QString& headingText) {
        QString slug;
        for (const QChar c : headingText.toLower()) {
            if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')) {
                slug += c;
            } else if (c == QLatin1Char(' ')) {
                slug += QLatin1Char('-');
            }
        }
        const int seen = anchorsSeen_[slug]++;
        return seen == 0 ? slug : slug + QLatin1Char('-') + QString::number(seen);
    }

    static QString plainText(const QString& markdown) {
        QString text = markdown;
        static const QRegularExpression markup(QStringLiteral(R"([`*]|<\/?kbd>)"));
        text.remove(markup);
        static const QRegularExpression link(QStringLiteral(R"(\[([^\]]*)\]\([^)]*\))"));
        text.replace(link, QStringLiteral("\\1"));
        return text;
    }

    QString blocks(const QStringList& lines, bool tight) {
        QString out;
        qsizetype i = 0;
        while (i < lines.size()) {
            const QString& line = lines.at(i);
            if (isBlank(line)) {
                ++i;
            } else if (isFence(line)) {
                i = fencedCode(lines, i, out);
            } else if (isHeading(line)) {
                heading(line, out);
                ++i;
            } else if (isRule(line)) {
                out += QLatin1String("<hr>\n");
                ++i;
            } else if (line.trimmed().startsWith(QLatin1Char('>'))) {
                i = blockQuote(lines, i, out);
            } else if (listMarker(line).valid) {
                i = list(lines, i, out);
            } else if (line.contains(QLatin1Char('|')) && i + 1 < lines.size() &&
                       isTableSeparator(lines.at(i + 1))) {
                i = table(lines, i, out);
            } else {
                i = paragraph(lines, i, tight, out);
            }
        }
        return out;
    }

    qsizetype fencedCode(const QStringList& lines, qsizetype i, QString& out) {
        QString code;
        ++i;
        while (i < lines.size() && !isFence(lines.at(i))) {
            code += escaped(lines.at(i)) + QLatin1Char('\n');
            ++i;
        }
        out += QLatin1String("<pre><code>") + code + QLatin1String("</code></pre>\n");
        return i < lines.size() ? i + 1 : i;
    }

    void heading(const QString& line, QString& out) {
        int hashes = 0;
        while (hashes < line.size() && line.at(hashes) == QLatin1Char('#')) {
            ++hashes;
        }
        QString text = line.mid(hashes).trimmed();
        static const QRegularExpression closing(QStringLiteral(R"(\s+#+$)"));
        text.remove(closing);
        const QString html = inline_(text);
        if (hashes == 1 && title_.isEmpty()) {
            title_ = plainText(text);
        }
        const QString id = anchorFor(plainText(text));
        if (hashes == 2) {
            sections_.append({id, html});
        }
        const QString tag = QLatin1Char('h') + QString::number(hashes);
        out += QLatin1Char('<') + tag + QLatin1String(" id=\"") + id + QLatin1String("\">") + html +
               QLatin1String("</") + tag + QLatin1String(">\n");
    }

    qsizetype blockQuote(const QStringList& lines, qsizetype i, QString& out) {
        QStringList inner;
        while (i < lines.size() && !isBlank(lines.at(i))) {
            QString text = lines.at(i).trimmed();
            if (text.startsWith(QLatin1Char('>'))) {
                text.remove(0, 1);
                if (text.startsWith(QLatin1Char(' '))) {
                    text.remove(0, 1);
                }
            }
            inner << text;
            ++i;
        }
        out += QLatin1String("<blockquote>\n") + blocks(inner, false) +
               QLatin1String("</blockquote>\n");
        return i;
    }

    qsizetype list(const QStringList& lines, qsizetype i, QString& out) {
        const ListMarker first = listMarker(lines.at(i));
        QList<QStringList> items;
        bool loose = false;
        while (i < lines.size()) {
            const ListMarker marker = listMarker(lines.at(i));
            if (!marker.valid || marker.ordered != first.ordered || marker.indent != first.indent) {
                break;
            }
            QStringList item{lines.at(i).mid(marker.contentAt)};
            ++i;
            bool lastWasBlank = false;
            while (i < lines.size()) {
                const QString& line = lines.at(i);
                if (isBlank(line)) {
                    lastWasBlank = true;
                    item << QString();
                    ++i;
                    continue;
                }
                const int indent = indentOf(line);
                if (indent >= marker.contentAt) {
                    item << dedented(line, marker.contentAt);
                } else if (!lastWasBlank && indent > first.indent && !listMarker(line).valid) {
                    item << line.trimmed();  // a lazily indented continuation of the item's text
                } else if (!lastWasBlank && !listMarker(line).valid && !isHeading(line) &&
                           !isFence(line) && !isRule(line) &&
                           !line.trimmed().startsWith(QLatin1Char('>'))) {
                    item << line.trimmed();
                } else {
                    break;
                }
                if (lastWasBlank) {
                    loose = true;
                }
                lastWasBlank = false;
                ++i;
            }
            while (!item.isEmpty() && isBlank(item.last())) {
                item.removeLast();
            }
            items << item;
            // A blank line followed by the next item of this list makes the list loose.
            if (lastWasBlank && i < lines.size()) {
                const ListMarker next = listMarker(lines.at(i));
                if (next.valid && next.indent == first.indent && next.ordered == first.ordered) {
                    loose = true;
                }
            }
        }
        const QString tag = first.ordered ? QStringLiteral("ol") : QStringLiteral("ul");
        out += QLatin1Char('<') + tag;
        if (first.ordered && first.start != 1) {
            out += QLatin1String(" start=\"") + QString::number(first.start) + QLatin1Char('"');
        }
        out += QLatin1String(">\n");
        for (const QStringList& item : items) {
            QString content = blocks(item, !loose);
            if (content.endsWith(QLatin1Char('\n'))) {
                content.chop(1);
            }
            out += QLatin1String("<li>") + content + QLatin1String("</li>\n");
        }
        out += QLatin1String("</") + tag + QLatin1String(">\n");
        return i;
    }

    qsizetype table(const QStringList& lines, qsizetype i, QString& out) {
        const QStringList header = tableCells(lines.at(i));
        QStringList align;
        for (const QString& delimiter : tableCells(lines.at(i + 1))) {
            const bool left = delimiter.startsWith(QLatin1Char(':'));
            const bool right = delimiter.endsWith(QLatin1Char(':'));
            align << (left && right ? QStringLiteral(" style=\"text-align:center\"")
                      : right       ? QStringLiteral(" style=\"text-align:right\"")
                                    : QString());
        }
        auto row = [&](const QStringList& cells, const QString& tag) {
            QString html = QLatin1String("<tr>");
            for (qsizetype c = 0; c < header.size(); ++c) {
                const QString a = c < align.size() ? align.at(c) : QString();
                html += QLatin1Char('<') + tag + a + QLatin1Char('>') +
                        inline_(c < cells.size() ? cells.at(c) : QString()) + QLatin1String("</") +
                        tag + QLatin1Char('>');
            }
            return html + QLatin1String("</tr>\n");
        };
        out += QLatin1String("<table>\n<thead>\n") + row(header, QStringLiteral("th")) +
               QLatin1String("</thead>\n<tbody>\n");
        i += 2;
        while (i < lines.size() && !isBlank(lines.at(i)) &&
               lines.at(i).contains(QLatin1Char('|'))) {
            out += row(tableCells(lines.at(i)), QStringLiteral("td"));
            ++i;
        }
        out += QLatin1String("</tbody>\n</table>\n");
        return i;
    }

    qsizetype paragraph(const QStringList& lines, qsizetype i, bool tight, QString& out) {
        QStringList text;
        while (i < lines.size()) {
            const QString& line = lines.at(i);
            if (isBlank(line) || isFence(line) || isHeading(line) || isRule(line) ||
                line.trimmed().startsWith(QLatin1Char('>')) ||
                (!text.isEmpty() && listMarker(line).valid) ||
                (line.contains(QLatin1Char('|')) && i + 1 < lines.size() &&
                 isTableSeparator(lines.at(i + 1)))) {
                break;
            }
            text << line;
            ++i;
        }
        // A paragraph that is nothing but an image becomes a figure with its caption.
        static const QRegularExpression lone(
            QStringLiteral(R"re(^\s*!\[([^\]]*)\]\(([^)\s]+)(?:\s+"([^"]*)")?\)\s*$)re"));
        if (text.size() == 1) {
            const auto m = lone.match(text.first());
            if (m.hasMatch()) {
                figure(m.captured(1), m.captured(2), m.captured(3), out);
                return i;
            }
        }
        QString html;
        for (qsizetype n = 0; n < text.size(); ++n) {
            QString line = text.at(n);
            const bool hardBreak =
                line.endsWith(QLatin1String("  ")) || line.endsWith(QLatin1Char('\\'));
            line = line.trimmed();
            if (line.endsWith(QLatin1Char('\\'))) {
                line.chop(1);
            }
            html += inline_(line);
            if (n + 1 < text.size()) {
                html += hardBreak ? QLatin1String("<br>\n") : QLatin1String("\n");
            }
        }
        out += tight ? html + QLatin1Char('\n')
                     : QLatin1String("<p>") + html + QLatin1String("</p>\n");
        return i;
    }

    bool imageAvailable(const QString& source) {
        static const QRegularExpression remote(QStringLiteral(R"(^[a-z][a-z0-9+.-]*:)"));
        if (remote.match(source).hasMatch() || QFileInfo::exists(outputDir_.filePath(source))) {
            return true;
        }
        missingImages_ << source;
        return false;
    }

    void figure(const QString& alt, const QString& source, const QString& title, QString& out) {
        if (!imageAvailable(source)) {
            return;
        }
        const QString caption = title.isEmpty() ? alt : title;
        out += QLatin1String("<figure>\n<img src=\"") + escaped(source) +
               QLatin1String("\" alt=\"") + escaped(alt) + QLatin1String("\" loading=\"lazy\">\n");
        if (!caption.isEmpty()) {
            out +=
                QLatin1String("<figcaption>") + inline_(caption) + QLatin1String("</figcaption>\n");
        }
        out += QLatin1String("</figure>\n");
    }

    // Inline markup: code spans, images, links, strong and emphasis, <kbd>, backslash escapes.
    // Underscores are left alone: catalogue names such as _LADO1 must survive as written.
    QString inline_(const QString& text) {
        QString out;
        const qsizetype n = text.size();
        qsizetype i = 0;
        auto startsWithAt = [&](qsizetype at, QLatin1String what) {
            return QStringView(text).mid(at).startsWith(what);
        };
        while (i < n) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('\\') && i + 1 < n && text.at(i + 1).isPunct()) {
                out += escaped(text.at(i + 1));
                i += 2;
            } else if (c == QLatin1Char('`')) {
                qsizetype ticks = 0;
                while (i + ticks < n && text.at(i + ticks) == QLatin1Char('`')) {
                    ++ticks;
                }
                const QString fence(ticks, QLatin1Char('`'));
                const auto end = text.indexOf(fence, i + ticks);
                if (end < 0) {
                    out += fence;
                    i += ticks;
                } else {
                    QString code = text.mid(i + ticks, end - i - ticks);
                    if (code.size() > 1 && code.startsWith(QLatin1Char(' ')) &&
                        code.endsWith(QLatin1Char(' '))) {
                        code = code.mid(1, code.size() - 2);
                    }
                    out += QLatin1String("<code>") + escaped(code) + QLatin1String("</code>");
                    i = end + ticks;
                }
            } else if (startsWithAt(i, QLatin1String("<kbd>"))) {
                const auto end = text.indexOf(QLatin1String("</kbd>"), i);
                if (end < 0) {
                    out += escaped(c);
                    ++i;
                } else {
                    out += QLatin1String("<kbd>") + escaped(text.mid(i + 5, end - i - 5)) +
                           QLatin1String("</kbd>");
                    i = end + 6;
                }
            } else if ((c == QLatin1Char('!') && i + 1 < n && text.at(i + 1) == QLatin1Char('[')) ||
                       c == QLatin1Char('[')) {
                const bool image = c == QLatin1Char('!');
                const qsizetype open = image ? i + 1 : i;
                const auto close = text.indexOf(QLatin1Char(']'), open);
                if (close > 0 && close + 1 < n && text.at(close + 1) == QLatin1Char('(')) {
                    const auto end = text.indexOf(QLatin1Char(')'), close + 2);
                    if (end > 0) {
                        const QString label = text.mid(open + 1, close - open - 1);
                        const QString target = text.mid(close + 2, end - close - 2).trimmed();
                        if (image) {
                            if (imageAvailable(target)) {
                                out += QLatin1String("<img src=\"") + escaped(target) +
                                       QLatin1String("\" alt=\"") + escaped(label) +
                                       QLatin1String("\">");
                            }
                        } else {
                            out += QLatin1String("<a href=\"") + escaped(target) +
                                   QLatin1String("\">") + inline_(label) + QLatin1String("</a>");
                        }
                        i = end + 1;
                        continue;
                    }
                }
                out += escaped(c);
                ++i;
            } else if (startsWithAt(i, QLatin1String("**"))) {
                const auto end = text.indexOf(QLatin1String("**"), i + 2);
                if (end > i + 2) {
                    out += QLatin1String("<strong>") + inline_(text.mid(i + 2, end - i - 2)) +
                           QLatin1String("</strong>");
                    i = end + 2;
                } else {
                    out += QLatin1String("**");
                    i += 2;
                }
            } else if (c == QLatin1Char('*') && i + 1 < n && !text.at(i + 1).isSpace()) {
                const auto end = text.indexOf(QLatin1Char('*'), i + 1);
                if (end > i + 1 && !text.at(end - 1).isSpace()) {
                    out += QLatin1String("<em>") + inline_(text.mid(i + 1, end - i - 1)) +
                           QLatin1String("</em>");
                    i = end + 1;
                } else {
                    out += c;
                    ++i;
                }
            } else {
                out += escaped(c);
                ++i;
            }
        }
        return out;
    }

    QDir outputDir_;
    QString title_;
    QList<Section> sections_;
    QHash<QString, int> anchorsSeen_;
    QStringList missingImages_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: md_to_html INPUT.md OUTPUT.html\n");
        return 2;
    }
    QFile input(args.at(1));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "md_to_html: cannot read %s: %s\n", qPrintable(args.at(1)),
                     qPrintable(input.errorString()));
        return 1;
    }
    QString source = QString::fromUtf8(input.readAll());
    source.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    source.replace(QLatin1Char('\t'), QLatin1String("    "));

    const QFileInfo outputInfo(args.at(2));
    Converter converter(outputInfo.absoluteDir());
    const QString html = converter.page(source.split(QLatin1Char('\n')));

    QFile output(args.at(2));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        output.write(html.toUtf8()) < 0 || !output.flush()) {
        std::fprintf(stderr, "md_to_html: cannot write %s: %s\n", qPrintable(args.at(2)),
                     qPrintable(output.errorString()));
        return 1;
    }
    if (!converter.missingImages().isEmpty()) {
        std::fprintf(stderr, "md_to_html: %lld image(s) not found beside %s, left out: %s\n",
                     static_cast<long long>(converter.missingImages().size()),
                     qPrintable(outputInfo.fileName()),
                     qPrintable(converter.missingImages().join(QLatin1String(", "))));
    }
    return 0;
}
