#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "export/export_context.h"
#include "export/output_tab.h"

class QWidget;

namespace morvane {

/// Asks the user where to save a file, without blocking: `done` gets the chosen path, or
/// nothing when the user cancelled.
class FileChooser {
public:
    enum class Kind { svg, text, pdf };
    virtual ~FileChooser() = default;
    virtual void chooseSaveLocation(Kind kind, const QString& message, const QString& suggestedName,
                                    std::function<void(std::optional<QString>)> done) = 0;
};

/// The save dialog of the desktop: a free-standing QFileDialog with one file type.
class DialogFileChooser final : public FileChooser {
public:
    explicit DialogFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void chooseSaveLocation(Kind kind, const QString& message, const QString& suggestedName,
                            std::function<void(std::optional<QString>)> done) override;

private:
    QWidget* parent_;
};

/// The two export buttons: the content is taken when a button is pressed, travels with the
/// save dialog, and is written when the user confirms. A failure prints its line on standard
/// output and is announced through exportFailed, so the window can show it.
class ExportController : public QObject {
    Q_OBJECT

public:
    ExportController(std::unique_ptr<FileChooser> chooser, QObject* parent = nullptr);
    ~ExportController() override;

    /// The first button: the tab's SVG or text document. Nothing on the location tab.
    void exportDocument(OutputTab tab, const ExportContext& context);
    /// The second button: the tab's PDF. Nothing on the location tab.
    void exportPDF(OutputTab tab, const ExportContext& context);

    void saveSVG(const QString& svg, const QString& suggestedName);
    void saveText(const QString& text, const QString& suggestedName);
    void savePDF(const QString& html, QSizeF pageSize, const QString& suggestedName);

signals:
    /// A file was written.
    void exported(const QString& path);
    /// A file could not be written or rendered: which and why.
    void exportFailed(const QString& path, const QString& cause);

private:
    void fail(const QString& prefix, const QString& path, const QString& cause);
    std::unique_ptr<FileChooser> chooser_;
};

}  // namespace morvane
