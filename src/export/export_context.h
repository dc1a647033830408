#pragma once

#include <QList>
#include <QString>
#include <QUuid>

#include <vector>

#include "engine/positions.h"
#include "model/calculation.h"
#include "model/city_preset.h"

namespace morvane {

class AstronomyModel;

/// Everything an export reads, taken from the model at one moment: the inputs that name the
/// file and the outputs that fill it. A plain value, so exports work without a model object.
struct ExportContext {
    QUuid selectedCityID;
    QList<CityPreset> cities;
    double manualLatDeg = 40.5;
    double manualLongDeg = 20.9;
    bool latNorth = true;
    bool longWest = true;
    qint64 year = 720;
    qint64 monthIndex = 0;
    qint64 dayIndex = 0;
    double hour = 12.0;

    QString dateLabel;  ///< of the last calculation; empty before the first
    QString starMapSVG;
    QString horoscopeSVG;
    QString basicTableHourly;
    QString basicTableMonthly;
    QString conjunctionDaily;
    QString conjunctionYearly;
    std::vector<BodyPosition> positions;

    static ExportContext fromModel(const AstronomyModel& model);
    /// Takes the outputs of a calculation made outside a model (the CLI, tests, benchmarks).
    void takeOutputs(CalculationResults results);
};

}  // namespace morvane
