#include "engine/text.h"

namespace morvane {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) {
        if (!isContinuationByte(c)) ++count;
    }
    return count;
}

std::string fitToWidth(std::string_view utf8, std::size_t width) {
    std::size_t count = 0;
    std::size_t end = 0;
    // Stop at the first lead byte past the width, so a cut never splits a character.
    while (end < utf8.size()) {
        if (!isContinuationByte(utf8[end])) {
            if (count == width) break;
            ++count;
        }
        ++end;
    }
    std::string result(utf8.substr(0, end));
    result.append(width - count, ' ');
    return result;
}

void appendPadded(std::string& line, std::string_view utf8, std::size_t width) {
    line += utf8;
    const std::size_t count = characterCount(utf8);
    if (count < width) line.append(width - count, ' ');
}

void appendRightAligned(std::string& line, std::string_view utf8, std::size_t width) {
    const std::size_t count = characterCount(utf8);
    if (count < width) line.append(width - count, ' ');
    line += utf8;
}

std::string_view trimmedRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace morvane
