#include "model/astronomy_model.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>
#include <deque>
#include <utility>

#include "engine/calendar.h"

namespace morvane {

namespace {

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
      handBack_(std::make_shared<HandBack>()) {
    handBack_->receiver = this;
    qRegisterMetaType<std::vector<BodyPosition>>();
    StoredInputs stored = Inputs::load(*settings_);
    inputs_ = stored.inputs;
    if (!stored.notice.isEmpty()) loadNotices_.append(std::move(stored.notice));
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

// --- Inputs -----------------------------------------------------------------------------

template <typename T>
void AstronomyModel::setInput(T Inputs::*field, const T& value, Inputs::Group group,
                              void (AstronomyModel::*changed)()) {
    const bool differs = assign(inputs_.*field, value);
    inputs_.save(*settings_, group);
    if (differs) emit(this->*changed)();
}

void AstronomyModel::setSelectedCityID(const QUuid& id) {
    setInput(&Inputs::selectedCityID, id, Inputs::Group::location,
             &AstronomyModel::selectedCityIDChanged);
}
void AstronomyModel::setManualLatDeg(double degrees) {
    setInput(&Inputs::manualLatDeg, degrees, Inputs::Group::location,
             &AstronomyModel::manualLatDegChanged);
}
void AstronomyModel::setManualLongDeg(double degrees) {
    setInput(&Inputs::manualLongDeg, degrees, Inputs::Group::location,
             &AstronomyModel::manualLongDegChanged);
}
void AstronomyModel::setLatNorth(bool north) {
    setInput(&Inputs::latNorth, north, Inputs::Group::location, &AstronomyModel::latNorthChanged);
}
void AstronomyModel::setLongWest(bool west) {
    setInput(&Inputs::longWest, west, Inputs::Group::location, &AstronomyModel::longWestChanged);
}
void AstronomyModel::setMonthIndex(qint64 index) {
    setInput(&Inputs::monthIndex, index, Inputs::Group::time, &AstronomyModel::monthIndexChanged);
}
void AstronomyModel::setDayIndex(qint64 index) {
    setInput(&Inputs::dayIndex, index, Inputs::Group::time, &AstronomyModel::dayIndexChanged);
}
void AstronomyModel::setYear(qint64 year) {
    setInput(&Inputs::year, year, Inputs::Group::time, &AstronomyModel::yearChanged);
}
void AstronomyModel::setHour(double hour) {
    setInput(&Inputs::hour, hour, Inputs::Group::time, &AstronomyModel::hourChanged);
}
void AstronomyModel::setUseLocalTime(bool local) {
    setInput(&Inputs::useLocalTime, local, Inputs::Group::time,
             &AstronomyModel::useLocalTimeChanged);
}

double AstronomyModel::latitude() const { return inputs_.place(cities_).latitude; }

double AstronomyModel::longitude() const { return inputs_.place(cities_).longitude; }

double AstronomyModel::currentDayCount() const {
    const CalculationInputs in = CalculationInputs::of(inputs_, cities_);
    const double t = dayCount(in.year, in.monthIndex, in.dayIndex, in.hour);
    return in.useLocalTime ? localDayCount(t, in.hour, in.longitude) : t;
}

// --- Calculation ------------------------------------------------------------------------

void AstronomyModel::calculate() {
    if (isCalculating_) return;
    setIsCalculating(true);
    setErrorMessage(std::nullopt);

    const CalculationInputs in = CalculationInputs::of(inputs_, cities_);
    // The guarded form of currentDayCount(): a damaged setting must not reach an engine
    // precondition or make a search run for ever.
    const DayCountResult moment = checkedDayCount(in);
    if (!moment.t) {
        setErrorMessage(moment.error);
        setIsCalculating(false);
        return;
    }
    CalculationTask::enqueue(handBack_, *moment.t, in.latitude, in.longitude);
}

bool AstronomyModel::goToMoment(double t) {
    const std::optional<ClockInputs> moment =
        inputs_.useLocalTime ? localInputsOf(t, longitude()) : ostInputsOf(t);
    if (!moment) {
        setErrorMessage(t > 0 ? QStringLiteral("That moment falls after year 2000, the last year "
                                               "the calendar can show.")
                              : QStringLiteral("That moment falls before year 1, the first year "
                                               "the calendar can show."));
        return false;
    }
    moveTo(*moment);
    return true;
}

bool AstronomyModel::stepMinutes(qint64 minutes) {
    const ClockInputs from{inputs_.year, inputs_.monthIndex, inputs_.dayIndex, inputs_.hour};
    const std::optional<ClockInputs> moment = steppedInputs(from, minutes);
    if (!moment) {
        setErrorMessage(minutes > 0 ? QStringLiteral("The calendar ends with year 2000: that step "
                                                     "would go past it.")
                                    : QStringLiteral("The calendar starts with year 1: that step "
                                                     "would go before it."));
        return false;
    }
    moveTo(*moment);
    return true;
}

void AstronomyModel::moveTo(const ClockInputs& moment) {
    setYear(moment.year);
    setMonthIndex(moment.monthIndex);
    setDayIndex(moment.dayIndex);
    setHour(moment.hour);
    if (isCalculating_) {
        recalculate_ = true;
    } else {
        calculate();
    }
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
    if (std::exchange(recalculate_, false)) calculate();
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
    cities_ = loaded.listed();
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
    if (inputs_.place(cities_).kind == SelectedPlace::Kind::unknown) {
        inputs_.selectedCityID = manualCityID();
    }
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
    const SelectedPlace where = inputs_.typedInPlace();
    const CityPreset entry{QUuid::createUuid(), trimmed, where.latitude, where.longitude};
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
    if (inputs_.selectedCityID == id) setSelectedCityID(manualCityID());
}

}  // namespace morvane
