// Runs whole analyses of small inputs whose tables were worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>

#include "analysis/AnalysisTestSupport.h"

namespace trelvox::analysis::testing {
namespace {

using Cells_ = std::vector<std::string>;

constexpr const char* kHeader =
    "Subject 1, 03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01\r\n  Item       RT\r\n";

// An AZK block of subject `id` with one line per trial, "item rt".
std::string AzkBlock(const std::string& id, const std::vector<std::string>& trials) {
  std::string block = "Subject 1, 03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID " + id +
                      "\r\n  Item       RT\r\n";
  for (const std::string& trial : trials) {
    block += "    " + trial + "\r\n";
  }
  return block + "\r\n";
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class AnalysisRunTest : public ::testing::Test, public AnalysisFixture {};

struct OutcomeCase {
  std::string name;
  std::string file;
  std::string bytes;
  std::optional<std::int16_t> timeout;
  Cells_ outcome, rt, rtRaw, response, responses;
};

const std::string kZilBlock =
    "Subject 2, 06/29/2015 13:26:39 on PC7, refresh 16.67ms, ID Z1\n"
    "Item 10, 612.40\n 612.40,+Bit1\n"
    "Item 11, -700.00\n 700.00,-Bit2 720.00,+Bit2\n"
    "Item 12, -3000.00\n 3000.00,+Bit1\n"
    "Item 13, No Responses.\n"
    "Item 14\n -5.00,-Space 800.50,+Space\n\n";

class OutcomeTest : public ::testing::TestWithParam<OutcomeCase>, public AnalysisFixture {};

TEST_P(OutcomeTest, FollowsTheRuleOfItsInputType) {
  const OutcomeCase& c = GetParam();
  AnalysisRequest request = Request({Input(c.file, c.bytes)});
  request.timeout = c.timeout;
  ASSERT_EQ(Analyse(request).status, AnalysisStatus::Completed);
  EXPECT_EQ(Column("trials.tsv", "outcome"), c.outcome);
  EXPECT_EQ(Column("trials.tsv", "rt"), c.rt);
  EXPECT_EQ(Column("trials.tsv", "rt_raw"), c.rtRaw);
  if (!c.response.empty()) {
    EXPECT_EQ(Column("trials.tsv", "response"), c.response);
    EXPECT_EQ(Column("trials.tsv", "responses"), c.responses);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, OutcomeTest,
    ::testing::Values(
        // RT 0 or more correct, exactly minus the time-out no response, other negatives errors.
        OutcomeCase{"azk",
                    "a.azk",
                    AzkBlock("P01", {"1    612.48", "2   -804.11", "3  -2000.00", "4      0.00",
                                     "5  -1999.5"}),
                    2000,
                    {"correct", "error", "no_response", "correct", "error"},
                    {"612.48", "804.11", "", "0.00", "1999.50"},
                    {"612.48", "-804.11", "-2000.00", "0.00", "-1999.5"},
                    {},
                    {}},
        // The item line's own time decides; "No Responses" is no response; without an own
        // time the outcome is not known and rt is the first key press.
        OutcomeCase{"zil_with_timeout",
                    "z.zil",
                    kZilBlock,
                    3000,
                    {"correct", "error", "no_response", "no_response", ""},
                    {"612.40", "700.00", "", "", "800.50"},
                    {"612.40", "-700.00", "-3000.00", "", "800.50"},
                    {"Bit1", "Bit2", "Bit1", "", "Space"},
                    {"1", "2", "1", "0", "2"}},
        OutcomeCase{"zil_without_timeout",
                    "z.zil",
                    kZilBlock,
                    std::nullopt,
                    {"correct", "error", "error", "no_response", ""},
                    {"612.40", "700.00", "3000.00", "", "800.50"},
                    {"612.40", "-700.00", "-3000.00", "", "800.50"},
                    {"Bit1", "Bit2", "Bit1", "", "Space"},
                    {"1", "2", "1", "0", "2"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(AnalysisRunTest, ZilEventsAreRowsWithKeyAndAction) {
  ASSERT_EQ(Analyse(Request({Input("z.zil", kZilBlock)})).status, AnalysisStatus::Completed);
  EXPECT_EQ(Row("events.tsv", 2),
            (Cells_{"z.zil", "1", "Z1", "2", "11", "1", "700.00", "Bit2", "release"}));
  EXPECT_EQ(Row("events.tsv", 5),
            (Cells_{"z.zil", "1", "Z1", "5", "14", "1", "-5.00", "Space", "release"}));
  EXPECT_EQ(Column("events.tsv", "action"),
            (Cells_{"press", "release", "press", "press", "release", "press"}));
}

TEST_F(AnalysisRunTest, HeaderFactsBlocksPreviousTrialsAndRepetitions) {
  const std::string input = Input(
      "h.azk", "\r\nSubjects incorporated to date: 002\r\n" +
                   AzkBlock("P01", {"7   500.00", "8  -600.00", "7   510.00"}) +
                   "Subject 4, 13/44/2024 09:31:07 on LAB-PC2, refresh 16.67ms\r\n  Item RT\r\n"
                   "    7   400.00\r\n\r\n");
  const AnalysisResult result = Analyse(Request({input}));
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  EXPECT_EQ(Row("trials.tsv", 1),
            (Cells_{"h.azk", "1", "P01", "2024-03-14", "09:31:07", "LAB-PC2", "16.67", "1", "7",
                    "correct", "500.00", "500.00", "", "", "1", "", "0"}));
  EXPECT_EQ(Column("trials.tsv", "prev_outcome"), (Cells_{"", "correct", "error", ""}));
  EXPECT_EQ(Column("trials.tsv", "prev_rt"), (Cells_{"", "500.00", "600.00", ""}));
  EXPECT_EQ(Column("trials.tsv", "repetition"), (Cells_{"1", "1", "2", "1"}));
  // No ID: named after the header's subject number; a damaged date leaves date and time empty.
  EXPECT_EQ(Row("trials.tsv", 4)[2], "S4");
  EXPECT_EQ(Row("trials.tsv", 4)[3], "");
  EXPECT_EQ(Row("trials.tsv", 4)[4], "");
  EXPECT_EQ(Column("trials.tsv", "block"), (Cells_{"1", "1", "1", "2"}));
}

TEST_F(AnalysisRunTest, ItemListJoinsByNumberAndBothKindsOfMissingItemsAreReported) {
  const std::string data = Input("j.azk", AzkBlock("P01", {"1 500", "2 510", "3 520", "01 530"}));
  AnalysisRequest request = Request({data});
  request.itemList = Input("items.csv",
                           "\xEF\xBB\xBFItem,condition,word\r\n1,word,\"house, big\"\r\n"
                           "2,nonword,blick\r\n9,word,never\r\n");
  const AnalysisResult result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed) << result.lines.front();
  EXPECT_EQ(Column("trials.tsv", "condition"), (Cells_{"word", "nonword", "", "word"}));
  EXPECT_EQ(Column("trials.tsv", "word"), (Cells_{"house, big", "blick", "", "house, big"}));
  EXPECT_EQ(Column("items.tsv", "item"), (Cells_{"1", "01", "2", "3"}));
  EXPECT_EQ(Column("items.tsv", "word"), (Cells_{"house, big", "house, big", "blick", ""}));
  EXPECT_TRUE(Contains(result.lines, "1 item of the data is not in the item list: 3"));
  EXPECT_TRUE(Contains(result.lines, "1 item of the item list was never presented: 9"));
  EXPECT_EQ(result.report.itemsNotInList, Cells_{"3"});
  EXPECT_EQ(result.report.itemsNotPresented, Cells_{"9"});
}

// Correct RTs of P01 by item; item 9 is an error. Items 1-6 and 9 are condition A, 7, 8 and 10
// condition B.
const std::string kTrimData =
    AzkBlock("P01", {"1 100.00", "2 500.00", "3 510.00", "4 490.00", "5 500.00", "6 900.00",
                     "7 300.00", "8 1000.00", "9 -150.00", "10 3000.00"});
const std::string kTrimList =
    "item\tcondition\n1\tA\n2\tA\n3\tA\n4\tA\n5\tA\n6\tA\n7\tB\n8\tB\n9\tA\n10\tB\n";

struct TrimCase {
  std::string name;
  std::optional<double> minRt, maxRt, sd;
  bool byCondition;
  Cells_ trim;
};

class TrimTest : public ::testing::TestWithParam<TrimCase>, public AnalysisFixture {};

TEST_P(TrimTest, FlagsCorrectTrialsOnly) {
  const TrimCase& c = GetParam();
  AnalysisRequest request = Request({Input("t.azk", kTrimData)});
  request.itemList = Input("list.tsv", kTrimList);
  request.by = c.byCondition ? Cells_{"condition"} : Cells_{};
  request.minRt = c.minRt;
  request.maxRt = c.maxRt;
  request.sd = c.sd;
  ASSERT_EQ(Analyse(request).status, AnalysisStatus::Completed);
  EXPECT_EQ(Column("trials.tsv", "trim"), c.trim);
  const long trimmed =
      std::count_if(c.trim.begin(), c.trim.end(), [](const std::string& t) { return !t.empty(); });
  EXPECT_EQ(Column("subjects.tsv", "trimmed"), Cells_{std::to_string(trimmed)});
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TrimTest,
    ::testing::Values(
        TrimCase{"cutoffs",
                 200,
                 2000,
                 std::nullopt,
                 false,
                 {"fast", "", "", "", "", "", "", "", "", "slow"}},
        // Cell A: 100 500 510 490 500 900, mean 500, SD 253.06: 1.5 SD is 379.6 either side.
        // Cell B: 300 1000 3000, mean 1433.33, SD 1401.19: nothing lies beyond 1.5 SD.
        TrimCase{"sd_per_cell",
                 std::nullopt,
                 std::nullopt,
                 1.5,
                 true,
                 {"sd_low", "", "", "", "", "sd_high", "", "", "", ""}},
        // The cutoffs first: cell A without 100 has mean 580 and SD 179.03 (bounds 311.5 and
        // 848.5); cell B without 3000 has mean 650 and SD 494.97.
        TrimCase{"cutoffs_then_sd",
                 200,
                 2000,
                 1.5,
                 true,
                 {"fast", "", "", "", "", "sd_high", "", "", "", "slow"}},
        // One cell, all nine correct trials: mean 811.11, SD 865.24: only 3000 lies beyond.
        TrimCase{"sd_without_by",
                 std::nullopt,
                 std::nullopt,
                 1.5,
                 false,
                 {"", "", "", "", "", "", "", "", "", "sd_high"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(AnalysisRunTest, SdCutoffsArePerSubject) {
  // P02's times sit around 900 (SD 12.65), so its 880 and 920 lie beyond 1.5 SD, and the
  // 900 that P01 trims is ordinary for it.
  AnalysisRequest request =
      Request({Input("s.azk", kTrimData + AzkBlock("P02", {"1 880.00", "2 900.00", "3 920.00",
                                                           "4 900.00", "5 900.00", "6 900.00"}))});
  request.sd = 1.5;
  request.itemList = Input("list.tsv", kTrimList);
  request.by = {"condition"};
  ASSERT_EQ(Analyse(request).status, AnalysisStatus::Completed);
  const Cells_ trims = Column("trials.tsv", "trim");
  EXPECT_EQ(Cells_(trims.begin() + 10, trims.end()), (Cells_{"sd_low", "", "sd_high", "", "", ""}));
  // P01 keeps 500 510 490 500 300 1000 3000: sum 6300, median 500, squares about the mean
  // 5420200, so the SD is the root of 5420200 / 6.
  EXPECT_EQ(Column("subjects.tsv", "mean_rt"), (Cells_{"900.00", "900.00"}));
  EXPECT_EQ(Column("subjects.tsv", "median_rt"), (Cells_{"500.00", "900.00"}));
  EXPECT_EQ(Column("subjects.tsv", "sd_rt"), (Cells_{"950.46", "0.00"}));
}

TEST_F(AnalysisRunTest, SubjectsAboveTheErrorRateAreExcludedFromTheSummaries) {
  AnalysisRequest request =
      Request({Input("e.azk", AzkBlock("P01", {"1 500", "2 -400", "3 600", "4 700"}) +
                                  AzkBlock("P02", {"1 800", "2 -2000.00", "3 900"}))});
  request.maxErrorRate = 0.25;  // P01 has exactly 0.25, which is not above
  const AnalysisResult result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  EXPECT_EQ(Column("subjects.tsv", "error_rate"), (Cells_{"0.2500", "0.3333"}));
  EXPECT_EQ(Column("subjects.tsv", "excluded"), (Cells_{"0", "1"}));
  EXPECT_EQ(Column("subjects.tsv", "reason"), (Cells_{"", "error rate 0.3333 above 0.25"}));
  EXPECT_EQ(Column("trials.tsv", "excluded"), (Cells_{"0", "0", "0", "0", "1", "1", "1"}));
  EXPECT_EQ(Column("by_subject.tsv", "subject"), Cells_{"P01"});
  EXPECT_EQ(Column("items.tsv", "presentations"), (Cells_{"1", "1", "1", "1"}));
  EXPECT_EQ(Column("items.tsv", "mean_rt"), (Cells_{"500.00", "", "600.00", "700.00"}));
  EXPECT_EQ(result.summary.excluded, 1);
  EXPECT_TRUE(Contains(result.lines,
                       "P02: 3 trials, 0 errors, 1 no response, 0 trimmed, excluded: error rate "
                       "0.3333 above 0.25"));
}

TEST_F(AnalysisRunTest, WideTablesHaveACellPerLevelCombinationInOrderOfAppearance) {
  AnalysisRequest request =
      Request({Input("w.azk", AzkBlock("P01", {"3 700", "1 500", "2 600", "1 520"}) +
                                  AzkBlock("P02", {"1 -450", "2 640"}))});
  request.itemList =
      Input("l.tsv", "item\tcondition\tfrequency\n1\tword\thigh\n2\tword\tlow\n3\tnonword\thigh\n");
  request.by = {"condition", "FREQUENCY"};
  ASSERT_EQ(Analyse(request).status, AnalysisStatus::Completed);
  EXPECT_EQ(Row("by_subject.tsv", 0),
            (Cells_{"subject", "nonword_high_rt", "nonword_high_error_rate", "word_high_rt",
                    "word_high_error_rate", "word_low_rt", "word_low_error_rate"}));
  EXPECT_EQ(Row("by_subject.tsv", 1),
            (Cells_{"P01", "700.00", "0.0000", "510.00", "0.0000", "600.00", "0.0000"}));
  EXPECT_EQ(Row("by_subject.tsv", 2), (Cells_{"P02", "", "", "", "1.0000", "640.00", "0.0000"}));
  EXPECT_EQ(Row("by_item.tsv", 0),
            (Cells_{"item", "condition", "frequency", "mean_rt", "error_rate", "subjects"}));
  EXPECT_EQ(Row("by_item.tsv", 1), (Cells_{"1", "word", "high", "510.00", "0.3333", "2"}));
  EXPECT_EQ(Row("by_item.tsv", 3), (Cells_{"3", "nonword", "high", "700.00", "0.0000", "1"}));
}

TEST_F(AnalysisRunTest, TheReportHoldsTheFiguresOfTheTables) {
  const std::string azk =
      AzkBlock("P01", {"3 700", "1 500", "2 600", "1 520"}) + AzkBlock("P02", {"1 -450", "2 640"});
  AnalysisRequest request = Request({Input("w.azk", azk), Input("z.zil", kZilBlock)});
  request.itemList =
      Input("l.tsv", "item\tcondition\tfrequency\n1\tword\thigh\n2\tword\tlow\n3\tnonword\thigh\n");
  request.by = {"condition"};
  request.minRt = 510;
  const AnalysisResult result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  const ReportData& report = result.report;
  EXPECT_EQ(report.analysedAt, "2026-12-09T10:00:00Z");
  EXPECT_FALSE(report.version.empty());
  ASSERT_EQ(report.inputs.size(), 2u);
  EXPECT_EQ(report.inputs[0].name, "w.azk");
  EXPECT_EQ(report.inputs[0].bytes, azk.size());
  EXPECT_EQ(report.inputs[0].subjects, 2);
  EXPECT_EQ(report.inputs[1].trials, 5);
  std::vector<std::string> options;
  for (const ReportOption& option : report.options) {
    options.push_back(option.name + "=" + option.value);
  }
  EXPECT_EQ(options, (Cells_{"--out=" + request.outputFolder, "--timeout=2000",
                             "--items=" + request.itemList, "--by=condition", "--min-rt=510"}));
  ASSERT_EQ(report.subjects.size(), 3u);
  EXPECT_EQ(report.subjects[0].meanRt, 606.67);  // 700, 600 and 520; 500 is fast
  EXPECT_EQ(report.subjects[0].trimmed, 1);
  EXPECT_EQ(report.subjects[1].errorRate, 0.5);
  EXPECT_EQ(report.minRt, 510);
  EXPECT_EQ(report.cells, (Cells_{"nonword", "word"}));
  // Correct, untrimmed times of listed items: 700 (nonword); 600, 520, 640 (word).
  std::map<std::string, long> binned;
  for (const ReportRtBin& bin : report.rtBins) {
    binned[bin.cell] += bin.count;
    EXPECT_DOUBLE_EQ(bin.to - bin.from, report.rtBins.front().to - report.rtBins.front().from);
  }
  EXPECT_EQ(binned, (std::map<std::string, long>{{"nonword", 1}, {"word", 3}}));
  ASSERT_FALSE(report.positions.empty());
  EXPECT_EQ(report.positions[0].position, 1);
  EXPECT_EQ(report.positions[0].meanRt, 656.2);  // 700 (P01) and 612.40 (Z1)
  EXPECT_EQ(report.items.size(), 8u);
  EXPECT_EQ(report.itemsNotInList, (Cells_{"10", "11", "12", "13", "14"}));
  EXPECT_TRUE(report.hasZil);
  ASSERT_EQ(report.keys.size(), 3u);
  EXPECT_EQ(report.keys[2].key, "Space");
  EXPECT_EQ(report.keys[2].presses, 1);
  EXPECT_EQ(report.keys[2].releases, 1);
  ASSERT_EQ(report.responsesPerTrial.size(), 3u);  // 0, 1 and 2 events
  EXPECT_EQ(report.responsesPerTrial[1].trials, 2);
}

TEST_F(AnalysisRunTest, ZilTrialsWithoutAnOutcomeLeaveTheErrorRateEmpty) {
  AnalysisRequest request = Request({Input("z.zil", kZilBlock)});
  request.maxErrorRate = 0.1;
  const AnalysisResult result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  // Item 14 has no outcome: errors cannot be told from correct trials, so no rate, no exclusion.
  EXPECT_EQ(Column("subjects.tsv", "error_rate"), Cells_{""});
  EXPECT_EQ(Column("subjects.tsv", "excluded"), Cells_{"0"});
  EXPECT_EQ(Column("items.tsv", "error_rate"),
            (Cells_{"0.0000", "1.0000", "1.0000", "1.0000", ""}));
}

TEST_F(AnalysisRunTest, CompositeFilesAreReadByTheirHeaderRow) {
  const std::string azk =
      Input("runs.dat",
            "SubID\tDate\tTrialNum\tTrialID\tRT\tError\r\n"
            "P01\t3/14/2024\t1\t14\t612.48\t0\r\nP01\t3/14/2024\t2\t3\t-804.11\t1\r\n"
            "P01\t3/14/2024\t3\t8\t-2000.00\t2\r\n"
            "SubID\tDate\tTrialNum\tTrialID\tRT\tError\r\n"  // a later run's header row
            "P02\t3/14/2024\t1\t14\t500.00\t0\r\nP01\t3/15/2024\t1\t14\t400.00\t0\r\n");
  const std::string zil = Input(
      "zil.dat",
      "SubID\tDate\tTrialNum\tTrialID\tZOR_RT\tRT1\tBUT1\tRT2\tBUT2\r\n"
      "Q01\t3/15/2024\t1\t101\t612.40\t612.40\t+Bit1\r\n"
      "Q01\t3/15/2024\t2\t103\tNoResponse\r\nQ01\t3/15/2024\t3\t104\t-730.02\t730.02\t-Bit1\r\n");
  AnalysisRequest request = Request({azk, zil});
  request.timeout.reset();  // the Error column already says which trial had no response
  ASSERT_EQ(Analyse(request).status, AnalysisStatus::Completed);
  EXPECT_EQ(Column("trials.tsv", "block"), (Cells_{"1", "1", "1", "2", "3", "1", "1", "1"}));
  EXPECT_EQ(Column("trials.tsv", "date"),
            (Cells_{"2024-03-14", "2024-03-14", "2024-03-14", "2024-03-14", "2024-03-15",
                    "2024-03-15", "2024-03-15", "2024-03-15"}));
  EXPECT_EQ(Column("trials.tsv", "outcome"),
            (Cells_{"correct", "error", "no_response", "correct", "correct", "correct",
                    "no_response", "error"}));
  EXPECT_EQ(Column("trials.tsv", "response"), (Cells_{"", "", "", "", "", "Bit1", "", ""}));
  EXPECT_EQ(Column("subjects.tsv", "blocks"), (Cells_{"2", "1", "1"}));
  EXPECT_EQ(Column("events.tsv", "action"), (Cells_{"press", "release"}));
}

// Composite files from other programs may hold times with more decimals than DMDX writes: rt
// and every figure hold them in hundredths (half to even), rt_raw as written, and the run says so.
TEST_F(AnalysisRunTest, LongerDecimalsAreRoundedOpenly) {
  AnalysisRequest request =
      Request({Input("long.dat",
                     "SubID\tDate\tTrialNum\tTrialID\tRT\tError\r\n"
                     "P01\t3/14/2024\t1\t1\t499.996\t0\r\nP01\t3/14/2024\t2\t2\t-804.1149\t1\r\n"
                     "P01\t3/14/2024\t3\t3\t612.485\t0\r\nP01\t3/14/2024\t4\t4\t700.5\t0\r\n")});
  request.timeout.reset();
  request.minRt = 500;
  const AnalysisResult result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  EXPECT_EQ(Column("trials.tsv", "rt"), (Cells_{"500.00", "804.11", "612.48", "700.50"}));
  EXPECT_EQ(Column("trials.tsv", "rt_raw"), (Cells_{"499.996", "-804.1149", "612.485", "700.5"}));
  EXPECT_EQ(Column("trials.tsv", "trim"), (Cells_{"", "", "", ""}));  // 500.00 is not below 500
  EXPECT_EQ(Column("subjects.tsv", "mean_rt"), Cells_{"604.33"});     // 500, 612.48 and 700.50
  EXPECT_TRUE(Contains(result.lines,
                       "long.dat: 3 reaction times have more than two decimals: rt and the figures "
                       "hold them rounded to hundredths (the first: 499.996 as 500.00), rt_raw "
                       "as written."));
}

TEST_F(AnalysisRunTest, BlocksGivenTwiceAreReported) {
  const std::string block = AzkBlock("P01", {"1 500", "2 600"});
  const std::string first = Input("a.azk", block + AzkBlock("P02", {"1 500"}));
  const std::string second = Input("copy.azk", block);
  const AnalysisResult result = Analyse(Request({first, second}));
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  EXPECT_TRUE(Contains(result.lines,
                       "Subject P01: block 1 of copy.azk repeats block 1 of a.azk (same date, "
                       "time and trials); both are in the tables."));
  EXPECT_EQ(result.report.anomalies.back().kind, "Duplicate block");
  EXPECT_EQ(Column("subjects.tsv", "files"), (Cells_{"2", "1"}));
  // P01 saw item 1 in both files: one subject of the two.
  EXPECT_EQ(Column("items.tsv", "presentations"), (Cells_{"3", "2"}));
  EXPECT_EQ(Column("items.tsv", "subjects"), (Cells_{"2", "1"}));
}

// Whether `cell` is a value of the type the data package gives its column.
bool CellFits(const nlohmann::json& field, const std::string& cell) {
  const std::string type = field["type"];
  const int decimals = field.value("decimals", -1);
  if (type == "integer") {
    return std::regex_match(cell, std::regex("-?[0-9]+"));
  }
  if (type == "number") {
    return std::regex_match(
        cell, decimals < 0 ? std::regex("-?[0-9]+(\\.[0-9]+)?")
                           : std::regex("-?[0-9]+\\.[0-9]{" + std::to_string(decimals) + "}"));
  }
  if (type == "date") {
    return std::regex_match(cell, std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}"));
  }
  if (type == "time") {
    return std::regex_match(cell, std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}"));
  }
  return true;
}

TEST_F(AnalysisRunTest, TheDataPackageDescribesEveryTableAndEveryCell) {
  AnalysisRequest request =
      Request({Input("t.azk", kTrimData), Input("z.zil", kZilBlock + kZilBlock)});
  request.itemList = Input("list.tsv", kTrimList);
  request.by = {"condition"};
  request.cot = true;
  request.sd = 2;
  ASSERT_EQ(Analyse(request).status, AnalysisStatus::Completed);
  const nlohmann::json package = nlohmann::json::parse(Out("datapackage.json"));
  EXPECT_EQ(package["profile"], "tabular-data-package");
  EXPECT_EQ(package["sources"][1]["bytes"], 2 * kZilBlock.size());
  std::vector<std::string> paths;
  for (const nlohmann::json& resource : package["resources"]) {
    paths.push_back(resource["path"]);
    EXPECT_EQ(resource["dialect"]["delimiter"], "\t");
    EXPECT_EQ(resource["schema"]["missingValues"], nlohmann::json::array({""}));
    const nlohmann::json& fields = resource["schema"]["fields"];
    const Cells_ header = Row(paths.back(), 0);
    ASSERT_EQ(header.size(), fields.size()) << paths.back();
    for (std::size_t column = 0; column < header.size(); ++column) {
      const nlohmann::json& field = fields[column];
      EXPECT_EQ(field["name"], header[column]);
      EXPECT_FALSE(field["description"].get<std::string>().empty());
      for (const std::string& cell : Column(paths.back(), header[column])) {
        const nlohmann::json allowed =
            field.contains("constraints") ? field["constraints"]["enum"] : nlohmann::json::array();
        EXPECT_TRUE(cell.empty() || CellFits(field, cell))
            << paths.back() << " " << header[column] << ": " << cell;
        EXPECT_TRUE(cell.empty() || allowed.empty() ||
                    std::find(allowed.begin(), allowed.end(),
                              field["type"] == "integer" ? nlohmann::json(std::stoi(cell))
                                                         : nlohmann::json(cell)) != allowed.end())
            << paths.back() << " " << header[column] << ": " << cell;
      }
    }
  }
  EXPECT_EQ(paths, (Cells_{"trials.tsv", "events.tsv", "subjects.tsv", "items.tsv",
                           "by_subject.tsv", "by_item.tsv"}));
}

// What an earlier analysis wrote in the output folder, to see that a failed one keeps it.
void WriteEarlierTables(const AnalysisFixture& fixture) {
  std::filesystem::create_directories(fixture.dir.Path() / "out");
  for (const char* name : {"trials.tsv", "subjects.tsv", "items.tsv", "by_subject.tsv",
                           "by_item.tsv", "datapackage.json", "report.html"}) {
    WriteFile(fixture.dir.File(std::string("out/") + name), "earlier");
  }
}

// Every file of the folder is the earlier one, and nothing else is left there.
void ExpectOnlyEarlierTables(const AnalysisFixture& fixture) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(fixture.dir.Path() / "out")) {
    if (entry.is_regular_file()) {
      ++files;
      EXPECT_EQ(ReadFile(entry.path().string()), "earlier") << entry.path();
    }
  }
  EXPECT_EQ(files, 7);
}

TEST_F(AnalysisRunTest, AFailedWriteReplacesNothing) {
  const AnalysisRequest request = Request({Input("a.azk", kTrimData)});
  // A table written before the rows are read, and the report written last of all.
  for (const char* full : {"items.tsv", "report.html"}) {
    WriteEarlierTables(*this);
    disk.Fill(dir.File("out/" + std::string(full)) + ".trelvox-new");
    const AnalysisResult result = Analyse(request);
    EXPECT_EQ(result.status, AnalysisStatus::Failed) << full;
    ASSERT_TRUE(result.failure) << full;
    EXPECT_EQ(result.failure->kind, FailureKind::Output);
    EXPECT_EQ(result.failure->field, AnalysisField::OutputFolder);
    EXPECT_NE(result.failure->message.find("Nothing was replaced."), std::string::npos);
    EXPECT_NE(result.failure->message.find(full), std::string::npos) << result.failure->message;
    ExpectOnlyEarlierTables(*this);
  }
}

TEST_F(AnalysisRunTest, TheReportIsWrittenWithTheTablesUnlessLeftOut) {
  AnalysisRequest request = Request({Input("a.azk", AzkBlock("P07", {"1 500", "2 -640"}))});
  AnalysisResult result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  EXPECT_EQ(result.written.back(), dir.File("out/report.html"));
  EXPECT_NE(result.lines.back().find(", report.html"), std::string::npos);
  const std::string page = Out("report.html");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_TRUE(page.ends_with("</html>\n"));
  EXPECT_NE(page.find("<td>P07</td>"), std::string::npos);
  EXPECT_NE(page.find("Analysed 2026-12-09T10:00:00Z"), std::string::npos);

  request.report = false;
  result = Analyse(request);
  ASSERT_EQ(result.status, AnalysisStatus::Completed);
  EXPECT_EQ(result.written.back(), dir.File("out/datapackage.json"));
  EXPECT_EQ(result.lines.back().find("report.html"), std::string::npos);
  EXPECT_EQ(Out("report.html"), page);  // an earlier report is left as it was
  const nlohmann::json package = nlohmann::json::parse(Out("datapackage.json"));
  EXPECT_EQ(package["trelvox"]["command"].back(), "--no-report");
}

TEST_F(AnalysisRunTest, AFailedRenamePutsTheEarlierFilesBack) {
  WriteEarlierTables(*this);
  // by_item.tsv cannot be moved aside: a folder with a file in it holds the name it would take.
  std::filesystem::create_directories(dir.Path() / "out" / "by_item.tsv.trelvox-old");
  WriteFile(dir.File("out/by_item.tsv.trelvox-old/keep"), "x");
  const AnalysisResult result = Analyse(Request({Input("a.azk", kTrimData)}));
  EXPECT_EQ(result.status, AnalysisStatus::Failed);
  ExpectOnlyEarlierTables(*this);
}

TEST_F(AnalysisRunTest, ACancelReplacesNothingAndProgressCountsEveryPass) {
  const std::string input = Input("a.azk", kTrimData);
  const auto bytes = std::filesystem::file_size(input);
  AnalysisRequest twice = Request({input});
  twice.maxErrorRate = 0.5;  // the exclusion needs the whole input read first
  // The input has 13 lines: cancelling at the fifth line of the reading that writes the rows
  // (the first of one pass, the second of two) stops it with the tables open.
  for (const auto& [request, passes] : {std::pair(Request({input}), 1), std::pair(twice, 2)}) {
    WriteEarlierTables(*this);
    RecordingObserver whole;
    ASSERT_EQ(Analyse(request, whole).status, AnalysisStatus::Completed);
    EXPECT_EQ(whole.last.bytesTotal, passes * bytes);
    EXPECT_EQ(whole.last.bytesDone, passes * bytes);
    EXPECT_EQ(whole.last.passes, passes);
    EXPECT_NE(ReadFile(dir.File("out/trials.tsv")), "earlier");

    WriteEarlierTables(*this);
    RecordingObserver cancelling(13 * (passes - 1) + 5);
    const AnalysisResult result = Analyse(request, cancelling);
    EXPECT_EQ(result.status, AnalysisStatus::Cancelled);
    EXPECT_FALSE(result.failure);
    ExpectOnlyEarlierTables(*this);
  }
}

TEST_F(AnalysisRunTest, InputsThatCannotBeReadFailNamingThem) {
  const std::string missing = dir.File("missing.azk");
  AnalysisResult result = Analyse(Request({missing}));
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->kind, FailureKind::Input);
  EXPECT_EQ(result.failure->path, missing);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out"));

  result = Analyse(Request({Input("notes.txt", "just notes\n")}));
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->field, AnalysisField::Inputs);

  AnalysisRequest request = Request({Input("a.azk", kTrimData)});
  request.itemList = Input("bad.csv", "item,rt\n1,500\n");
  result = Analyse(request);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->field, AnalysisField::ItemList);
  EXPECT_NE(result.failure->message.find("line 1"), std::string::npos) << result.failure->message;

  request.itemList = Input("good.csv", "item,condition\n1,A\n");
  request.by = {"frequency"};
  result = Analyse(request);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->kind, FailureKind::Usage);
  EXPECT_EQ(result.failure->field, AnalysisField::By);
}

struct RequestCase {
  std::string name;
  void (*change)(AnalysisRequest&);
  AnalysisField field;
};

class CheckRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(CheckRequestTest, NamesTheFieldToMend) {
  AnalysisRequest request;
  request.inputs = {"a.azk"};
  request.outputFolder = "out";
  request.timeout = 2000;
  ASSERT_FALSE(CheckRequest(request));
  GetParam().change(request);
  const std::optional<AnalysisFailure> failure = CheckRequest(request);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind, FailureKind::Usage);
  EXPECT_EQ(failure->field, GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, CheckRequestTest,
    ::testing::Values(
        RequestCase{"no_input", [](AnalysisRequest& r) { r.inputs.clear(); },
                    AnalysisField::Inputs},
        RequestCase{"no_folder", [](AnalysisRequest& r) { r.outputFolder.clear(); },
                    AnalysisField::OutputFolder},
        RequestCase{"azk_without_timeout", [](AnalysisRequest& r) { r.timeout.reset(); },
                    AnalysisField::Timeout},
        RequestCase{"by_without_items", [](AnalysisRequest& r) { r.by = {"condition"}; },
                    AnalysisField::By},
        RequestCase{"negative_min_rt", [](AnalysisRequest& r) { r.minRt = -1; },
                    AnalysisField::MinRt},
        RequestCase{"max_below_min",
                    [](AnalysisRequest& r) {
                      r.minRt = 300;
                      r.maxRt = 200;
                    },
                    AnalysisField::MaxRt},
        RequestCase{"sd_zero", [](AnalysisRequest& r) { r.sd = 0; }, AnalysisField::Sd},
        RequestCase{"rate_above_one", [](AnalysisRequest& r) { r.maxErrorRate = 1.5; },
                    AnalysisField::MaxErrorRate},
        RequestCase{"input_where_a_table_goes",
                    [](AnalysisRequest& r) { r.inputs = {"out/trials.tsv"}; },
                    AnalysisField::OutputFolder}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace trelvox::analysis::testing
