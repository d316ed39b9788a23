#include "commands/CommandRun.h"
#include "parse/SubjectScanner.h"

namespace trelvox {

namespace {

CommandOutcome ParseOneSubjectSteps(CommandRun& run) {
  Session& session = run.session();
  RunState& state = session.state;
  if (auto ended = run.OpenFiles("Enter Expected # Responses per Trial:")) {
    return *ended;
  }
  do {
    state.subject.SubjectID = session.ui.Input(MessageId::SubjectIdToParse, "Enter Subject ID:");
    if (state.subject.SubjectID.empty()) {
      return run.EndEarly(CommandOutcome::Cancelled);
    }
    if (!FindSubjectByID(session, state.subject.SubjectID)) {
      if (!run.AnySubjectConverted() && !state.notices.SubjectHeaderMet()) {
        run.TellNoSubjectHeader();  // not merely another ID: the file holds no subject at all
      }
      session.ui.Problem(MessageId::SubjectNotFound,
                         "SubID " + state.subject.SubjectID + " not found!");
      run.CloseRunFiles();
      return CommandOutcome::Failed;
    }
    if (auto ended = run.ConvertSubject(ReportStyle::ParseOne)) {
      return *ended;
    }
  } while (session.ui.AskYesNo(MessageId::ParseAnotherSubject, "Parse another subject?"));
  run.CloseRunFiles();
  return CommandOutcome::Completed;
}

}  // namespace

CommandOutcome ParseOneSubject(Session& session) {
  CommandRun run(session);
  return run.Guarded([&run] { return ParseOneSubjectSteps(run); });
}

}  // namespace trelvox
