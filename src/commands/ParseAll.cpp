#include "commands/CommandRun.h"
#include "parse/SubjectScanner.h"

namespace trelvox {

namespace {

CommandOutcome ParseAllSteps(CommandRun& run) {
  Session& session = run.session();
  if (auto ended = run.OpenFiles("Enter Maximum Expected # Responses per Trial:")) {
    return *ended;
  }
  while (FindNextSubject(session)) {
    if (auto ended = run.ConvertSubject(ReportStyle::ParseAll)) {
      return *ended;
    }
  }
  run.CloseRunFiles();
  const bool converted = run.AnySubjectConverted();
  if (!converted) {
    run.TellNoSubjectHeader();  // a file cut off at its start would pass for a complete run
  }
  session.ui.Message(MessageId::ParsingComplete, "Parsing Complete!");
  return converted ? CommandOutcome::Completed : CommandOutcome::NothingConverted;
}

}  // namespace

CommandOutcome ParseAll(Session& session) {
  CommandRun run(session);
  return run.Guarded([&run] { return ParseAllSteps(run); });
}

}  // namespace trelvox
