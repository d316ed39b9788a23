#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace trelvox {

// A number as DMDX writes it: "." as the decimal point whatever the user's locale, an optional
// sign, digits and an optional exponent. Empty for anything else, infinities and NaN included.
// The result is the correctly rounded double, as std::from_chars gives it.
std::optional<double> ReadDecimal(std::string_view text);

// A number as plain decimal text, formatted without allocating: the trial and counter numbers
// of every row.
class DecimalText {
 public:
  explicit DecimalText(int value);
  std::string_view view() const { return std::string_view(digits_, size_); }

 private:
  char digits_[12];
  std::size_t size_ = 0;
};

}  // namespace trelvox
