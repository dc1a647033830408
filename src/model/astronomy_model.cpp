#include "model/astronomy_model.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>
#include <algorithm>
#include <deque>

#include "engine/calendar.h"
#include "model/coordinate_input.h"

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

// "a", "a and b", "a, b and c".
QString listInWords(const QStringList& items) {
    if (items.size() < 2) return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.constLast();
}

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

namespace {

// What a stored value turned out to be: missing (the default, silently), usable, or present
// but damaged (the default, and the user hears of it).
template <typename T>
struct Stored {
    std::optional<T> value;
    bool damaged = false;
};

template <typename T>
Stored<T> readStored(const QVariant& raw, std::optional<T> (*read)(const QVariant&),
                     bool (*usable)(T)) {
    if (!raw.isValid()) return {};
    const std::optional<T> value = read(raw);
    if (!value || !usable(*value)) return {std::nullopt, true};
    return {value, false};
}

// The ranges of the sidebar's controls: a value outside them could not be shown, and a
// calculation from it would print a label such as "-03--4--18".
bool anyBool(bool) { return true; }
bool latitudeInRange(double deg) { return deg >= 0.0 && deg <= kMaxLatitudeDeg; }
bool longitudeInRange(double deg) { return deg >= 0.0 && deg <= kMaxLongitudeDeg; }
bool monthInRange(qint64 index) { return index >= 0 && index <= 11; }
bool dayInRange(qint64 index) { return index >= 0 && index <= 29; }
bool yearInRange(qint64 year) { return year >= 1 && year <= 2000; }
bool hourInRange(double hour) { return hour >= 0.0 && hour <= 23.75; }

}  // namespace

void AstronomyModel::loadSettings() {
    QStringList damaged;
    const auto take = [&damaged](auto stored, auto& field, const char* name) {
        if (stored.value) field = *stored.value;
        if (stored.damaged) damaged.append(QLatin1String(name));
    };
    const QVariant storedID = settings_->value(key::selectedCityID);
    if (storedID.isValid()) {
        const std::optional<QString> text = storedText(storedID);
        const QUuid id = text ? QUuid::fromString(*text) : QUuid();
        if (id.isNull()) {
            damaged.append(QStringLiteral("selected place"));
        } else {
            selectedCityID_ = id;
        }
    }
    take(readStored<double>(settings_->value(key::manualLatDeg), storedDouble, latitudeInRange),
         manualLatDeg_, "latitude");
    take(readStored<double>(settings_->value(key::manualLongDeg), storedDouble, longitudeInRange),
         manualLongDeg_, "longitude");
    take(readStored<bool>(settings_->value(key::latNorth), storedBool, anyBool), latNorth_,
         "north or south");
    take(readStored<bool>(settings_->value(key::longWest), storedBool, anyBool), longWest_,
         "west or east");
    take(readStored<qint64>(settings_->value(key::monthIndex), storedInteger, monthInRange),
         monthIndex_, "month");
    take(readStored<qint64>(settings_->value(key::dayIndex), storedInteger, dayInRange), dayIndex_,
         "day");
    take(readStored<qint64>(settings_->value(key::year), storedInteger, yearInRange), year_,
         "year");
    take(readStored<double>(settings_->value(key::hour), storedDouble, hourInRange), hour_, "hour");
    take(readStored<bool>(settings_->value(key::useLocalTime), storedBool, anyBool), useLocalTime_,
         "local time choice");
    if (!damaged.isEmpty()) {
        loadNotices_.append(
            QStringLiteral("The stored settings for the %1 were out of range or unreadable, so "
                           "the default %2 used instead.")
                .arg(listInWords(damaged),
                     damaged.size() == 1 ? QStringLiteral("is") : QStringLiteral("values are")));
    }
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

#define MORVANE_LOCATION_SETTER(setter, field, signal, Type) \
    void AstronomyModel::setter(Type value) {                \
        const bool changed = assign(field, value);           \
        saveLocationSettings();                              \
        if (changed) emit signal();                          \
    }
#define MORVANE_TIME_SETTER(setter, field, signal, Type) \
    void AstronomyModel::setter(Type value) {            \
        const bool changed = assign(field, value);       \
        saveTimeSettings();                              \
        if (changed) emit signal();                      \
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
    if (loaded.status == LocationsFile::Status::unreadable) {
        const QString damaged = locationsFile_.path(false).value_or(QString());
        // Set aside now, so that the copy the user is told about exists, and the built-in
        // places are on disk again from this start on.
        if (const auto copy = locationsFile_.setAsideDamagedFile()) {
            saveLocations();
            loadNotices_.append(QStringLiteral("The saved locations file \"%1\" was damaged: it "
                                               "was set aside as \"%2\" and the built-in places "
                                               "are used instead.")
                                    .arg(damaged, *copy));
        } else {
            loadNotices_.append(QStringLiteral("The saved locations file \"%1\" could not be "
                                               "read, and the built-in places are used instead.")
                                    .arg(damaged));
        }
    }
    // Places get new ids when the file was rebuilt; a selection that names none of them would
    // leave the picker blank at 0, 0.
    const bool known = std::any_of(cities_.cbegin(), cities_.cend(),
                                   [this](const CityPreset& c) { return c.id == selectedCityID_; });
    if (!known) selectedCityID_ = manualCityID();
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
        if (city.name.toLower() == lowered)
            return LocationError{LocationError::duplicateName, trimmed};
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
