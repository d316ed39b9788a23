#include <filesystem>

#include "commands/CommandFixture.h"

namespace trelvox {
namespace {

using testing::CommandFixture;
using testing::kAzkHeader;
using testing::kTwoAzkSubjects;
using testing::kTwoAzkSubjectsRows;
using testing::ShownBox;

class ParseAllCommand : public CommandFixture {};

TEST_F(ParseAllCommand, AzkRunFromTheFirstDialogToParsingComplete) {
  prompts.Choose(Write("exp1.azk", kTwoAzkSubjects)).Type("2000").Choose(Path("results")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "open: Open AZK or ZIL file",
                         "input: Enter TimeOut Value:",
                         "open: Designate Composite file",
                         "yes/no: Is this a new file?",
                         "ok: ID: A1 detected.",
                         "ok: 3 trials parsed for ID: A1\r\n1 errors detected.\r\n"
                         "1 no responses detected.",
                         "ok: ID: B2 detected.",
                         "ok: 1 trials parsed for ID: B2\r\n0 errors detected.\r\n"
                         "0 no responses detected.",
                         "ok: Parsing Complete!",
                     }));
  const auto& shown = prompts.Shown();
  EXPECT_EQ(shown[0].filter, "DMDX Files (*.*)|*.*");
  EXPECT_EQ(shown[1].caption, "Trelvox");
  EXPECT_EQ(shown[2].filter, "Composite Files (*.dat)|*.dat");
  EXPECT_EQ(shown[4].caption, "");
  EXPECT_EQ(shown[5].caption, "");
  EXPECT_EQ(shown[8].caption, "Trelvox");
  EXPECT_EQ(Read("results.dat"), kAzkHeader + kTwoAzkSubjectsRows);
  EXPECT_EQ(state.files.CompFileName, Path("results.dat"));
  EXPECT_EQ(state.files.InFileType, InputType::Azk);
  EXPECT_EQ(state.answers.TimeOut, 2000);
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseAllCommand, ZilRunReportsTwoLinesAndWritesTheZilHeader) {
  const std::string input =
      Write("exp1.ZIL",
            "Subject 5, 07/02/2015 11:36:01 on LAB, refresh 16.67ms, ID D,5\r\n"
            "Item 36, -3116.15\r\n 3116.15,+2\r\nItem 40, No Responses.\r\n\r\n");
  state.options.ZORFormat = true;
  prompts.Choose(input).Type("1").Choose(Path("zil.dat")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "open: Open AZK or ZIL file",
                         "input: Enter Maximum Expected # Responses per Trial:",
                         "open: Designate Composite file",
                         "yes/no: Is this a new file?",
                         "ok: ID: D,5 detected.",
                         "ok: 2 trials parsed for ID: D,5\r\n1 no responses detected.",
                         "ok: Parsing Complete!",
                     }));
  EXPECT_EQ(Read("zil.dat"),
            "SubID\tDate\tTrialNum\tTrialID\tZOR_RT\tRT1\tBUT1\r\n"
            "D,5\t7/2/2015\t1\t36\t-3116.15\t3116.15\t+2\r\n"
            "D,5\t7/2/2015\t2\t40\tNoResponse\r\n");
}

// A ZIL file without ZOR times parsed as ZOR formatted: one box per subject after its report,
// not one per item line; and the trials with more responses than expected told at the end.
TEST_F(ParseAllCommand, ProblemLinesAreToldOncePerSubjectAndLongTrialsOncePerRun) {
  std::string input;
  for (const char* id : {"SSS001", "SSS002"}) {
    input += std::string("Subject 1, 03/01/2004 10:00:00 on LAB, refresh 16.67ms, ID ") + id +
             "\r\nItem 3333, No Responses.\r\n";
    for (int i = 1; i <= 12; ++i) {
      input += "Item " + std::to_string(i) + "\r\n 100,+1\r\n";
    }
    input += "Item 99\r\n 1,+1 2,-1 3,+1\r\n\r\n";
  }
  state.options.ZORFormat = true;
  prompts.Choose(Write("run.zil", input)).Type("2").Choose(Path("r")).No();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  std::string listing = "The first 10, as found:";
  for (int i = 1; i <= 10; ++i) {
    listing += "\r\nItem " + std::to_string(i);
  }
  listing += "\r\n... and 3 more.";
  const std::string problem =
      " 13 item lines without a ZOR reaction time (field 3). The ZOR_RT column is left empty in "
      "each such row. If the file is not ZOR formatted, parse it again with \"File is ZOR "
      "formatted\" off (trelvox-batch: without --zor).\r\n" +
      listing;
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "open: Open AZK or ZIL file",
                         "input: Enter Maximum Expected # Responses per Trial:",
                         "open: Designate Composite file",
                         "yes/no: Is this a new file?",
                         "ok: ID: SSS001 detected.",
                         "ok: 14 trials parsed for ID: SSS001\r\n1 no responses detected.",
                         "ok: Subject SSS001:" + problem,
                         "ok: ID: SSS002 detected.",
                         "ok: 14 trials parsed for ID: SSS002\r\n1 no responses detected.",
                         "ok: Subject SSS002:" + problem,
                         "ok: Parsing Complete!",
                         "ok: 2 trials had more responses than the 2 expected; the most in one "
                         "trial was 3.\r\nTheir rows have more columns than the header row names, "
                         "which statistics programs may refuse or misread.\r\nTo name every "
                         "column, parse the file again into a new composite file with 3 as the "
                         "expected number of responses.",
                     }));
  EXPECT_TRUE(
      Read("r.dat").starts_with("SSS001\t3/1/2004\t1\t3333\tNoResponse\r\n"
                                "SSS001\t3/1/2004\t2\t1\t\t100\t+1\r\n"));
}

TEST_F(ParseAllCommand, CountersAndSubjectFilesWhenTheirOptionsAreOn) {
  state.options.SaveCounters = true;
  state.options.SaveIndFiles = true;
  const std::string input = Write("c.azk",
                                  "Subject 1, 03/14/2005 09:30 on LAB, refresh 16.67ms, ID A1\r\n"
                                  "  Item RT\r\n!  Counter 1 has value 3\r\n 1 100\r\n");
  prompts.Choose(input).Type("2000").Choose(Path("comp")).No().Choose(Path("counts.txt")).Yes();
  prompts.Choose(Path("A1"));
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  const auto& shown = prompts.Shown();
  ASSERT_EQ(shown.size(), 10u);
  EXPECT_EQ(shown[4].text, "Designate Counter file");
  EXPECT_EQ(shown[4].filter, "Counter Files (*.dat)|*.dat");
  EXPECT_EQ(shown[5].text, "Is this a new counter file?");
  EXPECT_EQ(shown[7].kind, ShownBox::Kind::SaveDialog);
  EXPECT_EQ(shown[7].text, "Save Data file for SUBID: A1");
  EXPECT_EQ(shown[7].filter, "Subject Files (*.dat)|*.dat");
  EXPECT_TRUE(shown[7].confirmOverwrite);
  EXPECT_EQ(Read("comp.dat"), "A1\t3/14/2005\t1\t1\t100\t0\r\n");  // No: no header row
  EXPECT_EQ(Read("counts.txt.dat"),
            "SubID\tDate\tIndex\tCntType\tCntValue\r\nA1\t3/14/2005\t1\t1\t3\r\n");
  EXPECT_EQ(Read("A1.dat"),
            "03/14/2005 09:30 on LAB, refresh 16.67ms, ID A1\r\n  Item RT\r\n"
            "!  Counter 1 has value 3\r\n 1 100\r\n");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseAllCommand, YesForAFileWithRowsAppendsASecondHeader) {
  const std::string input = Write("exp1.azk", kTwoAzkSubjects);
  Write("results.DAT", "old\r\n");
  prompts.Choose(input).Type("2000").Choose(Path("results.DAT")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Completed);
  EXPECT_EQ(Read("results.DAT"), "old\r\n" + kAzkHeader + kTwoAzkSubjectsRows);
}

TEST_F(ParseAllCommand, CotHeaderForAzk) {
  state.options.COTIncluded = true;
  prompts.Choose(Write("e.azk", "")).Type("1").Choose(Path("r")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::NothingConverted);
  EXPECT_EQ(Read("r.dat"), "SubID\tDate\tTrialNum\tTrialID\tRT\tCOT\tError\r\n");
}

TEST_F(ParseAllCommand, NumberQuestionsAskAgainUntilTheAnswerFits) {
  struct Case {
    std::vector<std::string> answers;
    int timeOut;
    int complaints;
  };
  const std::vector<Case> cases = {
      {{"2000.5"}, 2000, 0}, {{"2001.5"}, 2002, 0},         {{"-0.5"}, 0, 0},
      {{" 15 "}, 15, 0},     {{"abc", "40000", "7"}, 7, 2}, {{"32767.5", "-32768"}, -32768, 1},
      {{"1e3", "3"}, 3, 1},  {{"32767"}, 32767, 0},         {{"+-2000", "2000"}, 2000, 1},
  };
  for (const Case& c : cases) {
    testing::SessionFixture fresh;
    const std::string input = fresh.dir.File("e.azk");
    testing::WriteFile(input, "");
    fresh.prompts.Choose(input);
    for (const std::string& answer : c.answers) {
      fresh.prompts.Type(answer);
    }
    fresh.prompts.Choose(fresh.dir.File("r")).No();
    EXPECT_EQ(ParseAll(fresh.session), CommandOutcome::NothingConverted);
    EXPECT_EQ(fresh.state.answers.TimeOut, c.timeOut) << c.answers.back();
    const std::vector<std::string> messages = fresh.prompts.Messages();
    ASSERT_EQ(static_cast<int>(messages.size()), c.complaints + 2);  // + no subject, complete
    if (c.complaints > 0) {
      EXPECT_EQ(messages[0],
                "\"" + c.answers[0] +
                    "\" is not a number from -32768 to 32767.\r\nPlease enter it again.");
    }
  }
}

TEST_F(ParseAllCommand, LargestResponseCountBuildsItsHeader) {
  prompts.Choose(Write("e.zil", "")).Type("32767").Choose(Path("r")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::NothingConverted);
  EXPECT_TRUE(Read("r.dat").ends_with("\tRT32767\tBUT32767\r\n"));
}

TEST_F(ParseAllCommand, ZilAnswerIsAskedEvenWhenNoHeaderIsWritten) {
  prompts.Choose(Write("e.zil", "")).Type("0").Choose(Path("r")).No();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::NothingConverted);
  EXPECT_EQ(state.answers.MaxResponses, 0);
  EXPECT_EQ(Read("r.dat"), "");
}

// Every way out: how the command ended, the last box the user saw, and nothing left open.
TEST_F(ParseAllCommand, EveryWayOutClosesWhatItOpened) {
  using Script = std::function<void(const testing::TempDir&, testing::ScriptedPrompts&)>;
  struct WayOut {
    std::string name;
    Script script;
    bool counters, subjects;
    CommandOutcome outcome;
    std::string lastBox;
  };
  const auto upToComposite = [](const testing::TempDir& d, testing::ScriptedPrompts& p) {
    p.Choose(d.File("in.azk")).Type("1").Choose(d.File("r")).No();
  };
  const std::vector<WayOut> cases = {
      {"input cancelled", [](auto&, auto& p) { p.Cancel(); }, false, false,
       CommandOutcome::Cancelled, "open: Open AZK or ZIL file"},
      {"input missing", [](auto& d, auto& p) { p.Choose(d.File("missing.azk")); }, false, false,
       CommandOutcome::Failed, "ok: Error opening file: "},
      {"time-out cancelled", [](auto& d, auto& p) { p.Choose(d.File("in.azk")).Cancel(); }, false,
       false, CommandOutcome::Cancelled, "input: Enter TimeOut Value:"},
      {"time-out blank", [](auto& d, auto& p) { p.Choose(d.File("in.azk")).Type("  "); }, false,
       false, CommandOutcome::Cancelled, "input: Enter TimeOut Value:"},
      {"composite cancelled",
       [](auto& d, auto& p) { p.Choose(d.File("in.azk")).Type("1").Cancel(); }, false, false,
       CommandOutcome::Cancelled, "open: Designate Composite file"},
      {"composite not opened",
       [](auto& d, auto& p) { p.Choose(d.File("in.azk")).Type("1").Choose(d.File("no/r")); }, false,
       false, CommandOutcome::Failed, "ok: Error opening file: "},
      {"counter cancelled",
       [&](auto& d, auto& p) {
         upToComposite(d, p);
         p.Cancel();
       },
       true, false, CommandOutcome::Cancelled, "open: Designate Counter file"},
      {"counter not opened",
       [&](auto& d, auto& p) {
         upToComposite(d, p);
         p.Choose(d.File("no/c"));
       },
       true, false, CommandOutcome::Failed, "ok: Error opening file: "},
      {"subject cancelled",
       [&](auto& d, auto& p) {
         upToComposite(d, p);
         p.Choose(d.File("c")).No().Cancel();
       },
       true, true, CommandOutcome::Cancelled, "save: Save Data file for SUBID: A1"},
      {"subject not opened",
       [&](auto& d, auto& p) {
         upToComposite(d, p);
         p.Choose(d.File("no/s"));
       },
       false, true, CommandOutcome::Failed, "ok: Error opening file: "},
      {"end of input", upToComposite, false, false, CommandOutcome::Completed,
       "ok: Parsing Complete!"},
  };
  for (const WayOut& c : cases) {
    testing::CommandWorld run;
    run.Write("in.azk", kTwoAzkSubjects);
    run.state.options.SaveCounters = c.counters;
    run.state.options.SaveIndFiles = c.subjects;
    c.script(run.s.dir, run.prompts);
    EXPECT_EQ(ParseAll(run.s.session), c.outcome) << c.name;
    ASSERT_FALSE(run.Boxes().empty()) << c.name;
    EXPECT_TRUE(run.Boxes().back().starts_with(c.lastBox)) << c.name << ": " << run.Boxes().back();
    EXPECT_TRUE(run.OpenChannels().empty()) << c.name;
    EXPECT_EQ(run.prompts.Unanswered(), 0u) << c.name;
    if (c.outcome != CommandOutcome::Completed && std::filesystem::exists(run.Path("r.dat"))) {
      EXPECT_EQ(run.Read("r.dat"), "") << c.name;  // no subject was converted
    }
  }
}

TEST_F(ParseAllCommand, UnknownInputTypeAtTheHeaderRow) {
  prompts.Choose(Write("data.txt", kTwoAzkSubjects)).Choose(Path("r")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Failed);
  EXPECT_EQ(Boxes().back(), "ok: Unknown input filetype: TXT");
  EXPECT_EQ(Boxes().size(), 4u);  // no number question for an unknown type
  EXPECT_EQ(Read("r.dat"), "");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseAllCommand, UnknownInputTypeInTheSubjectLoop) {
  state.options.SaveCounters = true;
  prompts.Choose(Write("data.txt", kTwoAzkSubjects)).Choose(Path("r")).No();
  prompts.Choose(Path("c")).No();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Failed);
  EXPECT_EQ(Boxes().back(), "ok: Unknown input filetype: TXT");
  EXPECT_EQ(Boxes()[Boxes().size() - 2], "ok: ID: A1 detected.");
  EXPECT_TRUE(OpenChannels().empty());
}

TEST_F(ParseAllCommand, UnknownInputTypeWithoutSubjectsIsNotTold) {
  prompts.Choose(Write("data.txt", "no subjects here\r\n")).Choose(Path("r")).No();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::NothingConverted);
  EXPECT_EQ(Boxes().back(), "ok: Parsing Complete!");
}

// A file cut off before its first header (a real ZIL file of 792 items did so) converts nothing:
// said before "Parsing Complete!", with what a header looks like. A header that is the file's
// last line has no block, so it counts as none.
TEST_F(ParseAllCommand, AFileWithoutASubjectHeaderSaysThatNothingWasConverted) {
  for (const std::string content : {"Item 36, -3116.15\r\n 3116.15,+2\r\n\r\n",
                                    "Subject 1, 03/14/2005 09:30 on LAB, refresh 16.67ms, ID A1"}) {
    CommandWorld world;
    const std::string input = world.Write("cut.zil", content);
    world.prompts.Choose(input).Type("2").Choose(world.Path("r")).Yes();
    EXPECT_EQ(ParseAll(world.s.session), CommandOutcome::NothingConverted);
    const std::vector<std::string> boxes = world.Boxes();
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[4],
              "ok: No subject header was found in " + input +
                  ", so nothing was converted.\r\nA subject's block starts with a header line "
                  "containing \"Subject\" and \"refresh\", such as:\r\nSubject 1, "
                  "03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01\r\nThe file's first "
                  "lines, the header among them, may have been cut off.");
    EXPECT_EQ(world.prompts.Shown()[4].tone, Tone::Problem);
    EXPECT_EQ(boxes[5], "ok: Parsing Complete!");
    EXPECT_EQ(world.Read("r.dat"), "SubID\tDate\tTrialNum\tTrialID\tRT1\tBUT1\tRT2\tBUT2\r\n");
    EXPECT_TRUE(world.OpenChannels().empty());
  }
}

TEST_F(ParseAllCommand, OverflowStopsTheRunAndKeepsEarlierSubjects) {
  std::string input = kTwoAzkSubjects +
                      "Subject 3, 03/16/2005 on LAB, refresh 16.67ms, ID C3\r\ncols\r\n"
                      "*** ABORTED ***\r\n";
  for (int i = 0; i < 32768; ++i) {
    input += " 1 100\r\n";
  }
  prompts.Choose(Write("big.azk", input)).Type("2000").Choose(Path("r")).No();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Failed);
  const std::vector<std::string> texts = prompts.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2],
            "Overflow: the trial count of one subject passed 32767.\r\n"
            "Parsing stopped in the subject with ID: C3.\r\n"
            "The files keep every row written before this point.");
  // What the stopped subject met before the stop is still told.
  EXPECT_TRUE(texts.back().starts_with("Subject C3: 1 line without a reaction time"))
      << texts.back();
  const std::string rows = Read("r.dat");
  EXPECT_TRUE(rows.starts_with(kTwoAzkSubjectsRows));
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 4 + 32767);
  EXPECT_TRUE(OpenChannels().empty());
  for (const std::string& text : prompts.Texts()) {
    EXPECT_NE(text, "Parsing Complete!");
  }
}

TEST_F(ParseAllCommand, FailedWriteIsReportedWithThePathAndNeverAsComplete) {
  s.disk.Fill(Path("full.dat"));
  prompts.Choose(Write("exp1.azk", kTwoAzkSubjects)).Type("2000").Choose(Path("full.dat")).Yes();
  EXPECT_EQ(ParseAll(s.session), CommandOutcome::Failed);
  const std::string last = prompts.Shown().back().text;
  EXPECT_TRUE(
      last.starts_with("Could not write to " + Path("full.dat") + ": No space left on device\r\n"))
      << last;
  for (const std::string& text : prompts.Texts()) {
    EXPECT_NE(text, "Parsing Complete!");
  }
  EXPECT_TRUE(OpenChannels().empty());
}

}  // namespace
}  // namespace trelvox
