#include "cli/almanac_command.h"

#include <ostream>

namespace morvane::cli {

void writeAlmanac(const AlmanacRequest& r, std::ostream& out) {
    const AlmanacSpan span = almanacSpan(r.first, r.last);
    const std::vector<std::string> heading = almanacHeading(r.place, r.first, r.last, r.kinds);
    AlmanacWriter writer(out, r.format, r.longitude, heading, r.kinds);
    EventFinder(r.latitude, r.longitude)
        .between(r.kinds, span.from, span.to,
                 [&writer](const SkyEvent& event) { writer.add(event); });
    writer.finish();
}

}  // namespace morvane::cli
