#include "parse/Numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

namespace trelvox {
namespace {

std::optional<double> Reference(std::string_view text) {
  if (text.starts_with('+')) {
    text.remove_prefix(1);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

TEST(ReadDecimal, AcceptsWhatDmdxWritesAndNothingElse) {
  struct Case {
    std::string text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"-3625.00", -3625.0}, {"3450.84", 3450.84},    {"0", 0.0},
      {"+12", 12.0},         {"-2000", -2000.0},      {".5", 0.5},
      {"5.", 5.0},           {"1e3", 1000.0},         {"-1.5E-2", -0.015},
      {"", std::nullopt},    {"-", std::nullopt},     {".", std::nullopt},
      {"+-1", std::nullopt}, {"--1", std::nullopt},   {"1.2.3", std::nullopt},
      {"abc", std::nullopt}, {"12a", std::nullopt},   {"inf", std::nullopt},
      {"nan", std::nullopt}, {"1e999", std::nullopt}, {"1,5", std::nullopt},
      {" 1", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadDecimal(c.text), c.value) << c.text;
  }
  EXPECT_TRUE(std::signbit(*ReadDecimal("-0.00")));  // minus zero still counts as RT >= 0
}

TEST(ReadDecimal, HundredthsAreExactUpToTwoDecimals) {
  const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases = {
      {"-3625.00", -362500},
      {"612.4", 61240},
      {"0", 0},
      {"+12", 1200},
      {".5", 50},
      {"-0.05", -5},
      {"612.485", std::nullopt},
      {"1e3", std::nullopt},  // exponent: the double of the full conversion
  };
  for (const auto& [text, hundredths] : cases) {
    EXPECT_EQ(Decimal::Read(text)->Hundredths(), hundredths) << text;
  }
}

// The short-decimal path must give exactly the double a full conversion gives, and a Decimal's
// sign and comparison with a whole number must be the double's.
TEST(ReadDecimal, MatchesAFullConversionBitForBit) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 17);
    std::string text = random() % 2 ? "-" : "";
    if (i % 4 == 0) {  // whole numbers and time-outs, with zeros after the point
      text += std::to_string(random() % 40000) + "." + std::string(random() % 6, '0');
      const auto number = Decimal::Read(text);
      ASSERT_TRUE(number) << text;
      const double value = *Reference(text);
      EXPECT_EQ(number->IsNegative(), value < 0) << text;
      for (const int whole : {0, 2000, -2000, static_cast<int>(value), -static_cast<int>(value)}) {
        EXPECT_EQ(number->Equals(whole), value == whole) << text << " " << whole;
      }
      continue;
    }
    const int point = static_cast<int>(random() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) {
        text += '.';
      }
      text += static_cast<char>('0' + random() % 10);
    }
    const auto expected = Reference(text);
    const auto got = ReadDecimal(text);
    ASSERT_EQ(got.has_value(), expected.has_value()) << text;
    if (got) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(*got), std::bit_cast<std::uint64_t>(*expected))
          << text;
      ASSERT_EQ(Decimal::Read(text)->IsNegative(), *expected < 0) << text;
    }
  }
}

TEST(DecimalText, WritesWhatToStringWrites) {
  for (const int value : {0, 7, 10, 99, 100, 101, 999, 1000, 32767, 99999, 100000, 2147483647, -1,
                          -10, -32768, -2147483647 - 1}) {
    EXPECT_EQ(DecimalText(value).view(), std::to_string(value));
  }
}

}  // namespace
}  // namespace trelvox
