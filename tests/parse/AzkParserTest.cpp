#include "parse/ReaderFixture.h"
#include "parse/TrialParsers.h"
#include "platform/Errors.h"

namespace trelvox {
namespace {

using testing::ReaderFixture;
using testing::ReadFile;
using testing::WriteFile;

class AzkParser : public ReaderFixture {
 protected:
  void SetUp() override {
    state.answers.TimeOut = 2000;
    Subject("A17");
  }
  void Parse(const std::string& block) {
    Input(block);
    OpenOutputs();
    ParseAZKTrials(s.session);
  }
};

TEST_F(AzkParser, SkipsTheColumnLineAndWritesOneRowPerTrial) {
  Parse("  Item       RT\r\n    14  -3625.00\r\n    11   3450.84\r\n\r\nSubject 2 ...\r\n");
  EXPECT_EQ(Composite(),
            "A17\t3/14/2005\t1\t14\t-3625.00\t1\r\n"
            "A17\t3/14/2005\t2\t11\t3450.84\t0\r\n");
  EXPECT_EQ(state.counts.TrialCount, 2);
  EXPECT_EQ(state.counts.ErrorCount, 1);
  EXPECT_EQ(state.counts.NoResponseCount, 0);
  EXPECT_EQ(NextInputLine(), "Subject 2 ...");  // stopped after the empty line
}

TEST_F(AzkParser, ErrorCodesFollowTheReactionTimeAndTimeOut) {
  struct Case {
    std::string rt;
    int timeOut;
    std::string code;
  };
  const std::vector<Case> cases = {
      {"0", 2000, "0"},        {"0.00", 2000, "0"},     {"3450.84", 2000, "0"},
      {"-2000", 2000, "2"},    {"-2000.00", 2000, "2"}, {"-1999.5", 2000, "1"},
      {"-2000.01", 2000, "1"}, {"-1", 0, "1"},          {"-0", 0, "0"},
      {"-2000", -2000, "1"},   {"+12", 2000, "0"},      {"-32768", -32768, "1"},
  };
  for (const Case& c : cases) {
    testing::ReaderWorld run;
    run.state.answers.TimeOut = static_cast<std::int16_t>(c.timeOut);
    run.Subject("S");
    run.Input("cols\r\n1 " + c.rt + "\r\n");
    run.OpenOutputs();
    ParseAZKTrials(run.s.session);
    EXPECT_EQ(run.Composite(), "S\t3/14/2005\t1\t1\t" + c.rt + "\t" + c.code + "\r\n")
        << c.rt << " against " << c.timeOut;
    EXPECT_EQ(run.state.counts.ErrorCount, c.code == "1" ? 1 : 0) << c.rt;
    EXPECT_EQ(run.state.counts.NoResponseCount, c.code == "2" ? 1 : 0) << c.rt;
  }
}

TEST_F(AzkParser, ReactionTimesIgnoreTheDecimalCommaOfTheLocale) {
  const FixedLocale german(*ShortDateFormat::FromPosixPattern("%d.%m.%Y"), ',');
  Session session{state, s.files, s.ui, german, s.clock, s.trials};
  Input("cols\r\n 5 -2000.00\r\n 6 -1999.50\r\n");
  OpenOutputs();
  ParseAZKTrials(session);
  EXPECT_EQ(Composite(),
            "A17\t14.03.2005\t1\t5\t-2000.00\t2\r\n"
            "A17\t14.03.2005\t2\t6\t-1999.50\t1\r\n");
}

TEST_F(AzkParser, CotColumnPrecedesTheErrorCodeAndExtraFieldsFollow) {
  state.options.COTIncluded = true;
  Parse("cols\r\n 7 512.5 1000.25 x y\r\n 8 -2000 1100\r\n");
  EXPECT_EQ(Composite(),
            "A17\t3/14/2005\t1\t7\t512.5\t1000.25\t0\tx\ty\r\n"
            "A17\t3/14/2005\t2\t8\t-2000\t1100\t2\r\n");
}

TEST_F(AzkParser, ExtraFieldsFollowTheErrorCodeWithoutCot) {
  Parse("cols\r\n 7 512.5 1000.25 x\r\n");
  EXPECT_EQ(Composite(), "A17\t3/14/2005\t1\t7\t512.5\t0\t1000.25\tx\r\n");
}

TEST_F(AzkParser, TwoFieldLineWithCotGetsNoCodeButIsCounted) {
  state.options.COTIncluded = true;
  Parse("cols\r\n 7 -2000\r\n");
  EXPECT_EQ(Composite(), "A17\t3/14/2005\t1\t7\t-2000\r\n");
  EXPECT_EQ(state.counts.NoResponseCount, 1);
  EXPECT_TRUE(s.prompts.Messages().empty());  // told once for the subject, by the command
  EXPECT_EQ(state.notices.SubjectProblems("A17"),
            "Subject A17: 1 line without a COT value (field 3). Each such row was written without "
            "an error code.\r\nAs found:\r\n 7 -2000");
}

TEST_F(AzkParser, BangLinesAreSkippedOnlyWhenTheBangComesFirst) {
  Parse("cols\r\n!  Video Mode 1920,1080\r\n !5 100\r\n 6 200 !\r\n");
  EXPECT_EQ(Composite(),
            "A17\t3/14/2005\t1\t!5\t100\t0\r\n"
            "A17\t3/14/2005\t2\t6\t200\t0\t!\r\n");
}

TEST_F(AzkParser, LinesWithoutAReactionTimeAreReportedNotCounted) {
  state.options.SaveIndFiles = true;
  Parse("cols\r\n 1 100\r\n*** ABORTED ***\r\n   \r\n 9\r\n 2 abc\r\n 3 nan\r\n 4 200\r\n");
  EXPECT_EQ(Composite(),
            "A17\t3/14/2005\t1\t1\t100\t0\r\n"
            "A17\t3/14/2005\t2\t4\t200\t0\r\n");
  EXPECT_EQ(state.counts.TrialCount, 2);
  EXPECT_TRUE(s.prompts.Messages().empty());  // told once for the subject, by the command
  EXPECT_EQ(state.notices.SubjectProblems("A17"),
            "Subject A17: 5 lines without a reaction time in the second field. Not converted: a "
            "trial line needs a reaction time there.\r\nAs found:\r\n*** ABORTED ***\r\n   \r\n"
            " 9\r\n 2 abc\r\n 3 nan");
  // Every line still reaches the subject file.
  EXPECT_EQ(SubjectFile(),
            "03/14/2005 09:30 refresh 60, ID A17\r\ncols\r\n 1 100\r\n*** ABORTED ***\r\n   \r\n"
            " 9\r\n 2 abc\r\n 3 nan\r\n 4 200\r\n");
}

TEST_F(AzkParser, SubjectFileCopiesTheBlockWithoutItsEndingEmptyLine) {
  state.options.SaveIndFiles = true;
  Parse("  Item       RT\r\n! note\r\n  1 100\r\n\r\nnext subject\r\n");
  EXPECT_EQ(SubjectFile(),
            "03/14/2005 09:30 refresh 60, ID A17\r\n  Item       RT\r\n! note\r\n  1 100\r\n");
}

TEST_F(AzkParser, TheLineAfterTheHeaderIsNeverATrial) {
  state.options.SaveIndFiles = true;
  Parse("  1 100\r\n  2 200\r\n");
  EXPECT_EQ(Composite(), "A17\t3/14/2005\t1\t2\t200\t0\r\n");
  EXPECT_EQ(SubjectFile(), "03/14/2005 09:30 refresh 60, ID A17\r\n  1 100\r\n  2 200\r\n");
}

TEST_F(AzkParser, EmptyBlockLeavesEveryCounterAtZero) {
  state.counts.TrialCount = state.counts.ErrorCount = state.counts.NoResponseCount =
      state.counts.CounterCount = 9;
  Parse("cols\r\n\r\n  1 100\r\n");
  EXPECT_EQ(Composite(), "");
  EXPECT_EQ(state.counts.TrialCount + state.counts.ErrorCount + state.counts.NoResponseCount +
                state.counts.CounterCount,
            0);
  EXPECT_EQ(NextInputLine(), "  1 100");
}

TEST_F(AzkParser, NextHeaderWithoutEmptyLineIsReadAsATrial) {
  Parse("cols\r\n 1 100\r\nSubject 2, 03/15/2005 on X, refresh 16.67ms, ID B\r\n 2 -2000\r\n");
  EXPECT_EQ(Composite(),
            "A17\t3/14/2005\t1\t1\t100\t0\r\n"
            "A17\t3/14/2005\t2\t2\t-2000\t2\r\n");
  EXPECT_TRUE(  // the header line is no trial
      state.notices.SubjectProblems("A17").ends_with("\r\nSubject 2, 03/15/2005 on X, refresh "
                                                     "16.67ms, ID B"));
}

TEST_F(AzkParser, CounterLinesGiveCounterRows) {
  state.options.SaveCounters = true;
  Parse(
      "cols\r\n"
      "!  Counter 1 has value 5 more\r\n"  // seven fields, begins with "!": counter row only
      "Counter 5 b c d\r\n"                // five fields, also a trial line
      "Counter 2 x y\r\n"                  // four fields
      "Counter 3 x\r\n"                    // fewer than four fields
      " 3 100\r\n");
  EXPECT_EQ(Counters(),
            "A17\t3/14/2005\t1\t1\t5\tmore\r\n"
            "A17\t3/14/2005\t2\tb\r\n"
            "A17\t3/14/2005\t3\r\n"
            "A17\t3/14/2005\t4\r\n");
  EXPECT_EQ(Composite(),
            "A17\t3/14/2005\t1\tCounter\t5\t0\tb\tc\td\r\n"
            "A17\t3/14/2005\t2\tCounter\t2\t0\tx\ty\r\n"
            "A17\t3/14/2005\t3\tCounter\t3\t0\tx\r\n"
            "A17\t3/14/2005\t4\t3\t100\t0\r\n");
}

TEST_F(AzkParser, CounterLinesAreOrdinaryWhenCountersAreOff) {
  Parse("cols\r\n!  Counter 1 has value 5\r\nCounter 7 100\r\n");
  EXPECT_EQ(Composite(), "A17\t3/14/2005\t1\tCounter\t7\t0\t100\r\n");
  EXPECT_EQ(state.counts.CounterCount, 0);
}

TEST_F(AzkParser, BlockAtTheEndOfTheInputEndsThere) {
  Parse("cols\r\n 1 100\r\n 2 200");
  EXPECT_EQ(Composite(), "A17\t3/14/2005\t1\t1\t100\t0\r\nA17\t3/14/2005\t2\t2\t200\t0\r\n");
  EXPECT_TRUE(s.files.AtEnd(state.files.InFileNum));
}

TEST_F(AzkParser, The32768thTrialIsAnOverflowAndEarlierRowsStay) {
  std::string block = "cols\r\n";
  for (int i = 0; i < 32768; ++i) {
    block += " 1 100\r\n";
  }
  Input(block);
  OpenOutputs();
  EXPECT_THROW(ParseAZKTrials(s.session), OverflowError);
  EXPECT_EQ(state.counts.TrialCount, 32767);
  const std::string rows = Composite();
  EXPECT_EQ(static_cast<int>(std::count(rows.begin(), rows.end(), '\n')), 32767);
}

}  // namespace
}  // namespace trelvox
