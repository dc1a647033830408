#include "engine/uuid.h"

#include <fmt/format.h>

#include <random>

namespace morvane {

Uuid Uuid::random() {
    // One generator per thread: the positions list is built on the calculation's thread.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    Uuid id;
    for (std::size_t i = 0; i < id.bytes.size(); i += 8) {
        std::uint64_t word = generator();
        for (std::size_t k = 0; k < 8; ++k) {
            id.bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
        }
    }
    id.bytes[6] = static_cast<std::uint8_t>((id.bytes[6] & 0x0F) | 0x40);  // version 4
    id.bytes[8] = static_cast<std::uint8_t>((id.bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return id;
}

std::string Uuid::toString() const {
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += fmt::format("{:02X}", bytes[i]);
    }
    return text;
}

}  // namespace morvane
