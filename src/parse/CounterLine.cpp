#include "parse/Numbers.h"
#include "parse/TrialParsers.h"

#include "platform/Int16.h"
#include "record/Tokenizer.h"

namespace trelvox {

void HandleCounterLine(Session& session, std::string_view line, const std::string& dateText,
                       FieldRecord& record) {
  RunState& state = session.state;
  IncrementCounter(state.counts.CounterCount, "the counter line count of one subject");
  ParseString(line, record, "S", session.ui);
  for (const int index : {5, 4, 2, 1}) {
    DeleteValueInRecord(record, index);
  }
  InsertLeadingValues(
      record, {state.subject.SubjectID, dateText, DecimalText(state.counts.CounterCount).view()});
  WriteRecord(session.files, state.files.CntFileNum, record);
}

void StartSubject(Session& session, bool resetErrorCount) {
  RunState& state = session.state;
  state.counts.TrialCount = 0;
  state.counts.CounterCount = 0;
  state.counts.NoResponseCount = 0;
  state.notices.StartSubject();
  if (resetErrorCount) {
    state.counts.ErrorCount = 0;
  }
  if (state.options.SaveIndFiles) {
    session.files.WriteLine(state.files.SubjFileNum, state.subject.SubjectHeader);
  }
}

}  // namespace trelvox
