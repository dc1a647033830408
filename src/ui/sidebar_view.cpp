#include "ui/sidebar_view.h"

#include <fmt/format.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "export/documents.h"
#include "export/export_context.h"
#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "model/coordinate_input.h"
#include "ui/app_information.h"
#include "ui/location_sheets.h"
#include "ui/navigator.h"
#include "ui/widgets.h"

namespace morvane {

namespace {

constexpr double kQuartersPerHour = 4.0;

QGroupBox* section(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setFlat(false);
    return box;
}

// Tighter than the style's default, so that the whole form fits a 768-line screen at twice the
// scale without scrolling.
QVBoxLayout* sectionLayout(QGroupBox* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(4);
    return layout;
}

void setSmall(QLabel* label, double scale = 0.9) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
}

// Scrolling the sidebar must not change a value because the pointer happened to pass over a
// control: the wheel belongs to a control only once it has the focus.
class WheelGuard : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && !widget->hasFocus()) {
                event->ignore();  // passes on to the scroll area
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

void guardWheel(QWidget* widget, QObject* guard) {
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->installEventFilter(guard);
}

// Alt+Down and Alt+Up open a list control as everywhere on the desktop; elsewhere in the
// window they step the day.
class ListKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() == Qt::AltModifier &&
                (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QString coordinatesText(double latitude, double longitude) {
    const double lat = latitude * 180.0 / kPi;
    const double lon = longitude * 180.0 / kPi;
    return fromStd(fmt::format("{:.2f}° {}   {:.2f}° {}", std::fabs(lat), lat >= 0 ? "N" : "S",
                               std::fabs(lon), lon >= 0 ? "E" : "W"));
}

QString clockText(double hour) {
    const auto [hours, minutes] = clockOfHour(hour);
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
    // Not a stop of its own: it scrolls to whichever control takes the focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setAccessibleName(QStringLiteral("Inputs"));
    auto* form = new QWidget(scroll);
    auto* sections = new QVBoxLayout(form);
    sections->setContentsMargins(6, 4, 6, 4);
    sections->setSpacing(4);
    sections->addWidget(makeLocationSection());
    sections->addWidget(makeDateSection());
    sections->addWidget(makeTimeSection());
    sections->addStretch();
    scroll->setWidget(form);
    outer->addWidget(scroll, 1);
    // Calculate stays in sight however short the window is.
    outer->addWidget(makeCalculateSection());
    outer->addWidget(makeFooter());

    connect(model_, &AstronomyModel::citiesChanged, this, &SidebarView::refreshCities);
    for (auto signal : {&AstronomyModel::selectedCityIDChanged,
                        &AstronomyModel::manualLatDegChanged, &AstronomyModel::manualLongDegChanged,
                        &AstronomyModel::latNorthChanged, &AstronomyModel::longWestChanged}) {
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
    connect(model_, &AstronomyModel::dateLabelChanged, this, &SidebarView::refreshExport);

    auto* guard = new WheelGuard(this);
    for (QWidget* control :
         std::initializer_list<QWidget*>{location_, month_, day_, year_, hourSlider_, stepUnit_}) {
        guardWheel(control, guard);
    }
    auto* listKeys = new ListKeys(this);
    for (QComboBox* list : {location_, month_, stepUnit_}) list->installEventFilter(listKeys);
    orderTabChain();
    refreshCities();
    refreshDate();
    refreshTime();
    refreshCalculating();
    setSelectedTab(OutputTab::starMap);
}

QWidget* SidebarView::makeLocationSection() {
    auto* box = section(QStringLiteral("Location"), this);
    auto* layout = sectionLayout(box);

    auto* pickerRow = new QFormLayout;
    location_ = new QComboBox(box);
    location_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    location_->setMinimumContentsLength(8);
    location_->setAccessibleName(QStringLiteral("Location"));
    pickerRow->addRow(QStringLiteral("&Location"), location_);
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
    auto* latitudeLabel = new QLabel(QStringLiteral("L&atitude"), manualRows_);
    auto* longitudeLabel = new QLabel(QStringLiteral("L&ongitude"), manualRows_);
    latitudeLabel->setBuddy(latitude_);
    longitudeLabel->setBuddy(longitude_);
    latitude_->setAccessibleName(QStringLiteral("Latitude"));
    longitude_->setAccessibleName(QStringLiteral("Longitude"));
    latitude_->setAccessibleDescription(latitudeRule());
    longitude_->setAccessibleDescription(longitudeRule());
    latitude_->setToolTip(
        QStringLiteral("Degrees from the equator, 0 to 90; choose N or S beside it"));
    longitude_->setToolTip(
        QStringLiteral("Degrees from the prime meridian, 0 to 180; choose W or E beside it"));
    northSouth_->setAccessibleNames(QStringLiteral("North"), QStringLiteral("South"),
                                    QStringLiteral("Hemisphere of the latitude"));
    westEast_->setAccessibleNames(QStringLiteral("West"), QStringLiteral("East"),
                                  QStringLiteral("Side of the prime meridian"));
    latitudeHint_ = new ErrorLabel(latitudeRule(), manualRows_);
    longitudeHint_ = new ErrorLabel(longitudeRule(), manualRows_);
    for (QLabel* hint : {latitudeHint_, longitudeHint_}) {
        hint->setTextFormat(Qt::PlainText);
        hint->setWordWrap(true);
        setSmall(hint);
        hint->hide();
    }
    manual->addWidget(latitudeLabel, 0, 0);
    manual->addWidget(latitude_, 0, 1);
    manual->addWidget(northSouth_, 0, 2);
    manual->addWidget(latitudeHint_, 1, 0, 1, 3);
    manual->addWidget(longitudeLabel, 2, 0);
    manual->addWidget(longitude_, 2, 1);
    manual->addWidget(westEast_, 2, 2);
    manual->addWidget(longitudeHint_, 3, 0, 1, 3);
    // "Save as…" belongs to the typed-in place but shares the last row with "Pick from map…":
    // one row less keeps the sidebar whole on short screens.
    saveAs_ = new QPushButton(QStringLiteral("Save as…"), box);
    saveAs_->setAccessibleDescription(QStringLiteral("Save the typed-in place under a name"));
    layout->addWidget(manualRows_);

    // A field writes to the model only what the user typed, and only when it is an accepted
    // number; anything else is marked at once and never reaches the model.
    for (QLineEdit* field : {latitude_, longitude_}) {
        connect(field, &QLineEdit::textEdited, this, &SidebarView::refreshValidity);
        connect(field, &QLineEdit::editingFinished, this,
                [this, field] { commitField(field, true); });
    }
    // A value that comes from elsewhere (a map pick) replaces whatever the field holds.
    connect(model_, &AstronomyModel::manualLatDegChanged, this,
            [this] { takeModelValue(latitude_); });
    connect(model_, &AstronomyModel::manualLongDegChanged, this,
            [this] { takeModelValue(longitude_); });
    connect(northSouth_, &SegmentedChoice::chosen, model_, &AstronomyModel::setLatNorth);
    connect(westEast_, &SegmentedChoice::chosen, model_, &AstronomyModel::setLongWest);
    connect(saveAs_, &QPushButton::clicked, this, &SidebarView::openSaveSheet);

    savedRow_ = new QWidget(box);
    auto* saved = new QHBoxLayout(savedRow_);
    saved->setContentsMargins(0, 0, 0, 0);
    coordinates_ = new SecondaryLabel(QString(), savedRow_);
    coordinates_->setTextFormat(Qt::PlainText);
    coordinates_->setFont(monospacedFont());
    setSmall(coordinates_);
    coordinates_->setAccessibleName(QStringLiteral("Coordinates of the selected place"));
    delete_ = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-delete")),
                              QStringLiteral("Delete"), savedRow_);
    delete_->setAccessibleDescription(QStringLiteral("Delete the selected saved place"));
    saved->addWidget(coordinates_);
    saved->addStretch();
    saved->addWidget(delete_);
    layout->addWidget(savedRow_);
    connect(delete_, &QPushButton::clicked, this, &SidebarView::openDeleteSheet);

    pickFromMap_ = new QPushButton(QIcon::fromTheme(QStringLiteral("mark-location")),
                                   QStringLiteral("Pick from map…"), box);
    pickFromMap_->setAccessibleDescription(
        QStringLiteral("Show the world map to pick a place on it"));
    auto* lastRow = new QHBoxLayout;
    lastRow->addWidget(saveAs_);
    lastRow->addWidget(pickFromMap_);
    lastRow->addStretch();
    layout->addLayout(lastRow);
    connect(pickFromMap_, &QPushButton::clicked, this,
            [this] { emit tabRequested(OutputTab::location); });
    return box;
}

QWidget* SidebarView::makeDateSection() {
    auto* box = section(QStringLiteral("Date"), this);
    auto* layout = sectionLayout(box);
    auto* monthRow = new QFormLayout;
    month_ = new QComboBox(box);
    month_->addItems(AstronomyModel::months());
    month_->setAccessibleName(QStringLiteral("Month"));
    monthRow->addRow(QStringLiteral("&Month"), month_);
    layout->addLayout(monthRow);
    connect(month_, &QComboBox::activated, this,
            [this](int index) { model_->setMonthIndex(index); });

    // Typed or stepped: a year is a few key presses away, not a long hold of "+". The value
    // reaches the model when the user steps, or when typing ends (Return or leaving the field).
    day_ = new QSpinBox(box);
    day_->setRange(1, 30);
    day_->setPrefix(QStringLiteral("Day "));
    day_->setAccessibleName(QStringLiteral("Day"));
    day_->setAccessibleDescription(QStringLiteral("Day of the month, 1 to 30"));
    year_ = new QSpinBox(box);
    year_->setRange(1, 2000);
    year_->setPrefix(QStringLiteral("Year "));
    year_->setAccessibleName(QStringLiteral("Year"));
    year_->setAccessibleDescription(QStringLiteral("Year of the world calendar, 1 to 2000"));
    auto* dayAndYear = new QHBoxLayout;
    for (QSpinBox* spin : {day_, year_}) {
        spin->setKeyboardTracking(false);
        spin->setAccelerated(true);
        dayAndYear->addWidget(spin, 1);
    }
    layout->addLayout(dayAndYear);
    connect(day_, &QSpinBox::valueChanged, this, [this](int day) { model_->setDayIndex(day - 1); });
    connect(year_, &QSpinBox::valueChanged, this, [this](int year) { model_->setYear(year); });
    return box;
}

QWidget* SidebarView::makeTimeSection() {
    auto* box = section(QStringLiteral("Time"), this);
    auto* layout = sectionLayout(box);
    auto* hourRow = new QHBoxLayout;
    auto* hourLabel = new QLabel(QStringLiteral("&Hour"), box);
    hourRow->addWidget(hourLabel);
    hourSlider_ = new QSlider(Qt::Horizontal, box);
    hourLabel->setBuddy(hourSlider_);
    hourSlider_->setRange(0, 95);  // quarter hours from 00:00 to 23:45
    hourSlider_->setPageStep(4);
    hourSlider_->setAccessibleName(QStringLiteral("Hour"));
    hourSlider_->setAccessibleDescription(
        QStringLiteral("Time of day in quarter hours; Page Up and Page Down move a whole hour"));
    const QString clockTip = QStringLiteral(
        "The hour on OST, Morvane's reference clock (the world's standard time), or local "
        "solar time at the place when \"Use local time\" is on");
    hourLabel->setToolTip(clockTip);
    hourSlider_->setToolTip(clockTip);
    hourRow->addWidget(hourSlider_, 1);
    hourText_ = new QLabel(box);
    hourText_->setFont(monospacedFont());
    hourText_->setMinimumWidth(50);
    hourText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hourText_->setToolTip(clockTip);
    hourRow->addWidget(hourText_);
    layout->addLayout(hourRow);
    connect(hourSlider_, &QSlider::valueChanged, this, [this](int quarters) {
        // Only the user's moves write: refreshTime() sets the slider with signals blocked.
        model_->setHour(quarters / kQuartersPerHour);
    });

    hourStep_ =
        new Stepper([](double) { return QStringLiteral("Step (15 min)"); }, 0, 23.75, 0.25, box);
    hourStep_->setAccessibleSubject(QStringLiteral("Hour"));
    hourStep_->downButton()->setAccessibleDescription(QStringLiteral("15 minutes earlier"));
    hourStep_->upButton()->setAccessibleDescription(QStringLiteral("15 minutes later"));
    layout->addWidget(hourStep_);
    connect(hourStep_, &Stepper::stepped, this, [this](double hour) { model_->setHour(hour); });

    // Travel through time: the steps of the Go menu, a unit at a time, rolling over months and
    // years. The row stays one line in the narrowest sidebar.
    auto* stepRow = new QHBoxLayout;
    auto* stepLabel = new QLabel(QStringLiteral("T&ravel"), box);
    stepBack_ = new QToolButton(box);
    stepUnit_ = new QComboBox(box);
    stepForward_ = new QToolButton(box);
    stepLabel->setBuddy(stepUnit_);
    stepBack_->setText(QStringLiteral("◀"));
    stepForward_->setText(QStringLiteral("▶"));
    for (const TimeStep& step : kTimeSteps) stepUnit_->addItem(QString::fromUtf8(step.name));
    stepUnit_->setCurrentIndex(2);  // a day: the step a game most often takes
    stepUnit_->setAccessibleName(QStringLiteral("Step size"));
    stepBack_->setAccessibleName(QStringLiteral("Step back"));
    stepForward_->setAccessibleName(QStringLiteral("Step forward"));
    stepBack_->setAutoRepeat(true);
    stepForward_->setAutoRepeat(true);
    stepRow->addWidget(stepLabel);
    stepRow->addStretch();
    stepRow->addWidget(stepBack_);
    stepRow->addWidget(stepUnit_);
    stepRow->addWidget(stepForward_);
    layout->addLayout(stepRow);
    for (QToolButton* button : {stepBack_, stepForward_}) {
        connect(button, &QToolButton::clicked, this, [this, button] {
            const qint64 minutes = kTimeSteps.at(std::size_t(stepUnit_->currentIndex())).minutes;
            model_->stepMinutes(button == stepForward_ ? minutes : -minutes);
        });
    }
    connect(stepUnit_, &QComboBox::currentIndexChanged, this, &SidebarView::refreshStepTips);
    refreshStepTips();

    localTime_ = new QCheckBox(QStringLiteral("Use &local time"), box);
    localTime_->setToolTip(QStringLiteral(
        "Read the hour as local solar time at the chosen place (noon when Nolomar stands "
        "highest) instead of OST, the world's reference clock"));
    localTime_->setAccessibleDescription(localTime_->toolTip());
    layout->addWidget(localTime_);
    connect(localTime_, &QCheckBox::toggled, model_, &AstronomyModel::setUseLocalTime);
    return box;
}

QWidget* SidebarView::makeCalculateSection() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(9, 4, 9, 0);
    calculate_ = new QPushButton(box);
    calculate_->setAccessibleName(QStringLiteral("Calculate"));
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
    error_ = new ErrorLabel(QString(), box);
    error_->setTextFormat(Qt::PlainText);
    error_->setWordWrap(true);
    setSmall(error_);
    layout->addWidget(error_);
    connect(calculate_, &QPushButton::clicked, this, &SidebarView::calculate);
    return box;
}

QWidget* SidebarView::makeFooter() {
    auto* footer = new QWidget(this);
    auto* rows = new QVBoxLayout(footer);
    rows->setContentsMargins(9, 4, 9, 6);
    auto* layout = new QHBoxLayout;
    rows->addLayout(layout);
    exportDocument_ = new QPushButton(footer);
    exportPdf_ = new QPushButton(QStringLiteral("Export PDF"), footer);
    exportText_ = new QPushButton(QStringLiteral("Export TXT"), footer);
    exportDocument_->setAccessibleDescription(QStringLiteral("Save the shown output as a file"));
    exportPdf_->setAccessibleDescription(QStringLiteral("Save the shown output as a PDF document"));
    exportText_->setAccessibleDescription(
        QStringLiteral("Save the shown output as a text document"));
    layout->addWidget(exportDocument_);
    layout->addWidget(exportPdf_);
    // A third button does not fit beside the others in the narrowest sidebar: it gets a row of
    // its own, which takes no room while the button is hidden.
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(exportText_);
    textRow->addStretch();
    rows->addLayout(textRow);
    layout->addStretch();
    auto* version = new QVBoxLayout;
    version->setSpacing(0);
    for (const QString& line : {QStringLiteral("Version ") + releaseVersion(),
                                QStringLiteral("Build ") + buildNumber()}) {
        // Muted, but readable in light and dark palettes.
        auto* label = new SecondaryLabel(line, footer);
        setSmall(label, 0.85);
        label->setAlignment(Qt::AlignCenter);
        label->setContentsMargins(0, 0, 3, 0);
        version->addWidget(label);
    }
    layout->addLayout(version);
    connect(exportDocument_, &QPushButton::clicked, this,
            [this] { exporter_->exportDocument(tab_, ExportContext::fromModel(*model_)); });
    connect(exportPdf_, &QPushButton::clicked, this,
            [this] { exporter_->exportPDF(tab_, ExportContext::fromModel(*model_)); });
    connect(exportText_, &QPushButton::clicked, this,
            [this] { exporter_->exportText(tab_, ExportContext::fromModel(*model_)); });
    return footer;
}

void SidebarView::setSelectedTab(OutputTab tab) {
    tab_ = tab;
    refreshExport();
}

void SidebarView::refreshExport() {
    exportDocument_->setText(tabExport(tab_).firstButtonLabel);
    const bool hasResults = !model_->dateLabel().isEmpty();
    const bool exportable = tab_ != OutputTab::location && hasResults;
    // A disabled button loses the focus to the toolbar; keep it in the sidebar instead.
    const bool writesText = tabExport(tab_).alsoWritesText;
    if ((!exportable && (exportDocument_->hasFocus() || exportPdf_->hasFocus())) ||
        (!writesText && exportText_->hasFocus())) {
        calculate_->setFocus(Qt::OtherFocusReason);
    }
    exportDocument_->setEnabled(exportable);
    exportPdf_->setEnabled(exportable);
    exportText_->setEnabled(exportable);
    exportText_->setVisible(writesText);
    const QString why = tab_ == OutputTab::location
                            ? QStringLiteral("The map has nothing to export; choose another output")
                        : hasResults ? QString()
                                     : QStringLiteral("Nothing to export yet: calculate first");
    exportDocument_->setToolTip(
        why.isEmpty() ? QStringLiteral("Save the shown output as a file (Ctrl+E)") : why);
    exportPdf_->setToolTip(
        why.isEmpty() ? QStringLiteral("Save the shown output as a PDF (Ctrl+Shift+E)") : why);
    exportText_->setToolTip(why.isEmpty() ? QStringLiteral("Save the shown output as text") : why);
    emit exportStateChanged();
}

bool SidebarView::inputsAreValid() const { return invalidField() == nullptr; }

QLineEdit* SidebarView::invalidField() const {
    if (model_->selectedCityID() != manualCityID()) return nullptr;
    for (QLineEdit* field : {latitude_, longitude_}) {
        if (!typedDegrees(field)) return field;
    }
    return nullptr;
}

QString SidebarView::ruleOf(const QLineEdit* field) const {
    return field == latitude_ ? latitudeRule() : longitudeRule();
}

std::optional<double> SidebarView::typedDegrees(const QLineEdit* field) const {
    return parseCoordinate(field->text(), field == latitude_ ? kMaxLatitudeDeg : kMaxLongitudeDeg,
                           QLocale());
}

double SidebarView::modelDegrees(const QLineEdit* field) const {
    return field == latitude_ ? model_->manualLatDeg() : model_->manualLongDeg();
}

void SidebarView::commitField(QLineEdit* field, bool finished) {
    if (!field->isModified()) return;  // shows the model's value: nothing of the user's to write
    const auto degrees = typedDegrees(field);
    if (!degrees) return;
    if (field == latitude_) {
        model_->setManualLatDeg(*degrees);
    } else {
        model_->setManualLongDeg(*degrees);
    }
    // Done typing: from now on the field follows the model again (a map pick, a restart).
    if (finished) {
        field->setModified(false);
        field->setText(QLocale().toString(modelDegrees(field), 'g', 12));
    }
}

void SidebarView::takeModelValue(QLineEdit* field) {
    // The field keeps the user's text only while that text is where the value came from.
    if (field->isModified() && typedDegrees(field) == std::optional<double>(modelDegrees(field)))
        return;
    field->setText(QLocale().toString(modelDegrees(field), 'g', 12));  // clears "modified"
    refreshValidity();
}

void SidebarView::refreshValidity() {
    const bool manual = model_->selectedCityID() == manualCityID();
    const std::pair<QLineEdit*, QLabel*> rows[] = {{latitude_, latitudeHint_},
                                                   {longitude_, longitudeHint_}};
    for (const auto& [field, hint] : rows) {
        const bool bad = manual && !typedDegrees(field);
        // Runs at every change of the place: restyle only when the mark comes or goes.
        if (hint->isVisibleTo(manualRows_) == bad) continue;
        hint->setVisible(bad);
        field->setAccessibleDescription(bad ? QStringLiteral("Invalid. ") + ruleOf(field)
                                            : ruleOf(field));
        field->setStyleSheet(
            bad ? QStringLiteral(
                      "QLineEdit { border: 2px solid %1; border-radius: 3px; padding: 1px; }")
                      .arg(errorTextColor(palette()).name())
                : QString());
    }
    if (!refusal_.isEmpty() && inputsAreValid()) {
        refusal_.clear();
        refreshCalculating();
    }
}

bool SidebarView::refuseInvalidInputs(const QString& action) {
    QLineEdit* field = invalidField();
    if (field == nullptr) return false;
    refusal_ = QStringLiteral("Cannot %1: %2.").arg(action, ruleOf(field));
    refreshCalculating();
    refreshValidity();
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return true;
}

void SidebarView::calculate() {
    if (refuseInvalidInputs(QStringLiteral("calculate"))) return;
    commitField(latitude_, true);
    commitField(longitude_, true);
    refusal_.clear();
    model_->calculate();
}

void SidebarView::keyPressEvent(QKeyEvent* event) {
    // Return in any field calculates: the fields pass it on once they have taken their value.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget* focus = focusWidget();
        if (auto* button = qobject_cast<QAbstractButton*>(focus);
            button != nullptr && !qobject_cast<QCheckBox*>(focus)) {
            button->click();
        } else {
            calculate();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SidebarView::orderTabChain() {
    // The order of the layout, top to bottom and left to right.
    const QList<QWidget*> chain = {location_,
                                   latitude_,
                                   northSouth_->firstButton(),
                                   northSouth_->secondButton(),
                                   longitude_,
                                   westEast_->firstButton(),
                                   westEast_->secondButton(),
                                   saveAs_,
                                   delete_,
                                   pickFromMap_,
                                   month_,
                                   day_,
                                   year_,
                                   hourSlider_,
                                   hourStep_->downButton(),
                                   hourStep_->upButton(),
                                   stepBack_,
                                   stepUnit_,
                                   stepForward_,
                                   localTime_,
                                   calculate_,
                                   exportDocument_,
                                   exportPdf_,
                                   exportText_};
    for (qsizetype i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void SidebarView::refreshCities() {
    const QSignalBlocker blocker(location_);
    location_->clear();
    const QFontMetrics metrics(location_->font());
    for (const CityPreset& city : model_->cities()) {
        // Plain text, shortened in the middle when long; the whole name in its tooltip.
        location_->addItem(metrics.elidedText(city.name, Qt::ElideMiddle, kPlaceNameMaxWidth));
        const int row = location_->count() - 1;
        location_->setItemData(row, city.name, Qt::ToolTipRole);
        location_->setItemData(row, city.name, Qt::AccessibleTextRole);
    }
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
    location_->setToolTip(selected >= 0 ? cities[selected].name : QString());
    const bool manual = model_->selectedCityID() == manualCityID();
    manualRows_->setVisible(manual);
    saveAs_->setVisible(manual);
    savedRow_->setVisible(!manual);
    // A field the user did not edit always shows the model's value, focus or not: a map pick
    // while the cursor rests in a field must show, and must not be written over later.
    if (!latitude_->isModified())
        latitude_->setText(QLocale().toString(model_->manualLatDeg(), 'g', 12));
    if (!longitude_->isModified())
        longitude_->setText(QLocale().toString(model_->manualLongDeg(), 'g', 12));
    refreshValidity();
    northSouth_->setFirst(model_->latNorth());
    westEast_->setFirst(model_->longWest());
    coordinates_->setText(coordinatesText(model_->latitude(), model_->longitude()));
}

void SidebarView::refreshDate() {
    const QSignalBlocker blocker(month_);
    const qint64 month = model_->monthIndex();
    month_->setCurrentIndex(month >= 0 && month < month_->count() ? int(month) : -1);
    const QSignalBlocker dayBlocker(day_);
    const QSignalBlocker yearBlocker(year_);
    day_->setValue(int(std::clamp<qint64>(model_->dayIndex() + 1, 1, 30)));
    year_->setValue(int(std::clamp<qint64>(model_->year(), 1, 2000)));
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

void SidebarView::refreshStepTips() {
    const TimeStep& step = kTimeSteps.at(std::size_t(std::max(0, stepUnit_->currentIndex())));
    const auto keys = [](QKeyCombination key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    };
    stepBack_->setToolTip(QStringLiteral("%1 earlier (%2); hold to run backwards")
                              .arg(QString::fromUtf8(step.name), keys(step.earlier)));
    stepForward_->setToolTip(QStringLiteral("%1 later (%2); hold to run forwards")
                                 .arg(QString::fromUtf8(step.name), keys(step.later)));
}

void SidebarView::refreshCalculating() {
    const bool busy = model_->isCalculating();
    calculate_->setEnabled(!busy);
    calculate_->setText(busy ? QString() : QStringLiteral("Calculate"));
    spinner_->setVisible(busy);
    busyText_->setVisible(busy);
    const QString message = !refusal_.isEmpty() ? refusal_ : model_->errorMessage();
    error_->setText(message);
    error_->setVisible(!message.isEmpty());
}

void SidebarView::openSaveSheet() {
    if (refuseInvalidInputs(QStringLiteral("save this place"))) return;
    commitField(latitude_, true);
    commitField(longitude_, true);
    refusal_.clear();
    refreshCalculating();
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
