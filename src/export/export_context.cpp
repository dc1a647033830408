#include "export/export_context.h"

#include "model/astronomy_model.h"

namespace morvane {

ExportContext ExportContext::fromModel(const AstronomyModel& model) {
    const EventList* events = EventList::find(model);
    return {model.inputs(), model.cities(), model.outputs(),
            events != nullptr ? events->query() : EventQuery{}};
}

}  // namespace morvane
