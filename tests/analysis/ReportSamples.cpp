#include "ReportSamples.h"

#include <cmath>
#include <string>

namespace trelvox::test {

using namespace trelvox::analysis;

namespace {

std::string SubjectId(int number) {
  std::string id = "S";  // not "S" + std::to_string(): GCC 12 warns wrongly about it
  id += std::to_string(number);
  return id;
}

}  // namespace

ReportData SmallReportSample() {
  ReportData data;
  data.version = "5.0.0";
  data.analysedAt = "2026-03-14T09:30:00";
  data.inputs = {{"lexdec.azk", 48213, 3, 30}, {"naming \xE9t\xE9.zil", 9120, 1, 8}};
  data.options = {{"--timeout", "2000"}, {"--by", "condition"}, {"--min-rt", "200"},
                  {"--max-rt", "1500"},  {"--sd", "2.5"},       {"--max-error-rate", "0.3"},
                  {"--cot", ""}};
  // S1: 9 of 10 correct. S2: 5 errors of 10, excluded. S3 (an ID that tries to end the
  // script and is not UTF-8): every trial an error or without response. Z1 from the ZIL file.
  data.subjects = {
      {"S1", 10, 9, 1, 0, 0.1, 512.25, 498.0, 61.5, 1, false, ""},
      {"S2", 10, 5, 4, 1, 0.5, 655.0, 640.5, 120.75, 0, true, "error rate 0.50 > 0.30"},
      {"</script><b>M\xFCller", 10, 0, 7, 3, 1.0, std::nullopt, std::nullopt, std::nullopt, 0, true,
       "error rate 1.00 > 0.30"},
      {"Z1", 8, 6, 2, 0, 0.25, 430.5, 425.0, 40.0, 0, false, ""}};
  data.maxErrorRate = 0.3;
  data.cells = {"word", "nonword"};
  data.rtBins = {{"word", 400, 450, 3},    {"word", 450, 500, 5},    {"word", 500, 550, 4},
                 {"word", 550, 600, 1},    {"nonword", 450, 500, 1}, {"nonword", 500, 550, 2},
                 {"nonword", 550, 600, 3}, {"nonword", 650, 700, 1}};
  data.minRt = 200;
  data.maxRt = 1500;
  data.sdCutoff = 2.5;
  for (int position = 1; position <= 10; ++position) {
    data.positions.push_back({position, 620.0 - 12.5 * position, 2});
  }
  data.items = {{"1", 3, 0.0, 480.0},  {"2", 3, 1.0 / 3, 530.5},    {"3", 3, 2.0 / 3, 610.0},
                {"4", 3, 0.0, 455.25}, {"5", 3, 1.0, std::nullopt}, {"\"&<6>", 3, 1.0 / 3, 700.0}};
  data.itemsNotInList = {"99"};
  data.itemsNotPresented = {"7", "8"};
  data.anomalies = {
      {"S1", "Lines without a reaction time", 2, "! 17 </script> no RT", "sample.azk"},
      {"S2", "Data loss banner", 1, "THERE WERE MORE THAN 1000 EVENTS, DATA LOSS WILL HAVE OCCURED",
       "sample.azk"},
      {"S2", "Lines without a reaction time", 1, "! 23", "day 2.azk"},
      {"", "Passed-over header", 1, "Subject 3, 03/14/2005 09:30 refresh", "sample.azk"}};
  data.hasZil = true;
  data.responsesPerTrial = {{0, 1}, {1, 4}, {2, 2}, {3, 1}};
  data.keys = {{"Bit1", 5, 5}, {"Space", 3, 2}, {"Numpad Enter", 1, 0}};
  return data;
}

ReportData EmptyReportSample() {
  ReportData data;
  data.version = "5.0.0";
  data.analysedAt = "2026-03-14T09:30:00";
  data.inputs = {{"empty.azk", 0, 0, 0}};
  return data;
}

// Deterministic figures of plausible size; every value its own, so that the JSON is as long as
// the analysis would write it.
ReportData LargeReportSample() {
  constexpr int kSubjects = 2000;
  constexpr int kTrials = 500;
  constexpr int kItems = 400;
  ReportData data;
  data.version = "5.0.0";
  data.analysedAt = "2026-03-14T09:30:00";
  data.inputs = {{"bench.azk", 20'480'000, kSubjects, kSubjects * kTrials}};
  data.options = {{"--timeout", "2000"}, {"--by", "condition"}, {"--min-rt", "200"},
                  {"--max-rt", "1800"},  {"--sd", "2.5"},       {"--max-error-rate", "0.15"}};
  data.maxErrorRate = 0.15;
  data.minRt = 200;
  data.maxRt = 1800;
  data.sdCutoff = 2.5;
  for (int s = 0; s < kSubjects; ++s) {
    const double wobble = std::sin(s * 0.7) * 0.5 + 0.5;
    const long errors = 15 + (s * 37) % 40 + (s % 97 == 0 ? 60 : 0);
    const long noResponses = 5 + (s * 13) % 20;
    const long correct = kTrials - errors - noResponses;
    const double errorRate = static_cast<double>(errors + noResponses) / kTrials;
    const bool excluded = errorRate > 0.15;
    data.subjects.push_back({SubjectId(s + 1), kTrials, correct, errors, noResponses, errorRate,
                             520 + 180 * wobble + (s % 11), 505 + 170 * wobble, 90 + (s % 23),
                             (s * 7) % 12, excluded, excluded ? "error rate above 0.15" : ""});
  }
  data.cells = {"word", "nonword"};
  for (const std::string& cell : data.cells) {
    const double centre = cell == "word" ? 560 : 640;
    for (int from = 0; from < 2000; from += 20) {
      const double z = (from - centre) / 150.0;
      data.rtBins.push_back({cell, static_cast<double>(from), from + 20.0,
                             std::lround(20000 * std::exp(-z * z / 2))});
    }
  }
  for (int position = 1; position <= kTrials; ++position) {
    data.positions.push_back(
        {position, 600 - 40 * std::exp(-position / 30.0) + position * 0.05, kSubjects * 9 / 10});
  }
  for (int item = 1; item <= kItems; ++item) {
    data.items.push_back({std::to_string(item), kSubjects * kTrials / kItems,
                          0.02 + ((item * 29) % 100) / 1000.0 + (item % 50 == 0 ? 0.3 : 0),
                          540 + (item * 53) % 160 + 0.25});
  }
  for (int s = 0; s < kSubjects; s += 40) {
    data.anomalies.push_back(
        {SubjectId(s + 1), "Lines without a reaction time", 1 + s % 7, "! no RT", "bench.azk"});
    if (s % 200 == 0) {
      data.anomalies.push_back({SubjectId(s + 1), "Data loss banner", 1,
                                "THERE WERE MORE THAN 1000 EVENTS, DATA LOSS WILL HAVE OCCURED",
                                "bench.azk"});
    }
  }
  return data;
}

}  // namespace trelvox::test
