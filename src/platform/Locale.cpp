#include "platform/Locale.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace trelvox {

namespace {

std::string Padded(int value, bool pad) {
  std::string text = std::to_string(value);
  return pad && text.size() < 2 ? "0" + text : text;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

bool IsValidDate(const Date& date) {
  // Checked before the conversion: std::chrono keeps a month or a day in one byte.
  if (date.year < 100 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > 31) {
    return false;
  }
  return std::chrono::year_month_day(std::chrono::year(date.year),
                                     std::chrono::month(static_cast<unsigned>(date.month)),
                                     std::chrono::day(static_cast<unsigned>(date.day)))
      .ok();
}

std::optional<int> TakeDigits(std::string_view& text, std::size_t minDigits,
                              std::size_t maxDigits) {
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    ++digits;
  }
  if (digits < minDigits || digits > maxDigits) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + digits, value);
  text.remove_prefix(digits);
  return value;
}

int FullYear(int year, std::size_t digits) {
  if (digits > 2) {
    return year;
  }
  return year < 30 ? 2000 + year : 1900 + year;
}

ShortDateFormat ShortDateFormat::UnitedStates() {
  return ShortDateFormat{};
}

std::optional<ShortDateFormat> ShortDateFormat::FromPosixPattern(std::string_view pattern) {
  ShortDateFormat format;
  int parts = 0;
  std::string separator;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      if (parts == 1) {
        separator += pattern[i];
      }
      continue;
    }
    const char conversion = pattern[++i];
    Part part;
    bool pad = false;
    switch (conversion) {
      case 'd':
        part = Part::Day, pad = true;
        break;
      case 'e':
        part = Part::Day;
        break;
      case 'm':
        part = Part::Month, pad = true;
        break;
      case 'y':
      case 'Y':
        part = Part::Year;
        break;
      default:
        return std::nullopt;
    }
    if (parts == 3) {
      return std::nullopt;
    }
    format.order[parts++] = part;
    if (part == Part::Day) {
      format.padDay = pad;
    } else if (part == Part::Month) {
      format.padMonth = pad;
    }
  }
  if (parts != 3 || separator.empty()) {
    return std::nullopt;
  }
  format.separator = separator;
  return format;
}

std::optional<ShortDateFormat> ShortDateFormat::FromWindowsPattern(std::string_view pattern) {
  ShortDateFormat format;
  int parts = 0;
  std::string separator;
  for (std::size_t i = 0; i < pattern.size();) {
    const char letter = pattern[i];
    if (letter == '\'') {  // a quoted literal such as 'de' in "d 'de' MMMM"
      const std::size_t close = pattern.find('\'', i + 1);
      if (close == std::string_view::npos) {
        return std::nullopt;
      }
      if (parts == 1) {
        separator += pattern.substr(i + 1, close - i - 1);
      }
      i = close + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == letter) {
      ++run;
    }
    if (letter != 'd' && letter != 'M' && letter != 'y') {
      if (parts == 1) {
        separator += pattern.substr(i, run);
      }
      i += run;
      continue;
    }
    // Week-day and month names (ddd, MMM) have no place in a numeric short date.
    if (parts == 3 || (letter != 'y' && run > 2)) {
      return std::nullopt;
    }
    const Part part = letter == 'd' ? Part::Day : letter == 'M' ? Part::Month : Part::Year;
    format.order[parts++] = part;
    if (part == Part::Day) {
      format.padDay = run == 2;
    } else if (part == Part::Month) {
      format.padMonth = run == 2;
    }
    i += run;
  }
  if (parts != 3 || separator.empty()) {
    return std::nullopt;
  }
  format.separator = separator;
  return format;
}

FixedLocale::FixedLocale(ShortDateFormat format, char decimalSeparator)
    : format_(std::move(format)), decimalSeparator_(decimalSeparator) {}

std::string FixedLocale::ShortDate(const Date& date) const {
  std::string text;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      text += format_.separator;
    }
    switch (format_.order[i]) {
      case ShortDateFormat::Part::Day:
        text += Padded(date.day, format_.padDay);
        break;
      case ShortDateFormat::Part::Month:
        text += Padded(date.month, format_.padMonth);
        break;
      case ShortDateFormat::Part::Year:
        text += std::to_string(date.year);
        break;
    }
  }
  return text;
}

std::optional<Date> FixedLocale::ParseShortDate(std::string_view text) const {
  text = TrimBlanks(text);
  Date date;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (text.substr(0, format_.separator.size()) != format_.separator) {
        return std::nullopt;
      }
      text.remove_prefix(format_.separator.size());
    }
    const std::size_t before = text.size();
    const std::optional<int> value =
        TakeDigits(text, 1, format_.order[i] == ShortDateFormat::Part::Year ? 4 : 2);
    if (!value) {
      return std::nullopt;
    }
    switch (format_.order[i]) {
      case ShortDateFormat::Part::Day:
        date.day = *value;
        break;
      case ShortDateFormat::Part::Month:
        date.month = *value;
        break;
      case ShortDateFormat::Part::Year:
        date.year = FullYear(*value, before - text.size());
        break;
    }
  }
  if (!text.empty() || !IsValidDate(date)) {
    return std::nullopt;
  }
  return date;
}

std::optional<double> FixedLocale::ParseNumber(std::string_view text) const {
  text = TrimBlanks(text);
  std::string normal(text);
  if (!normal.empty() && normal.front() == '+') {
    normal.erase(0, 1);
    if (!normal.empty() && normal.front() == '-') {
      return std::nullopt;  // "+-2000": one sign only
    }
  }
  for (char& c : normal) {
    if (c == decimalSeparator_) {
      c = '.';
    }
  }
  const bool shapeOk =
      !normal.empty() && normal.find_first_not_of("-0123456789.") == std::string::npos;
  if (!shapeOk) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                            std::chars_format::fixed);
  if (error != std::errc() || end != normal.data() + normal.size()) {
    return std::nullopt;
  }
  return value;
}

namespace {

bool IsUnitedStatesName(const std::string& name) {
  return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.") ||
         name.starts_with("en_US") || name.starts_with("en-US");
}

char DecimalFrom(const std::string& text) {
  return text.size() == 1 ? text[0] : '.';
}

#ifdef _WIN32
// One text of a Windows locale, or empty text when the locale or the item is unknown.
std::string WindowsLocaleText(const wchar_t* localeName, LCTYPE item) {
  wchar_t wide[128] = {};
  const int length = GetLocaleInfoEx(localeName, item, wide, 128);
  if (length <= 1) {
    return {};
  }
  char narrow[512] = {};
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide, length - 1, narrow, sizeof narrow, nullptr, nullptr);
  return std::string(narrow, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
}

FixedLocale WindowsLocale(const wchar_t* localeName) {
  const std::optional<ShortDateFormat> format =
      ShortDateFormat::FromWindowsPattern(WindowsLocaleText(localeName, LOCALE_SSHORTDATE));
  return FixedLocale(format.value_or(ShortDateFormat::UnitedStates()),
                     DecimalFrom(WindowsLocaleText(localeName, LOCALE_SDECIMAL)));
}

// "de_DE.UTF-8" or "de_DE@euro" as Windows spells it: "de-DE".
std::wstring WindowsLocaleName(const std::string& name) {
  std::wstring wide;
  for (const char c : name.substr(0, name.find_first_of(".@"))) {
    wide += static_cast<wchar_t>(c == '_' ? '-' : static_cast<unsigned char>(c));
  }
  return wide;
}
#endif

}  // namespace

FixedLocale LocaleNamed(const std::string& name) {
  if (IsUnitedStatesName(name)) {
    return FixedLocale(ShortDateFormat::UnitedStates(), '.');
  }
#ifdef _WIN32
  const std::wstring windowsName = WindowsLocaleName(name);
  if (IsValidLocaleName(windowsName.c_str()) == FALSE) {
    return FixedLocale(ShortDateFormat::UnitedStates(), '.');
  }
  return WindowsLocale(windowsName.c_str());
#else
  locale_t handle = newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, name.c_str(), locale_t{});
  if (handle == locale_t{}) {
    return FixedLocale(ShortDateFormat::UnitedStates(), '.');
  }
  std::optional<ShortDateFormat> format =
      ShortDateFormat::FromPosixPattern(nl_langinfo_l(D_FMT, handle));
  const char decimal = DecimalFrom(nl_langinfo_l(RADIXCHAR, handle));
  freelocale(handle);
  return FixedLocale(format.value_or(ShortDateFormat::UnitedStates()), decimal);
#endif
}

FixedLocale SystemLocale() {
#ifdef _WIN32
  // The user's regional settings hold, unless LC_ALL names a locale: shells such as Git Bash set
  // LANG for their own sake, and it must not override what the user chose in Windows.
  const char* all = std::getenv("LC_ALL");
  if (all != nullptr && all[0] != '\0') {
    return LocaleNamed(all);
  }
  return WindowsLocale(LOCALE_NAME_USER_DEFAULT);
#else
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') {
      return LocaleNamed(value);
    }
  }
  return LocaleNamed("C");
#endif
}

Date SystemClock::Today() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace trelvox
