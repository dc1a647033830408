// The PDF renderer of morvane-astro-cli: reads the pages of one "export --pdf" on standard
// input (cli/pdf_job.h), prints each to its file in one web engine start, and reports every
// file on standard output as it is written. Kept out of the companion so that no other
// command pays for loading the web engine.
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "cli/pdf_job.h"
#include "export/file_writer.h"
#include "export/pdf_exporter.h"

namespace {

using morvane::PDFExporter;
using morvane::WriteError;
using morvane::cli::PdfPage;

constexpr int kExitPageFailed = 1;
constexpr int kExitBadRequest = 2;

// The toolkit's and the web engine's notes about missing graphics are no business of a
// command-line user; real failures are reported page by page.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "morvane-astro-pdf: %s\n", message.toLocal8Bit().constData());
    }
}

// One page at a time, in request order, so that the report lines follow it.
WriteError renderPdf(const PdfPage& page) {
    QEventLoop loop;
    WriteError error;
    PDFExporter::exportHTML(page.html, page.pageSize, [&](PDFExporter::Result result) {
        if (const auto* cause = std::get_if<QString>(&result)) {
            error = QStringLiteral("rendering failed: ") + *cause;
        } else {
            error = morvane::writePdfFile(page.path, std::get<QByteArray>(result));
        }
        loop.quit();
    });
    loop.exec();
    return error;
}

bool report(const WriteError& error) {
    const QByteArray line = morvane::cli::pdfReportLine(error);
    return std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout) ==
               static_cast<size_t>(line.size()) &&
           std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QFile input;
    const auto pages = argc == 1 && input.open(stdin, QIODevice::ReadOnly)
                           ? morvane::cli::decodePdfJob(input.readAll())
                           : std::nullopt;
    if (!pages) {
        std::fputs(
            "morvane-astro-pdf: expects the pages of morvane-astro-cli export --pdf on "
            "standard input, and no arguments\n",
            stderr);
        return kExitBadRequest;
    }

    // The web engine needs a GUI application; without a display it uses the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    morvane::prepareWebEngine();
    QGuiApplication app(argc, argv);
    for (const PdfPage& page : *pages) {
        const WriteError error = renderPdf(page);
        // Finished exporters delete themselves later: let them go before the application does.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!report(error)) return kExitPageFailed;
        if (error) return kExitPageFailed;
    }
    return 0;
}
