#include "engine/json.h"

#include <fmt/format.h>

namespace morvane {

std::string jsonQuoted(std::string_view utf8) {
    std::string quoted = "\"";
    for (char c : utf8) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\t':
                quoted += "\\t";
                break;
            case '\r':
                quoted += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    quoted += fmt::format("\\u{:04x}", static_cast<unsigned>(c));
                } else {
                    quoted += c;
                }
        }
    }
    quoted += '"';
    return quoted;
}

void JsonObject::key(std::string_view name) {
    if (!members_.empty()) members_ += ", ";
    members_ += jsonQuoted(name);
    members_ += ": ";
}

JsonObject& JsonObject::field(std::string_view name, std::string_view value) {
    key(name);
    members_ += jsonQuoted(value);
    return *this;
}

JsonObject& JsonObject::field(std::string_view name, double value) {
    key(name);
    members_ += fmt::format("{}", value);
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, std::string_view jsonNumber) {
    key(name);
    members_ += jsonNumber;
    return *this;
}

JsonObject& JsonObject::member(std::string_view name, std::string_view json) {
    key(name);
    members_ += json;
    return *this;
}

JsonObject& JsonObject::flag(std::string_view name, bool value) {
    key(name);
    members_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::strings(std::string_view name,
                                const std::vector<std::string_view>& values) {
    key(name);
    members_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) members_ += ", ";
        members_ += jsonQuoted(values[i]);
    }
    members_ += ']';
    return *this;
}

std::string jsonArray(const std::vector<JsonObject>& objects) {
    if (objects.empty()) return "[]\n";
    std::string text = "[\n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        text += "  ";
        text += objects[i].str();
        text += i + 1 < objects.size() ? ",\n" : "\n";
    }
    text += "]\n";
    return text;
}

}  // namespace morvane
