// The rules the tables are made by, one table of worked cases each.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Figures.h"
#include "analysis/Inputs.h"
#include "analysis/ItemList.h"
#include "analysis/Trials.h"
#include "analysis/Tsv.h"
#include "parse/SubjectScanner.h"
#include "support/TestNames.h"

namespace trelvox::analysis {
namespace {

using trelvox::testing::ReadableTestName;

TEST(AnalysisRules, ReactionTimesAreHundredthsRoundedHalfToEven) {
  const std::vector<std::pair<std::string, std::optional<Centis>>> cases = {
      {"612.48", 61248},       {"-2000.00", -200000}, {"0.5", 50},         {".5", 50},
      {"612.485", 61248},      {"612.495", 61250},    {"612.4851", 61249}, {"+7", 700},
      {"1e3", 100000},         {"abc", std::nullopt}, {"", std::nullopt},  {"-", std::nullopt},
      {"12.3.4", std::nullopt}};
  for (const auto& [text, centis] : cases) {
    EXPECT_EQ(ToCentis(text), centis) << text;
  }
}

TEST(AnalysisRules, ZilOutcomeComesFromTheItemLinesOwnTime) {
  struct Case {
    const char* itemRt;  // null: the line has none
    bool noResponses;
    std::optional<std::int16_t> timeout;
    Outcome outcome;
  };
  const std::vector<Case> cases = {
      {"612.40", false, std::nullopt, Outcome::Correct},
      {"0.00", false, 2000, Outcome::Correct},
      {"-700.00", false, 2000, Outcome::Error},
      {"-2000.00", false, 2000, Outcome::NoResponse},
      {"-2000.00", false, std::nullopt, Outcome::Error},
      {nullptr, true, 2000, Outcome::NoResponse},
      {nullptr, false, 2000, Outcome::None},
  };
  for (const Case& c : cases) {
    const std::optional<Decimal> rt = c.itemRt != nullptr ? Decimal::Read(c.itemRt) : std::nullopt;
    EXPECT_EQ(ZilOutcome(rt, c.noResponses, c.timeout), c.outcome)
        << (c.itemRt != nullptr ? c.itemRt : "none");
  }
  EXPECT_EQ(AzkOutcome('0'), Outcome::Correct);
  EXPECT_EQ(AzkOutcome('1'), Outcome::Error);
  EXPECT_EQ(AzkOutcome('2'), Outcome::NoResponse);
}

TEST(AnalysisRules, KeysTellPressesFromReleasesBySign) {
  EXPECT_EQ(ReadKey("+Bit1").key, "Bit1");
  EXPECT_EQ(ReadKey("+Bit1").action, KeyAction::Press);
  EXPECT_EQ(ReadKey("-Numpad Enter").action, KeyAction::Release);
  EXPECT_EQ(ReadKey("Space").action, KeyAction::None);
  // A key named with a blank arrives as two fields; a signed key or a number starts anew.
  const std::vector<std::string_view> fields = {"5.00", "-Space", "800.50", "+Numpad", "Enter",
                                                "900",  "+A",     "-2.5",   "+2",      "1000",
                                                "-Num", "Lock",   "Key"};
  std::vector<Event> events;
  std::vector<std::string> joined;
  GroupEvents(fields, events, joined);
  std::vector<std::string> grouped;
  for (const Event& event : events) {
    grouped.push_back(std::string(event.time) + "|" + std::string(event.key));
  }
  EXPECT_EQ(grouped, (std::vector<std::string>{"5.00|-Space", "800.50|+Numpad Enter", "900|+A",
                                               "-2.5|+2", "1000|-Num Lock Key"}));
  TrialFacts trial;
  trial.events = &events;
  EXPECT_EQ(FirstPressOf(trial).key, "Numpad Enter");
  EXPECT_EQ(FirstPressOf(trial).time, "800.50");
  EXPECT_EQ(trial.EventCount(), 5);
}

TEST(AnalysisRules, HeadersGiveSubjectDateTimeMachineAndRefresh) {
  struct Case {
    std::string header;
    std::string subject, date, time, machine, refresh;
  };
  const std::vector<Case> cases = {
      {"Subject 1, 03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01", "P01", "2024-03-14",
       "09:31:07", "LAB-PC2", "16.67"},
      {"Subject 1, 04/01/2001 23:03:26 on GRAD1, refresh 16.83ms       COT", "S1", "2001-04-01",
       "23:03:26", "GRAD1", "16.83"},
      {"Subject 12, 6/9/15 9:05 on PC, refresh 13.32ms, ID C,1,EB", "C,1,EB", "2015-06-09",
       "09:05:00", "PC", "13.32"},
      {"Subject 3, 13/44/2024 09:31:07 on PC, refresh 16.67ms", "S3", "", "", "PC", "16.67"},
  };
  for (const Case& c : cases) {
    CurrentSubject subject;
    subject.HeaderLine = c.header;
    const HeaderFromDate cut = GetSubjectDate(c.header);
    subject.SubjectDate.date = ParseHeaderDate(cut.dateText);
    subject.SubjectHeader = cut.fromDate;
    subject.SubjectID =
        cut.fromDate.find("ID") != std::string_view::npos ? GetSubjectID(cut.fromDate) : "";
    const BlockFacts block = BlockFromHeader(subject, 7);
    EXPECT_EQ(block.subject, c.subject) << c.header;
    EXPECT_EQ(block.date, c.date) << c.header;
    EXPECT_EQ(block.time, c.time) << c.header;
    EXPECT_EQ(block.machine, c.machine) << c.header;
    EXPECT_EQ(block.refreshMs, c.refresh) << c.header;
  }
}

TEST(AnalysisRules, CompositeHeaderRowsNameTheirLayout) {
  struct Case {
    std::string line;
    bool composite, zil, cot, zor;
  };
  const std::vector<Case> cases = {
      {"SubID\tDate\tTrialNum\tTrialID\tRT\tError", true, false, false, false},
      {"SubID\tDate\tTrialNum\tTrialID\tRT\tCOT\tError", true, false, true, false},
      {"SubID\tDate\tTrialNum\tTrialID\tCOT\tZOR_RT\tRT1\tBUT1\tRT2\tBUT2", true, true, true, true},
      {"SubID\tDate\tTrialNum\tTrialID", true, true, false, false},
      {"SubID\tDate\tTrialNum\tTrialID\tRT1\tBUT2", false, false, false, false},
      {"SubID\tDate\tTrialNum\tTrialID\tRT", false, false, false, false},
      {"SubID Date TrialNum TrialID RT Error", false, false, false, false},
  };
  for (const Case& c : cases) {
    const std::optional<CompositeLayout> layout = CompositeHeader(c.line);
    ASSERT_EQ(layout.has_value(), c.composite) << c.line;
    if (layout) {
      EXPECT_EQ(layout->zil, c.zil) << c.line;
      EXPECT_EQ(layout->cot, c.cot) << c.line;
      EXPECT_EQ(layout->zor, c.zor) << c.line;
    }
  }
}

TEST(AnalysisRules, ItemsJoinByNumberAndCellsMayBeQuoted) {
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"14", "14"}, {"014", "14"}, {" 14 ", "14"}, {"+14", "14"},
      {"-0", "0"},  {"-07", "-7"}, {"A1", "A1"},   {"0", "0"}};
  for (const auto& [text, key] : keys) {
    EXPECT_EQ(ItemKey(text), key) << text;
  }
  std::vector<std::string> cells;
  EXPECT_TRUE(SplitDelimited("1,\"big, red\",\"say \"\"hi\"\"\",", ',', cells));
  EXPECT_EQ(cells, (std::vector<std::string>{"1", "big, red", "say \"hi\"", ""}));
  EXPECT_TRUE(SplitDelimited("1\tA B\t", '\t', cells));
  EXPECT_EQ(cells, (std::vector<std::string>{"1", "A B", ""}));
  EXPECT_FALSE(SplitDelimited("1,\"open", ',', cells));
  EXPECT_TRUE(IsReservedColumn("RT"));
  EXPECT_FALSE(IsReservedColumn("condition"));
}

TEST(AnalysisRules, FiguresAreExactWhereTheyCanBe) {
  // Means and medians of hundredths round half to even from the exact value.
  EXPECT_EQ(RoundedQuotient(5, 2), 2);
  EXPECT_EQ(RoundedQuotient(7, 2), 4);
  EXPECT_EQ(RoundedQuotient(-7, 2), -4);
  EXPECT_EQ(RoundedQuotient(200, 3), 67);
  RtFigures figures;
  for (const Centis rt : {50000, 51000, 49000, 50000}) {
    figures.Add(rt);
  }
  EXPECT_EQ(figures.MeanCentis(), 50000);
  EXPECT_EQ(figures.MedianCentis(), 50000);
  EXPECT_NEAR(*figures.SdCentis(), 816.4966, 1e-4);  // sqrt(2000000 / 3)
  figures.Add(90000);
  EXPECT_EQ(figures.MedianCentis(), 50000);
  EXPECT_EQ(figures.MeanCentis(), 58000);
  // Values large and close together keep their spread.
  Spread spread;
  for (const double value : {1e9 + 4, 1e9 + 7, 1e9 + 13, 1e9 + 16}) {
    spread.Add(value);
  }
  EXPECT_NEAR(*spread.Sd(), std::sqrt(30.0), 1e-6);
  EXPECT_FALSE(Spread().Sd());
  EXPECT_EQ(ErrorRate(1, 4, 4), 0.25);
  EXPECT_FALSE(ErrorRate(1, 4, 5));  // a trial without outcome
  EXPECT_FALSE(ErrorRate(0, 0, 0));
}

TEST(AnalysisRules, NumbersArePlainDecimalsWithAPoint) {
  std::string row;
  AppendCentis(row, 61248);
  row += ' ';
  AppendCentis(row, -5);
  row += ' ';
  AppendFixed(row, 1.0 / 3, 4);
  row += ' ';
  AppendFixed(row, -0.00001, 2);
  row += ' ';
  AppendText(row, "a\tb");
  EXPECT_EQ(row, "612.48 -0.05 0.3333 0.00 a b");
  EXPECT_EQ(PlainNumber(0.25), "0.25");
  EXPECT_EQ(PlainNumber(300), "300");
  EXPECT_TRUE(IsPlainDecimal("-612.48"));
  EXPECT_FALSE(IsPlainDecimal("1e3"));
  EXPECT_FALSE(IsPlainDecimal("COT"));
}

TEST(AnalysisRules, BinsHaveARoundWidth) {
  struct Case {
    double low, high;
    double from, width;
    int count;
  };
  for (const Case& c :
       {Case{250, 1750, 250, 50, 31}, Case{612.4, 612.4, 612, 1, 1}, Case{3, 9999, 0, 500, 20}}) {
    const BinLayout layout = LayoutBins(c.low, c.high, 40);
    EXPECT_DOUBLE_EQ(layout.width, c.width) << c.low << " " << c.high;
    EXPECT_DOUBLE_EQ(layout.from, c.from) << c.low << " " << c.high;
    EXPECT_EQ(layout.count, c.count) << c.low << " " << c.high;
    EXPECT_EQ(layout.BinOf(c.high), layout.count - 1);
  }
  for (const auto& [values, most] :
       {std::pair(0L, 5), std::pair(17L, 5), std::pair(480L, 22), std::pair(1000000L, 40)}) {
    EXPECT_EQ(MostBinsFor(values), most) << values;
  }
}

}  // namespace
}  // namespace trelvox::analysis
