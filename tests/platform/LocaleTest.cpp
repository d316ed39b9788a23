#include "platform/Locale.h"

#include <gtest/gtest.h>

namespace trelvox {
namespace {

TEST(Locale, ShortDateFollowsTheFormat) {
  struct Case {
    std::string pattern;
    Date date;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"%d.%m.%Y", {2005, 3, 14}, "14.03.2005"},
      {"%d/%m/%y", {2005, 3, 4}, "04/03/2005"},  // two-digit year patterns still write four
      {"%Y-%m-%d", {2005, 3, 4}, "2005-03-04"},
      {"%e.%m.%Y", {2005, 3, 4}, "4.03.2005"},
      {"%m/%d/%Y", {2015, 6, 26}, "06/26/2015"},
  };
  for (const Case& c : cases) {
    const auto format = ShortDateFormat::FromPosixPattern(c.pattern);
    ASSERT_TRUE(format) << c.pattern;
    const FixedLocale locale(*format);
    EXPECT_EQ(locale.ShortDate(c.date), c.text) << c.pattern;
    EXPECT_EQ(locale.ParseShortDate(c.text), c.date) << c.pattern;
  }
}

// Windows' short-date patterns, as GetLocaleInfoEx gives them.
TEST(Locale, WindowsPatternsMapToTheSameForms) {
  struct Case {
    std::string pattern;
    std::string text;  // 14 March 2005, or 4 March where the day's zero matters
  };
  const std::vector<Case> cases = {
      {"M/d/yyyy", "3/14/2005"},        {"dd.MM.yyyy", "14.03.2005"}, {"d.M.yyyy", "14.3.2005"},
      {"yyyy-MM-dd", "2005-03-14"},     {"dd/MM/yy", "14/03/2005"},   {"d. M. yyyy", "14. 3. 2005"},
      {"yyyy'/'MM'/'dd", "2005/03/14"},
  };
  for (const Case& c : cases) {
    const auto format = ShortDateFormat::FromWindowsPattern(c.pattern);
    ASSERT_TRUE(format) << c.pattern;
    const FixedLocale locale(*format);
    EXPECT_EQ(locale.ShortDate({2005, 3, 14}), c.text) << c.pattern;
    EXPECT_EQ(locale.ParseShortDate(c.text), (Date{2005, 3, 14})) << c.pattern;
  }
  for (const std::string pattern :
       {"", "dddd, MMMM d, yyyy", "MMM d yyyy", "M/d", "dMyyyy", "d/M/yyyy/d", "d'/M/yyyy"}) {
    EXPECT_FALSE(ShortDateFormat::FromWindowsPattern(pattern)) << pattern;
  }
}

#ifdef _WIN32
// On Windows the user's regional settings hold; only LC_ALL overrides them, since shells such
// as Git Bash set LANG for their own sake.
TEST(Locale, OnWindowsOnlyLcAllOverridesTheRegionalSettings) {
  _putenv_s("LC_ALL", "");
  const std::string regional = SystemLocale().ShortDate({2005, 3, 4});
  _putenv_s("LANG", "de_DE.UTF-8");
  _putenv_s("LC_TIME", "de_DE.UTF-8");
  EXPECT_EQ(SystemLocale().ShortDate({2005, 3, 4}), regional);
  _putenv_s("LC_ALL", "de_DE.UTF-8");
  // Windows writes dd.MM.yyyy for German, Wine d.M.yyyy: day first, dots, either way.
  const std::string german = SystemLocale().ShortDate({2005, 3, 4});
  EXPECT_TRUE(german == "04.03.2005" || german == "4.3.2005") << german;
  EXPECT_EQ(SystemLocale().ParseNumber("2,5"), 2.5);
  _putenv_s("LC_ALL", "");
  _putenv_s("LANG", "");
  _putenv_s("LC_TIME", "");
}
#endif

TEST(Locale, UnitedStatesFormHasNoLeadingZeros) {
  const FixedLocale us;
  EXPECT_EQ(us.ShortDate({2005, 3, 14}), "3/14/2005");
  EXPECT_EQ(us.ShortDate({2015, 12, 1}), "12/1/2015");
  for (const std::string name : {"", "C", "POSIX", "C.UTF-8", "en_US.UTF-8", "en_US"}) {
    EXPECT_EQ(LocaleNamed(name).ShortDate({2005, 3, 14}), "3/14/2005") << name;
  }
  // A locale that is not installed falls back to the same form instead of failing.
  EXPECT_EQ(LocaleNamed("xx_NOWHERE.UTF-8").ShortDate({2005, 3, 14}), "3/14/2005");
}

TEST(Locale, BadPatternsAreRefused) {
  for (const std::string pattern : {"", "%d%m%Y", "%d.%m", "%a %d.%m.%Y", "%d.%m.%Y.%d"}) {
    EXPECT_FALSE(ShortDateFormat::FromPosixPattern(pattern)) << pattern;
  }
}

TEST(Locale, ParseShortDateRejectsWhatIsNotADate) {
  const FixedLocale us;
  EXPECT_EQ(us.ParseShortDate("3/14/2005"), (Date{2005, 3, 14}));
  EXPECT_EQ(us.ParseShortDate(" 03/14/05 "), (Date{2005, 3, 14}));
  EXPECT_EQ(us.ParseShortDate("2/29/2004"), (Date{2004, 2, 29}));
  for (const std::string text : {"", "14/3/2005", "2/29/2005", "3/14", "3-14-2005", "a/b/c",
                                 "3/14/2005x", "0/1/2005", "13/1/2005"}) {
    EXPECT_FALSE(us.ParseShortDate(text)) << text;
  }
}

TEST(Locale, ParseNumberAcceptsPointAndTheLocaleSeparator) {
  const FixedLocale us;
  const FixedLocale german(*ShortDateFormat::FromPosixPattern("%d.%m.%Y"), ',');
  struct Case {
    std::string text;
    std::optional<double> us, german;
  };
  const std::vector<Case> cases = {
      {"2000", 2000, 2000},
      {" -2000.5 ", -2000.5, -2000.5},
      {"+3", 3, 3},
      {"2,5", std::nullopt, 2.5},
      {"", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
      {"1e3", std::nullopt, std::nullopt},
      {"--1", std::nullopt, std::nullopt},
      {"+-2000", std::nullopt, std::nullopt},
      {"1.2.3", std::nullopt, std::nullopt},
      {".", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(us.ParseNumber(c.text), c.us) << c.text;
    EXPECT_EQ(german.ParseNumber(c.text), c.german) << c.text;
  }
}

TEST(Locale, DatesCompareWhole) {
  EXPECT_LT((Date{2005, 3, 14}), (Date{2005, 3, 15}));
  EXPECT_EQ((Date{2005, 3, 14}), (Date{2005, 3, 14}));
  EXPECT_FALSE(IsValidDate({2005, 2, 29}));
  EXPECT_TRUE(IsValidDate({2000, 2, 29}));
  EXPECT_FALSE(IsValidDate({1900, 2, 29}));
}

}  // namespace
}  // namespace trelvox
