#pragma once

#include <QSizeF>
#include <QString>
#include <array>

namespace morvane {

/// The nine output tabs, in toolbar order.
enum class OutputTab {
    starMap,
    horoscope,
    planets,
    sunMoon,
    positions,
    events,
    day,
    calendar,
    location
};

inline constexpr std::array<OutputTab, 9> kAllOutputTabs = {
    OutputTab::starMap, OutputTab::horoscope, OutputTab::planets,
    OutputTab::sunMoon, OutputTab::positions, OutputTab::events,
    OutputTab::day,     OutputTab::calendar,  OutputTab::location};

/// What a tab exports. The location tab exports nothing: its base name is empty.
struct TabExport {
    QString title;             ///< "Star Map", "Horoscope", "Nolomar System", …
    QString firstButtonLabel;  ///< "Export SVG", "Export TXT" or "Export"
    QString baseName;          ///< first part of the suggested file name
    bool writesSvg = false;    ///< the first button writes SVG (else text)
    QSizeF pdfPageSize;        ///< points; empty when the tab makes no PDF
    /// Besides its SVG, a text document through a button of its own ("Export TXT").
    bool alsoWritesText = false;
};

const TabExport& tabExport(OutputTab tab);

}  // namespace morvane
