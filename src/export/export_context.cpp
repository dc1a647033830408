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
    c.outputs = model.outputs();
    return c;
}

}  // namespace morvane
