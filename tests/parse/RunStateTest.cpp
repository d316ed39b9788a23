#include "parse/RunState.h"

#include <gtest/gtest.h>

namespace trelvox {
namespace {

TEST(RunState, InputTypeIsTheLastThreeCharactersUpperCased) {
  struct Case {
    std::string path, letters;
    InputType type;
  };
  const std::vector<Case> cases = {
      {"/data/exp1.azk", "AZK", InputType::Azk},
      {"C:\\data\\exp1.ZIL", "ZIL", InputType::Zil},
      {"exp1.Zil", "ZIL", InputType::Zil},
      {"exp1.txt", "TXT", InputType::Unknown},
      {"exp1.azk.bak", "BAK", InputType::Unknown},
      {"az", "AZ", InputType::Unknown},
      {"", "", InputType::Unknown},
      {"/data/myazk", "AZK", InputType::Azk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InputTypeLetters(c.path), c.letters) << c.path;
    EXPECT_EQ(InputTypeOf(c.path), c.type) << c.path;
  }
}

TEST(RunState, StartsEmptyWithEveryOptionOff) {
  RunState state;
  EXPECT_EQ(state.files.InFileNum, 0);
  EXPECT_EQ(state.files.CompFileNum, 0);
  EXPECT_EQ(state.files.CntFileNum, 0);
  EXPECT_EQ(state.files.SubjFileNum, 0);
  EXPECT_FALSE(state.subject.SubjectDate.date);
  state.options.SaveCounters = state.options.SaveIndFiles = state.options.ZORFormat =
      state.options.COTIncluded = true;
  ClearOptions(state.options);
  EXPECT_FALSE(state.options.SaveCounters || state.options.SaveIndFiles ||
               state.options.ZORFormat || state.options.COTIncluded);
}

TEST(RunState, DateTextUsesTheLocaleOrTheUnconvertedText) {
  const FixedLocale us;
  EXPECT_EQ(DateText({Date{2005, 3, 14}, ""}, us), "3/14/2005");
  EXPECT_EQ(DateText({std::nullopt, "99/99/2005"}, us), "99/99/2005");
}

}  // namespace
}  // namespace trelvox
