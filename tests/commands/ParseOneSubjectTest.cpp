#include "commands/CommandFixture.h"

namespace trelvox {
namespace {

using testing::CommandFixture;
using testing::kAzkHeader;

const std::string kThreeSubjects =
    "Subjects incorporated to date: 003\r\n\r\n"
    "Subject 1, 03/14/2005 09:30 on LAB, refresh 16.67ms, ID S1\r\n  Item RT\r\n  1 100\r\n\r\n"
    "Subject 2, 12/09/2026 09:30 on LAB, refresh 16.67ms, ID S2\r\n  Item RT\r\n  2 -2000\r\n"
    "  3 -5\r\n\r\n"
    "Subject 3, 03/16/2005 09:30 on LAB, refresh 16.67ms, ID S3\r\n  Item RT\r\n  4 300\r\n\r\n";

class ParseOneCommand : public CommandFixture {
 protected:
  void OpenAzk() {
    prompts.Choose(Write("three.azk", kThreeSubjects)).Type("2000").Choose(Path("r")).Yes();
  }
};

TEST_F(ParseOneCommand, ConvertsRequestedSubjectsInFileOrder) {
  OpenAzk();
  prompts.Type("S2").Yes().Type("S3").Yes().No();
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Completed);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "open: Open AZK or ZIL file",
                         "input: Enter TimeOut Value:",
                         "open: Designate Composite file",
                         "yes/no: Is this a new file?",
                         "input: Enter Subject ID:",
                         // collected "today": no date question
                         "ok: 2 trials parsed for ID: S2\r\n1 errors detected.\r\n"
                         "1 no responses detected.",
                         "yes/no: Parse another subject?",
                         "input: Enter Subject ID:",
                         "yes/no: Data collected on: 3/16/2005",
                         "ok: 1 trials parsed for ID: S3\r\n0 errors detected.\r\n"
                         "0 no responses detected.",
                         "yes/no: Parse another subject?",
                     }));
  EXPECT_EQ(prompts.Shown()[5].caption, "");
  EXPECT_EQ(prompts.Shown()[6].caption, "Trelvox");
  EXPECT_EQ(Read("r.dat"), kAzkHeader +
                               "S2\t12/9/2026\t1\t2\t-2000\t2\r\n"
                               "S2\t12/9/2026\t2\t3\t-5\t1\r\n"
                               "S3\t3/16/2005\t1\t4\t300\t0\r\n");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseOneCommand, ASubjectBeforeTheReadPositionIsNotFound) {
  OpenAzk();
  prompts.Type("S3").Yes().Yes().Type("S2");
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Failed);
  EXPECT_EQ(Boxes().back(), "ok: SubID S2 not found!");
  EXPECT_EQ(Boxes()[Boxes().size() - 2], "input: Enter Subject ID:");  // the file has headers
  EXPECT_EQ(Read("r.dat"), kAzkHeader + "S3\t3/16/2005\t1\t4\t300\t0\r\n");
  EXPECT_TRUE(OpenChannels().empty());
}

// Not merely another ID: a file without any subject header is told as in Parse All.
TEST_F(ParseOneCommand, AFileWithoutASubjectHeaderSaysSoBeforeNotFound) {
  const std::string input = Write("cut.azk", "    1  512.20\r\n    2  -2000.00\r\n");
  prompts.Choose(input).Type("2000").Choose(Path("r")).No().Type("S1");
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Failed);
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 7u);
  EXPECT_TRUE(boxes[5].starts_with("ok: No subject header was found in " + input +
                                   ", so nothing was converted.\r\n"))
      << boxes[5];
  EXPECT_EQ(boxes[6], "ok: SubID S1 not found!");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseOneCommand, DeclinedSubjectIsReportedAsNotFound) {
  OpenAzk();
  prompts.Type("S1").No();
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Failed);
  EXPECT_EQ(Boxes().back(), "ok: SubID S1 not found!");
  EXPECT_EQ(Boxes()[Boxes().size() - 2], "yes/no: Data collected on: 3/14/2005");
  EXPECT_EQ(Read("r.dat"), kAzkHeader);
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseOneCommand, CancelledIdEndsQuietlyWithoutALookup) {
  for (const bool typeEmpty : {false, true}) {
    testing::CommandWorld run;
    run.prompts.Choose(run.Write("three.azk", kThreeSubjects)).Type("2000");
    run.prompts.Choose(run.Path("r")).No();
    if (typeEmpty) {
      run.prompts.Type("");
    } else {
      run.prompts.Cancel();
    }
    EXPECT_EQ(ParseOneSubject(run.s.session), CommandOutcome::Cancelled);
    EXPECT_EQ(run.Boxes().back(), "input: Enter Subject ID:");
    EXPECT_TRUE(run.OpenChannels().empty());
  }
}

TEST_F(ParseOneCommand, ZilReportIsOneLineAndAsksTheExpectedResponses) {
  const std::string input = Write("e.zil",
                                  "Subject 1, 12/09/2026 09:30 on LAB, refresh 16.67ms, ID Z\r\n"
                                  "Item 1, 5\r\n 5,+1\r\nItem 2, No Responses.\r\n");
  prompts.Choose(input).Type("1").Choose(Path("r")).No().Type("Z").No();
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Completed);
  EXPECT_EQ(Boxes()[1], "input: Enter Expected # Responses per Trial:");
  EXPECT_EQ(Boxes()[5], "ok: 2 trials parsed for ID: Z");
  EXPECT_EQ(Read("r.dat"), "Z\t12/9/2026\t1\t1\t5\t+1\r\nZ\t12/9/2026\t2\t2\r\n");
}

TEST_F(ParseOneCommand, SubjectFileDialogNamesTheRequestedId) {
  state.options.SaveIndFiles = true;
  OpenAzk();
  prompts.Type("S2").Choose(Path("s2.txt")).No();
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Completed);
  EXPECT_EQ(Boxes()[5], "save: Save Data file for SUBID: S2");
  EXPECT_EQ(
      Read("s2.txt.dat"),
      "12/09/2026 09:30 on LAB, refresh 16.67ms, ID S2\r\n  Item RT\r\n  2 -2000\r\n  3 -5\r\n");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseOneCommand, CancelledSubjectFileDialogClosesEverything) {
  state.options.SaveIndFiles = true;
  OpenAzk();
  prompts.Type("S2").Cancel();
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Cancelled);
  EXPECT_TRUE(OpenChannels().empty());
  EXPECT_EQ(Read("r.dat"), kAzkHeader);
}

TEST_F(ParseOneCommand, UnknownTypeIsReportedAfterTheLookup) {
  prompts.Choose(Write("three.txt", kThreeSubjects)).Choose(Path("r")).No().Type("S2");
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Failed);
  EXPECT_EQ(Boxes().back(), "ok: Unknown input filetype: TXT");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseOneCommand, SharedOpeningStepsEndAsInParseAll) {
  prompts.Choose(Write("three.azk", kThreeSubjects)).Type("1").Cancel();
  EXPECT_EQ(ParseOneSubject(s.session), CommandOutcome::Cancelled);
  EXPECT_EQ(Boxes().back(), "open: Designate Composite file");
  EXPECT_TRUE(OpenChannels().empty());
}

}  // namespace
}  // namespace trelvox
