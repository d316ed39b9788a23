#include <optional>

#include "parse/Numbers.h"
#include "parse/TrialParsers.h"
#include "parse/TrialStream.h"
#include "platform/Int16.h"
#include "platform/Text.h"
#include "record/Tokenizer.h"

namespace trelvox {

namespace {

// DMDX wraps long response lists onto lines that begin with a blank.
bool IsContinuation(std::string_view line) {
  return !line.empty() && line.front() == ' ' && !Contains(line, "Item") && !Contains(line, "!");
}

// Reads the block's lines, with room to hand back one line that was read ahead. A line is a
// view into the input's buffer: it lasts until the next line is read, and a line handed back
// stays valid since nothing is read before it is taken again.
class BlockReader {
 public:
  explicit BlockReader(Session& session) : session_(session) {}

  bool Next(std::string_view& line) {
    if (pending_) {
      line = *pending_;
      pending_.reset();
      return true;
    }
    line = session_.files.ReadNext(session_.state.files.InFileNum);
    return line.data() != nullptr;
  }
  void PutBack(std::string_view line) { pending_ = line; }

 private:
  Session& session_;
  std::optional<std::string_view> pending_;
};

class ZilBlock {
 public:
  explicit ZilBlock(Session& session)
      : session_(session),
        state_(session.state),
        reader_(session),
        dateText_(DateText(session.state.subject.SubjectDate, session.locale)),
        cotOffset_(session.state.options.COTIncluded ? 2 : 0) {}

  void Run() {
    session_.trials.SubjectStarted(state_.subject);
    ConvertBlock();
    session_.trials.SubjectEnded(state_.counts);
  }

 private:
  void ConvertBlock() {
    StartSubject(session_, false);
    std::string_view line;
    while (reader_.Next(line)) {
      if (line.empty()) {
        return;
      }
      CopyToSubjectFile(line);
      if (state_.options.SaveCounters && Contains(line, "Counter")) {
        HandleCounterLine(session_, line, dateText_, counterRow_);
      }
      if (Contains(line, "!") || !Contains(line, "Item")) {
        if (session_.trials.WantsOtherLines()) {
          session_.trials.OtherLine(line);
        }
        continue;
      }
      ConvertItem(line);
    }
  }

  void CopyToSubjectFile(std::string_view line) {
    if (state_.options.SaveIndFiles) {
      session_.files.WriteLine(state_.files.SubjFileNum, line);
    }
  }

  // What an item field is called, the column it fills, and a hint when it is missing.
  struct ItemField {
    const char* name;
    const char* column;
    const char* hint;
  };
  static constexpr ItemField kTrialId{"a trial ID", "TrialID", ""};
  static constexpr ItemField kCot{"a COT value", "COT",
                                  " If the file has no COT values, parse it again with "
                                  "\"COTs included?\" off (trelvox-batch: without --cot)."};
  static constexpr ItemField kZorRt{"a ZOR reaction time", "ZOR_RT",
                                    " If the file is not ZOR formatted, parse it again with "
                                    "\"File is ZOR formatted\" off (trelvox-batch: without "
                                    "--zor)."};

  // Appends item field `index`, or an empty value (noted for the subject's problem box) when
  // the line lacks it, so that the columns after it stay aligned.
  void AppendItemField(std::string_view line, int index, const ItemField& what) {
    if (RecordCount(work_) >= index) {
      AppendValueToRecord(row_, work_[index]);
      return;
    }
    AppendValueToRecord(row_, "");
    state_.notices.AddProblemLine(
        "item line", "without " + std::string(what.name) + " (field " + std::to_string(index) + ")",
        "The " + std::string(what.column) + " column is left empty in each such row." + what.hint,
        line);
    session_.trials.Anomaly(ReaderAnomaly::ItemLineWithoutField, line);
  }

  // The item line's own reaction time (field 3, or 5 with COT) when it has one, as DMDX's
  // ZOR format writes it; kept apart, as the response lines reuse the work record.
  void KeepItemRt() {
    const int index = 3 + cotOffset_;
    itemRt_.clear();
    if (RecordCount(work_) >= index && Decimal::Read(work_[index])) {
      itemRt_.assign(work_[index]);
    }
  }

  // The line with its commas turned into blanks, in a buffer reused from line to line.
  const std::string& WithBlanksForCommas(std::string_view line) {
    spaced_.assign(line);
    ReplaceChar(spaced_, ",", " ");
    return spaced_;
  }

  // Appends the fields of one response line; returns how many it had.
  int AppendResponseFields(std::string_view line) {
    ParseString(WithBlanksForCommas(line), work_, "S", session_.ui);
    for (int i = 1; i <= RecordCount(work_); ++i) {
      AppendValueToRecord(row_, work_[i]);
    }
    return RecordCount(work_);
  }

  void ReadResponses() {
    std::string_view line;
    if (!reader_.Next(line)) {
      return;  // the item line was the input's last line: no responses to read
    }
    CopyToSubjectFile(line);
    int fields = AppendResponseFields(line);
    while (reader_.Next(line)) {
      if (!IsContinuation(line)) {
        reader_.PutBack(line);
        break;
      }
      CopyToSubjectFile(line);
      fields += AppendResponseFields(line);
    }
    // A response is a time and a button: two fields.
    state_.notices.CountResponses((fields + 1) / 2, state_.answers.MaxResponses);
  }

  void ConvertItem(std::string_view original) {
    const std::string& line = WithBlanksForCommas(original);
    IncrementCounter(state_.counts.TrialCount, "the trial count of one subject");
    MakeEmpty(row_);
    MakeEmpty(work_);
    ParseString(line, work_, "S", session_.ui);
    KeepItemRt();
    AppendItemField(original, 2, kTrialId);
    if (state_.options.COTIncluded) {
      AppendItemField(original, 4, kCot);
    }
    const bool hasResponses = !Contains(line, "No Responses");
    if (!hasResponses) {
      IncrementCounter(state_.counts.NoResponseCount, "the no-response count of one subject");
    }
    if (state_.options.ZORFormat) {
      if (hasResponses) {
        AppendItemField(original, 3 + cotOffset_, kZorRt);
      } else {
        AppendValueToRecord(row_, "NoResponse");
      }
    }
    const int itemColumns = RecordCount(row_);
    if (hasResponses) {
      ReadResponses();
    }
    InsertLeadingValues(
        row_, {state_.subject.SubjectID, dateText_, DecimalText(state_.counts.TrialCount).view()});
    HandOn(row_, hasResponses, itemColumns);
  }

  void HandOn(const FieldRecord& row, bool hasResponses, int itemColumns) {
    constexpr int kLeading = 3;  // ID, date, trial number
    const bool responses = hasResponses && RecordCount(row) > kLeading + itemColumns;
    session_.trials.Trial(TrialRead::Zil(
        row, state_.counts.TrialCount, itemRt_, state_.options.COTIncluded ? kLeading + 2 : 0,
        !hasResponses, responses ? kLeading + itemColumns + 1 : 0));
  }

  Session& session_;
  RunState& state_;
  BlockReader reader_;
  const std::string dateText_;
  const int cotOffset_;
  // The block's working records, reused from line to line: the row being built, the fields of
  // the line being read, and a counter line's row.
  FieldRecord row_;
  FieldRecord work_;
  FieldRecord counterRow_;
  std::string spaced_;
  std::string itemRt_;
};

}  // namespace

void ParseZILTrials(Session& session) {
  ZilBlock(session).Run();
}

}  // namespace trelvox
