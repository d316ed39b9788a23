#include "parse/TrialParsers.h"

#include "platform/Int16.h"
#include "record/Tokenizer.h"

namespace trelvox {

void HandleCounterLine(Session& session, const std::string& line, const std::string& dateText) {
  RunState& state = session.state;
  IncrementCounter(state.CounterCount, "the counter line count of one subject");
  ParseString(line, state.CounterRecord, "S", session.ui);
  for (const int index : {5, 4, 2, 1}) {
    DeleteValueInRecord(state.CounterRecord, index);
  }
  InsertLeadingValues(state.CounterRecord,
                      {state.SubjectID, dateText, std::to_string(state.CounterCount)});
  WriteRecord(session.files, state.CntFileNum, state.CounterRecord);
}

void StartSubject(Session& session, bool resetErrorCount) {
  RunState& state = session.state;
  state.TrialCount = 0;
  state.CounterCount = 0;
  state.NoResponseCount = 0;
  state.Notices.StartSubject();
  if (resetErrorCount) {
    state.ErrorCount = 0;
  }
  if (state.SaveIndFiles) {
    session.files.WriteLine(state.SubjFileNum, state.SubjectHeader);
  }
}

}  // namespace trelvox
