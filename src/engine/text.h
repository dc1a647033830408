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

/// Appends the text, then spaces up to `width` characters. Never cuts: in a fixed-width table a
/// value one column too wide shifts the line, which reads better than a value that lost digits.
void appendPadded(std::string& line, std::string_view utf8, std::size_t width);
/// Appends spaces up to `width` characters with the text, so that it ends at the column's right
/// edge. Never cuts either.
void appendRightAligned(std::string& line, std::string_view utf8, std::size_t width);

/// The text without the spaces at its end: a padded column's last value, or a line whose last
/// columns were empty.
std::string_view trimmedRight(std::string_view text);

}  // namespace morvane
