#include "batch/BatchRun.h"

#include <filesystem>
#include <system_error>

#include "batch/BatchPrompts.h"
#include "batch/CommandLine.h"
#include "commands/Commands.h"
#include "output/OutputFormats.h"
#include "parse/RunState.h"
#include "parse/Session.h"
#include "platform/DiskFileChannels.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace trelvox::batch {

namespace {

void SetRunOptions(RunOptions& run, const BatchOptions& options) {
  ClearOptions(run);
  run.SaveCounters = options.counters.has_value();
  run.SaveIndFiles = options.subjectDir.has_value();
  run.ZORFormat = options.zor;
  run.COTIncluded = options.cot;
}

// Looked at before the run opens the files, since opening for appending creates them.
RunAnswers AnswersForRun(const BatchOptions& options, const std::string& input) {
  RunAnswers run;
  run.input = input;
  run.compositeIsNew =
      AnswersNewFile(options.header, FileMissingOrEmpty(ApplyDatExtension(options.composite)));
  if (options.counters) {
    run.counterIsNew =
        AnswersNewFile(options.header, FileMissingOrEmpty(ApplyDatExtension(*options.counters)));
  }
  return run;
}

bool CreateSubjectFolder(const std::string& folder, std::ostream& err) {
  const std::filesystem::path path = PathFromBytes(folder);
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error || !std::filesystem::is_directory(path, error)) {
    err << kProgramName << ": cannot create the folder " << folder << ": "
        << (error ? error.message() : "a file of that name is in the way") << '\n';
    return false;
  }
  return true;
}

CommandOutcome RunCommand(BatchCommand command, Session& session) {
  return command == BatchCommand::ParseAll ? ParseAll(session) : ParseOneSubject(session);
}

}  // namespace

int RunBatch(const BatchOptions& options, const Locale& locale, std::ostream& out,
             std::ostream& err) {
  if (options.subjectDir && !CreateSubjectFolder(*options.subjectDir, err)) {
    return kExitFailed;
  }
  RunState state;
  SetRunOptions(state.options, options);
  DiskFileChannels files;
  BatchPrompts prompts(options, out);
  Ui ui(prompts, files);
  const SystemClock clock;
  TrialStream trials;
  Session session{state, files, ui, locale, clock, trials};

  for (const std::string& input : options.inputs) {
    prompts.BeginRun(AnswersForRun(options, input));
    const CommandOutcome outcome = RunCommand(options.command, session);
    out.flush();
    if (!prompts.Unanswered().empty()) {
      err << kProgramName << ": no flag answers \"" << prompts.Unanswered().front() << "\"\n";
      return kExitUsage;
    }
    if (outcome == CommandOutcome::Failed) {
      err << kProgramName << ": " << input << ": stopped on an error\n";
      return kExitFailed;
    }
    if (outcome == CommandOutcome::NothingConverted) {
      err << kProgramName << ": " << input << ": no subject header found, nothing converted\n";
      return kExitFailed;
    }
    if (outcome == CommandOutcome::Cancelled) {
      err << kProgramName << ": " << input << ": ended early, a question was left empty\n";
      return kExitFailed;
    }
  }
  return kExitCompleted;
}

}  // namespace trelvox::batch
