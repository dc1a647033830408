#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

/// A JSON string literal, quotes included; control characters are escaped.
std::string jsonQuoted(std::string_view utf8);

/// One JSON object, written on one line with its members in the order they were added.
class JsonObject {
  public:
    JsonObject& field(std::string_view key, std::string_view value);
    /// Finite numbers only; written in the shortest form that reads back to the same double.
    JsonObject& field(std::string_view key, double value);
    /// A number already written as JSON number text.
    JsonObject& number(std::string_view key, std::string_view jsonNumber);
    /// true or false (not an overload of field: a string literal would pick it).
    JsonObject& flag(std::string_view key, bool value);
    /// A value already written as JSON text: an array or an object, nested as it is.
    JsonObject& member(std::string_view key, std::string_view json);
    /// An array of strings.
    JsonObject& strings(std::string_view key, const std::vector<std::string_view>& values);
    [[nodiscard]] std::string str() const { return "{" + members_ + "}"; }

  private:
    void key(std::string_view name);
    std::string members_;
};

/// An array of objects, one per line, with a final line feed.
std::string jsonArray(const std::vector<JsonObject>& objects);

}  // namespace morvane
