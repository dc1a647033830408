#include "reports/positions_text.h"

#include "engine/text.h"

namespace morvane {

std::string positionsText(const std::vector<BodyPosition>& positions) {
    std::string text =
        "Body           Azimuth    Altitude   Ec. Long.   Sign\n"
        "----           -------    --------   ---------   ----\n";
    for (const BodyPosition& row : positions) {
        text += fitToWidth(row.name, 13);
        text += ' ';
        text += row.azimuth;
        text += "    ";
        text += row.altitude;
        text += "    ";
        text += row.ecLong;
        text += "      ";
        text += row.sign;
        text += '\n';
    }
    return text;
}

}  // namespace morvane
