#pragma once

#include <optional>
#include <string_view>

namespace trelvox {

// A number as DMDX writes it: "." as the decimal point whatever the user's locale, an optional
// sign, digits and an optional exponent. Empty for anything else, infinities and NaN included.
// The result is the correctly rounded double, as std::from_chars gives it.
std::optional<double> ReadDecimal(std::string_view text);

}  // namespace trelvox
