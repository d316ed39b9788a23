#include <optional>

#include "parse/Numbers.h"
#include "parse/TrialParsers.h"
#include "platform/Int16.h"
#include "record/Tokenizer.h"

namespace trelvox {

namespace {

const char* ErrorCode(Session& session, double rt) {
  RunState& state = session.state;
  if (rt >= 0) {
    return "0";
  }
  if (rt == -static_cast<double>(state.TimeOut)) {
    IncrementCounter(state.NoResponseCount, "the no-response count of one subject");
    return "2";
  }
  IncrementCounter(state.ErrorCount, "the error count of one subject");
  return "1";
}

void ConvertTrialLine(Session& session, const std::string& line, const std::string& dateText,
                      int errorCodeIndex) {
  RunState& state = session.state;
  FieldRecord& record = state.TrialRecord;
  ParseString(line, record, "S", session.ui);
  const std::optional<double> rt = RecordCount(record) >= 2 ? ReadDecimal(record[2]) : std::nullopt;
  if (!rt) {
    // "*** ABORTED ***", a line of blanks and the like: no reaction time, so no trial.
    state.Notices.AddProblemLine("line", "without a reaction time in the second field",
                                 "Not converted: a trial line needs a reaction time there.", line);
    return;
  }
  IncrementCounter(state.TrialCount, "the trial count of one subject");
  InsertLeadingValues(record, {state.SubjectID, dateText, std::to_string(state.TrialCount)});
  const char* code = ErrorCode(session, *rt);
  if (errorCodeIndex > RecordCount(record) + 1) {
    // A COT column was asked for but the line has only two fields: the row goes without code.
    state.Notices.AddProblemLine("line", "without a COT value (field 3)",
                                 "Each such row was written without an error code.", line);
  } else {
    InsertValueInRecord(record, code, errorCodeIndex, session.ui);
  }
  WriteRecord(session.files, state.CompFileNum, record);
}

}  // namespace

void ParseAZKTrials(Session& session) {
  RunState& state = session.state;
  FileChannels& files = session.files;
  const int errorCodeIndex = state.COTIncluded ? 7 : 6;
  StartSubject(session, true);
  const std::string dateText = DateText(state.SubjectDate, session.locale);
  std::string line;
  // The line after the header names the columns; it is copied but never a trial.
  if (!files.AtEnd(state.InFileNum)) {
    files.ReadLine(state.InFileNum, line);
    if (state.SaveIndFiles) {
      files.WriteLine(state.SubjFileNum, line);
    }
  }
  while (!files.AtEnd(state.InFileNum)) {
    files.ReadLine(state.InFileNum, line);
    if (line.empty()) {
      return;
    }
    if (state.SaveIndFiles) {
      files.WriteLine(state.SubjFileNum, line);
    }
    if (state.SaveCounters && line.find("Counter") != std::string::npos) {
      HandleCounterLine(session, line, dateText);
    }
    if (line.front() == '!') {
      continue;
    }
    ConvertTrialLine(session, line, dateText, errorCodeIndex);
  }
}

}  // namespace trelvox
