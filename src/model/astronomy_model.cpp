#include "model/astronomy_model.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

#include <deque>

#include "engine/calendar.h"

namespace morvane {

namespace {

namespace key {
const QString selectedCityID = QStringLiteral("AstronomyModel.selectedCityID");
const QString manualLatDeg = QStringLiteral("AstronomyModel.manualLatDeg");
const QString manualLongDeg = QStringLiteral("AstronomyModel.manualLongDeg");
const QString latNorth = QStringLiteral("AstronomyModel.latNorth");
const QString longWest = QStringLiteral("AstronomyModel.longWest");
const QString monthIndex = QStringLiteral("AstronomyModel.monthIndex");
const QString dayIndex = QStringLiteral("AstronomyModel.dayIndex");
const QString year = QStringLiteral("AstronomyModel.year");
const QString hour = QStringLiteral("AstronomyModel.hour");
const QString useLocalTime = QStringLiteral("AstronomyModel.useLocalTime");
}  // namespace key

// Stores the value and tells whether it changed, so the caller notifies only then.
template <typename T>
bool assign(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

AstronomyModel::AstronomyModel(Storage storage, QObject* parent)
    : QObject(parent),
      settings_(storage.settings ? std::move(storage.settings)
                                 : std::make_unique<QSettingsStore>()),
      locationsFile_(storage.locationsFolder ? LocationsFile(*storage.locationsFolder)
                                             : LocationsFile()),
      handBack_(std::make_shared<HandBack>()),
      selectedCityID_(manualCityID()) {
    handBack_->receiver = this;
    qRegisterMetaType<std::vector<BodyPosition>>();
    loadSettings();
    loadLocations();
}

AstronomyModel::~AstronomyModel() {
    // From here on no calculation hands anything to this model; one that finishes later drops
    // its results, and a hand-back already posted is discarded with the object.
    const std::lock_guard lock(handBack_->mutex);
    handBack_->receiver = nullptr;
}

// --- The background task ----------------------------------------------------------------

namespace {

// The jobs waiting for a pool thread. They cross threads through this lock, whose mutex needs
// no construction at run time, so that every hand-over is plain to ThreadSanitizer too (the
// pool's own locks are not instrumented, and anything handed through them alone would look
// like a race).
struct Job {
    std::weak_ptr<HandBack> handBack;
    double t;
    double latitude;
    double longitude;
};
std::mutex jobsMutex;
std::deque<Job> jobs;

}  // namespace

void CalculationTask::enqueue(std::weak_ptr<HandBack> handBack, double t, double latitude,
                              double longitude) {
    {
        const std::lock_guard lock(jobsMutex);
        jobs.push_back({std::move(handBack), t, latitude, longitude});
    }
    QThreadPool::globalInstance()->start(new CalculationTask);
}

void CalculationTask::run() {
    Job job;
    {
        const std::lock_guard lock(jobsMutex);
        if (jobs.empty()) return;
        job = std::move(jobs.front());
        jobs.pop_front();
    }
    CalculationResults results = calculateOutputs(job.t, job.latitude, job.longitude);
    const std::shared_ptr<HandBack> handBack = job.handBack.lock();
    if (!handBack) return;
    const std::lock_guard lock(handBack->mutex);
    if (handBack->receiver == nullptr) return;  // the model is gone: the results are dropped
    handBack->results = std::move(results);
    // Posting holds the lock, so the model cannot be destroyed half-way; the call carries no
    // data, only the wish to be woken on the user-interface thread.
    QMetaObject::invokeMethod(handBack->receiver, "takeResults", Qt::QueuedConnection);
}

const QStringList& AstronomyModel::months() {
    static const QStringList names = [] {
        QStringList list;
        for (std::string_view name : kMonthNames) {
            list.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
        return list;
    }();
    return names;
}

// --- Settings ---------------------------------------------------------------------------

void AstronomyModel::loadSettings() {
    if (const auto text = storedText(settings_->value(key::selectedCityID))) {
        const QUuid id = QUuid::fromString(*text);
        if (!id.isNull()) selectedCityID_ = id;
    }
    manualLatDeg_ = storedDouble(settings_->value(key::manualLatDeg)).value_or(40.5);
    manualLongDeg_ = storedDouble(settings_->value(key::manualLongDeg)).value_or(20.9);
    latNorth_ = storedBool(settings_->value(key::latNorth)).value_or(true);
    longWest_ = storedBool(settings_->value(key::longWest)).value_or(true);
    monthIndex_ = storedInteger(settings_->value(key::monthIndex)).value_or(0);
    dayIndex_ = storedInteger(settings_->value(key::dayIndex)).value_or(0);
    year_ = storedInteger(settings_->value(key::year)).value_or(720);
    hour_ = storedDouble(settings_->value(key::hour)).value_or(12.0);
    useLocalTime_ = storedBool(settings_->value(key::useLocalTime)).value_or(false);
}

void AstronomyModel::saveLocationSettings() {
    settings_->setText(key::selectedCityID, canonicalUuid(selectedCityID_));
    settings_->setDouble(key::manualLatDeg, manualLatDeg_);
    settings_->setDouble(key::manualLongDeg, manualLongDeg_);
    settings_->setBool(key::latNorth, latNorth_);
    settings_->setBool(key::longWest, longWest_);
}

void AstronomyModel::saveTimeSettings() {
    settings_->setInteger(key::year, year_);
    settings_->setInteger(key::monthIndex, monthIndex_);
    settings_->setInteger(key::dayIndex, dayIndex_);
    settings_->setDouble(key::hour, hour_);
    settings_->setBool(key::useLocalTime, useLocalTime_);
}

#define MORVANE_LOCATION_SETTER(setter, field, signal, Type)     \
    void AstronomyModel::setter(Type value) {                     \
        const bool changed = assign(field, value);                \
        saveLocationSettings();                                   \
        if (changed) emit signal();                               \
    }
#define MORVANE_TIME_SETTER(setter, field, signal, Type)         \
    void AstronomyModel::setter(Type value) {                     \
        const bool changed = assign(field, value);                \
        saveTimeSettings();                                       \
        if (changed) emit signal();                               \
    }

MORVANE_LOCATION_SETTER(setSelectedCityID, selectedCityID_, selectedCityIDChanged, const QUuid&)
MORVANE_LOCATION_SETTER(setManualLatDeg, manualLatDeg_, manualLatDegChanged, double)
MORVANE_LOCATION_SETTER(setManualLongDeg, manualLongDeg_, manualLongDegChanged, double)
MORVANE_LOCATION_SETTER(setLatNorth, latNorth_, latNorthChanged, bool)
MORVANE_LOCATION_SETTER(setLongWest, longWest_, longWestChanged, bool)
MORVANE_TIME_SETTER(setMonthIndex, monthIndex_, monthIndexChanged, qint64)
MORVANE_TIME_SETTER(setDayIndex, dayIndex_, dayIndexChanged, qint64)
MORVANE_TIME_SETTER(setYear, year_, yearChanged, qint64)
MORVANE_TIME_SETTER(setHour, hour_, hourChanged, double)
MORVANE_TIME_SETTER(setUseLocalTime, useLocalTime_, useLocalTimeChanged, bool)

#undef MORVANE_LOCATION_SETTER
#undef MORVANE_TIME_SETTER

// --- Place and moment -------------------------------------------------------------------

double AstronomyModel::latitude() const {
    if (selectedCityID_ == manualCityID()) {
        const double radians = radiansFromDegrees(manualLatDeg_);
        return latNorth_ ? radians : -radians;
    }
    for (const CityPreset& city : cities_) {
        if (city.id == selectedCityID_) return city.latitude;
    }
    return CityPreset::manual().latitude;
}

double AstronomyModel::longitude() const {
    if (selectedCityID_ == manualCityID()) {
        const double radians = radiansFromDegrees(manualLongDeg_);
        return longWest_ ? -radians : radians;
    }
    for (const CityPreset& city : cities_) {
        if (city.id == selectedCityID_) return city.longitude;
    }
    return CityPreset::manual().longitude;
}

CalculationInputs AstronomyModel::inputs() const {
    return {latitude(), longitude(), year_, monthIndex_, dayIndex_, hour_, useLocalTime_};
}

double AstronomyModel::currentDayCount() const {
    const double t = dayCount(year_, monthIndex_, dayIndex_, hour_);
    return useLocalTime_ ? localDayCount(t, hour_, longitude()) : t;
}

// --- Calculation ------------------------------------------------------------------------

void AstronomyModel::calculate() {
    if (isCalculating_) return;
    setIsCalculating(true);
    setErrorMessage(std::nullopt);

    const double lat = latitude();
    const double lon = longitude();
    // The guarded form of currentDayCount(): a damaged setting must not reach an engine
    // precondition or make a search run for ever.
    const DayCountResult moment = checkedDayCount(inputs());
    if (!moment.t) {
        setErrorMessage(moment.error);
        setIsCalculating(false);
        return;
    }
    const double t = *moment.t;

    CalculationTask::enqueue(handBack_, t, lat, lon);
}

void AstronomyModel::takeResults() {
    std::optional<CalculationResults> results;
    {
        const std::lock_guard lock(handBack_->mutex);
        results.swap(handBack_->results);
    }
    if (results) publish(std::move(*results));
}

void AstronomyModel::publish(CalculationResults results) {
    // All ten fields first, then the notifications: an observer never sees a mix of old and
    // new outputs.
    std::swap(outputs_, results);
    const CalculationResults& old = results;
    const CalculationResults& now = outputs_;
    if (old.starMapSVG != now.starMapSVG) emit starMapSVGChanged();
    if (old.horoscopeSVG != now.horoscopeSVG) emit horoscopeSVGChanged();
    if (old.basicTableHourly != now.basicTableHourly) emit basicTableHourlyChanged();
    if (old.basicTableMonthly != now.basicTableMonthly) emit basicTableMonthlyChanged();
    if (old.conjunctionDaily != now.conjunctionDaily) emit conjunctionDailyChanged();
    if (old.conjunctionYearly != now.conjunctionYearly) emit conjunctionYearlyChanged();
    emit positionsChanged();  // every write of the positions notifies
    if (old.dateLabel != now.dateLabel) emit dateLabelChanged();
    if (old.nextFullMoonLabel != now.nextFullMoonLabel) emit nextFullMoonLabelChanged();
    if (old.nextNewMoonLabel != now.nextNewMoonLabel) emit nextNewMoonLabelChanged();
    setIsCalculating(false);
}

void AstronomyModel::setIsCalculating(bool calculating) {
    if (assign(isCalculating_, calculating)) emit isCalculatingChanged();
}

void AstronomyModel::setErrorMessage(std::optional<QString> message) {
    if (assign(errorMessage_, message)) emit errorMessageChanged();
}

// --- Saved locations --------------------------------------------------------------------

void AstronomyModel::loadLocations() {
    const LocationsFile::Loaded loaded = locationsFile_.load();
    cities_ = {CityPreset::manual()};
    cities_.append(loaded.status == LocationsFile::Status::loaded ? loaded.cities
                                                                  : CityPreset::defaults());
    sortSavedLocations(cities_);
    if (loaded.status == LocationsFile::Status::missing) saveLocations();
}

void AstronomyModel::saveLocations() {
    // A failure leaves the list in memory as it is; there is no one to tell.
    locationsFile_.save(cities_.mid(1));
}

std::variant<QUuid, LocationError> AstronomyModel::saveLocation(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return LocationError{LocationError::emptyName, {}};
    const QString lowered = trimmed.toLower();
    for (const CityPreset& city : cities_) {
        if (city.name.toLower() == lowered) return LocationError{LocationError::duplicateName, trimmed};
    }
    const double lat = radiansFromDegrees(manualLatDeg_);
    const double lon = radiansFromDegrees(manualLongDeg_);
    const CityPreset entry{QUuid::createUuid(), trimmed, latNorth_ ? lat : -lat,
                           longWest_ ? -lon : lon};
    cities_.append(entry);
    sortSavedLocations(cities_);
    saveLocations();
    emit citiesChanged();
    return entry.id;
}

void AstronomyModel::deleteLocation(const QUuid& requested) {
    // A copy: the caller may hand in the id of an entry of cities_ itself, which the removal
    // below would overwrite with the next entry's id.
    const QUuid id = requested;
    if (id == manualCityID()) return;
    const qsizetype removed =
        cities_.removeIf([&id](const CityPreset& city) { return city.id == id; });
    saveLocations();
    if (removed > 0) emit citiesChanged();
    if (selectedCityID_ == id) setSelectedCityID(manualCityID());
}

}  // namespace morvane
