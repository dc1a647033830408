#include "cli/export_command.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <cstdio>
#include <ostream>
#include <vector>

#include "cli/cli.h"
#include "export/documents.h"
#include "export/file_writer.h"
#include "export/pdf_exporter.h"

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

// The toolkit's and the web engine's notes about missing graphics are no business of a
// command-line user; real failures are reported by the export itself.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "morvane-astro-cli: %s\n", message.toLocal8Bit().constData());
    }
}

// One PDF at a time, in tab order, so the paths print in a fixed order.
WriteError renderPdf(const TabPdf& pdf, const QString& path) {
    QEventLoop loop;
    WriteError error;
    PDFExporter::exportHTML(pdf.html, pdf.pageSize, [&](PDFExporter::Result result) {
        if (const auto* cause = std::get_if<QString>(&result)) {
            error = QStringLiteral("rendering failed: ") + *cause;
        } else {
            error = writePdfFile(path, std::get<QByteArray>(result));
        }
        loop.quit();
    });
    loop.exec();
    return error;
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

    // The web engine needs a GUI application; without a display it uses the offscreen platform.
    if (QCoreApplication::instance() != nullptr) {
        err << "morvane-astro-cli: cannot render PDF files inside this process\n";
        return kExitWriteFailure;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    prepareWebEngine();
    int argc = 1;
    char name[] = "morvane-astro-cli";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    int status = kExitOk;
    for (OutputTab tab : tabs) {
        const auto page = tabPdf(tab, context);
        const QString path =
            dir.filePath(suggestedFileName(context, page->baseName, QStringLiteral("pdf")));
        const WriteError error = renderPdf(*page, path);
        // Finished exporters delete themselves later: let them go before the application does.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!reportWritten(path, error, out, err)) {
            status = kExitWriteFailure;
            break;
        }
    }
    return status;
}

}  // namespace morvane::cli
