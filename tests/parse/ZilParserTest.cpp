#include "parse/ReaderFixture.h"
#include "parse/TrialParsers.h"

namespace trelvox {
namespace {

using testing::ReaderFixture;
using testing::ReadFile;
using testing::WriteFile;

class ZilParser : public ReaderFixture {
 protected:
  void SetUp() override { Subject("D,1,ZL"); }
  void Parse(const std::string& block) {
    Input(block);
    OpenOutputs();
    ParseZILTrials(s.session);
  }
  static std::string Row(const std::string& rest) { return "D,1,ZL\t3/14/2005\t" + rest + "\r\n"; }
};

TEST_F(ZilParser, ItemLinesTakeTheResponsesOfTheNextLine) {
  Parse(
      "!  Played 47 frames of 48 in lor_Gv.avi\r\n"
      "Item 36, -3116.15\r\n"
      " 3116.15,+2\r\n"
      "Item 1003, No Responses.\r\n"
      "Item 45, -2904.77\r\n"
      " 2904.77,+4 3000.5,-4\r\n"
      "\r\n"
      "Item 99, 1\r\n");
  EXPECT_EQ(Composite(),
            Row("1\t36\t3116.15\t+2") + Row("2\t1003") + Row("3\t45\t2904.77\t+4\t3000.5\t-4"));
  EXPECT_EQ(state.counts.TrialCount, 3);
  EXPECT_EQ(state.counts.NoResponseCount, 1);
  EXPECT_EQ(NextInputLine(), "Item 99, 1");
}

TEST_F(ZilParser, CotAndZorColumnsDependOnTheOptions) {
  struct Case {
    bool cot, zor;
    std::string withResponses, withoutResponses;
  };
  // Item fields: 1 Item, 2 id, 3 COT-word or ZOR time, 4 COT value, 5 ZOR time with COT.
  const std::vector<Case> cases = {
      {false, false, "1\t177\t9.10\t-Space", "2\t185"},
      {true, false, "1\t177\t0.00\t9.10\t-Space", "2\t185\t28152.88"},
      {false, true, "1\t177\tCOT\t9.10\t-Space", "2\t185\tNoResponse"},
      {true, true, "1\t177\t0.00\t812.5\t9.10\t-Space", "2\t185\t28152.88\tNoResponse"},
  };
  for (const Case& c : cases) {
    testing::ReaderWorld run;
    run.state.options.COTIncluded = c.cot;
    run.state.options.ZORFormat = c.zor;
    run.Subject("G", Date{2001, 4, 1});
    run.Input(
        "Item 177, COT 0.00, 812.5\r\n 9.10,-Space\r\nItem 185, COT 28152.88, No Responses.\r\n");
    run.OpenOutputs();
    ParseZILTrials(run.s.session);
    EXPECT_EQ(run.Composite(),
              "G\t4/1/2001\t" + c.withResponses + "\r\nG\t4/1/2001\t" + c.withoutResponses + "\r\n")
        << "cot " << c.cot << " zor " << c.zor;
    EXPECT_TRUE(run.s.prompts.Shown().empty());
  }
}

TEST_F(ZilParser, CommasSeparateLikeBlanksInItemsButNotInCounterLines) {
  state.options.SaveCounters = true;
  state.options.ZORFormat = true;
  Parse("Item 5,12\r\n 1,2\r\n!  Counter 1,2 has value 7,5\r\n");
  EXPECT_EQ(Composite(), Row("1\t5\t12\t1\t2"));
  EXPECT_EQ(Counters(), Row("1\t1,2\t7,5"));
}

TEST_F(ZilParser, ResponseLinesAreNeverExaminedThemselves) {
  state.options.SaveCounters = true;
  Parse("Item 1\r\n Item 2 ! Counter a b c d\r\nItem 3, No Responses\r\n");
  EXPECT_EQ(Composite(), Row("1\t1\tItem\t2\t!\tCounter\ta\tb\tc\td") + Row("2\t3"));
  EXPECT_EQ(Counters(), "");
}

TEST_F(ZilParser, BangAnywhereOrNoItemMeansNoTrial) {
  Parse("!  Item File <x.rtf>\r\nnote ! Item 4\r\n   \r\nItems? no: Item 8\r\n 1,+1\r\n");
  EXPECT_EQ(Composite(), Row("1\tno:\t1\t+1"));
}

TEST_F(ZilParser, EmptyResponseLineAddsNothingAndDoesNotEndTheBlock) {
  state.options.SaveIndFiles = true;
  Parse("Item 1\r\n\r\nItem 2\r\n 5,+1\r\n\r\n");
  EXPECT_EQ(Composite(), Row("1\t1") + Row("2\t2\t5\t+1"));
  EXPECT_EQ(SubjectFile(),
            "03/14/2005 09:30 refresh 60, ID A17\r\nItem 1\r\n\r\nItem 2\r\n 5,+1\r\n");
}

TEST_F(ZilParser, WrappedResponseListsStayInOneRow) {
  state.options.SaveIndFiles = true;
  state.answers.MaxResponses = 2;
  Parse(
      "Item 190, COT 44156.81\r\n"
      " 1891.29,+Bit1 2129.28,-Bit1\r\n"
      " 6839.48,-Bit1 8010.06,+Bit1\r\n"
      " 9200.84,+Bit1\r\n"
      "Item 254, COT 56172.27, No Responses.\r\n"
      "Item 128, COT 100195.58\r\n"
      " 961.47,+Bit1\r\n"
      "!  Counter 1 has value 0\r\n"
      " 5.5,+Bit2\r\n");
  EXPECT_EQ(Composite(),
            Row("1\t190\t1891.29\t+Bit1\t2129.28\t-Bit1\t6839.48\t-Bit1\t8010.06\t+Bit1\t9200.84\t"
                "+Bit1") +
                Row("2\t254") + Row("3\t128\t961.47\t+Bit1"));
  EXPECT_EQ(SubjectFile(),
            "03/14/2005 09:30 refresh 60, ID A17\r\nItem 190, COT 44156.81\r\n"
            " 1891.29,+Bit1 2129.28,-Bit1\r\n 6839.48,-Bit1 8010.06,+Bit1\r\n 9200.84,+Bit1\r\n"
            "Item 254, COT 56172.27, No Responses.\r\nItem 128, COT 100195.58\r\n 961.47,+Bit1\r\n"
            "!  Counter 1 has value 0\r\n 5.5,+Bit2\r\n");
  // The wrapped trial's five responses count together, against the two of the header.
  EXPECT_EQ(state.notices.LongTrialsReport(),
            "1 trial had more responses than the 2 expected: 5.\r\nIts row has more columns than "
            "the header row names, which statistics programs may refuse or misread.\r\nTo name "
            "every column, parse the file again into a new composite file with 5 as the expected "
            "number of responses.");
}

TEST_F(ZilParser, ContinuationEndsAtAnEmptyLine) {
  Parse("Item 1\r\n 1,+a\r\n 2,+b\r\n\r\n 3,+c\r\n");
  EXPECT_EQ(Composite(), Row("1\t1\t1\t+a\t2\t+b"));
  EXPECT_EQ(NextInputLine(), " 3,+c");
}

TEST_F(ZilParser, MissingFieldsLeaveEmptyColumnsAndAreReported) {
  state.options.COTIncluded = true;
  state.options.ZORFormat = true;
  Parse("Item\r\n 1,+a\r\nItem 7, COT\r\n 2,+b\r\n");
  EXPECT_EQ(Composite(), Row("1\t\t\t\t1\t+a") + Row("2\t7\t\t\t2\t+b"));
  EXPECT_TRUE(s.prompts.Messages().empty());  // told once for the subject, by the command
  EXPECT_EQ(
      state.notices.SubjectProblems(state.subject.SubjectID),
      "Subject D,1,ZL: 1 item line without a trial ID (field 2). The TrialID column is left "
      "empty in each such row.\r\nAs found:\r\nItem\r\n\r\n"
      "Subject D,1,ZL: 2 item lines without a COT value (field 4). The COT column is left empty "
      "in each such row. If the file has no COT values, parse it again with \"COTs "
      "included?\" off (trelvox-batch: without --cot).\r\nAs found:\r\nItem\r\nItem 7, COT"
      "\r\n\r\n"
      "Subject D,1,ZL: 2 item lines without a ZOR reaction time (field 5). The ZOR_RT column is "
      "left empty in each such row. If the file is not ZOR formatted, parse it again with "
      "\"File is ZOR formatted\" off (trelvox-batch: without --zor).\r\nAs found:\r\nItem"
      "\r\nItem 7, COT");
}

TEST_F(ZilParser, ItemWithResponsesAsTheLastLineGivesARowWithoutResponses) {
  Parse("Item 1\r\n 1,+a\r\nItem 2");
  EXPECT_EQ(Composite(), Row("1\t1\t1\t+a") + Row("2\t2"));
  EXPECT_TRUE(s.files.AtEnd(state.files.InFileNum));
}

TEST_F(ZilParser, NextHeaderWithoutEmptyLineIsIgnoredAndItsItemsCountHere) {
  Parse(
      "Item 1\r\n 1,+a\r\nSubject 2, 03/15/2005 on X, refresh 16.67ms, ID B\r\nItem 2\r\n "
      "2,+b\r\n");
  EXPECT_EQ(Composite(), Row("1\t1\t1\t+a") + Row("2\t2\t2\t+b"));
}

TEST_F(ZilParser, ErrorCountIsLeftAlone) {
  state.counts.ErrorCount = 5;
  Parse("Item 1, No Responses\r\n");
  EXPECT_EQ(state.counts.ErrorCount, 5);
  EXPECT_EQ(state.counts.NoResponseCount, 1);
}

TEST_F(ZilParser, FirstLineAfterTheHeaderIsExamined) {
  Parse("Item 1, No Responses.\r\n");
  EXPECT_EQ(Composite(), Row("1\t1"));
}

}  // namespace
}  // namespace trelvox
