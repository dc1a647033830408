#pragma once

#include <QList>
#include <QString>
#include <QUuid>

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

    /// The outputs of the last calculation; empty before the first.
    CalculationResults outputs;

    static ExportContext fromModel(const AstronomyModel& model);
};

}  // namespace morvane
