#pragma once

#include <QList>

#include "events/light.h"
#include "model/calculation.h"
#include "model/calendar_pager.h"
#include "model/city_preset.h"
#include "model/event_list.h"
#include "model/inputs.h"

namespace morvane {

class AstronomyModel;

/// Everything an export reads, taken from the model at one moment: the inputs that name the
/// file (with the saved locations their selection refers to) and the outputs that fill it. A
/// plain value, so exports work without a model object.
struct ExportContext : Inputs {
    QList<CityPreset> cities;

    /// The outputs of the last calculation; empty before the first.
    CalculationResults outputs;

    /// What the Events output lists: the last calculation's moment and place, the span and
    /// the filter. Without a moment before the first calculation.
    EventQuery events;

    /// When Yael's light counts, as the user set it: the Day output works from `events`' moment
    /// and place with these.
    MoonlightThresholds thresholds;

    /// The month or year the Calendar output shows, with what its days are worked out for;
    /// nothing before the first calculation.
    std::optional<CalendarPage> calendar = std::nullopt;

    static ExportContext fromModel(const AstronomyModel& model);
};

}  // namespace morvane
