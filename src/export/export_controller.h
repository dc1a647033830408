#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "export/export_context.h"
#include "export/output_tab.h"
#include "model/settings_store.h"

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

/// The folders a save dialog may start in when no earlier folder is usable.
struct StandardFolders {
    QString documents;
    QString pictures;
    QString home;
    /// The user's own, from QStandardPaths.
    static StandardFolders ofUser();
};

/// Where a save dialog for `kind` starts: the last folder used while it still exists, else
/// the user's Pictures folder for an image and Documents folder for text or PDF, else home.
QString startFolder(FileChooser::Kind kind, const std::optional<QString>& lastFolder,
                    const StandardFolders& folders = StandardFolders::ofUser());

/// The settings key holding the folder of the last file chosen in a save dialog.
inline constexpr char kLastExportFolderKey[] = "Export/lastFolder";

/// The save dialog of the desktop: a QFileDialog with one file type, opened in the last folder
/// used, which it remembers in `settings` (null: the user's own settings).
class DialogFileChooser final : public FileChooser {
  public:
    explicit DialogFileChooser(QWidget* parent = nullptr,
                               std::shared_ptr<SettingsStore> settings = nullptr);
    void chooseSaveLocation(Kind kind, const QString& message, const QString& suggestedName,
                            std::function<void(std::optional<QString>)> done) override;
    /// The window the dialog belongs to and opens centred on.
    void setParentWidget(QWidget* parent) { parent_ = parent; }

  private:
    QWidget* parent_;
    std::shared_ptr<SettingsStore> settings_;
};

/// The export buttons: the content is taken when a button is pressed, travels with the
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
    /// The text button of a tab that writes text besides its SVG. Nothing on the other tabs.
    void exportText(OutputTab tab, const ExportContext& context);

    void saveSVG(const QString& svg, const QString& suggestedName);
    void saveText(const QString& text, const QString& suggestedName);
    void savePDF(const QString& html, QSizeF pageSize, const QString& suggestedName);

  signals:
    /// A file was written completely; emitted for every kind of file, and only then.
    void exported(const QString& path);
    /// A file could not be written or rendered: which and why.
    void exportFailed(const QString& path, const QString& cause);

  private:
    void fail(const QString& prefix, const QString& path, const QString& cause);
    std::unique_ptr<FileChooser> chooser_;
};

}  // namespace morvane
