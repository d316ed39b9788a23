#include <optional>

#include "parse/Numbers.h"
#include "parse/TrialParsers.h"
#include "parse/TrialStream.h"
#include "platform/Int16.h"
#include "platform/Text.h"
#include "record/Tokenizer.h"

namespace trelvox {

namespace {

// "0" for a response (rt of 0 or more), "2" for no response (rt equal to minus the time-out),
// "1" for an error (any other negative rt); the subject's no-response or error count goes up.
// Worked out without branching on the rt: which of the three a trial is cannot be foretold,
// and a wrong guess costs more than the arithmetic.
std::string_view ErrorCode(SubjectCounts& counts, const NumberAnswers& answers, const Decimal& rt) {
  const bool negative = rt.IsNegative();
  const bool none = negative & rt.Equals(-answers.TimeOut);
  const bool error = negative & !none;
  if ((none & (counts.NoResponseCount >= kInt16Max)) | (error & (counts.ErrorCount >= kInt16Max))) {
    IncrementCounter(none ? counts.NoResponseCount : counts.ErrorCount,
                     none ? "the no-response count of one subject"
                          : "the error count of one subject");  // raises the overflow
  }
  counts.NoResponseCount = static_cast<std::int16_t>(counts.NoResponseCount + none);
  counts.ErrorCount = static_cast<std::int16_t>(counts.ErrorCount + error);
  const int code = static_cast<int>(negative) + static_cast<int>(none);
  return std::string_view("012").substr(static_cast<std::size_t>(code), 1);
}

// Lines of the block that are no trial, for the consumers that look at them.
void PassOn(Session& session, std::string_view line) {
  if (session.trials.WantsOtherLines()) {
    session.trials.OtherLine(line);
  }
}

// `record` is the block's working record, reused from line to line.
void ConvertTrialLine(Session& session, std::string_view line, const std::string& dateText,
                      int errorCodeIndex, FieldRecord& record) {
  RunState& state = session.state;
  ParseString(line, record, "S", session.ui);
  const std::optional<Decimal> rt =
      RecordCount(record) >= 2 ? Decimal::Read(record[2]) : std::nullopt;
  if (!rt) {
    // "*** ABORTED ***", a line of blanks and the like: no reaction time, so no trial.
    state.notices.AddProblemLine("line", "without a reaction time in the second field",
                                 "Not converted: a trial line needs a reaction time there.", line);
    PassOn(session, line);
    session.trials.Anomaly(ReaderAnomaly::LineWithoutRt, line);
    return;
  }
  IncrementCounter(state.counts.TrialCount, "the trial count of one subject");
  InsertLeadingValues(
      record, {state.subject.SubjectID, dateText, DecimalText(state.counts.TrialCount).view()});
  const std::string_view code = ErrorCode(state.counts, state.answers, *rt);
  if (errorCodeIndex > RecordCount(record) + 1) {
    // A COT column was asked for but the line has only two fields: the row goes without code.
    state.notices.AddProblemLine("line", "without a COT value (field 3)",
                                 "Each such row was written without an error code.", line);
    session.trials.Anomaly(ReaderAnomaly::LineWithoutCot, line);
  } else {
    InsertValueInRecord(record, code, errorCodeIndex, session.ui);
  }
  const int count = RecordCount(record);
  session.trials.Trial(TrialRead::Azk(record, state.counts.TrialCount, *rt,
                                      state.options.COTIncluded && count >= 6 ? 6 : 0,
                                      code.front()));
}

void ConvertAzkBlock(Session& session) {
  RunState& state = session.state;
  FileChannels& files = session.files;
  const int errorCodeIndex = state.options.COTIncluded ? 7 : 6;
  StartSubject(session, true);
  const std::string dateText = DateText(state.subject.SubjectDate, session.locale);
  FieldRecord trialRecord;
  FieldRecord counterRecord;
  // The line after the header names the columns; it is copied but never a trial.
  const std::string_view columns = files.ReadNext(state.files.InFileNum);
  if (columns.data() != nullptr && state.options.SaveIndFiles) {
    files.WriteLine(state.files.SubjFileNum, columns);
  }
  if (columns.data() != nullptr) {
    PassOn(session, columns);
  }
  for (std::string_view line; (line = files.ReadNext(state.files.InFileNum)).data() != nullptr;) {
    if (line.empty()) {
      return;
    }
    if (state.options.SaveIndFiles) {
      files.WriteLine(state.files.SubjFileNum, line);
    }
    if (state.options.SaveCounters && Contains(line, "Counter")) {
      HandleCounterLine(session, line, dateText, counterRecord);
    }
    if (line.front() == '!') {
      PassOn(session, line);
      continue;
    }
    ConvertTrialLine(session, line, dateText, errorCodeIndex, trialRecord);
  }
}

}  // namespace

void ParseAZKTrials(Session& session) {
  session.trials.SubjectStarted(session.state.subject);
  ConvertAzkBlock(session);
  session.trials.SubjectEnded(session.state.counts);
}

}  // namespace trelvox
