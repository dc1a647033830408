#pragma once

#include <QDialog>
#include <QString>
#include <QThreadPool>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "events/almanac.h"
#include "export/file_writer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;

namespace morvane {

class AlmanacCountRows;
class AlmanacEventRows;
class AstronomyModel;
class SettingsStore;

/// The files an almanac is written as.
enum class AlmanacFile : std::uint8_t { text, pdf, csv, json };
inline constexpr std::array<AlmanacFile, 4> kAllAlmanacFiles = {
    AlmanacFile::text, AlmanacFile::pdf, AlmanacFile::csv, AlmanacFile::json};

/// Asks where to save an almanac file, without blocking: `done` gets the chosen path, or
/// nothing when the user cancelled.
using AlmanacSaveChooser =
    std::function<void(AlmanacFile file, const QString& suggestedName,
                       const std::function<void(std::optional<QString>)>& done)>;

/// A place an almanac is made for.
struct AlmanacPlace {
    QString name;            ///< a saved location's name, or the typed-in degrees
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
};

/// One almanac as chosen: a plain value, so a worker thread searches a copy of it.
struct AlmanacRequest {
    AlmanacDate first;
    AlmanacDate last;
    AlmanacPlace place;
    std::vector<AlmanacGroup> groups;

    [[nodiscard]] AlmanacSpan span() const { return almanacSpan(first, last); }
    [[nodiscard]] std::vector<EventKind> kinds() const { return almanacKinds(groups); }
    /// At least one day and one kind of event.
    [[nodiscard]] bool isSearchable() const { return span().days > 0 && !groups.empty(); }
    /// "720-01-01 to 720-12-30".
    [[nodiscard]] QString spanText() const;
};

/// What one search found: the request, its first events (up to a limit) and the counts of all.
struct AlmanacPreview {
    AlmanacRequest request;
    std::vector<SkyEvent> events;
    AlmanacCounts counts;
};

/// "Almanac - Goris - 720-01-01 to 720-12-30.csv": never a folder separator, at most 255 bytes.
QString almanacFileName(const AlmanacRequest& request, AlmanacFile file);

/// A date of the world calendar in three fields: the year (1 to 1,000,000), the month by name
/// and the day (1 to 30).
class AlmanacDateEdit : public QWidget {
    Q_OBJECT
  public:
    /// `subject` ("From", "To") names the fields for assistive technology.
    explicit AlmanacDateEdit(const QString& subject, QWidget* parent = nullptr);
    [[nodiscard]] AlmanacDate date() const;
    /// Shows the date (clamped into the fields' ranges); dateChanged follows once.
    void setDate(AlmanacDate date);
    QSpinBox* yearBox() const { return year_; }
    QComboBox* monthBox() const { return month_; }
    QSpinBox* dayBox() const { return day_; }

  signals:
    void dateChanged();

  private:
    QSpinBox* year_;
    QComboBox* month_;
    QSpinBox* day_;
};

/// "Almanac": the sky events of any span of days at a saved or the current place, chosen by
/// group, previewed with their counts per year and per kind, and exported as text, PDF, CSV or
/// JSON. Searches and exports run on worker threads, so the window answers while a century of
/// sunrises is found; a newer choice cancels the search of an older one. Remembers the groups
/// and the place in a settings store.
class AlmanacDialog : public QDialog {
    Q_OBJECT
  public:
    /// The preview holds at most this many events; the rest are counted but not listed.
    static constexpr std::size_t kDefaultPreviewLimit = 200'000;

    /// `settings` keeps the choices; it must outlive the dialog's last change of them (the
    /// dialog writes nothing when it closes or is destroyed).
    AlmanacDialog(AstronomyModel* model, SettingsStore* settings, QWidget* parent = nullptr);
    /// Cancels what runs and waits for the workers, which stop within a year's search.
    ~AlmanacDialog() override;

    /// Replaces the save dialog (tests answer it themselves).
    void setSaveChooser(AlmanacSaveChooser chooser);
    void setPreviewLimit(std::size_t limit);

    /// The almanac as the controls now choose it.
    [[nodiscard]] AlmanacRequest request() const;

    AlmanacDateEdit* fromEdit() const { return from_; }
    AlmanacDateEdit* toEdit() const { return to_; }
    /// "Current place (…)" first, then the saved locations.
    QComboBox* placeBox() const { return place_; }
    QCheckBox* groupBox(AlmanacGroup group) const { return groups_.at(std::size_t(group)); }
    QTableView* eventTable() const { return events_; }
    QTableView* countsTable() const { return counts_; }
    /// "N events, 720-01-01 to 720-12-30 (360 days)", "Working…", or why there is no list.
    QLabel* summaryLabel() const { return summary_; }
    QPushButton* exportButton(AlmanacFile file) const { return exports_.at(std::size_t(file)); }
    /// The progress of the export that runs; null when none does.
    QProgressDialog* progressDialog() const;

    /// Whether a search for the preview runs or is about to start.
    [[nodiscard]] bool isSearching() const;
    [[nodiscard]] bool isExporting() const { return exportJob_ != nullptr; }
    /// What the preview shows: the request it was found for, the events it holds (the first
    /// ones, up to the limit) and the counts of all.
    [[nodiscard]] const AlmanacPreview& preview() const { return *shown_; }

  public slots:
    /// Searches the current choices at once, cancelling a search that still runs.
    void refreshPreview();
    /// Writes the current choices' almanac to `path` on a worker thread: what an export button
    /// does once the user chose where.
    void exportTo(AlmanacFile file, const QString& path);
    /// Stops the export that runs; it leaves no file.
    void cancelExport();

  signals:
    /// A search finished and the preview shows its result (or a choice left nothing to search).
    void previewChanged();
    /// A file was written whole.
    void exported(const QString& path);
    /// A file could not be written: which and why. Also shown in a message.
    void exportFailed(const QString& path, const QString& cause);

  private:
    struct Job;

    void buildControls();
    void loadChoices();
    void fillPlaces();
    void choicesChanged();
    void storeGroups();
    void storePlace();
    void present(std::shared_ptr<const AlmanacPreview> preview);
    void showSummary();
    void refreshButtons();
    void askAndExport(AlmanacFile file);
    void exportFinished(const QString& path, bool cancelled, const WriteError& error);

    AstronomyModel* model_;
    SettingsStore* settings_;
    AlmanacSaveChooser chooser_;
    std::size_t previewLimit_ = kDefaultPreviewLimit;

    AlmanacDateEdit* from_ = nullptr;
    AlmanacDateEdit* to_ = nullptr;
    QComboBox* place_ = nullptr;
    std::array<QCheckBox*, kAllAlmanacGroups.size()> groups_{};
    QLabel* summary_ = nullptr;
    QTableView* events_ = nullptr;
    QTableView* counts_ = nullptr;
    AlmanacEventRows* eventRows_ = nullptr;
    AlmanacCountRows* countRows_ = nullptr;
    std::array<QPushButton*, kAllAlmanacFiles.size()> exports_{};
    QLabel* exportStatus_ = nullptr;
    QTimer* pending_ = nullptr;  ///< gathers the changes of one moment into one search
    QTimer* progressTimer_ = nullptr;
    QProgressDialog* progress_ = nullptr;

    QThreadPool pool_;
    std::shared_ptr<Job> previewJob_;
    std::shared_ptr<Job> exportJob_;
    std::shared_ptr<const AlmanacPreview> shown_ = std::make_shared<AlmanacPreview>();
};

}  // namespace morvane
