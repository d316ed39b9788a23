#include "batch/BatchPrompts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace trelvox::batch {
namespace {

using enum MessageId;

MessageRequest Question(MessageId id, std::string text) {
  return {id, std::move(text), kAppTitle, Buttons::YesNo, Tone::Info};
}
MessageRequest Notice(MessageId id, std::string text, Tone tone = Tone::Info) {
  return {id, std::move(text), "", Buttons::Ok, tone};
}
InputRequest Prompt(MessageId id, std::string text) {
  return {id, std::move(text), kAppTitle};
}
FileDialogRequest Dialog(MessageId id, std::string title) {
  return {id, FileDialogKind::Open, std::move(title), "Files (*.dat)|*.dat"};
}
FileDialogRequest SubjectDialog(const std::string& subjectId) {
  return {SubjectFile,
          FileDialogKind::Save,
          "Save Data file for SUBID: " + subjectId,
          "Subject Files (*.dat)|*.dat",
          true,
          subjectId};
}

BatchOptions FullOptions() {
  BatchOptions options;
  options.composite = "comp";
  options.counters = "cnt";
  options.timeout = "2000";
  options.responses = "4";
  options.missingId = "P7";
  options.ids = {"S1", "S2"};
  return options;
}

class BatchPromptsTest : public ::testing::Test {
 protected:
  BatchOptions options = FullOptions();
  std::ostringstream out;
};

TEST_F(BatchPromptsTest, AnswersTheFileDialogsFromTheFlagsAndTheRun) {
  BatchPrompts prompts(options, out);
  prompts.BeginRun({"exp1.azk", true, false});
  EXPECT_EQ(prompts.ShowFileDialog(Dialog(InputFile, "Open AZK or ZIL file")), "exp1.azk");
  EXPECT_EQ(prompts.ShowFileDialog(Dialog(CompositeFile, "Designate Composite file")), "comp");
  EXPECT_EQ(prompts.ShowFileDialog(Dialog(CounterFile, "Designate Counter file")), "cnt");
  prompts.BeginRun({"exp2.azk", false, false});
  EXPECT_EQ(prompts.ShowFileDialog(Dialog(InputFile, "Open AZK or ZIL file")), "exp2.azk");
  EXPECT_TRUE(prompts.Unanswered().empty());
}

TEST_F(BatchPromptsTest, AnswersTheNumberAndIdQuestions) {
  BatchPrompts prompts(options, out);
  EXPECT_EQ(prompts.ShowInput(Prompt(TimeOutValue, "Enter TimeOut Value:")), "2000");
  EXPECT_EQ(
      prompts.ShowInput(Prompt(ResponsesPerTrial, "Enter Maximum Expected # Responses per Trial:")),
      "4");
  EXPECT_EQ(prompts.ShowInput(Prompt(ResponsesPerTrial, "Enter Expected # Responses per Trial:")),
            "4");
  EXPECT_EQ(prompts.ShowInput(Prompt(MissingSubjectId, "ID missing for subject on 6/26/2015")),
            "P7");
  EXPECT_TRUE(prompts.Unanswered().empty());
}

TEST_F(BatchPromptsTest, AnswersTheHeaderQuestionsAsDecidedForTheRun) {
  BatchPrompts prompts(options, out);
  prompts.BeginRun({"a.azk", true, false});
  EXPECT_EQ(prompts.ShowMessage(Question(NewCompositeFile, "Is this a new file?")), Answer::Yes);
  EXPECT_EQ(prompts.ShowMessage(Question(NewCounterFile, "Is this a new counter file?")),
            Answer::No);
  prompts.BeginRun({"b.azk", false, true});
  EXPECT_EQ(prompts.ShowMessage(Question(NewCompositeFile, "Is this a new file?")), Answer::No);
  EXPECT_EQ(prompts.ShowMessage(Question(NewCounterFile, "Is this a new counter file?")),
            Answer::Yes);
}

TEST_F(BatchPromptsTest, RequestsTheIdsInOrderAndGoesOnWhileIdsRemain) {
  BatchPrompts prompts(options, out);
  EXPECT_EQ(prompts.ShowInput(Prompt(SubjectIdToParse, "Enter Subject ID:")), "S1");
  EXPECT_EQ(prompts.ShowMessage(Question(DataCollectedOn, "Data collected on: 6/26/2015")),
            Answer::Yes);
  EXPECT_EQ(prompts.ShowMessage(Question(ParseAnotherSubject, "Parse another subject?")),
            Answer::Yes);
  EXPECT_EQ(prompts.ShowInput(Prompt(SubjectIdToParse, "Enter Subject ID:")), "S2");
  EXPECT_EQ(prompts.ShowMessage(Question(ParseAnotherSubject, "Parse another subject?")),
            Answer::No);
  EXPECT_TRUE(prompts.Unanswered().empty());
}

// Every box the flags answer is told apart by its id: reworded, it gets the same answer.
TEST_F(BatchPromptsTest, ARewordedBoxIsAnsweredAsBefore) {
  enum class Shown { Question, Input, File };
  struct Case {
    Shown shown;
    MessageId id;
    std::string text;
    std::string answer;
  };
  const std::vector<Case> cases = {
      {Shown::Question, NewCompositeFile, "Is this a new file?", "Yes"},
      {Shown::Question, NewCounterFile, "Is this a new counter file?", "No"},
      {Shown::Question, DataCollectedOn, "Data collected on: 6/26/2015", "Yes"},
      {Shown::Question, ParseAnotherSubject, "Parse another subject?", "Yes"},
      {Shown::Input, TimeOutValue, "Enter TimeOut Value:", "2000"},
      {Shown::Input, ResponsesPerTrial, "Enter Expected # Responses per Trial:", "4"},
      {Shown::Input, MissingSubjectId, "ID missing for subject on 6/26/2015", "P7"},
      {Shown::Input, SubjectIdToParse, "Enter Subject ID:", "S1"},
      {Shown::File, InputFile, "Open AZK or ZIL file", "exp1.azk"},
      {Shown::File, CompositeFile, "Designate Composite file", "comp"},
      {Shown::File, CounterFile, "Designate Counter file", "cnt"},
  };
  for (const Case& c : cases) {
    for (const std::string& text : {c.text, std::string("A wording no release ever had?")}) {
      BatchPrompts prompts(options, out);
      prompts.BeginRun({"exp1.azk", true, false});
      std::string answer;
      switch (c.shown) {
        case Shown::Question:
          answer = prompts.ShowMessage(Question(c.id, text)) == Answer::Yes ? "Yes" : "No";
          break;
        case Shown::Input:
          answer = prompts.ShowInput(Prompt(c.id, text));
          break;
        case Shown::File:
          answer = prompts.ShowFileDialog(Dialog(c.id, text));
          break;
      }
      EXPECT_EQ(answer, c.answer) << text;
      EXPECT_TRUE(prompts.Unanswered().empty()) << text;
    }
  }
}

TEST_F(BatchPromptsTest, TodayOnlyDeclinesSubjectsFromOtherDays) {
  options.todayOnly = true;
  BatchPrompts prompts(options, out);
  EXPECT_EQ(prompts.ShowMessage(Question(DataCollectedOn, "Data collected on: 6/26/2015")),
            Answer::No);
}

TEST_F(BatchPromptsTest, NamesSubjectFilesInTheFolderOnlyWhenOneIsGiven) {
  testing::TempDir dir;
  options.subjectDir = dir.File("subjects");
  BatchPrompts prompts(options, out);
  EXPECT_EQ(prompts.ShowFileDialog(SubjectDialog("C,1,EB")), dir.File("subjects/C_1_EB.dat"));
  EXPECT_EQ(prompts.ShowFileDialog(SubjectDialog("C.1.EB")), dir.File("subjects/C.1.EB.dat"));
  EXPECT_EQ(prompts.ShowFileDialog(SubjectDialog("C/1/EB")), dir.File("subjects/C_1_EB-2.dat"));
  EXPECT_EQ(prompts.ShowFileDialog(SubjectDialog("")), dir.File("subjects/subject4.dat"));
  FileDialogRequest reworded = SubjectDialog("S9");
  reworded.title = "Where does the copy of this subject go?";
  EXPECT_EQ(prompts.ShowFileDialog(reworded), dir.File("subjects/S9.dat"));
}

TEST_F(BatchPromptsTest, RemembersEveryBoxThatNoFlagAnswers) {
  options.counters.reset();
  options.timeout.reset();
  options.ids = {"S1"};
  BatchPrompts prompts(options, out);
  EXPECT_EQ(prompts.ShowFileDialog(Dialog(CounterFile, "Designate Counter file")), "");
  EXPECT_EQ(prompts.ShowInput(Prompt(TimeOutValue, "Enter TimeOut Value:")), "");
  EXPECT_EQ(prompts.ShowFileDialog(SubjectDialog("S1")), "");
  EXPECT_EQ(prompts.ShowInput(Prompt(SubjectIdToParse, "Enter Subject ID:")), "S1");
  EXPECT_EQ(prompts.ShowInput(Prompt(SubjectIdToParse, "Enter Subject ID:")), "");
  EXPECT_EQ(prompts.ShowMessage(Question(ParsingComplete, "Overwrite everything?")), Answer::No);
  EXPECT_EQ(prompts.Unanswered(),
            (std::vector<std::string>{"Designate Counter file",
                                      "Enter TimeOut Value:", "Save Data file for SUBID: S1",
                                      "Enter Subject ID:", "Overwrite everything?"}));
}

TEST_F(BatchPromptsTest, PrintsMessagesAndQuestionsWithTheirAnswersInOrder) {
  BatchPrompts prompts(options, out);
  prompts.BeginRun({"exp1.azk", true, true});
  prompts.ShowFileDialog(Dialog(InputFile, "Open AZK or ZIL file"));
  prompts.ShowInput(Prompt(TimeOutValue, "Enter TimeOut Value:"));
  prompts.ShowMessage(Question(NewCompositeFile, "Is this a new file?"));
  prompts.ShowMessage(Notice(SubjectIdDetected, "ID: 42 detected."));
  prompts.ShowMessage(
      Notice(SubjectReport,
             "3 trials parsed for ID: 42\r\n1 errors detected.\r\n0 no responses detected."));
  prompts.ShowInput(Prompt(MissingSubjectId, "ID missing for subject on 6/26/2015"));
  EXPECT_EQ(out.str(),
            "Open AZK or ZIL file [exp1.azk]\n"
            "Enter TimeOut Value: [2000]\n"
            "Is this a new file? [Yes]\n"
            "ID: 42 detected.\n"
            "3 trials parsed for ID: 42\n1 errors detected.\n0 no responses detected.\n"
            "ID missing for subject on 6/26/2015 [P7]\n");
}

TEST_F(BatchPromptsTest, QuietPrintsOnlyProblems) {
  options.quiet = true;
  BatchPrompts prompts(options, out);
  prompts.ShowFileDialog(Dialog(CompositeFile, "Designate Composite file"));
  prompts.ShowMessage(Question(NewCompositeFile, "Is this a new file?"));
  prompts.ShowMessage(Notice(ParsingComplete, "Parsing Complete!"));
  prompts.ShowMessage(Notice(ErrorOpeningFile, "Error opening file: comp.dat", Tone::Problem));
  EXPECT_EQ(out.str(), "Error opening file: comp.dat\n");
}

TEST(MessageLine, TurnsOnlyCrLfIntoNewlines) {
  EXPECT_EQ(MessageLine("a\r\nb\r\n\r\nc"), "a\nb\n\nc");
  EXPECT_EQ(MessageLine("lone\rcr"), "lone\rcr");
  EXPECT_EQ(QuestionLine("ID missing for subject on 6/26/2015", ""),
            "ID missing for subject on 6/26/2015 []");
}

TEST(FileMissingOrEmpty, TellsMissingAndEmptyFilesFromFilesWithRows) {
  testing::TempDir dir;
  testing::WriteFile(dir.File("empty.dat"), "");
  testing::WriteFile(dir.File("rows.dat"), "SubID\r\n");
  EXPECT_TRUE(FileMissingOrEmpty(dir.File("missing.dat")));
  EXPECT_TRUE(FileMissingOrEmpty(dir.File("empty.dat")));
  EXPECT_FALSE(FileMissingOrEmpty(dir.File("rows.dat")));
}

}  // namespace
}  // namespace trelvox::batch
