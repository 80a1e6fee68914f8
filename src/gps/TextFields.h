#pragma once
// Reading the comma-separated text lines GPS logs are made of: fields and
// numbers that must be whole (a field "12x" is no number, unlike atof's).
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrel {

// The fields between commas; an empty line is one empty field.
std::vector<std::string_view> splitFields(std::string_view line);

// The whole field as a number (finite, for floating point); nothing for an
// empty field or one with anything else in it.
template <typename Number>
std::optional<Number> parseNumber(std::string_view field) {
  Number value{};
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, value);
  if (field.empty() || error != std::errc() || stop != end) return std::nullopt;
  if constexpr (std::is_floating_point_v<Number>) {
    if (!std::isfinite(value)) return std::nullopt;
  }
  return value;
}

}  // namespace vantrel
