#pragma once

#include <array>
#include <span>
#include <string_view>

namespace morvane {

/// One line of a constellation figure, between two catalogue entries named by `from` and `to`.
struct FigureLine {
    std::string_view from;
    std::string_view to;
};

/// The 162 lines of the constellation figures, in drawing order.
std::span<const FigureLine> constellationFigureLines();

}  // namespace morvane
