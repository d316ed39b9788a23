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
  session.ui.Message("Parsing Complete!");
  return CommandOutcome::Completed;
}

}  // namespace

CommandOutcome ParseAll(Session& session) {
  CommandRun run(session);
  return run.Guarded([&run] { return ParseAllSteps(run); });
}

}  // namespace trelvox
