#include "export/export_context.h"

#include "model/astronomy_model.h"

namespace morvane {

ExportContext ExportContext::fromModel(const AstronomyModel& model) {
    return {model.inputs(), model.cities(), model.outputs()};
}

}  // namespace morvane
