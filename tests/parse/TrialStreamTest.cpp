#include "parse/ReaderFixture.h"
#include "parse/SubjectScanner.h"
#include "parse/TrialParsers.h"

namespace trelvox {
namespace {

using testing::ReaderFixture;

// Writes down what the readers hand on, one line per event.
class RecordingConsumer : public TrialConsumer {
 public:
  std::vector<std::string> events;
  void SubjectStarted(const CurrentSubject& subject) override {
    events.push_back("start " + subject.SubjectID + " | " + subject.HeaderLine);
  }
  void Trial(const TrialRead& t) override {
    std::string event = "trial " + std::to_string(t.Number()) + " item=" + std::string(t.Item()) +
                        " rt=" + std::string(t.RtText()) + " cot=" + std::string(t.Cot());
    event += t.Rt() ? " value=" + std::to_string(t.Rt()->Value()) : " value=none";
    event += t.ErrorCode() != 0 ? std::string(" code=") + t.ErrorCode() : "";
    event += t.NoResponses() ? " no-responses" : "";
    for (int i = 0; i < t.ResponseFieldCount(); ++i) {
      event.append(" ").append(t.ResponseField(i));
    }
    events.push_back(event);
  }
  bool WantsOtherLines() const override { return true; }
  void OtherLine(std::string_view line) override { events.push_back("other " + std::string(line)); }
  void Anomaly(ReaderAnomaly kind, std::string_view line) override {
    events.push_back("anomaly " + std::to_string(static_cast<int>(kind)) + " " + std::string(line));
  }
  void SubjectEnded(const SubjectCounts& counts) override {
    events.push_back("end " + std::to_string(counts.TrialCount));
  }
};

class TrialStreamTest : public ReaderFixture {
 protected:
  RecordingConsumer recorded;
  AttachedConsumer attached{s.trials, recorded};
};

TEST_F(TrialStreamTest, AzkTrialsComeWithTheirFieldsCodesAndTheLinesBetween) {
  state.answers.TimeOut = 2000;
  state.options.COTIncluded = true;
  Input(
      "Subject 3, 03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01\r\n"
      "  Item RT COT\r\n"
      "! Display error\r\n"
      " 14 612.48 100.5\r\n"
      " 8 -2000.00 200\r\n"
      " 9 -5\r\n"
      "*** ABORTED ***\r\n"
      "\r\n");
  OpenOutputs();
  ASSERT_TRUE(FindNextSubject(s.session));
  ParseAZKTrials(s.session);
  const std::vector<std::string> expected = {
      "start P01 | Subject 3, 03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01",
      "other   Item RT COT",
      "other ! Display error",
      "trial 1 item=14 rt=612.48 cot=100.5 value=612.480000 code=0",
      "trial 2 item=8 rt=-2000.00 cot=200 value=-2000.000000 code=2",
      "anomaly 1  9 -5",  // no COT: the row has no code either
      "trial 3 item=9 rt=-5 cot= value=-5.000000 code=1",
      "other *** ABORTED ***",
      "anomaly 0 *** ABORTED ***",
      "end 3",
  };
  EXPECT_EQ(recorded.events, expected);
  // The composite file, the other consumer, still gets every row.
  EXPECT_EQ(Composite(),
            "P01\t3/14/2024\t1\t14\t612.48\t100.5\t0\r\n"
            "P01\t3/14/2024\t2\t8\t-2000.00\t200\t2\r\n"
            "P01\t3/14/2024\t3\t9\t-5\r\n");
}

TEST_F(TrialStreamTest, ZilTrialsCarryTheItemLinesOwnTimeAndTheirResponses) {
  state.options.ZORFormat = true;
  Subject("Q01");
  Input(
      "!  Played 47 frames of 48\r\n"
      "Item 36, -3116.15\r\n"
      " 3116.15,+2 3200.00,-2\r\n"
      "Item 1003, No Responses.\r\n"
      "Item 44\r\n"
      " 500.25,+Bit1\r\n"
      "THERE WERE MORE THAN 2 EVENTS, DATA LOSS WILL HAVE OCCURED\r\n"
      "\r\n");
  OpenOutputs();
  ParseZILTrials(s.session);
  const std::vector<std::string> expected = {
      "start Q01 | ",
      "other !  Played 47 frames of 48",
      "trial 1 item=36 rt=-3116.15 cot= value=-3116.150000 3116.15 +2 3200.00 -2",
      "trial 2 item=1003 rt= cot= value=none no-responses",
      "anomaly 2 Item 44",  // no ZOR time on the line
      "trial 3 item=44 rt= cot= value=none 500.25 +Bit1",
      "other THERE WERE MORE THAN 2 EVENTS, DATA LOSS WILL HAVE OCCURED",
      "end 3",
  };
  EXPECT_EQ(recorded.events, expected);
}

TEST_F(TrialStreamTest, ADetachedConsumerHearsNothingMore) {
  RecordingConsumer later;
  { const AttachedConsumer briefly(s.trials, later); }
  state.answers.TimeOut = 2000;
  Input("cols\r\n 1 5\r\n\r\n");
  OpenOutputs();
  ParseAZKTrials(s.session);
  EXPECT_TRUE(later.events.empty());
  EXPECT_EQ(recorded.events.size(), 4U);  // start, the column line, the trial, end
}

}  // namespace
}  // namespace trelvox
