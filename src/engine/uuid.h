#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace morvane {

/// A random (version 4) UUID, for rows that must be told apart by identity.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    static Uuid random();
    /// Canonical upper-case 36-character form.
    [[nodiscard]] std::string toString() const;
    friend bool operator==(const Uuid&, const Uuid&) = default;
};

}  // namespace morvane
