#include <optional>

#include "parse/TrialParsers.h"
#include "platform/Int16.h"
#include "record/Tokenizer.h"

namespace trelvox {

namespace {

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// DMDX wraps long response lists onto lines that begin with a blank.
bool IsContinuation(const std::string& line) {
  return !line.empty() && line.front() == ' ' && !Contains(line, "Item") && !Contains(line, "!");
}

// Reads the block's lines, with room to hand back one line that was read ahead.
class BlockReader {
 public:
  explicit BlockReader(Session& session) : session_(session) {}

  bool Next(std::string& line) {
    if (pending_) {
      line = std::move(*pending_);
      pending_.reset();
      return true;
    }
    if (session_.files.AtEnd(session_.state.InFileNum)) {
      return false;
    }
    session_.files.ReadLine(session_.state.InFileNum, line);
    return true;
  }
  void PutBack(std::string line) { pending_ = std::move(line); }

 private:
  Session& session_;
  std::optional<std::string> pending_;
};

class ZilBlock {
 public:
  explicit ZilBlock(Session& session)
      : session_(session),
        state_(session.state),
        reader_(session),
        dateText_(DateText(session.state.SubjectDate, session.locale)),
        cotOffset_(session.state.COTIncluded ? 2 : 0) {}

  void Run() {
    StartSubject(session_, false);
    std::string line;
    while (reader_.Next(line)) {
      if (line.empty()) {
        return;
      }
      CopyToSubjectFile(line);
      if (state_.SaveCounters && Contains(line, "Counter")) {
        HandleCounterLine(session_, line, dateText_);
      }
      if (Contains(line, "!") || !Contains(line, "Item")) {
        continue;
      }
      ConvertItem(line);
    }
  }

 private:
  void CopyToSubjectFile(const std::string& line) {
    if (state_.SaveIndFiles) {
      session_.files.WriteLine(state_.SubjFileNum, line);
    }
  }

  // Appends item field `index`, or an empty value (and tells the user) when the line lacks it,
  // so that the columns after it stay aligned.
  void AppendItemField(const std::string& line, int index, const char* what) {
    if (RecordCount(work_) >= index) {
      AppendValueToRecord(state_.TrialRecord, work_[index]);
      return;
    }
    AppendValueToRecord(state_.TrialRecord, "");
    session_.ui.Problem("Item line without " + std::string(what) + " (field " +
                        std::to_string(index) + ") in subject " + state_.SubjectID +
                        "; the column is left empty:\r\n" + line);
  }

  void AppendResponseFields(std::string line) {
    ReplaceChar(line, ",", " ");
    ParseString(line, work_, "S", session_.ui);
    for (int i = 1; i <= RecordCount(work_); ++i) {
      AppendValueToRecord(state_.TrialRecord, work_[i]);
    }
  }

  void ReadResponses() {
    std::string line;
    if (!reader_.Next(line)) {
      return;  // the item line was the input's last line: no responses to read
    }
    CopyToSubjectFile(line);
    AppendResponseFields(line);
    while (reader_.Next(line)) {
      if (!IsContinuation(line)) {
        reader_.PutBack(std::move(line));
        return;
      }
      CopyToSubjectFile(line);
      AppendResponseFields(line);
    }
  }

  void ConvertItem(std::string line) {
    const std::string original = line;
    ReplaceChar(line, ",", " ");
    IncrementCounter(state_.TrialCount, "the trial count of one subject");
    MakeEmpty(state_.TrialRecord);
    MakeEmpty(work_);
    ParseString(line, work_, "S", session_.ui);
    AppendItemField(original, 2, "a trial ID");
    if (state_.COTIncluded) {
      AppendItemField(original, 4, "a COT value");
    }
    const bool hasResponses = !Contains(line, "No Responses");
    if (!hasResponses) {
      IncrementCounter(state_.NoResponseCount, "the no-response count of one subject");
    }
    if (state_.ZORFormat) {
      if (hasResponses) {
        AppendItemField(original, 3 + cotOffset_, "a ZOR reaction time");
      } else {
        AppendValueToRecord(state_.TrialRecord, "NoResponse");
      }
    }
    if (hasResponses) {
      ReadResponses();
    }
    InsertLeadingValues(state_.TrialRecord,
                        {state_.SubjectID, dateText_, std::to_string(state_.TrialCount)});
    WriteRecord(session_.files, state_.CompFileNum, state_.TrialRecord);
  }

  Session& session_;
  RunState& state_;
  BlockReader reader_;
  const std::string dateText_;
  const int cotOffset_;
  FieldRecord work_ = EmptyRecord();
};

}  // namespace

void ParseZILTrials(Session& session) {
  ZilBlock(session).Run();
}

}  // namespace trelvox
