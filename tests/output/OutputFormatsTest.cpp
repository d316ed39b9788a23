#include "output/OutputFormats.h"

#include <gtest/gtest.h>

#include "parse/RunState.h"

namespace trelvox {
namespace {

TEST(OutputFormats, DatExtensionIsAddedUnlessPresent) {
  struct Case {
    std::string name, result;
  };
  const std::vector<Case> cases = {
      {"results", "results.dat"},
      {"results.dat", "results.dat"},
      {"results.DAT", "results.DAT"},
      {"Data.Dat", "Data.Dat"},
      {"results.txt", "results.txt.dat"},
      {"dat", "dat.dat"},
      {".dat", ".dat"},
      {"", ".dat"},
      {"/a/b.dat/c", "/a/b.dat/c.dat"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyDatExtension(c.name), c.result) << c.name;
  }
}

TEST(OutputFormats, HeaderRows) {
  EXPECT_EQ(AzkCompositeHeader(false), "SubID\tDate\tTrialNum\tTrialID\tRT\tError");
  EXPECT_EQ(AzkCompositeHeader(true), "SubID\tDate\tTrialNum\tTrialID\tRT\tCOT\tError");
  EXPECT_EQ(CounterHeader(), "SubID\tDate\tIndex\tCntType\tCntValue");
  struct Case {
    bool cot, zor;
    int responses;
    std::string header;
  };
  const std::vector<Case> cases = {
      {true, true, 2, "SubID\tDate\tTrialNum\tTrialID\tCOT\tZOR_RT\tRT1\tBUT1\tRT2\tBUT2"},
      {false, false, 1, "SubID\tDate\tTrialNum\tTrialID\tRT1\tBUT1"},
      {false, true, 0, "SubID\tDate\tTrialNum\tTrialID\tZOR_RT"},
      {true, false, -3, "SubID\tDate\tTrialNum\tTrialID\tCOT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZilCompositeHeader(c.cot, c.zor, c.responses), c.header);
  }
}

TEST(OutputFormats, ResponseNumbersHaveNoLeadingZerosAndReachTheLargestAnswer) {
  EXPECT_TRUE(ZilCompositeHeader(false, false, 10).ends_with("\tRT9\tBUT9\tRT10\tBUT10"));
  const std::string widest = ZilCompositeHeader(false, false, 32767);
  EXPECT_TRUE(widest.ends_with("\tRT32766\tBUT32766\tRT32767\tBUT32767"));
  EXPECT_EQ(std::count(widest.begin(), widest.end(), '\t'), 3 + 2 * 32767);
}

TEST(OutputFormats, CompositeHeaderFollowsTheInputType) {
  RunOptions options;
  options.COTIncluded = true;
  options.ZORFormat = true;
  EXPECT_EQ(CompositeHeaderFor(InputType::Azk, options, 1), AzkCompositeHeader(true));
  EXPECT_EQ(CompositeHeaderFor(InputType::Zil, options, 1), ZilCompositeHeader(true, true, 1));
  EXPECT_EQ(CompositeHeaderFor(InputType::Unknown, options, 1), std::nullopt);
}

}  // namespace
}  // namespace trelvox
