#pragma once

#include <QWidget>

#include "export/output_tab.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QStackedWidget;

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
    Stepper* dayStepper() const { return day_; }
    Stepper* yearStepper() const { return year_; }
    QSlider* hourSlider() const { return hourSlider_; }
    QLabel* hourLabel() const { return hourText_; }
    Stepper* hourStepper() const { return hourStep_; }
    QCheckBox* localTimeSwitch() const { return localTime_; }
    QPushButton* calculateButton() const { return calculate_; }
    QLabel* busyLabel() const { return busyText_; }
    QLabel* errorLabel() const { return error_; }
    QPushButton* exportButton() const { return exportDocument_; }
    QPushButton* exportPdfButton() const { return exportPdf_; }

signals:
    /// "Pick from map…" asks for the Location tab.
    void tabRequested(OutputTab tab);
    /// A sheet was opened (for tests and screenshots).
    void sheetOpened(QDialog* sheet);

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
    QComboBox* month_ = nullptr;
    Stepper* day_ = nullptr;
    Stepper* year_ = nullptr;
    QSlider* hourSlider_ = nullptr;
    QLabel* hourText_ = nullptr;
    Stepper* hourStep_ = nullptr;
    QCheckBox* localTime_ = nullptr;
    QPushButton* calculate_ = nullptr;
    Spinner* spinner_ = nullptr;
    QLabel* busyText_ = nullptr;
    QLabel* error_ = nullptr;
    QPushButton* exportDocument_ = nullptr;
    QPushButton* exportPdf_ = nullptr;
};

/// "%.2f° %@   %.2f° %@" of a saved location: latitude N/S, longitude E/W.
QString coordinatesText(double latitude, double longitude);
/// "%02d:%02d" of an hour with a fraction.
QString clockText(double hour);

}  // namespace morvane
