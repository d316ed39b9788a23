#include "commands/CommandRun.h"

#include <algorithm>
#include <cmath>

#include "output/OutputFormats.h"
#include "parse/TrialParsers.h"
#include "platform/Errors.h"
#include "platform/Int16.h"
#include "record/FileHelpers.h"

namespace trelvox {

namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

std::optional<std::int16_t> ToInt16(const std::optional<double>& number) {
  if (!number) {
    return std::nullopt;
  }
  const double rounded = std::nearbyint(*number);  // the default rounding mode: half to even
  if (!(rounded >= kInt16Min && rounded <= kInt16Max)) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(rounded);
}

std::string SubjectReport(const SubjectCounts& counts, std::string_view subjectId, InputType type,
                          ReportStyle style) {
  std::string report =
      std::to_string(counts.TrialCount) + " trials parsed for ID: " + std::string(subjectId);
  const bool azk = type == InputType::Azk;
  if (azk) {
    report += kCrLf + std::to_string(counts.ErrorCount) + " errors detected.";
  }
  if (azk || style == ReportStyle::ParseAll) {
    report += kCrLf + std::to_string(counts.NoResponseCount) + " no responses detected.";
  }
  return report;
}

void CommandRun::CloseSubjectFile() {
  Close(state_.files.SubjFileNum);
  inSubject_ = false;
}

CommandOutcome CommandRun::Guarded(const std::function<CommandOutcome()>& steps) {
  state_.notices.StartRun();
  CommandOutcome outcome = CommandOutcome::Failed;
  try {
    outcome = steps();
  } catch (const TrelvoxError& error) {
    // Close first: what is still buffered is written (or dropped when the disk refuses it), and
    // the box below then cannot trip over the same failure again.
    CloseEverythingQuietly();
    session_.ui.Problem(MessageId::CommandStopped, StoppedMessage(error.what()));
    TellSubjectProblems();  // what the stopped subject met before the stop
  }
  TellRunNotices();
  return outcome;
}

void CommandRun::TellSubjectProblems() {
  const std::string problems = state_.notices.SubjectProblems(state_.subject.SubjectID);
  state_.notices.ClearSubjectProblems();
  if (!problems.empty()) {
    session_.ui.Problem(MessageId::SubjectProblemLines, problems);
  }
}

void CommandRun::TellRunNotices() {
  const std::string longTrials = state_.notices.LongTrialsReport();
  if (!longTrials.empty()) {
    session_.ui.Problem(MessageId::LongTrials, longTrials);
  }
}

std::string CommandRun::StoppedMessage(const std::string& reason) const {
  std::string text = reason + kCrLf;
  text += inSubject_ ? "Parsing stopped in the subject with ID: " + state_.subject.SubjectID + "."
                     : std::string("Parsing stopped.");
  return text + kCrLf + "The files keep every row written before this point.";
}

bool CommandRun::Open(const std::string& path, std::int16_t& channel, OpenMode mode) {
  if (OpenFile(session_.files, session_.ui, path, channel, mode) > 0) {
    return false;
  }
  opened_.push_back(channel);
  return true;
}

void CommandRun::Close(std::int16_t channel) {
  const auto found = std::find(opened_.begin(), opened_.end(), channel);
  if (found == opened_.end()) {
    return;  // never opened by this command (an option that is off, or a stale number)
  }
  opened_.erase(found);
  session_.files.Close(channel);
}

void CommandRun::CloseEverythingQuietly() noexcept {
  for (const std::int16_t channel : opened_) {
    session_.files.CloseQuietly(channel);
  }
  opened_.clear();
}

CommandOutcome CommandRun::EndEarly(CommandOutcome outcome) {
  for (const std::int16_t channel : std::vector<std::int16_t>(opened_)) {
    Close(channel);
  }
  return outcome;
}

void CommandRun::TellNoSubjectHeader() {
  session_.ui.Problem(
      MessageId::NoSubjectHeader,
      "No subject header was found in " + state_.files.InFileName + ", so nothing was converted." +
          kCrLf +
          "A subject's block starts with a header line containing \"Subject\" and \"refresh\", "
          "such as:" +
          kCrLf + "Subject 1, 03/14/2024 09:31:07 on LAB-PC2, refresh 16.67ms, ID P01" + kCrLf +
          "The file's first lines, the header among them, may have been cut off.");
}

void CommandRun::CloseRunFiles() {
  Close(state_.files.InFileNum);
  Close(state_.files.CompFileNum);
  Close(state_.files.CntFileNum);
}

std::optional<CommandOutcome> CommandRun::OpenFiles(std::string_view responsesPrompt) {
  if (auto ended = OpenInput()) {
    return ended;
  }
  if (auto ended = AskNumbers(responsesPrompt)) {
    return ended;
  }
  if (auto ended = OpenComposite()) {
    return ended;
  }
  if (state_.options.SaveCounters) {
    return OpenCounters();
  }
  return std::nullopt;
}

std::optional<CommandOutcome> CommandRun::OpenInput() {
  if (GetFileName(session_.ui, state_.files.InFileName,
                  {MessageId::InputFile, FileDialogKind::Open, "Open AZK or ZIL file",
                   "DMDX Files (*.*)|*.*"})
          .empty()) {
    return CommandOutcome::Cancelled;
  }
  if (!Open(state_.files.InFileName, state_.files.InFileNum, OpenMode::Input)) {
    return CommandOutcome::Failed;
  }
  state_.files.InFileType = InputTypeOf(state_.files.InFileName);
  return std::nullopt;
}

std::optional<std::int16_t> CommandRun::AskNumber(MessageId id, std::string_view prompt) {
  while (true) {
    const std::string answer = session_.ui.Input(id, prompt);
    if (answer.find_first_not_of(" \t") == std::string::npos) {
      return std::nullopt;
    }
    if (const auto number = ToInt16(session_.locale.ParseNumber(answer))) {
      return number;
    }
    session_.ui.Problem(MessageId::NotANumber, "\"" + answer +
                                                   "\" is not a number from -32768 to 32767." +
                                                   kCrLf + "Please enter it again.");
  }
}

std::optional<CommandOutcome> CommandRun::AskNumbers(std::string_view responsesPrompt) {
  if (state_.files.InFileType == InputType::Zil) {
    const auto responses = AskNumber(MessageId::ResponsesPerTrial, responsesPrompt);
    if (!responses) {
      return EndEarly(CommandOutcome::Cancelled);
    }
    state_.answers.MaxResponses = *responses;
  }
  if (state_.files.InFileType == InputType::Azk) {
    const auto timeOut = AskNumber(MessageId::TimeOutValue, "Enter TimeOut Value:");
    if (!timeOut) {
      return EndEarly(CommandOutcome::Cancelled);
    }
    state_.answers.TimeOut = *timeOut;
  }
  return std::nullopt;
}

std::optional<CommandOutcome> CommandRun::ChooseAndOpenOutput(const OutputFile& file) {
  if (GetFileName(session_.ui, file.name, file.dialog).empty()) {
    return EndEarly(CommandOutcome::Cancelled);
  }
  file.name = ApplyDatExtension(file.name);
  if (!Open(file.name, file.channel, file.mode)) {
    return EndEarly(CommandOutcome::Failed);
  }
  return std::nullopt;
}

std::optional<CommandOutcome> CommandRun::OpenComposite() {
  if (auto ended =
          ChooseAndOpenOutput({state_.files.CompFileName,
                               state_.files.CompFileNum,
                               {MessageId::CompositeFile, FileDialogKind::Open,
                                "Designate Composite file", "Composite Files (*.dat)|*.dat"},
                               OpenMode::Append})) {
    return ended;
  }
  if (!session_.ui.AskYesNo(MessageId::NewCompositeFile, "Is this a new file?")) {
    return std::nullopt;
  }
  const std::optional<std::string> header =
      CompositeHeaderFor(state_.files.InFileType, state_.options, state_.answers.MaxResponses);
  if (!header) {
    TellUnknownInputType();
    Close(state_.files.CompFileNum);
    Close(state_.files.InFileNum);
    return CommandOutcome::Failed;
  }
  session_.files.WriteLine(state_.files.CompFileNum, *header);
  return std::nullopt;
}

std::optional<CommandOutcome> CommandRun::OpenCounters() {
  if (auto ended = ChooseAndOpenOutput({state_.files.CntFileName,
                                        state_.files.CntFileNum,
                                        {MessageId::CounterFile, FileDialogKind::Open,
                                         "Designate Counter file", "Counter Files (*.dat)|*.dat"},
                                        OpenMode::Append})) {
    return ended;
  }
  if (session_.ui.AskYesNo(MessageId::NewCounterFile, "Is this a new counter file?")) {
    session_.files.WriteLine(state_.files.CntFileNum, CounterHeader());
  }
  return std::nullopt;
}

std::optional<CommandOutcome> CommandRun::OpenSubjectFile() {
  inSubject_ = true;
  if (!state_.options.SaveIndFiles) {
    return std::nullopt;
  }
  const std::string& id = state_.subject.SubjectID;
  return ChooseAndOpenOutput({state_.files.SubjFileName,
                              state_.files.SubjFileNum,
                              {.id = MessageId::SubjectFile,
                               .kind = FileDialogKind::Save,
                               .title = "Save Data file for SUBID: " + id,
                               .filter = "Subject Files (*.dat)|*.dat",
                               .subjectId = id},
                              OpenMode::Output});
}

std::optional<CommandOutcome> CommandRun::ConvertSubject(ReportStyle style) {
  if (auto ended = OpenSubjectFile()) {
    return ended;
  }
  if (auto ended = ParseSubject()) {
    return ended;
  }
  ++subjectsConverted_;
  session_.ui.Message(
      MessageId::SubjectReport,
      SubjectReport(state_.counts, state_.subject.SubjectID, state_.files.InFileType, style), "");
  TellSubjectProblems();
  CloseSubjectFile();
  return std::nullopt;
}

void CommandRun::TellUnknownInputType() {
  session_.ui.Problem(MessageId::UnknownInputType,
                      "Unknown input filetype: " + InputTypeLetters(state_.files.InFileName));
}

CommandOutcome CommandRun::UnknownInputType() {
  TellUnknownInputType();
  Close(state_.files.CompFileNum);
  Close(state_.files.InFileNum);
  Close(state_.files.SubjFileNum);
  Close(state_.files.CntFileNum);
  return CommandOutcome::Failed;
}

std::optional<CommandOutcome> CommandRun::ParseSubject() {
  switch (state_.files.InFileType) {
    case InputType::Zil:
      ParseZILTrials(session_);
      return std::nullopt;
    case InputType::Azk:
      ParseAZKTrials(session_);
      return std::nullopt;
    case InputType::Unknown:
      break;
  }
  return UnknownInputType();
}

}  // namespace trelvox
