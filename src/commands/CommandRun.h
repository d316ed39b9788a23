#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/Commands.h"
#include "output/CompositeRows.h"

namespace trelvox {

// Parse All reports trials without response for every input type, Parse One Subject only for
// AZK input.
enum class ReportStyle { ParseAll, ParseOne };

// What the two parse commands share: the files they opened, the steps up to the subject loop,
// the per-subject steps, and a clean end on every way out.
class CommandRun {
 public:
  explicit CommandRun(Session& session)
      : session_(session),
        state_(session.state),
        compositeRows_(session.files, session.state.files),
        writingRows_(session.trials, compositeRows_) {}
  ~CommandRun() { CloseEverythingQuietly(); }
  CommandRun(const CommandRun&) = delete;
  CommandRun& operator=(const CommandRun&) = delete;

  // Runs the command's steps; an error raised on the way ends it with a message box and every
  // file this command opened closed. The notes of the run are told at its end, however it ends.
  CommandOutcome Guarded(const std::function<CommandOutcome()>& steps);

  // From the input dialog to the counter file's header row. Empty when the command goes on;
  // otherwise how it ended.
  std::optional<CommandOutcome> OpenFiles(std::string_view responsesPrompt);

  // The current subject, once the input stands after its header: its subject file when
  // individual files are on, the trial parser of the input type (an unknown type ends the
  // command), the report, and the subject file closed again.
  std::optional<CommandOutcome> ConvertSubject(ReportStyle style);
  // Closes the input, composite and counter files, in that order.
  void CloseRunFiles();
  // Ends the command quietly or after an error already shown: every file it opened is closed.
  CommandOutcome EndEarly(CommandOutcome outcome);
  bool AnySubjectConverted() const { return subjectsConverted_ > 0; }
  // Tells that the input holds no subject header, so that nothing was converted.
  void TellNoSubjectHeader();

  Session& session() { return session_; }

 private:
  // An output file chosen in a dialog, given the ".dat" rule and opened.
  struct OutputFile {
    std::string& name;
    std::int16_t& channel;
    FileDialogRequest dialog;
    OpenMode mode;
  };
  std::optional<CommandOutcome> ChooseAndOpenOutput(const OutputFile& file);
  std::optional<CommandOutcome> OpenSubjectFile();
  std::optional<CommandOutcome> ParseSubject();
  void CloseSubjectFile();
  std::optional<CommandOutcome> OpenInput();
  std::optional<CommandOutcome> AskNumbers(std::string_view responsesPrompt);
  std::optional<CommandOutcome> OpenComposite();
  std::optional<CommandOutcome> OpenCounters();
  std::optional<std::int16_t> AskNumber(MessageId id, std::string_view prompt);
  bool Open(const std::string& path, std::int16_t& channel, OpenMode mode);
  void TellUnknownInputType();
  CommandOutcome UnknownInputType();
  // The current subject's problem lines in one box, once.
  void TellSubjectProblems();
  // What the whole run met, once at its end.
  void TellRunNotices();
  void Close(std::int16_t channel);
  void CloseEverythingQuietly() noexcept;
  std::string StoppedMessage(const std::string& reason) const;

  Session& session_;
  RunState& state_;
  // Every trial the readers read goes into the composite file for as long as the command runs.
  CompositeRows compositeRows_;
  AttachedConsumer writingRows_;
  std::vector<std::int16_t> opened_;  // channels this command opened and has not closed
  bool inSubject_ = false;
  int subjectsConverted_ = 0;
};

// The per-subject report: counts of trials, errors (AZK) and trials without response.
std::string SubjectReport(const SubjectCounts& counts, std::string_view subjectId, InputType type,
                          ReportStyle style);

// A typed number as a 16-bit integer: a fraction rounds to the nearest integer, a half to the
// even one. Empty when the text is not a number or the result lies outside -32768..32767.
std::optional<std::int16_t> ToInt16(const std::optional<double>& number);

}  // namespace trelvox
