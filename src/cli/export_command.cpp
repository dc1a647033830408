#include "cli/export_command.h"

#include <QDir>
#include <ostream>
#include <vector>

#include "cli/cli.h"
#include "cli/pdf_renderer.h"
#include "export/documents.h"
#include "export/file_writer.h"

namespace morvane::cli {

namespace {

bool reportWritten(const QString& path, const WriteError& error, std::ostream& out,
                   std::ostream& err) {
    if (error) {
        err << "morvane-astro-cli: cannot write " << path.toStdString() << ": "
            << error->toStdString() << '\n';
        return false;
    }
    out << path.toStdString() << '\n';
    return true;
}

}  // namespace

int exportAll(const ExportContext& context, const QString& folder, bool pdf, std::ostream& out,
              std::ostream& err) {
    const QDir dir(folder);
    const std::vector<OutputTab> tabs = {OutputTab::starMap, OutputTab::horoscope,
                                         OutputTab::planets, OutputTab::sunMoon,
                                         OutputTab::positions};
    for (OutputTab tab : tabs) {
        const auto document = tabDocument(tab, context);
        const QString path = dir.filePath(
            suggestedFileName(context, document->baseName,
                              document->isSvg ? QStringLiteral("svg") : QStringLiteral("txt")));
        const WriteError error = document->isSvg ? writeSvgFile(path, document->content)
                                                 : writeTextFile(path, document->content);
        if (!reportWritten(path, error, out, err)) return kExitWriteFailure;
    }
    if (!pdf) return kExitOk;

    QList<PdfPage> pages;
    for (OutputTab tab : tabs) {
        const auto page = tabPdf(tab, context);
        pages.append(
            {page->html, page->pageSize,
             dir.filePath(suggestedFileName(context, page->baseName, QStringLiteral("pdf")))});
    }
    // The renderer writes the files in tab order and stops at the first failure.
    const PdfReport report = renderPdfPages(pages);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        WriteError error;
        if (i >= report.written) error = report.error.value_or(QStringLiteral("not written"));
        if (!reportWritten(pages[i].path, error, out, err)) return kExitWriteFailure;
    }
    return kExitOk;
}

}  // namespace morvane::cli
