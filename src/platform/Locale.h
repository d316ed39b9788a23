#pragma once

#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trelvox {

// A calendar date without a time of day.
struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

// A date of the calendar, in the years 100 to 9999 that a short date can show.
bool IsValidDate(const Date& date);

// The date rules that dates typed by the user and dates in DMDX headers share.
// A number of `minDigits` to `maxDigits` digits taken from the front of `text`; none when more
// or fewer digits stand there.
std::optional<int> TakeDigits(std::string_view& text, std::size_t minDigits, std::size_t maxDigits);
// A year written with two digits falls in 1930 to 2029, as the desktop platforms read it; one
// written with more stands as it is.
int FullYear(int year, std::size_t digits);

// The order and look of a short date: "3/14/2005" for a U.S. user, "14.03.2005" for a German
// one. The year always has four digits.
struct ShortDateFormat {
  enum class Part { Day, Month, Year };
  Part order[3] = {Part::Month, Part::Day, Part::Year};
  std::string separator = "/";
  bool padDay = false;
  bool padMonth = false;

  static ShortDateFormat UnitedStates();
  // From a POSIX date pattern such as "%d.%m.%Y" or "%m/%d/%y".
  static std::optional<ShortDateFormat> FromPosixPattern(std::string_view pattern);
  // From a Windows short-date pattern such as "M/d/yyyy" or "dd.MM.yyyy".
  static std::optional<ShortDateFormat> FromWindowsPattern(std::string_view pattern);
};

// Conversions between text and dates and numbers under the user's regional settings.
class Locale {
 public:
  virtual ~Locale() = default;
  virtual std::string ShortDate(const Date& date) const = 0;
  virtual std::optional<Date> ParseShortDate(std::string_view text) const = 0;
  // A number the user typed: blanks around it, a sign, digits, and one decimal separator
  // (the locale's own or ".").
  virtual std::optional<double> ParseNumber(std::string_view text) const = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() const = 0;
};

// A locale given by its short date form and decimal separator; tests build it directly, the
// system locale is one of these too.
class FixedLocale : public Locale {
 public:
  explicit FixedLocale(ShortDateFormat format = ShortDateFormat::UnitedStates(),
                       char decimalSeparator = '.');
  std::string ShortDate(const Date& date) const override;
  std::optional<Date> ParseShortDate(std::string_view text) const override;
  std::optional<double> ParseNumber(std::string_view text) const override;

 private:
  ShortDateFormat format_;
  char decimalSeparator_;
};

// The user's locale: on Windows the regional settings, unless LC_ALL names a locale; elsewhere
// from the environment (LC_ALL, LC_TIME, LANG). With no locale set, C, POSIX or en_US the short
// date is month/day/year without leading zeros, as U.S. users know it.
FixedLocale SystemLocale();
// The same, for a locale name such as "de_DE.UTF-8" (or "de-DE" on Windows); unknown names fall
// back to the U.S. form.
FixedLocale LocaleNamed(const std::string& name);

class SystemClock final : public Clock {
 public:
  Date Today() const override;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(Date today) : today_(today) {}
  Date Today() const override { return today_; }

 private:
  Date today_;
};

}  // namespace trelvox
