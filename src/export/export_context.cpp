#include "export/export_context.h"

#include "model/astronomy_model.h"
#include "model/light_settings.h"

namespace morvane {

ExportContext ExportContext::fromModel(const AstronomyModel& model) {
    const EventList* events = EventList::find(model);
    const LightSettings* light = LightSettings::find(model);
    const CalendarPager* calendar = CalendarPager::find(model);
    return {model.inputs(),
            model.cities(),
            model.outputs(),
            events != nullptr ? events->query() : EventQuery{},
            light != nullptr ? light->thresholds() : MoonlightThresholds{},
            calendar != nullptr ? calendar->page() : std::nullopt};
}

}  // namespace morvane
