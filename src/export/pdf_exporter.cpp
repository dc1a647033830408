#include "export/pdf_exporter.h"

#include <unistd.h>

#include <QColor>
#include <QCoreApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

namespace morvane {

namespace {

QList<PDFExporter*>& exporters() {
    static QList<PDFExporter*> list;
    return list;
}

}  // namespace

void prepareWebEngine() {
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

const QList<PDFExporter*>& PDFExporter::activeExporters() { return exporters(); }

PDFExporter::PDFExporter(QSizeF pageSize, Completion completion)
    : page_(std::make_unique<QWebEnginePage>()),
      pageSize_(pageSize),
      completion_(std::move(completion)) {
    page_->setBackgroundColor(QColor(Qt::transparent));
    connect(page_.get(), &QWebEnginePage::loadFinished, this, &PDFExporter::loadFinished);
}

PDFExporter::~PDFExporter() = default;

void PDFExporter::exportHTML(const QString& html, QSizeF pageSize, Completion completion) {
    auto* exporter = new PDFExporter(pageSize, std::move(completion));
    exporters().append(exporter);
    exporter->page_->setHtml(html, QUrl());  // no base address: the page reaches nothing else
}

void PDFExporter::loadFinished(bool ok) {
    if (!ok) {
        finish(QStringLiteral("the page could not be laid out"));
        return;
    }
    // Printing is started from a fresh turn of the event loop, and only if this exporter is
    // still there by then.
    QPointer<PDFExporter> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self) return;
        const QPageLayout layout(
            QPageSize(self->pageSize_, QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        self->page_->printToPdf(
            [self](const QByteArray& pdf) {
                if (!self) return;
                if (pdf.isEmpty()) {
                    self->finish(QStringLiteral("the web engine produced no PDF"));
                } else {
                    self->finish(pdf);
                }
            },
            layout);
    });
}

void PDFExporter::finish(Result result) {
    if (finished_) return;
    finished_ = true;
    disconnect(page_.get(), nullptr, this, nullptr);
    Completion completion = std::move(completion_);
    completion(std::move(result));
    exporters().removeOne(this);
    deleteLater();
}

}  // namespace morvane
