#pragma once

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace trelvox {

// The full conversion of ReadDecimal, for any text but a short plain decimal.
std::optional<double> ReadLongDecimal(std::string_view text);

namespace decimal_detail {

inline constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
inline constexpr std::uint64_t kWholePowersOfTen[] = {1,
                                                      10,
                                                      100,
                                                      1000,
                                                      10000,
                                                      100000,
                                                      1000000,
                                                      10000000,
                                                      100000000,
                                                      1000000000,
                                                      10000000000,
                                                      100000000000,
                                                      1000000000000,
                                                      10000000000000,
                                                      100000000000000,
                                                      1000000000000000};
// The largest whole number that times 10^i still fits 64 bits: no division at run time.
inline constexpr auto kLargestScalable = [] {
  std::array<std::uint64_t, std::size(kWholePowersOfTen)> largest{};
  for (std::size_t i = 0; i < largest.size(); ++i) {
    largest[i] = UINT64_MAX / kWholePowersOfTen[i];
  }
  return largest;
}();
inline constexpr std::uint64_t kZeros = 0x3030303030303030;

// The digits of a text of 4 to 8 bytes with at most one point, without a branch on its bytes:
// the text right-aligned in a word behind leading '0's, the point taken out, every byte checked
// to be a digit, and the eight digits combined by three multiplications. False when the text
// is anything else; `fraction` is the number of digits after the point.
// The digit check and the combining are the well-known SWAR ("SIMD within a register") parse of
// eight ASCII digits, as Daniel Lemire describes it in "Quickly parsing eight digits" (2018) and,
// with W. Muła's variant, in "Number Parsing at a Gigabyte per Second" (Software: Practice and
// Experience, 2021); the fast_float and simdjson libraries use it. Only the point's removal and
// the right-alignment are this program's own.
inline bool EightDigits(const char* text, std::size_t size, std::uint64_t& digits,
                        std::size_t& fraction) {
  if constexpr (std::endian::native != std::endian::little) {
    return false;  // the word is built with the text's first byte lowest
  }
  std::uint32_t head;
  std::uint32_t tail;
  std::memcpy(&head, text, 4);
  std::memcpy(&tail, text + size - 4, 4);
  const std::size_t fill = 8 - size;  // leading '0' bytes
  const std::uint64_t fillMask = (std::uint64_t{1} << (8 * fill)) - 1;
  std::uint64_t word = (std::uint64_t{tail} << 32) |
                       ((std::uint64_t{head} << (8 * fill)) & 0xFFFFFFFF) | (kZeros & fillMask);
  const std::uint64_t x = word ^ (0x0101010101010101 * '.');
  const std::uint64_t points =
      ~(((x & 0x7F7F7F7F7F7F7F7F) + 0x7F7F7F7F7F7F7F7F) | x | 0x7F7F7F7F7F7F7F7F);
  fraction = 0;
  if (points != 0) {
    const int at = std::countr_zero(points) / 8;
    const std::uint64_t below = (std::uint64_t{1} << (8 * at)) - 1;
    word = (word & ~(below | (below + 1) * 0xFF)) | ((word & below) << 8) | '0';
    fraction = static_cast<std::size_t>(7 - at);
  }
  if ((((word & 0xF0F0F0F0F0F0F0F0) | (((word + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) !=
       0x3333333333333333)) {
    return false;
  }
  word -= kZeros;
  word = word * 10 + (word >> 8);
  word = (((word & 0x000000FF000000FF) * 0x000F424000000064) +
          (((word >> 16) & 0x000000FF000000FF) * 0x0000271000000001)) >>
         32;
  digits = static_cast<std::uint32_t>(word);
  return true;
}

// The digits of any other short text, one byte at a time.
inline bool DigitsOneByOne(const char* cursor, const char* stop, std::uint64_t& digits,
                           std::size_t& fraction) {
  std::ptrdiff_t count = 0;
  const char* point = nullptr;
  digits = 0;
  for (; cursor != stop; ++cursor) {
    const auto digit = static_cast<unsigned char>(*cursor - '0');
    if (digit <= 9) {
      digits = digits * 10 + digit;
      ++count;
    } else if (*cursor == '.' && point == nullptr) {
      point = cursor;
    } else {
      return false;
    }
  }
  fraction = point == nullptr ? 0 : static_cast<std::size_t>(stop - point - 1);
  return count > 0 && count <= 15;
}

}  // namespace decimal_detail

// A number read as ReadDecimal reads it. Reaction times are short plain decimals ("-3625.00"),
// kept as their digits: with at most 15 digits those form an exact integer and the power of ten
// is exact, so one division gives the correctly rounded double, and the sign and whether the
// number equals a whole one (the trial's class) need no division at all. Anything longer is
// kept as the double of the full conversion. Inline, so that the caller gets the number in
// registers rather than through memory.
class Decimal {
 public:
  static std::optional<Decimal> Read(std::string_view text) {
    using namespace decimal_detail;
    const char* cursor = text.data();
    const char* const stop = cursor + text.size();
    Decimal number;
    number.negative_ = cursor != stop && *cursor == '-';
    cursor += cursor != stop && (*cursor == '-' || *cursor == '+');
    const auto size = static_cast<std::size_t>(stop - cursor);
    const bool read = size >= 4 && size <= 8
                          ? EightDigits(cursor, size, number.digits_, number.fraction_) ||
                                DigitsOneByOne(cursor, stop, number.digits_, number.fraction_)
                          : DigitsOneByOne(cursor, stop, number.digits_, number.fraction_);
    if (read) {
      return number;
    }
    // Longer digit strings need not form an exact double: the full conversion takes them.
    const std::optional<double> value = ReadLongDecimal(text);
    if (!value) {
      return std::nullopt;
    }
    number.exact_ = false;
    number.value_ = *value;
    return number;
  }

  // The correctly rounded double.
  double Value() const {
    if (!exact_) {
      return value_;
    }
    const double value = static_cast<double>(digits_) / decimal_detail::kPowersOfTen[fraction_];
    return negative_ ? -value : value;
  }
  // Value() < 0 (minus zero is not).
  bool IsNegative() const { return exact_ ? negative_ & (digits_ != 0) : value_ < 0; }
  // Value() == whole. With at most 15 digits, digits / 10^fraction rounds to a whole number
  // only when it is that number exactly, so the digits are compared as integers.
  bool Equals(int whole) const {
    if (!exact_) {
      return value_ == whole;
    }
    const bool wholeNegative = whole < 0;
    const std::uint64_t magnitude =
        wholeNegative ? 0 - static_cast<std::uint64_t>(whole) : static_cast<std::uint64_t>(whole);
    const std::uint64_t scale = decimal_detail::kWholePowersOfTen[fraction_];
    const bool sameMagnitude =
        (magnitude <= decimal_detail::kLargestScalable[fraction_]) & (digits_ == magnitude * scale);
    return sameMagnitude & ((negative_ == wholeNegative) | (digits_ == 0));
  }

 private:
  std::uint64_t digits_ = 0;
  std::size_t fraction_ = 0;  // digits after the point
  bool negative_ = false;
  bool exact_ = true;
  double value_ = 0;  // when not exact
};

// A number as DMDX writes it: "." as the decimal point whatever the user's locale, an optional
// sign, digits and an optional exponent. Empty for anything else, infinities and NaN included.
// The result is the correctly rounded double, as std::from_chars gives it.
inline std::optional<double> ReadDecimal(std::string_view text) {
  const std::optional<Decimal> number = Decimal::Read(text);
  if (!number) {
    return std::nullopt;
  }
  return number->Value();
}

// A number as plain decimal text, formatted without allocating: the trial and counter numbers
// of every row. Not std::to_chars: GCC's counts the digits before it writes them, which costs
// about 6 instructions more per AZK trial row (about 0.7% of a conversion).
class DecimalText {
 public:
  // The digits are made from the last one back, at the end of the buffer.
  explicit DecimalText(int value) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto magnitude = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char* at = digits_ + sizeof digits_;
    while (magnitude >= 100) {  // two digits a step
      at -= 2;
      std::memcpy(at, kPairs + 2 * (magnitude % 100), 2);
      magnitude /= 100;
    }
    if (magnitude >= 10) {
      at -= 2;
      std::memcpy(at, kPairs + 2 * magnitude, 2);
    } else {
      *--at = static_cast<char>('0' + magnitude);
    }
    if (value < 0) {
      *--at = '-';
    }
    start_ = static_cast<std::size_t>(at - digits_);
  }
  std::string_view view() const {
    return std::string_view(digits_ + start_, sizeof digits_ - start_);
  }

 private:
  char digits_[12];
  std::size_t start_ = sizeof digits_;
};

}  // namespace trelvox
