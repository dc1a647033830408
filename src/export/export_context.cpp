#include "export/export_context.h"

#include "model/astronomy_model.h"

namespace morvane {

ExportContext ExportContext::fromModel(const AstronomyModel& model) {
    ExportContext c;
    c.selectedCityID = model.selectedCityID();
    c.cities = model.cities();
    c.manualLatDeg = model.manualLatDeg();
    c.manualLongDeg = model.manualLongDeg();
    c.latNorth = model.latNorth();
    c.longWest = model.longWest();
    c.year = model.year();
    c.monthIndex = model.monthIndex();
    c.dayIndex = model.dayIndex();
    c.hour = model.hour();
    c.dateLabel = model.dateLabel();
    c.starMapSVG = model.starMapSVG();
    c.horoscopeSVG = model.horoscopeSVG();
    c.basicTableHourly = model.basicTableHourly();
    c.basicTableMonthly = model.basicTableMonthly();
    c.conjunctionDaily = model.conjunctionDaily();
    c.conjunctionYearly = model.conjunctionYearly();
    c.positions = model.positions();
    return c;
}

void ExportContext::takeOutputs(CalculationResults results) {
    dateLabel = std::move(results.dateLabel);
    starMapSVG = std::move(results.starMapSVG);
    horoscopeSVG = std::move(results.horoscopeSVG);
    basicTableHourly = std::move(results.basicTableHourly);
    basicTableMonthly = std::move(results.basicTableMonthly);
    conjunctionDaily = std::move(results.conjunctionDaily);
    conjunctionYearly = std::move(results.conjunctionYearly);
    positions = std::move(results.positions);
}

}  // namespace morvane
