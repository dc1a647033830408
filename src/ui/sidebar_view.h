#pragma once

#include <QWidget>
#include <optional>

#include "export/output_tab.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QToolButton;

namespace morvane {

class AstronomyModel;
class ExportController;
class SegmentedChoice;
class Spinner;
class Stepper;

/// The inputs: place, date and time, the Calculate button and the export buttons. Every control
/// writes the model's fields directly; the model stores them.
class SidebarView : public QWidget {
    Q_OBJECT
  public:
    SidebarView(AstronomyModel* model, ExportController* exporter, QWidget* parent = nullptr);

    /// The tab the export buttons act on.
    void setSelectedTab(OutputTab tab);

    /// Whether every typed-in value can be calculated (a field with text that is not an
    /// accepted number blocks calculating and saving).
    [[nodiscard]] bool inputsAreValid() const;

    // The controls, for tests and screenshots.
    QComboBox* locationPicker() const { return location_; }
    QWidget* manualRows() const { return manualRows_; }
    QWidget* savedRow() const { return savedRow_; }
    QLineEdit* latitudeField() const { return latitude_; }
    QLineEdit* longitudeField() const { return longitude_; }
    SegmentedChoice* northSouth() const { return northSouth_; }
    SegmentedChoice* westEast() const { return westEast_; }
    QLabel* coordinatesLabel() const { return coordinates_; }
    QPushButton* saveAsButton() const { return saveAs_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* pickFromMapButton() const { return pickFromMap_; }
    QComboBox* monthPicker() const { return month_; }
    QLabel* latitudeHint() const { return latitudeHint_; }
    QLabel* longitudeHint() const { return longitudeHint_; }
    QSpinBox* daySpin() const { return day_; }
    QSpinBox* yearSpin() const { return year_; }
    QSlider* hourSlider() const { return hourSlider_; }
    QLabel* hourLabel() const { return hourText_; }
    Stepper* hourStepper() const { return hourStep_; }
    QCheckBox* localTimeSwitch() const { return localTime_; }
    /// The time steps: back, the unit, forward.
    QToolButton* stepBackButton() const { return stepBack_; }
    QComboBox* stepUnitPicker() const { return stepUnit_; }
    QToolButton* stepForwardButton() const { return stepForward_; }
    QPushButton* calculateButton() const { return calculate_; }
    QLabel* busyLabel() const { return busyText_; }
    QLabel* errorLabel() const { return error_; }
    QPushButton* exportButton() const { return exportDocument_; }
    QPushButton* exportPdfButton() const { return exportPdf_; }
    /// "Export TXT" beside "Export SVG", shown only on a tab that writes both.
    QPushButton* exportTextButton() const { return exportText_; }

  public slots:
    /// Takes what was typed into the fields and calculates, or says why it cannot.
    void calculate();

  signals:
    /// The export buttons changed their label or whether they can be used.
    void exportStateChanged();
    /// "Pick from map…" asks for the Location tab.
    void tabRequested(OutputTab tab);
    /// A sheet was opened (for tests and screenshots).
    void sheetOpened(QDialog* sheet);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* makeLocationSection();
    QWidget* makeDateSection();
    QWidget* makeTimeSection();
    QWidget* makeCalculateSection();
    QWidget* makeFooter();
    void refreshCities();
    void refreshLocation();
    void refreshDate();
    void refreshTime();
    void refreshCalculating();
    void refreshExport();
    void refreshValidity();
    void refreshStepTips();
    void orderTabChain();
    /// Writes a coordinate field to the model when the user edited it and it holds an accepted
    /// number; a field the user did not touch never writes. `finished`: the user is done typing
    /// (Return, leaving the field, Calculate), so the field shows the model's value again.
    void commitField(QLineEdit* field, bool finished);
    void takeModelValue(QLineEdit* field);
    std::optional<double> typedDegrees(const QLineEdit* field) const;
    double modelDegrees(const QLineEdit* field) const;
    /// The first field whose text cannot be used, or null.
    QLineEdit* invalidField() const;
    /// What a coordinate field accepts, in one line.
    QString ruleOf(const QLineEdit* field) const;
    /// Shows why the inputs cannot be used, moves the focus there; false when they can.
    bool refuseInvalidInputs(const QString& action);
    void openSaveSheet();
    void openDeleteSheet();

    AstronomyModel* model_;
    ExportController* exporter_;
    OutputTab tab_ = OutputTab::starMap;

    QComboBox* location_ = nullptr;
    QWidget* manualRows_ = nullptr;
    QWidget* savedRow_ = nullptr;
    QLineEdit* latitude_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    SegmentedChoice* northSouth_ = nullptr;
    SegmentedChoice* westEast_ = nullptr;
    QLabel* coordinates_ = nullptr;
    QPushButton* saveAs_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* pickFromMap_ = nullptr;
    QLabel* latitudeHint_ = nullptr;
    QLabel* longitudeHint_ = nullptr;
    QComboBox* month_ = nullptr;
    QSpinBox* day_ = nullptr;
    QSpinBox* year_ = nullptr;
    QSlider* hourSlider_ = nullptr;
    QLabel* hourText_ = nullptr;
    Stepper* hourStep_ = nullptr;
    QCheckBox* localTime_ = nullptr;
    QToolButton* stepBack_ = nullptr;
    QComboBox* stepUnit_ = nullptr;
    QToolButton* stepForward_ = nullptr;
    QPushButton* calculate_ = nullptr;
    Spinner* spinner_ = nullptr;
    QLabel* busyText_ = nullptr;
    QLabel* error_ = nullptr;
    QPushButton* exportDocument_ = nullptr;
    QPushButton* exportPdf_ = nullptr;
    QPushButton* exportText_ = nullptr;
    QString refusal_;  ///< why the last Calculate or "Save as…" could not proceed
};

/// How wide a saved place's name may be in the Location picker before it is shortened.
inline constexpr int kPlaceNameMaxWidth = 320;

/// "%.2f° %@   %.2f° %@" of a saved location: latitude N/S, longitude E/W.
QString coordinatesText(double latitude, double longitude);
/// "%02d:%02d" of an hour with a fraction.
QString clockText(double hour);

}  // namespace morvane
