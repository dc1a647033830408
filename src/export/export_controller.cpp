#include "export/export_controller.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

#include "export/documents.h"
#include "export/file_writer.h"
#include "export/pdf_exporter.h"

namespace morvane {

StandardFolders StandardFolders::ofUser() {
    return {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation), QDir::homePath()};
}

QString startFolder(FileChooser::Kind kind, const std::optional<QString>& lastFolder,
                    const StandardFolders& folders) {
    // A folder removed or unmounted since would open the dialog somewhere arbitrary.
    const auto usable = [](const QString& folder) {
        return !folder.isEmpty() && QFileInfo(folder).isDir();
    };
    if (lastFolder && usable(*lastFolder)) return *lastFolder;
    const QString& usual = kind == FileChooser::Kind::svg ? folders.pictures : folders.documents;
    return usable(usual) ? usual : folders.home;
}

DialogFileChooser::DialogFileChooser(QWidget* parent, std::shared_ptr<SettingsStore> settings)
    : parent_(parent),
      settings_(settings ? std::move(settings) : std::make_shared<QSettingsStore>()) {}

void DialogFileChooser::chooseSaveLocation(Kind kind, const QString& message,
                                           const QString& suggestedName,
                                           std::function<void(std::optional<QString>)> done) {
    const QString lastFolderKey = QString::fromLatin1(kLastExportFolderKey);
    auto* dialog = new QFileDialog(parent_, message);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setLabelText(QFileDialog::LookIn, message);
    switch (kind) {
        case Kind::svg:
            dialog->setMimeTypeFilters({QStringLiteral("image/svg+xml")});
            break;
        case Kind::text:
            dialog->setMimeTypeFilters({QStringLiteral("text/plain")});
            break;
        case Kind::pdf:
            dialog->setMimeTypeFilters({QStringLiteral("application/pdf")});
            break;
    }
    dialog->setDirectory(startFolder(kind, storedText(settings_->value(lastFolderKey))));
    dialog->selectFile(suggestedName);
    // Either signal ends the dialog; `done` must run exactly once.
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [done, answered, settings = settings_, lastFolderKey](const QString& path) {
                         if (*answered) return;
                         *answered = true;
                         if (path.isEmpty()) {
                             done(std::nullopt);
                             return;
                         }
                         settings->setText(lastFolderKey, QFileInfo(path).absolutePath());
                         done(path);
                     });
    QObject::connect(dialog, &QFileDialog::rejected, dialog, [done, answered] {
        if (*answered) return;
        *answered = true;
        done(std::nullopt);
    });
    dialog->open();
}

ExportController::ExportController(std::unique_ptr<FileChooser> chooser, QObject* parent)
    : QObject(parent), chooser_(std::move(chooser)) {}

ExportController::~ExportController() = default;

void ExportController::exportDocument(OutputTab tab, const ExportContext& context) {
    const auto document = tabDocument(tab, context);
    if (!document) return;
    const QString extension = document->isSvg ? QStringLiteral("svg") : QStringLiteral("txt");
    const QString name = suggestedFileName(context, document->baseName, extension);
    if (document->isSvg) {
        saveSVG(document->content, name);
    } else {
        saveText(document->content, name);
    }
}

void ExportController::exportPDF(OutputTab tab, const ExportContext& context) {
    const auto pdf = tabPdf(tab, context);
    if (!pdf) return;
    savePDF(pdf->html, pdf->pageSize,
            suggestedFileName(context, pdf->baseName, QStringLiteral("pdf")));
}

void ExportController::exportText(OutputTab tab, const ExportContext& context) {
    const auto document = tabTextDocument(tab, context);
    if (!document) return;
    saveText(document->content,
             suggestedFileName(context, document->baseName, QStringLiteral("txt")));
}

void ExportController::saveSVG(const QString& svg, const QString& suggestedName) {
    QPointer<ExportController> self(this);
    chooser_->chooseSaveLocation(
        FileChooser::Kind::svg, QStringLiteral("Choose where to save the SVG file"), suggestedName,
        [self, svg](std::optional<QString> path) {
            if (!path || !self) return;
            if (const WriteError error = writeSvgFile(*path, svg)) {
                self->fail(QStringLiteral("Error saving SVG: "), *path, *error);
            } else {
                emit self->exported(*path);
            }
        });
}

void ExportController::saveText(const QString& text, const QString& suggestedName) {
    QPointer<ExportController> self(this);
    chooser_->chooseSaveLocation(
        FileChooser::Kind::text, QStringLiteral("Choose where to save the text file"),
        suggestedName, [self, text](std::optional<QString> path) {
            if (!path || !self) return;
            if (const WriteError error = writeTextFile(*path, text)) {
                self->fail(QStringLiteral("Error saving text: "), *path, *error);
            } else {
                emit self->exported(*path);
            }
        });
}

void ExportController::savePDF(const QString& html, QSizeF pageSize, const QString& suggestedName) {
    QPointer<ExportController> self(this);
    chooser_->chooseSaveLocation(
        FileChooser::Kind::pdf, QStringLiteral("Choose where to save the PDF file"), suggestedName,
        [self, html, pageSize](std::optional<QString> path) {
            if (!path || !self) return;
            PDFExporter::exportHTML(
                html, pageSize, [self, file = *path](PDFExporter::Result result) {
                    if (!self) return;  // the window went away while the page was printing
                    if (const auto* cause = std::get_if<QString>(&result)) {
                        self->fail(QStringLiteral("Error rendering PDF: "), file, *cause);
                    } else if (const WriteError error =
                                   writePdfFile(file, std::get<QByteArray>(result))) {
                        self->fail(QStringLiteral("Error writing PDF: "), file, *error);
                    } else {
                        emit self->exported(file);
                    }
                });
        });
}

void ExportController::fail(const QString& prefix, const QString& path, const QString& cause) {
    printExportError(prefix, cause);
    emit exportFailed(path, cause);
}

}  // namespace morvane
