#include "parse/SubjectScanner.h"

#include "parse/ReaderFixture.h"

namespace trelvox {
namespace {

using testing::ReaderFixture;
using testing::ReadFile;
using testing::ShownBox;
using testing::WriteFile;

TEST(SubjectScanner, HeaderLinesNeedSubjectAndRefreshInExactCase) {
  struct Case {
    std::string line;
    bool header;
  };
  const std::vector<Case> cases = {
      {"Subject 1, 06/26/2015 17:09:52 on ITP66820, refresh 16.67ms, ID C,1,EB", true},
      {"refresh first, then Subject", true},
      {"Subjects incorporated to date: 003", false},
      {"subject 1, 06/26/2015 on X, refresh 16.67ms", false},
      {"Subject 1, 06/26/2015 on X, Refresh 16.67ms", false},
      {"Subjec032, 06/26/2015 17:01:56 on ITP66820, refresh 16.67ms, ID C,1,EB", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSubjectHeader(c.line), c.header) << c.line;
  }
}

TEST(SubjectScanner, IdIsTakenFromTheHeader) {
  struct Case {
    std::string line, id;
  };
  const std::vector<Case> cases = {
      {"03/14/2005 09:30 refresh 60, ID A17", "A17"},
      {"x, ID 42", "42"},
      {"x ID:42", "42"},
      {"x, ID  42", " 42"},
      {"x, ID 42 extra", "42 extra"},
      {"x ID 42 extra", "42 extra"},
      {"x, ID ", ""},
      {"x ID ", ""},
      {"x ID", ""},  // nothing after "ID": the empty ID, not a crash
      {"ID", ""},
      // A machine name in capitals holds "ID"; the ", ID " field still gives the real ID.
      {"06/26/2015 17:09 on VIDEOLAB, refresh 16.67ms, ID C,1,EB", "C,1,EB"},
      // Without the ", ID " field the first "ID" stands.
      {"06/26/2015 17:09 on VIDEOLAB, refresh 16.67ms", "OLAB, refresh 16.67ms"},
      {"05/10/2003 14:30:47 on hercules, refresh 16.65ms, ID A1274       COT", "A1274"},
      {"x, ID COT", "COT"},
      {"x, ID A1COT", "A1COT"},
      {"x, ID A1 COT", "A1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetSubjectID(c.line), c.id) << c.line;
  }
}

TEST(SubjectScanner, DateTextFollowsTheFirstCommaBlank) {
  struct Case {
    std::string line, date, rest;
  };
  const std::vector<Case> cases = {
      {"Subject 7, 03/14/2005 09:30 refresh 60, ID A17", "03/14/2005",
       "03/14/2005 09:30 refresh 60, ID A17"},
      {"Subject 7 03/14/2005", "ubject 7 0", "ubject 7 03/14/2005"},
      {"S, 1/2/2005", "1/2/2005", "1/2/2005"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const HeaderFromDate header = GetSubjectDate(c.line);
    EXPECT_EQ(header.dateText, c.date) << c.line;
    EXPECT_EQ(header.fromDate, c.rest) << c.line;
  }
}

TEST(SubjectScanner, HeaderDatesAreMonthDayYear) {
  struct Case {
    std::string text;
    std::optional<Date> date;
  };
  const std::vector<Case> cases = {
      {"03/14/2005", Date{2005, 3, 14}},   {"3/4/2005 9", Date{2005, 3, 4}},
      {"12/31/99 23", Date{1999, 12, 31}}, {"1/1/05 00:0", Date{2005, 1, 1}},
      {"14/03/2005", std::nullopt},        {"02/30/2005", std::nullopt},
      {"ubject 7 0", std::nullopt},        {"", std::nullopt},
      {"03/14/205 ", std::nullopt},        {"03-14-2005", std::nullopt},
      {"03/14/2005x", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseHeaderDate(c.text), c.date) << c.text;
  }
}

class FindNextSubjectTest : public ReaderFixture {};

TEST_F(FindNextSubjectTest, SkipsThePreambleAndStopsAfterTheHeader) {
  Input(
      "\r\nSubjects incorporated to date: 003\r\nData file started on machine ITP66820\r\n\r\n"
      "****\r\nSubject 1, 06/26/2015 17:09:52 on ITP66820, refresh 16.67ms, ID C,1,EB\r\n"
      "  Item       RT\r\n");
  EXPECT_TRUE(FindNextSubject(s.session));
  EXPECT_EQ(state.subject.SubjectID, "C,1,EB");
  EXPECT_EQ(state.subject.SubjectDate.date, (Date{2015, 6, 26}));
  EXPECT_EQ(state.subject.SubjectHeader,
            "06/26/2015 17:09:52 on ITP66820, refresh 16.67ms, ID C,1,EB");
  EXPECT_EQ(NextInputLine(), "  Item       RT");
  ASSERT_EQ(s.prompts.Shown().size(), 1u);
  EXPECT_EQ(s.prompts.Shown()[0].text, "ID: C,1,EB detected.");
  EXPECT_EQ(s.prompts.Shown()[0].caption, "");
}

// Hand-edited headers of real files: "refresh" without "Subject". Their blocks are passed over
// as before, but named once per scan (the batch transcripts show the one-line text); lines
// without "refresh" stay silent.
TEST_F(FindNextSubjectTest, PassedOverRefreshLinesAreNamedOnce) {
  const std::string one = "Subjec029, 06/29/2015 13:26:39 on ITP66820, refresh 16.67ms D,1,ZL";
  const std::string two = "Subjec 2, 06/29/2015 13:26:39 on ITP66820, refresh 16.67ms ID D,1,ZL";
  Input("Subject 1 without a rate\r\n" + one + "\r\n 1 100\r\n\r\n" + two + "\r\n 2 200\r\n");
  EXPECT_FALSE(FindNextSubject(s.session));
  ASSERT_EQ(s.prompts.Shown().size(), 1u);
  EXPECT_EQ(s.prompts.Shown()[0].tone, Tone::Problem);
  EXPECT_EQ(s.prompts.Shown()[0].text,
            "2 lines with \"refresh\" but without \"Subject\" were passed over between subjects, "
            "so the block after each was not converted. As found:\r\n" +
                one + "\r\n" + two +
                "\r\nA subject header line must contain both \"Subject\" and \"refresh\": mend "
                "these lines, then parse the file again (into a new composite file, so that no row "
                "is written twice).");
}

TEST_F(FindNextSubjectTest, HeaderOnTheLastLineIsNotFound) {
  state.subject.SubjectID = "old";
  state.subject.SubjectDate = {Date{2001, 1, 1}, ""};
  Input("x\r\nSubject 2, 03/14/2005 09:30 refresh 60, ID B2\r\n");
  EXPECT_FALSE(FindNextSubject(s.session));
  EXPECT_EQ(state.subject.SubjectHeader, "Subject 2, 03/14/2005 09:30 refresh 60, ID B2");
  EXPECT_EQ(state.subject.SubjectID, "old");
  EXPECT_EQ(state.subject.SubjectDate.date, (Date{2001, 1, 1}));
  EXPECT_TRUE(s.prompts.Shown().empty());
}

TEST_F(FindNextSubjectTest, AtTheEndNothingIsReadAndTheHeaderIsEmpty) {
  Input("");
  state.subject.SubjectHeader = "stale";
  EXPECT_FALSE(FindNextSubject(s.session));
  EXPECT_EQ(state.subject.SubjectHeader, "");
}

TEST_F(FindNextSubjectTest, NoHeaderLeavesTheLastLineRead) {
  Input("one\r\ntwo\r\n");
  EXPECT_FALSE(FindNextSubject(s.session));
  EXPECT_EQ(state.subject.SubjectHeader, "two");
}

TEST_F(FindNextSubjectTest, MissingIdIsAskedForWithTheDate) {
  for (const std::string answer : {"P9", ""}) {
    testing::SessionFixture fresh;
    WriteFile(fresh.dir.File("in.txt"),
              "Subject 1, 04/01/2001 23:03:26 on GRAD1, refresh 16.83ms       COT\r\nItem 1\r\n");
    ASSERT_EQ(fresh.files.Open(1, fresh.dir.File("in.txt"), OpenMode::Input).errorNumber, 0);
    fresh.state.files.InFileNum = 1;
    if (answer.empty()) {
      fresh.prompts.Cancel();
    } else {
      fresh.prompts.Type(answer);
    }
    EXPECT_TRUE(FindNextSubject(fresh.session));
    EXPECT_EQ(fresh.state.subject.SubjectID, answer);
    ASSERT_EQ(fresh.prompts.Shown().size(), 1u);
    const ShownBox& box = fresh.prompts.Shown()[0];
    EXPECT_EQ(box.kind, ShownBox::Kind::Input);
    EXPECT_EQ(box.caption, "Enter ID Number");
    EXPECT_EQ(box.text, "ID missing for subject on 4/1/2001");
  }
}

TEST_F(FindNextSubjectTest, DateThatDoesNotConvertIsKeptAsFoundAndReportedOnce) {
  Input("Subject 1, 99/99/2005 09:30 refresh 60, ID Q1\r\nnext\r\n");
  EXPECT_TRUE(FindNextSubject(s.session));
  EXPECT_FALSE(state.subject.SubjectDate.date);
  EXPECT_EQ(DateText(state.subject.SubjectDate, s.locale), "99/99/2005");
  const std::vector<std::string> messages = s.prompts.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("\"99/99/2005\""), std::string::npos) << messages[0];
  EXPECT_EQ(messages[1], "ID: Q1 detected.");
}

TEST_F(FindNextSubjectTest, EmptyIdMessageReadsDirectly) {
  Input("Subject 1, 03/14/2005 refresh 60 ID \r\nnext\r\n");
  EXPECT_TRUE(FindNextSubject(s.session));
  EXPECT_EQ(state.subject.SubjectID, "");
  EXPECT_EQ(s.prompts.Messages(), std::vector<std::string>{"ID:  detected."});
}

class FindSubjectByIdTest : public ReaderFixture {
 protected:
  const std::string kThree =
      "Subject 1, 12/09/2026 10:00 on LAB, refresh 16.67ms, ID 17\r\n  Item RT\r\n  1 100\r\n\r\n"
      "Subject 2, 03/14/2005 10:00 on LAB, refresh 16.67ms, ID 017\r\n  Item RT\r\n  1 200\r\n\r\n"
      "Subject 3, 03/15/2005 10:00 on LAB, refresh 16.67ms, ID 42\r\n  Item RT\r\n  1 300\r\n";
};

TEST_F(FindSubjectByIdTest, SubjectCollectedTodayIsTakenWithoutAQuestion) {
  Input(kThree);
  EXPECT_TRUE(FindSubjectByID(s.session, "17"));
  EXPECT_EQ(state.subject.SubjectHeader, "12/09/2026 10:00 on LAB, refresh 16.67ms, ID 17");
  EXPECT_EQ(state.subject.SubjectDate.date, (Date{2026, 12, 9}));
  EXPECT_TRUE(s.prompts.Shown().empty());
  EXPECT_EQ(NextInputLine(), "  Item RT");
}

TEST_F(FindSubjectByIdTest, SubjectsFurtherOnAreReachedAndOtherDaysAsked) {
  Input(kThree);
  s.prompts.Yes();
  EXPECT_TRUE(FindSubjectByID(s.session, "42"));
  EXPECT_EQ(state.subject.SubjectDate.date, (Date{2005, 3, 15}));
  ASSERT_EQ(s.prompts.Shown().size(), 1u);
  EXPECT_EQ(s.prompts.Shown()[0].kind, ShownBox::Kind::Question);
  EXPECT_EQ(s.prompts.Shown()[0].text, "Data collected on: 3/15/2005");
  EXPECT_EQ(s.prompts.Shown()[0].caption, "Trelvox");
}

TEST_F(FindSubjectByIdTest, DeclinedSubjectIsNotTaken) {
  Input(kThree);
  s.prompts.No();
  EXPECT_FALSE(FindSubjectByID(s.session, "017"));
  EXPECT_EQ(state.subject.SubjectHeader, "03/14/2005 10:00 on LAB, refresh 16.67ms, ID 017");
  EXPECT_EQ(NextInputLine(), "  Item RT");
}

TEST_F(FindSubjectByIdTest, ComparisonIsExactAndNeverLooksBack) {
  Input(kThree);
  s.prompts.Yes();
  EXPECT_TRUE(FindSubjectByID(s.session, "42"));
  state.subject.SubjectDate = {Date{1999, 1, 1}, ""};
  EXPECT_FALSE(FindSubjectByID(s.session, "17"));  // stands before the read position
  EXPECT_EQ(state.subject.SubjectDate.date, (Date{1999, 1, 1}));
  EXPECT_TRUE(s.files.AtEnd(state.files.InFileNum));
}

TEST_F(FindSubjectByIdTest, IdsDifferingByPaddingDoNotMatch) {
  for (const std::string id : {"7", "17 ", "4", "x"}) {
    testing::SessionFixture fresh;
    WriteFile(fresh.dir.File("in.txt"), kThree);
    ASSERT_EQ(fresh.files.Open(1, fresh.dir.File("in.txt"), OpenMode::Input).errorNumber, 0);
    fresh.state.files.InFileNum = 1;
    EXPECT_FALSE(FindSubjectByID(fresh.session, id)) << id;
    EXPECT_EQ(fresh.state.subject.SubjectHeader, "  1 300") << id;
    EXPECT_TRUE(fresh.prompts.Shown().empty());
  }
}

TEST_F(FindSubjectByIdTest, MatchOnTheLastLineIsNotFound) {
  Input("Subject 9, 03/14/2005 10:00 on LAB, refresh 16.67ms, ID 9\r\n");
  EXPECT_FALSE(FindSubjectByID(s.session, "9"));
  EXPECT_TRUE(s.prompts.Shown().empty());
}

TEST_F(FindSubjectByIdTest, EmptyRequestReadsNothing) {
  Input(kThree);
  EXPECT_FALSE(FindSubjectByID(s.session, ""));
  EXPECT_EQ(state.subject.SubjectHeader, "");
  EXPECT_EQ(NextInputLine(), "Subject 1, 12/09/2026 10:00 on LAB, refresh 16.67ms, ID 17");
}

TEST_F(FindSubjectByIdTest, UnconvertedDateIsNeverToday) {
  Input("Subject 9, 1x/09/2026 10:00 on LAB, refresh 16.67ms, ID 9\r\nnext\r\n");
  s.prompts.Yes();
  EXPECT_TRUE(FindSubjectByID(s.session, "9"));
  const std::vector<std::string> texts = s.prompts.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1], "Data collected on: 1x/09/2026");
}

}  // namespace
}  // namespace trelvox
