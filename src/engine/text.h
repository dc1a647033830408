#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

/// Number of characters (Unicode code points) of UTF-8 text: fixed-width columns count
/// "Épeòn" as five, like "Epeon".
std::size_t characterCount(std::string_view utf8);

/// The text cut or padded with spaces to exactly `width` characters (code points).
std::string fitToWidth(std::string_view utf8, std::size_t width);

}  // namespace morvane
