#include "parse/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace trelvox {

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Reaction times are short plain decimals ("-3625.00"). With at most 15 digits the digits form
// an exact integer and the power of ten is exact, so one division rounds correctly: the same
// double that a full conversion gives, at a fraction of its cost.
std::optional<double> ReadShortDecimal(std::string_view text) {
  std::uint64_t digits = 0;
  int count = 0;
  int fraction = -1;  // digits after the point; -1 while no point was seen
  for (const char c : text) {
    if (c == '.' && fraction < 0) {
      fraction = 0;
      continue;
    }
    if (c < '0' || c > '9' || ++count > 15) {
      return std::nullopt;
    }
    digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    if (fraction >= 0) {
      ++fraction;
    }
  }
  if (count == 0) {
    return std::nullopt;
  }
  return static_cast<double>(digits) / kPowersOfTen[fraction < 0 ? 0 : fraction];
}

std::optional<double> ReadAnyDecimal(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<double> ReadDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') {
    return std::nullopt;
  }
  std::optional<double> value = ReadShortDecimal(text);
  if (!value) {
    value = ReadAnyDecimal(text);
  }
  if (value && negative) {
    *value = -*value;
  }
  return value;
}

}  // namespace trelvox
