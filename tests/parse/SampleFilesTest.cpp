// Real DMDX result files from public experiments, converted whole. The expected counts per
// subject were taken from the files with awk, independently of this program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "commands/Commands.h"
#include "support/SessionFixture.h"

namespace trelvox {
namespace {

using testing::DataFile;
using testing::ReadFile;
using testing::SessionFixture;

struct Counts {
  int trials, errors, noResponses;
  friend bool operator==(const Counts&, const Counts&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.trials << "/" << c.errors << "/" << c.noResponses;
  }
};

struct Sample {
  std::string file;
  std::string answer;  // time-out or responses per trial
  bool cot;
  std::vector<std::string> missingIds;  // answers to "ID missing for subject on ..."
  std::vector<std::string> ids;
  std::vector<Counts> counts;  // errors are -1 for ZIL input
  std::string passedOver;      // a hand-edited header whose block is passed over, if any
};

std::vector<Counts> Repeat(std::initializer_list<std::pair<int, int>> errorsAndNoResponses) {
  std::vector<Counts> counts;
  for (const auto& [errors, noResponses] : errorsAndNoResponses) {
    counts.push_back({16, errors, noResponses});
  }
  return counts;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) {
    parts.push_back(part);
  }
  return parts;
}

int LeadingNumber(const std::string& text) {
  int value = -1;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The numbers of each "N trials parsed for ID: ..." report, in order.
std::vector<Counts> Reported(const std::vector<std::string>& messages,
                             std::vector<std::string>& ids) {
  std::vector<Counts> counts;
  for (const std::string& text : messages) {
    const std::size_t at = text.find(" trials parsed for ID: ");
    if (at == std::string::npos) {
      continue;
    }
    const std::vector<std::string> lines = Split(text, '\n');
    ids.push_back(lines[0].substr(at + 23, lines[0].size() - at - 24));
    if (lines.size() == 3) {
      counts.push_back({LeadingNumber(lines[0]), LeadingNumber(lines[1]), LeadingNumber(lines[2])});
    } else {
      counts.push_back({LeadingNumber(lines[0]), -1, LeadingNumber(lines[1])});
    }
  }
  return counts;
}

bool IsNumber(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = {
      {"ella-nnn-nn1.azk",
       "8112",
       false,
       {},
       {"C,1,EB",  "D,1,ZL",  "D,2,IL",  "D,3,FM",  "D,4,IM",  "D,5,EM", "D,6,PH", "D,13,MR",
        "C,3,TC",  "C,4,MC",  "D,7,BB",  "D,8,JB",  "D,9,EB",  "C,8,OH", "C,6,BS", "D,15,VC",
        "D,12,JC", "D,11,GJ", "D,10,SC", "D,14,AC", "C,2,MC",  "C,5,RT", "C,9,ST", "C,10,EG",
        "C,13,CO", "C,14,AO", "C,7,DD",  "C,15,MD", "C,12,CP", "C,11,EP"},
       Repeat({{7, 0}, {0, 0},  {9, 0}, {6, 0}, {8, 0}, {3, 0}, {8, 0}, {4, 0}, {5, 1}, {8, 0},
               {8, 0}, {10, 0}, {1, 0}, {8, 0}, {0, 0}, {1, 0}, {5, 0}, {1, 0}, {8, 0}, {1, 0},
               {4, 0}, {0, 0},  {5, 0}, {9, 0}, {8, 0}, {4, 0}, {9, 0}, {6, 0}, {2, 0}, {8, 0}}),
       ""},
      {"ella-nnn-n1-edited.azk",
       "2000",
       false,
       {"typed D,2,IL"},
       {"D,1,ZL",  "typed D,2,IL", "D,3,FM",  "D,4,IM",  "D,5,EM", "D,6,PH", "D,13,MR", "C,3,TC",
        "C,4,MC",  "D,7,BB",       "D,8,JB",  "D,9,EB",  "C,8,OH", "C,6,BS", "D,15,VC", "D,12,JC",
        "D,11,GJ", "D,10,SC",      "D,14,AC", "C,2,MC",  "C,5,RT", "C,9,ST", "C,10,EG", "C,13,CO",
        "C,14,AO", "C,7,DD",       "C,15,MD", "C,12,CP", "C,11,EP"},
       Repeat({{1, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {4, 0}, {1, 0},
               {0, 0}, {0, 0}, {1, 0}, {3, 0}, {2, 0}, {0, 0}, {1, 0}, {3, 0}, {0, 0}, {0, 0},
               {0, 0}, {2, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}}),
       "Subjec032, 06/26/2015 17:01:56 on ITP66820, refresh 16.67ms, ID C,1,EB"},
      {"mcgurk-excerpt.zil",
       "1",
       false,
       {},
       {"D,5,EM", "D,13,MR", "C,6,BS"},
       {{51, -1, 1}, {50, -1, 0}, {52, -1, 3}},
       "Subjec022, 06/29/2015 13:26:39 on ITP66820, refresh 16.67ms ID D,1,ZL"},
      {"grad1-a1293.zil", "32", true, {"G1"}, {"G1"}, {{146, -1, 36}}, ""},
      {"hercules-a.zil",
       "27",
       true,
       {"H1", "H2"},
       {"H1", "H2", "A1274"},
       {{182, -1, 107}, {182, -1, 54}, {182, -1, 53}},
       ""},
      {"psychostim-sss001.zil", "2", false, {}, {"SSS001"}, {{1136, -1, 345}}, ""},
  };
  return samples;
}

class SampleFiles : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleFiles, ConvertWithTheCountsOfTheFile) {
  const Sample& sample = GetParam();
  SessionFixture s;
  s.state.options.COTIncluded = sample.cot;
  s.state.options.SaveCounters = true;
  s.prompts.Choose(DataFile("dmdx-samples/" + sample.file)).Type(sample.answer);
  s.prompts.Choose(s.dir.File("composite")).No().Choose(s.dir.File("counters")).No();
  for (const std::string& id : sample.missingIds) {
    s.prompts.Type(id);
  }
  ASSERT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  EXPECT_EQ(s.prompts.Unanswered(), 0u);
  // The answers name every response column, so the only problem is a hand-edited header.
  std::vector<std::string> problems;
  for (const auto& box : s.prompts.Shown()) {
    if (box.tone == Tone::Problem) {
      problems.push_back(box.text);
    }
  }
  ASSERT_EQ(problems.size(), sample.passedOver.empty() ? 0u : 1u);
  if (!sample.passedOver.empty()) {
    EXPECT_NE(problems[0].find("As found:\r\n" + sample.passedOver + "\r\n"), std::string::npos)
        << problems[0];
  }
  std::vector<std::string> ids;
  EXPECT_EQ(Reported(s.prompts.Messages(), ids), sample.counts);
  EXPECT_EQ(ids, sample.ids);

  // Every row carries a known ID, a date and its trial number, and nothing invented after.
  const std::vector<std::string> rows = Split(ReadFile(s.dir.File("composite.dat")), '\n');
  int total = 0;
  for (const Counts& c : sample.counts) {
    total += c.trials;
  }
  ASSERT_EQ(static_cast<int>(rows.size()), total);
  const bool azk = sample.file.ends_with(".azk");
  for (const std::string& row : rows) {
    ASSERT_TRUE(row.ends_with('\r')) << row;
    const std::vector<std::string> fields = Split(row.substr(0, row.size() - 1), '\t');
    ASSERT_GE(fields.size(), 4u) << row;
    EXPECT_NE(std::find(sample.ids.begin(), sample.ids.end(), fields[0]), sample.ids.end()) << row;
    EXPECT_GT(LeadingNumber(fields[2]), 0) << row;
    if (azk) {
      ASSERT_EQ(fields.size(), 6u) << row;
      EXPECT_TRUE(IsNumber(fields[4])) << row;
      EXPECT_TRUE(fields[5] == "0" || fields[5] == "1" || fields[5] == "2") << row;
      continue;
    }
    // ZIL responses come in pairs of a time and a signed button name.
    const std::size_t first = 4 + (sample.cot ? 1 : 0);
    if (sample.cot) {
      EXPECT_TRUE(IsNumber(fields[4])) << row;
    }
    ASSERT_EQ((fields.size() - first) % 2, 0u) << row;
    for (std::size_t i = first; i < fields.size(); i += 2) {
      EXPECT_TRUE(IsNumber(fields[i])) << row;
      EXPECT_TRUE(fields[i + 1].starts_with('+') || fields[i + 1].starts_with('-')) << row;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Real, SampleFiles, ::testing::ValuesIn(Samples()), [](const auto& info) {
  std::string name = info.param.file;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
  return name;
});

// The psychostim file has "!  Counter 1 has value 0" lines between its trials.
TEST(SampleFilesCounters, CounterLinesOfARealFileBecomeRows) {
  SessionFixture s;
  s.state.options.SaveCounters = true;
  s.prompts.Choose(DataFile("dmdx-samples/psychostim-sss001.zil")).Type("1");
  s.prompts.Choose(s.dir.File("composite")).No().Choose(s.dir.File("counters")).Yes();
  ASSERT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  const std::vector<std::string> rows = Split(ReadFile(s.dir.File("counters.dat")), '\n');
  ASSERT_GT(rows.size(), 2u);
  EXPECT_EQ(rows[0], "SubID\tDate\tIndex\tCntType\tCntValue\r");
  EXPECT_EQ(rows[1], "SSS001\t3/1/2004\t1\t1\t0\r");
  EXPECT_EQ(rows[2], "SSS001\t3/1/2004\t2\t9\t0\r");
}

}  // namespace
}  // namespace trelvox
