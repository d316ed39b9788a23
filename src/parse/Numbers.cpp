#include "parse/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace trelvox {

namespace {

std::optional<double> ReadAnyDecimal(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

// Any number but a short plain decimal, and the text that is none: the full conversion decides.
std::optional<double> ReadLongDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') {
    return std::nullopt;
  }
  std::optional<double> value = ReadAnyDecimal(text);
  if (value && negative) {
    *value = -*value;
  }
  return value;
}

}  // namespace trelvox
