#pragma once

#include <cstdint>
#include <string>

namespace morvane {

/// An angle split into sign, whole degrees, whole minutes and seconds, for printing.
struct Arc {
    std::int64_t d = 0;     ///< whole degrees of the absolute angle
    std::int64_t m = 0;     ///< whole minutes, 0 to 59
    double s = 0.0;         ///< remaining seconds with their fraction, never negative
    bool negative = false;  ///< the angle given was below zero (−0.0 is not)
    double raw = 0.0;       ///< the angle in radians as given

    /// Splits an angle in radians. The angle must be an ordinary one (its degrees fit a
    /// 64-bit integer); anything else stops the program.
    explicit Arc(double radians);

    /// 7 characters: sign, "%03d" degrees, ":", minutes rounded by the seconds, e.g. " 012:30".
    [[nodiscard]] std::string formatDM() const;
    /// 10 characters: sign, degrees, minutes and whole seconds, e.g. "-012:59:40".
    [[nodiscard]] std::string formatDMS() const;
};

}  // namespace morvane
