#include "export/output_tab.h"

namespace morvane {

const TabExport& tabExport(OutputTab tab) {
    static const std::array<TabExport, 9> table = {{
        {"Star Map", "Export SVG", "Star Map", true, QSizeF(720, 720)},
        {"Horoscope", "Export SVG", "Horoscope", true, QSizeF(1440, 760)},
        {"Nolomar System", "Export TXT", "Planets", false, QSizeF(612, 792)},
        {"Sun & Moon", "Export TXT", "Sun & Moon", false, QSizeF(612, 792)},
        {"Positions", "Export TXT", "Positions", false, QSizeF(612, 792)},
        {"Events", "Export TXT", "Events", false, QSizeF(612, 792)},
        {"Day", "Export SVG", "Day", true, QSizeF(612, 792), true},
        {"Calendar", "Export SVG", "Calendar", true, QSizeF(842, 595), true},
        {"Location", "Export", "", false, QSizeF()},
    }};
    return table[static_cast<std::size_t>(tab)];
}

}  // namespace morvane
