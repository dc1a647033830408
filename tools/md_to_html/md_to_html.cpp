// md_to_html INPUT.md OUTPUT.html
//
// Turns the user guide into one standalone HTML page with its own stylesheet. cmark-gfm reads the
// Markdown (with GitHub's pipe tables); on top of its HTML this adds what a page to read needs:
// an id on every heading, a table of contents, figures with captions and the page around it.
//
// The guide is our own text, so its raw HTML (<kbd>) is passed through.
//
// Images are resolved against the output's folder. A local image that is missing there is left
// out with its figure: the screenshots arrive after the text, and a guide with a broken image
// icon on every page reads worse than one without pictures.
#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

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

constexpr int kOptions = CMARK_OPT_UNSAFE;

struct NodeFree {
    void operator()(cmark_node* node) const { cmark_node_free(node); }
};
struct ParserFree {
    void operator()(cmark_parser* parser) const { cmark_parser_free(parser); }
};

QString text(const char* utf8) { return QString::fromUtf8(utf8 != nullptr ? utf8 : ""); }

// What the inlines under `node` read as, without their markup: code keeps its text, a link its
// label, and raw HTML such as <kbd> drops out.
QString plainText(cmark_node* node) {
    QString out;
    for (cmark_node* child = cmark_node_first_child(node); child != nullptr;
         child = cmark_node_next(child)) {
        switch (cmark_node_get_type(child)) {
            case CMARK_NODE_TEXT:
            case CMARK_NODE_CODE:
                out += text(cmark_node_get_literal(child));
                break;
            case CMARK_NODE_SOFTBREAK:
            case CMARK_NODE_LINEBREAK:
                out += QLatin1Char(' ');
                break;
            default:
                out += plainText(child);
        }
    }
    return out;
}

cmark_node* htmlBlock(const QString& html) {
    cmark_node* block = cmark_node_new(CMARK_NODE_HTML_BLOCK);
    cmark_node_set_literal(block, html.toUtf8().constData());
    return block;
}

// Puts `html` where `node` was and frees the node with everything under it.
void replaceWith(cmark_node* node, const QString& html) {
    cmark_node_replace(node, htmlBlock(html));
    cmark_node_free(node);
}

class Page {
  public:
    Page(QDir outputDir, cmark_llist* extensions)
        : outputDir_(std::move(outputDir)), extensions_(extensions) {}

    QString render(cmark_node* document) {
        QList<cmark_node*> headings, images;
        cmark_iter* iter = cmark_iter_new(document);
        for (cmark_event_type event; (event = cmark_iter_next(iter)) != CMARK_EVENT_DONE;) {
            if (event != CMARK_EVENT_ENTER) continue;
            cmark_node* node = cmark_iter_get_node(iter);
            if (cmark_node_get_type(node) == CMARK_NODE_HEADING) headings << node;
            if (cmark_node_get_type(node) == CMARK_NODE_IMAGE) images << node;
        }
        cmark_iter_free(iter);

        for (cmark_node* image : images) placeImage(image);
        cmark_node* firstSection = nullptr;
        for (cmark_node* heading : headings) {
            if (cmark_node_get_heading_level(heading) == 2 && firstSection == nullptr) {
                firstSection = cmark_node_new(CMARK_NODE_HTML_BLOCK);
                cmark_node_insert_before(heading, firstSection);
            }
            addId(heading);
        }
        // The contents go just before the first second-level heading, once all are known; their
        // own heading's id is chosen last so that it never takes a section's.
        if (firstSection != nullptr && sections_.size() >= 3) {
            replaceWith(firstSection, contents());
        } else if (firstSection != nullptr) {
            cmark_node_free(firstSection);
        }

        std::unique_ptr<char, decltype(&std::free)> body(
            cmark_render_html(document, kOptions, extensions_), &std::free);
        QString html = QLatin1String(
            "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n");
        html += QLatin1String("<title>") +
                (title_.isEmpty() ? QStringLiteral("User guide") : title_).toHtmlEscaped() +
                QLatin1String("</title>\n<style>") + QLatin1String(kStyleSheet) +
                QLatin1String("</style>\n</head>\n<body>\n") + text(body.get()) +
                QLatin1String("</body>\n</html>\n");
        return html;
    }

    const QStringList& missingImages() const { return missingImages_; }

  private:
    struct Section {
        QString id;
        QString html;
    };

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

    QString renderHtml(cmark_node* node) const {
        std::unique_ptr<char, decltype(&std::free)> html(
            cmark_render_html(node, kOptions, extensions_), &std::free);
        return text(html.get());
    }

    void addId(cmark_node* heading) {
        const int level = cmark_node_get_heading_level(heading);
        const QString plain = plainText(heading);
        if (level == 1 && title_.isEmpty()) title_ = plain;
        const QString id = anchorFor(plain);
        // cmark writes "<hN>inner</hN>\n"; the inner part is kept for the contents too.
        QString inner = renderHtml(heading).trimmed();
        inner = inner.mid(4, inner.size() - 9);
        if (level == 2) sections_.append({id, inner});
        replaceWith(heading, QStringLiteral("<h%1 id=\"%2\">%3</h%1>")
                                 .arg(QString::number(level), id.toHtmlEscaped(), inner));
    }

    QString contents() {
        QString nav = QStringLiteral("<nav class=\"toc\">\n<h2 id=\"%1\">Contents</h2>\n<ol>\n")
                          .arg(anchorFor(QStringLiteral("Contents")));
        for (const Section& section : sections_) {
            nav += QStringLiteral("<li><a href=\"#%1\">%2</a></li>\n")
                       .arg(section.id.toHtmlEscaped(), section.html);
        }
        return nav + QLatin1String("</ol>\n</nav>");
    }

    bool imageAvailable(const QString& source) {
        static const QRegularExpression remote(QStringLiteral(R"(^[a-z][a-z0-9+.-]*:)"));
        if (remote.match(source).hasMatch() || QFileInfo::exists(outputDir_.filePath(source))) {
            return true;
        }
        missingImages_ << source;
        return false;
    }

    // An image that is a paragraph of its own becomes a figure captioned with its title, or its
    // description when it has none; a missing one goes, and so does an image within the text.
    void placeImage(cmark_node* image) {
        const QString source = text(cmark_node_get_url(image));
        cmark_node* parent = cmark_node_parent(image);
        const bool alone = cmark_node_get_type(parent) == CMARK_NODE_PARAGRAPH &&
                           cmark_node_first_child(parent) == image &&
                           cmark_node_last_child(parent) == image;
        if (!imageAvailable(source)) {
            cmark_node_free(alone ? parent : image);
            return;
        }
        if (!alone) return;
        const QString alt = plainText(image);
        const QString title = text(cmark_node_get_title(image));
        const QString caption = title.isEmpty() ? alt : title;
        QString figure = QStringLiteral("<figure>\n<img src=\"%1\" alt=\"%2\" loading=\"lazy\">\n")
                             .arg(source.toHtmlEscaped(), alt.toHtmlEscaped());
        if (!caption.isEmpty()) {
            figure += QLatin1String("<figcaption>") + caption.toHtmlEscaped() +
                      QLatin1String("</figcaption>\n");
        }
        replaceWith(parent, figure + QLatin1String("</figure>"));
    }

    QDir outputDir_;
    cmark_llist* extensions_;
    QString title_;
    QList<Section> sections_;
    QHash<QString, int> anchorsSeen_;
    QStringList missingImages_;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: md_to_html INPUT.md OUTPUT.html\n");
        return 2;
    }
    const QString inputPath = QString::fromLocal8Bit(argv[1]);
    const QString outputPath = QString::fromLocal8Bit(argv[2]);
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "md_to_html: cannot read %s: %s\n", argv[1],
                     qPrintable(input.errorString()));
        return 1;
    }
    const QByteArray source = input.readAll();

    cmark_gfm_core_extensions_ensure_registered();
    std::unique_ptr<cmark_parser, ParserFree> parser(cmark_parser_new(kOptions));
    cmark_parser_attach_syntax_extension(parser.get(), cmark_find_syntax_extension("table"));
    cmark_parser_feed(parser.get(), source.constData(), static_cast<size_t>(source.size()));
    std::unique_ptr<cmark_node, NodeFree> document(cmark_parser_finish(parser.get()));

    const QFileInfo outputInfo(outputPath);
    Page page(outputInfo.absoluteDir(), cmark_parser_get_syntax_extensions(parser.get()));
    const QByteArray html = page.render(document.get()).toUtf8();

    QFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) || output.write(html) < 0 ||
        !output.flush()) {
        std::fprintf(stderr, "md_to_html: cannot write %s: %s\n", argv[2],
                     qPrintable(output.errorString()));
        return 1;
    }
    if (!page.missingImages().isEmpty()) {
        std::fprintf(stderr, "md_to_html: %lld image(s) not found beside %s, left out: %s\n",
                     static_cast<long long>(page.missingImages().size()),
                     qPrintable(outputInfo.fileName()),
                     qPrintable(page.missingImages().join(QLatin1String(", "))));
    }
    return 0;
}
