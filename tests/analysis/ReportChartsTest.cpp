#include "analysis/ReportCharts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ReportSamples.h"

namespace trelvox::analysis {
namespace {

using nlohmann::json;
using test::EmptyReportSample;
using test::LargeReportSample;
using test::SmallReportSample;

std::vector<std::string> Strings(const json& values, const char* field) {
  std::vector<std::string> out;
  for (const json& value : values) {
    out.push_back(value.at(field).get<std::string>());
  }
  return out;
}

TEST(ReportChartsTest, SubjectsPlotPlacesSubjectsWithAMeanAndDrawsTheErrorRateLimit) {
  const json chart = *SubjectsPlot(SmallReportSample());
  const json& points = chart.at("layer").at(0).at("data").at("values");
  // The third subject has no correct trial: no mean RT, no point.
  EXPECT_EQ(Strings(points, "subject"), (std::vector<std::string>{"S1", "S2", "Z1"}));
  EXPECT_EQ(Strings(points, "status"), (std::vector<std::string>{"kept", "excluded", "kept"}));
  EXPECT_EQ(points.at(0).at("mean_rt"), 512.25);
  EXPECT_EQ(points.at(0).at("error_rate"), 0.1);
  const json& limit = chart.at("layer").at(1);
  EXPECT_EQ(limit.at("mark").at("type"), "rule");
  EXPECT_EQ(limit.at("data").at("values").at(0).at("value"), 0.3);
  EXPECT_EQ(limit.at("encoding").at("y").at("field"), "value");
}

TEST(ReportChartsTest, RtDistributionIsOneHistogramPerCellWithTheCutoffs) {
  const json chart = *RtDistributionPlot(SmallReportSample());
  const json& charts = chart.at("concat");
  ASSERT_EQ(charts.size(), 2u);
  EXPECT_EQ(charts.at(0).at("title"), "word");
  EXPECT_EQ(charts.at(1).at("title"), "nonword");
  const json& bins = charts.at(0).at("layer").at(0).at("data").at("values");
  ASSERT_EQ(bins.size(), 4u);
  EXPECT_EQ(bins.at(1), (json{{"from", 450.0}, {"to", 500.0}, {"count", 5}}));
  const json& cutoffs = charts.at(1).at("layer").at(1).at("data").at("values");
  EXPECT_EQ(Strings(cutoffs, "label"), (std::vector<std::string>{"--min-rt", "--max-rt"}));
  EXPECT_EQ(cutoffs.at(1).at("value"), 1500.0);
}

TEST(ReportChartsTest, WorstItemsByErrorRateThenSlowest) {
  const ReportData data = SmallReportSample();
  std::vector<std::string> worst;
  for (const ReportItem* item : WorstItems(data, 4)) {
    worst.push_back(item->item);
  }
  EXPECT_EQ(worst, (std::vector<std::string>{"5", "3", "\"&<6>", "2"}));
  // Item 5 has no correct trial: named in the table, but it has no place in the plot.
  const json chart = *ItemsPlot(data);
  const json& points = chart.at("data").at("values");
  EXPECT_EQ(Strings(points, "item"), (std::vector<std::string>{"1", "2", "3", "4", "\"&<6>"}));
}

TEST(ReportChartsTest, ItemsPlotNamesOnlyTheTenWorst) {
  const json chart = *ItemsPlot(LargeReportSample());
  const json& points = chart.at("data").at("values");
  int named = 0;
  for (const json& point : points) {
    named += point.at("worst").get<bool>() ? 1 : 0;
  }
  EXPECT_EQ(points.size(), 400u);
  EXPECT_EQ(named, 10);
}

TEST(ReportChartsTest, AnomaliesCountedPerKindAndPerSubject) {
  const ReportData data = SmallReportSample();
  const json chart = *AnomalyKindsPlot(data);
  const json& kinds = chart.at("data").at("values");
  ASSERT_EQ(kinds.size(), 3u);
  EXPECT_EQ(kinds.at(0),
            (json{{"kind", "Lines without a reaction time"}, {"count", 3}, {"subjects", 2}}));
  EXPECT_EQ(kinds.at(1).at("count"), 1);
  const json perSubject = *AnomalySubjectsPlot(data);
  EXPECT_EQ(Strings(perSubject.at("data").at("values"), "subject"),
            (std::vector<std::string>{"S1", "S2", "S2", "(between subjects)"}));
  // The large sample has anomalies in 50 subjects; the plot keeps the 30 with the most.
  std::set<std::string> subjects;
  const json large = *AnomalySubjectsPlot(LargeReportSample());
  for (const json& value : large.at("data").at("values")) {
    subjects.insert(value.at("subject").get<std::string>());
  }
  EXPECT_EQ(subjects.size(), kAnomalySubjectsShown);
}

TEST(ReportChartsTest, KeysArePressesAndReleasesInTheAnalysisOrder) {
  const json chart = *KeysPlot(SmallReportSample());
  EXPECT_EQ(chart.at("encoding").at("x").at("sort"), (json{"Bit1", "Space", "Numpad Enter"}));
  const json& values = chart.at("data").at("values");
  ASSERT_EQ(values.size(), 6u);
  EXPECT_EQ(values.at(2), (json{{"key", "Space"}, {"action", "press"}, {"count", 3}}));
  EXPECT_EQ(values.at(3), (json{{"key", "Space"}, {"action", "release"}, {"count", 2}}));
  EXPECT_EQ(ResponsesPerTrialPlot(SmallReportSample())->at("data").at("values").size(), 4u);
}

TEST(ReportChartsTest, NothingToDrawGivesNoPlot) {
  const ReportData data = EmptyReportSample();
  EXPECT_FALSE(SubjectsPlot(data));
  EXPECT_FALSE(RtDistributionPlot(data));
  EXPECT_FALSE(PositionPlot(data));
  EXPECT_FALSE(ItemsPlot(data));
  EXPECT_FALSE(AnomalyKindsPlot(data));
  EXPECT_FALSE(AnomalySubjectsPlot(data));
  EXPECT_FALSE(ResponsesPerTrialPlot(data));
  EXPECT_FALSE(KeysPlot(data));
}

}  // namespace
}  // namespace trelvox::analysis
