#include "ui/sidebar_view.h"

#include <fmt/format.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

#include "engine/constants.h"
#include "export/export_context.h"
#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "ui/app_information.h"
#include "ui/location_sheets.h"
#include "ui/widgets.h"

namespace morvane {

namespace {

constexpr double kQuartersPerHour = 4.0;

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

QGroupBox* section(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setFlat(false);
    return box;
}

void setSmallSecondary(QLabel* label, bool red = false) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     red ? QColor(Qt::red) : label->palette().color(QPalette::PlaceholderText));
    label->setPalette(palette);
}

// Whole hours and minutes, as the sidebar shows an hour (12.25 reads 12:15).
std::pair<long long, long long> clockOf(double hour) {
    if (!std::isfinite(hour) || std::fabs(hour) >= 1e15) return {0, 0};
    return {static_cast<long long>(std::trunc(hour)),
            static_cast<long long>(std::trunc((hour - std::floor(hour)) * 60.0))};
}

}  // namespace

QString coordinatesText(double latitude, double longitude) {
    const double lat = latitude * 180.0 / kPi;
    const double lon = longitude * 180.0 / kPi;
    return fromStd(fmt::format("{:.2f}° {}   {:.2f}° {}", std::fabs(lat), lat >= 0 ? "N" : "S",
                               std::fabs(lon), lon >= 0 ? "E" : "W"));
}

QString clockText(double hour) {
    const auto [hours, minutes] = clockOf(hour);
    return fromStd(fmt::format("{:02d}:{:02d}", hours, minutes));
}

SidebarView::SidebarView(AstronomyModel* model, ExportController* exporter, QWidget* parent)
    : QWidget(parent), model_(model), exporter_(exporter) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* form = new QWidget(scroll);
    auto* sections = new QVBoxLayout(form);
    sections->addWidget(makeLocationSection());
    sections->addWidget(makeDateSection());
    sections->addWidget(makeTimeSection());
    sections->addWidget(makeCalculateSection());
    sections->addStretch();
    scroll->setWidget(form);
    outer->addWidget(scroll, 1);
    outer->addWidget(makeFooter());

    connect(model_, &AstronomyModel::citiesChanged, this, &SidebarView::refreshCities);
    for (auto signal : {&AstronomyModel::selectedCityIDChanged, &AstronomyModel::manualLatDegChanged,
                        &AstronomyModel::manualLongDegChanged, &AstronomyModel::latNorthChanged,
                        &AstronomyModel::longWestChanged}) {
        connect(model_, signal, this, &SidebarView::refreshLocation);
    }
    for (auto signal : {&AstronomyModel::monthIndexChanged, &AstronomyModel::dayIndexChanged,
                        &AstronomyModel::yearChanged}) {
        connect(model_, signal, this, &SidebarView::refreshDate);
    }
    for (auto signal : {&AstronomyModel::hourChanged, &AstronomyModel::useLocalTimeChanged}) {
        connect(model_, signal, this, &SidebarView::refreshTime);
    }
    connect(model_, &AstronomyModel::isCalculatingChanged, this, &SidebarView::refreshCalculating);
    connect(model_, &AstronomyModel::errorMessageChanged, this, &SidebarView::refreshCalculating);

    refreshCities();
    refreshDate();
    refreshTime();
    refreshCalculating();
    setSelectedTab(OutputTab::starMap);
}

QWidget* SidebarView::makeLocationSection() {
    auto* box = section(QStringLiteral("Location"), this);
    auto* layout = new QVBoxLayout(box);

    auto* pickerRow = new QFormLayout;
    location_ = new QComboBox(box);
    location_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    location_->setMinimumContentsLength(8);
    pickerRow->addRow(QStringLiteral("Location"), location_);
    layout->addLayout(pickerRow);
    connect(location_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < model_->cities().size()) {
            model_->setSelectedCityID(model_->cities()[index].id);
        }
    });

    // The typed-in location: degrees in the user's own number format, passed on as they are.
    manualRows_ = new QWidget(box);
    auto* manual = new QGridLayout(manualRows_);
    manual->setContentsMargins(0, 0, 0, 0);
    latitude_ = new QLineEdit(manualRows_);
    longitude_ = new QLineEdit(manualRows_);
    northSouth_ = new SegmentedChoice(QStringLiteral("N"), QStringLiteral("S"), manualRows_);
    westEast_ = new SegmentedChoice(QStringLiteral("W"), QStringLiteral("E"), manualRows_);
    northSouth_->setFixedWidth(80);
    westEast_->setFixedWidth(80);
    manual->addWidget(new QLabel(QStringLiteral("Latitude"), manualRows_), 0, 0);
    manual->addWidget(latitude_, 0, 1);
    manual->addWidget(northSouth_, 0, 2);
    manual->addWidget(new QLabel(QStringLiteral("Longitude"), manualRows_), 1, 0);
    manual->addWidget(longitude_, 1, 1);
    manual->addWidget(westEast_, 1, 2);
    saveAs_ = new QPushButton(QStringLiteral("Save as…"), manualRows_);
    manual->addWidget(saveAs_, 2, 0, 1, 3, Qt::AlignLeft);
    layout->addWidget(manualRows_);

    // The number as the user's locale writes it; nothing when it is not a number.
    const auto parsed = [](const QLineEdit* field) -> std::optional<double> {
        bool ok = false;
        const double value = QLocale().toDouble(field->text().trimmed(), &ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    };
    connect(latitude_, &QLineEdit::editingFinished, this, [this, parsed] {
        if (const auto degrees = parsed(latitude_)) model_->setManualLatDeg(*degrees);
    });
    connect(longitude_, &QLineEdit::editingFinished, this, [this, parsed] {
        if (const auto degrees = parsed(longitude_)) model_->setManualLongDeg(*degrees);
    });
    connect(northSouth_, &SegmentedChoice::chosen, model_, &AstronomyModel::setLatNorth);
    connect(westEast_, &SegmentedChoice::chosen, model_, &AstronomyModel::setLongWest);
    connect(saveAs_, &QPushButton::clicked, this, &SidebarView::openSaveSheet);

    savedRow_ = new QWidget(box);
    auto* saved = new QHBoxLayout(savedRow_);
    saved->setContentsMargins(0, 0, 0, 0);
    coordinates_ = new QLabel(savedRow_);
    coordinates_->setTextFormat(Qt::PlainText);
    coordinates_->setFont(monospacedFont());
    setSmallSecondary(coordinates_);
    delete_ = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-delete")),
                              QStringLiteral("Delete"), savedRow_);
    saved->addWidget(coordinates_);
    saved->addStretch();
    saved->addWidget(delete_);
    layout->addWidget(savedRow_);
    connect(delete_, &QPushButton::clicked, this, &SidebarView::openDeleteSheet);

    pickFromMap_ = new QPushButton(QIcon::fromTheme(QStringLiteral("mark-location")),
                                   QStringLiteral("Pick from map…"), box);
    layout->addWidget(pickFromMap_, 0, Qt::AlignLeft);
    connect(pickFromMap_, &QPushButton::clicked, this,
            [this] { emit tabRequested(OutputTab::location); });
    return box;
}

QWidget* SidebarView::makeDateSection() {
    auto* box = section(QStringLiteral("Date"), this);
    auto* layout = new QVBoxLayout(box);
    auto* monthRow = new QFormLayout;
    month_ = new QComboBox(box);
    month_->addItems(AstronomyModel::months());
    monthRow->addRow(QStringLiteral("Month"), month_);
    layout->addLayout(monthRow);
    connect(month_, &QComboBox::activated, this, [this](int index) { model_->setMonthIndex(index); });

    day_ = new Stepper([](double v) { return QStringLiteral("Day %1").arg(qint64(v) + 1); }, 0, 29, 1, box);
    year_ = new Stepper([](double v) { return QStringLiteral("Year %1").arg(qint64(v)); }, 1, 2000, 1, box);
    layout->addWidget(day_);
    layout->addWidget(year_);
    connect(day_, &Stepper::stepped, this, [this](double v) { model_->setDayIndex(qint64(v)); });
    connect(year_, &Stepper::stepped, this, [this](double v) { model_->setYear(qint64(v)); });
    return box;
}

QWidget* SidebarView::makeTimeSection() {
    auto* box = section(QStringLiteral("Time"), this);
    auto* layout = new QVBoxLayout(box);
    auto* hourRow = new QHBoxLayout;
    hourRow->addWidget(new QLabel(QStringLiteral("Hour"), box));
    hourSlider_ = new QSlider(Qt::Horizontal, box);
    hourSlider_->setRange(0, 95);  // quarter hours from 00:00 to 23:45
    hourSlider_->setPageStep(4);
    hourRow->addWidget(hourSlider_, 1);
    hourText_ = new QLabel(box);
    hourText_->setFont(monospacedFont());
    hourText_->setMinimumWidth(50);
    hourText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hourRow->addWidget(hourText_);
    layout->addLayout(hourRow);
    connect(hourSlider_, &QSlider::valueChanged, this, [this](int quarters) {
        // Only the user's moves write: refreshTime() sets the slider with signals blocked.
        model_->setHour(quarters / kQuartersPerHour);
    });

    hourStep_ = new Stepper([](double) { return QStringLiteral("Step (15 min)"); }, 0, 23.75, 0.25, box);
    layout->addWidget(hourStep_);
    connect(hourStep_, &Stepper::stepped, this, [this](double hour) { model_->setHour(hour); });

    localTime_ = new QCheckBox(QStringLiteral("Use local time"), box);
    layout->addWidget(localTime_);
    connect(localTime_, &QCheckBox::toggled, model_, &AstronomyModel::setUseLocalTime);
    return box;
}

QWidget* SidebarView::makeCalculateSection() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    calculate_ = new QPushButton(box);
    calculate_->setMinimumHeight(34);
    auto* content = new QHBoxLayout(calculate_);
    content->setContentsMargins(8, 0, 8, 0);
    // While busy the button reads "Calculating…" after a small spinning arc.
    spinner_ = new Spinner(calculate_);
    spinner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    busyText_ = new QLabel(QStringLiteral("Calculating…"), calculate_);
    busyText_->setAttribute(Qt::WA_TransparentForMouseEvents);
    content->addStretch();
    content->addWidget(spinner_);
    content->addWidget(busyText_);
    content->addStretch();
    layout->addWidget(calculate_);
    error_ = new QLabel(box);
    error_->setTextFormat(Qt::PlainText);
    error_->setWordWrap(true);
    setSmallSecondary(error_, true);
    layout->addWidget(error_);
    connect(calculate_, &QPushButton::clicked, model_, &AstronomyModel::calculate);
    return box;
}

QWidget* SidebarView::makeFooter() {
    auto* footer = new QWidget(this);
    auto* layout = new QHBoxLayout(footer);
    exportDocument_ = new QPushButton(footer);
    exportPdf_ = new QPushButton(QStringLiteral("Export PDF"), footer);
    layout->addWidget(exportDocument_);
    layout->addWidget(exportPdf_);
    layout->addStretch();
    auto* version = new QVBoxLayout;
    version->setSpacing(0);
    for (const QString& line : {QStringLiteral("Version ") + releaseVersion(),
                                QStringLiteral("Build ") + buildNumber()}) {
        auto* label = new QLabel(line, footer);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(128, 128, 128, 128));
        label->setPalette(palette);
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        label->setContentsMargins(0, 0, 3, 0);
        version->addWidget(label);
    }
    layout->addLayout(version);
    connect(exportDocument_, &QPushButton::clicked, this,
            [this] { exporter_->exportDocument(tab_, ExportContext::fromModel(*model_)); });
    connect(exportPdf_, &QPushButton::clicked, this,
            [this] { exporter_->exportPDF(tab_, ExportContext::fromModel(*model_)); });
    return footer;
}

void SidebarView::setSelectedTab(OutputTab tab) {
    tab_ = tab;
    exportDocument_->setText(tabExport(tab).firstButtonLabel);
    const bool exportable = tab != OutputTab::location;
    exportDocument_->setEnabled(exportable);
    exportPdf_->setEnabled(exportable);
}

void SidebarView::refreshCities() {
    const QSignalBlocker blocker(location_);
    location_->clear();
    for (const CityPreset& city : model_->cities()) location_->addItem(city.name);  // plain text
    refreshLocation();
}

void SidebarView::refreshLocation() {
    const QSignalBlocker blocker(location_);
    int selected = -1;
    const QList<CityPreset>& cities = model_->cities();
    for (int i = 0; i < cities.size(); ++i) {
        if (cities[i].id == model_->selectedCityID()) selected = i;
    }
    location_->setCurrentIndex(selected);
    const bool manual = model_->selectedCityID() == manualCityID();
    manualRows_->setVisible(manual);
    savedRow_->setVisible(!manual);
    if (!latitude_->hasFocus()) latitude_->setText(QLocale().toString(model_->manualLatDeg(), 'g', 12));
    if (!longitude_->hasFocus()) longitude_->setText(QLocale().toString(model_->manualLongDeg(), 'g', 12));
    northSouth_->setFirst(model_->latNorth());
    westEast_->setFirst(model_->longWest());
    coordinates_->setText(coordinatesText(model_->latitude(), model_->longitude()));
}

void SidebarView::refreshDate() {
    const QSignalBlocker blocker(month_);
    const qint64 month = model_->monthIndex();
    month_->setCurrentIndex(month >= 0 && month < month_->count() ? int(month) : -1);
    day_->setValue(double(model_->dayIndex()));
    year_->setValue(double(model_->year()));
}

void SidebarView::refreshTime() {
    const double hour = model_->hour();
    {
        const QSignalBlocker blocker(hourSlider_);
        const double quarters = std::isfinite(hour) ? std::round(hour * kQuartersPerHour) : 0.0;
        hourSlider_->setValue(int(std::clamp(quarters, 0.0, 95.0)));
    }
    hourText_->setText(clockText(hour));
    hourStep_->setValue(hour);
    const QSignalBlocker blocker(localTime_);
    localTime_->setChecked(model_->useLocalTime());
}

void SidebarView::refreshCalculating() {
    const bool busy = model_->isCalculating();
    calculate_->setEnabled(!busy);
    calculate_->setText(busy ? QString() : QStringLiteral("Calculate"));
    spinner_->setVisible(busy);
    busyText_->setVisible(busy);
    error_->setText(model_->errorMessage());
    error_->setVisible(model_->hasErrorMessage());
}

void SidebarView::openSaveSheet() {
    auto* sheet = new SaveLocationSheet(model_, this);  // starts with an empty name, no error
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    emit sheetOpened(sheet);
}

void SidebarView::openDeleteSheet() {
    auto* sheet = new DeleteLocationSheet(model_, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    emit sheetOpened(sheet);
}

}  // namespace morvane
