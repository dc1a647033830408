#pragma once

#include <QList>
#include <QObject>
#include <QRunnable>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

#include "engine/positions.h"
#include "model/calculation.h"
#include "model/city_preset.h"
#include "model/inputs.h"
#include "model/locations_file.h"
#include "model/moment.h"
#include "model/settings_store.h"

Q_DECLARE_METATYPE(std::vector<morvane::BodyPosition>)

namespace morvane {

class AstronomyModel;

/// Where a finished calculation leaves its results for the model. The model holds it; each
/// task holds it weakly and finds `receiver` cleared once the model is gone.
struct HandBack {
    std::mutex mutex;
    AstronomyModel* receiver = nullptr;
    std::optional<CalculationResults> results;
};

/// One calculation on the thread pool. It holds only the three numbers and the hand-back,
/// weakly, and cannot be cancelled.
class CalculationTask : public QRunnable {
  public:
    static void enqueue(std::weak_ptr<HandBack> handBack, double t, double latitude,
                        double longitude);
    void run() override;
};

/// The application's one state object: the ten inputs (stored as settings), the saved
/// locations (stored in locations.json) and the outputs of the last calculation. It lives on
/// the user-interface thread; only a calculation's work runs elsewhere. A write of an equal
/// value does not notify, except for positions.
class AstronomyModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<morvane::CityPreset> cities READ cities NOTIFY citiesChanged)
    Q_PROPERTY(QUuid selectedCityID READ selectedCityID WRITE setSelectedCityID NOTIFY
                   selectedCityIDChanged)
    Q_PROPERTY(
        double manualLatDeg READ manualLatDeg WRITE setManualLatDeg NOTIFY manualLatDegChanged)
    Q_PROPERTY(
        double manualLongDeg READ manualLongDeg WRITE setManualLongDeg NOTIFY manualLongDegChanged)
    Q_PROPERTY(bool latNorth READ latNorth WRITE setLatNorth NOTIFY latNorthChanged)
    Q_PROPERTY(bool longWest READ longWest WRITE setLongWest NOTIFY longWestChanged)
    Q_PROPERTY(qint64 monthIndex READ monthIndex WRITE setMonthIndex NOTIFY monthIndexChanged)
    Q_PROPERTY(qint64 dayIndex READ dayIndex WRITE setDayIndex NOTIFY dayIndexChanged)
    Q_PROPERTY(qint64 year READ year WRITE setYear NOTIFY yearChanged)
    Q_PROPERTY(double hour READ hour WRITE setHour NOTIFY hourChanged)
    Q_PROPERTY(bool useLocalTime READ useLocalTime WRITE setUseLocalTime NOTIFY useLocalTimeChanged)
    Q_PROPERTY(QString starMapSVG READ starMapSVG NOTIFY starMapSVGChanged)
    Q_PROPERTY(QString horoscopeSVG READ horoscopeSVG NOTIFY horoscopeSVGChanged)
    Q_PROPERTY(QString basicTableHourly READ basicTableHourly NOTIFY basicTableHourlyChanged)
    Q_PROPERTY(QString basicTableMonthly READ basicTableMonthly NOTIFY basicTableMonthlyChanged)
    Q_PROPERTY(QString conjunctionDaily READ conjunctionDaily NOTIFY conjunctionDailyChanged)
    Q_PROPERTY(QString conjunctionYearly READ conjunctionYearly NOTIFY conjunctionYearlyChanged)
    Q_PROPERTY(std::vector<morvane::BodyPosition> positions READ positions NOTIFY positionsChanged)
    Q_PROPERTY(QString dateLabel READ dateLabel NOTIFY dateLabelChanged)
    Q_PROPERTY(QString nextFullMoonLabel READ nextFullMoonLabel NOTIFY nextFullMoonLabelChanged)
    Q_PROPERTY(QString nextNewMoonLabel READ nextNewMoonLabel NOTIFY nextNewMoonLabelChanged)
    Q_PROPERTY(bool isCalculating READ isCalculating NOTIFY isCalculatingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

  public:
    /// Where the model keeps its inputs and its saved locations; the defaults are the user's own.
    struct Storage {
        std::unique_ptr<SettingsStore> settings;  ///< null: QSettingsStore
        std::optional<QString> locationsFolder;   ///< empty: the user's data folder
    };

    /// Defaults, then the stored settings (each outside its control's range replaced by its
    /// default), then the saved locations (a remembered selection naming none of them becomes
    /// the manual entry). Starts no calculation and writes no setting.
    explicit AstronomyModel(Storage storage = {}, QObject* parent = nullptr);
    ~AstronomyModel() override;

    /// The month names, indexed by monthIndex.
    static const QStringList& months();

    const QList<CityPreset>& cities() const { return cities_; }
    /// All ten inputs at once.
    const Inputs& inputs() const { return inputs_; }
    QUuid selectedCityID() const { return inputs_.selectedCityID; }
    double manualLatDeg() const { return inputs_.manualLatDeg; }
    double manualLongDeg() const { return inputs_.manualLongDeg; }
    bool latNorth() const { return inputs_.latNorth; }
    bool longWest() const { return inputs_.longWest; }
    qint64 monthIndex() const { return inputs_.monthIndex; }
    qint64 dayIndex() const { return inputs_.dayIndex; }
    qint64 year() const { return inputs_.year; }
    double hour() const { return inputs_.hour; }
    bool useLocalTime() const { return inputs_.useLocalTime; }

    // Each write stores its settings group, even when the value is unchanged.
    void setSelectedCityID(const QUuid& id);
    void setManualLatDeg(double degrees);
    void setManualLongDeg(double degrees);
    void setLatNorth(bool north);
    void setLongWest(bool west);
    void setMonthIndex(qint64 index);
    void setDayIndex(qint64 index);
    void setYear(qint64 year);
    void setHour(double hour);
    void setUseLocalTime(bool local);

    const QString& starMapSVG() const { return outputs_.starMapSVG; }
    const QString& horoscopeSVG() const { return outputs_.horoscopeSVG; }
    const QString& basicTableHourly() const { return outputs_.basicTableHourly; }
    const QString& basicTableMonthly() const { return outputs_.basicTableMonthly; }
    const QString& conjunctionDaily() const { return outputs_.conjunctionDaily; }
    const QString& conjunctionYearly() const { return outputs_.conjunctionYearly; }
    const std::vector<BodyPosition>& positions() const { return outputs_.positions; }
    const QString& dateLabel() const { return outputs_.dateLabel; }
    const QString& nextFullMoonLabel() const { return outputs_.nextFullMoonLabel; }
    const QString& nextNewMoonLabel() const { return outputs_.nextNewMoonLabel; }
    /// All ten outputs of the last calculation at once.
    const CalculationResults& outputs() const { return outputs_; }
    bool isCalculating() const { return isCalculating_; }
    /// Null when there is no error to show.
    QString errorMessage() const { return errorMessage_.value_or(QString()); }
    bool hasErrorMessage() const { return errorMessage_.has_value(); }

    /// The observer's place in radians (north and east positive), from the typed-in location
    /// or the selected saved one; 0, 0 when the selected id names no entry.
    double latitude() const;
    double longitude() const;
    /// The day count of the inputs.
    double currentDayCount() const;

    /// Runs every generator once on a background thread and publishes all outputs together.
    /// Does nothing while a calculation runs. Inputs that cannot be calculated set
    /// errorMessage instead and start nothing.
    Q_INVOKABLE void calculate();

    /// Sets the date and time inputs to the minute t's label shows (the date label's minute on
    /// OST, the nearest minute of local time when useLocalTime is on), and calculates. Returns
    /// false and sets errorMessage ("That moment falls outside …") when the moment's year is
    /// outside 1–2000, changing nothing.
    bool goToMoment(double t);
    /// Moves the date and time inputs by whole minutes (months and years roll over) and
    /// calculates. Returns false and sets errorMessage when the step would leave years 1–2000,
    /// changing nothing.
    bool stepMinutes(qint64 minutes);

    /// Saves the typed-in location under a name; the new entry's id, or why not.
    std::variant<QUuid, LocationError> saveLocation(const QString& name);
    /// Removes a saved location; selecting the manual entry when it was selected.
    void deleteLocation(const QUuid& id);

    /// The path of locations.json, creating its folder; nothing when no folder is known.
    std::optional<QString> locationsFileURL() const { return locationsFile_.path(); }

    /// What the user should hear about once: damaged files set aside and stored settings
    /// replaced by defaults while the model was built, one plain sentence each.
    const QStringList& loadNotices() const { return loadNotices_; }

  signals:
    void citiesChanged();
    void selectedCityIDChanged();
    void manualLatDegChanged();
    void manualLongDegChanged();
    void latNorthChanged();
    void longWestChanged();
    void monthIndexChanged();
    void dayIndexChanged();
    void yearChanged();
    void hourChanged();
    void useLocalTimeChanged();
    void starMapSVGChanged();
    void horoscopeSVGChanged();
    void basicTableHourlyChanged();
    void basicTableMonthlyChanged();
    void conjunctionDailyChanged();
    void conjunctionYearlyChanged();
    void positionsChanged();
    void dateLabelChanged();
    void nextFullMoonLabelChanged();
    void nextNewMoonLabelChanged();
    void isCalculatingChanged();
    void errorMessageChanged();

  private:
    // Woken on the user-interface thread by a finished calculation.
    Q_INVOKABLE void takeResults();
    // Assigns one input, stores its settings group (whether the value changed or not) and
    // emits `changed` when it did change.
    template <typename T>
    void setInput(T Inputs::*field, const T& value, Inputs::Group group,
                  void (AstronomyModel::*changed)());
    void loadLocations();
    void saveLocations();
    void publish(CalculationResults results);
    void setIsCalculating(bool calculating);
    void setErrorMessage(std::optional<QString> message);
    // Sets the four date and time inputs, then calculates them; while a calculation runs the
    // newest moment waits for it, so a held key never queues a backlog.
    void moveTo(const ClockInputs& moment);

    std::unique_ptr<SettingsStore> settings_;
    LocationsFile locationsFile_;
    std::shared_ptr<HandBack> handBack_;

    QList<CityPreset> cities_;
    Inputs inputs_;

    CalculationResults outputs_;
    bool isCalculating_ = false;
    std::optional<QString> errorMessage_;
    bool recalculate_ = false;  ///< inputs moved while a calculation ran
    QStringList loadNotices_;
};

}  // namespace morvane
