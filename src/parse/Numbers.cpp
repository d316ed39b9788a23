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
  const char* cursor = text.data();
  const char* const stop = cursor + text.size();
  std::uint64_t digits = 0;
  const auto takeDigits = [&] {
    const char* from = cursor;
    while (cursor != stop && static_cast<unsigned char>(*cursor - '0') <= 9) {
      digits = digits * 10 + static_cast<std::uint64_t>(*cursor - '0');
      ++cursor;
    }
    return cursor - from;
  };
  const std::ptrdiff_t whole = takeDigits();
  std::ptrdiff_t fraction = 0;
  if (cursor != stop && *cursor == '.') {
    ++cursor;
    fraction = takeDigits();
  }
  const std::ptrdiff_t count = whole + fraction;
  // Longer digit strings need not form an exact double: the full conversion takes them.
  if (cursor != stop || count == 0 || count > 15) {
    return std::nullopt;
  }
  return static_cast<double>(digits) / kPowersOfTen[fraction];
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

DecimalText::DecimalText(int value) {
  size_ = static_cast<std::size_t>(std::to_chars(digits_, digits_ + sizeof digits_, value).ptr -
                                   digits_);
}

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
