#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "parse/Numbers.h"
#include "parse/RunState.h"
#include "record/FieldRecord.h"

namespace trelvox {

// One trial as a reader read it: the composite row it built (ID, date, trial number, then the
// line's fields) and where in it each part stands. Handing a trial on costs a few stores; the
// parts are read off the row only by the consumers that ask. Everything lasts only for the call
// that hands the trial on.
class TrialRead {
 public:
  // An AZK trial line: item and RT follow ID, date and number, then COT when `cotIndex` is not
  // 0; `errorCode` is the trial's class, also when its row had no room for the code.
  static TrialRead Azk(const FieldRecord& row, std::int16_t number, const Decimal& rt, int cotIndex,
                       char errorCode) {
    TrialRead trial(row, number);
    trial.rt_ = &rt;
    trial.rtIndex_ = kItemIndex + 1;
    trial.cotIndex_ = cotIndex;
    trial.errorCode_ = errorCode;
    return trial;
  }
  // A ZIL item: `itemRt` is the item line's own reaction time (empty when it has none), the
  // responses start at `firstResponse` (0 when none).
  static TrialRead Zil(const FieldRecord& row, std::int16_t number, std::string_view itemRt,
                       int cotIndex, bool noResponses, int firstResponse) {
    TrialRead trial(row, number);
    trial.itemRt_ = itemRt;
    trial.cotIndex_ = cotIndex;
    trial.noResponses_ = noResponses;
    trial.firstResponse_ = firstResponse;
    return trial;
  }

  const FieldRecord& Row() const { return *row_; }
  std::int16_t Number() const { return number_; }  // within the subject, from 1
  std::string_view Item() const { return Value(kItemIndex); }
  // AZK: field 2. ZIL: the item line's own reaction time (field 3, or 5 with COT) when that
  // field is a number, as the ZOR format writes it; else empty.
  std::string_view RtText() const { return rtIndex_ != 0 ? Value(rtIndex_) : itemRt_; }
  std::optional<Decimal> Rt() const {
    if (rt_ != nullptr) {
      return *rt_;
    }
    return itemRt_.empty() ? std::nullopt : Decimal::Read(itemRt_);
  }
  std::string_view Cot() const { return Value(cotIndex_); }  // empty without COT
  // AZK: '0', '1' or '2' as in the Error column; 0 for ZIL.
  char ErrorCode() const { return errorCode_; }
  bool NoResponses() const { return noResponses_; }  // ZIL: "No Responses"
  // ZIL: the response fields, time and key by turns, as the row holds them; `i` from 0.
  int ResponseFieldCount() const {
    return firstResponse_ == 0 ? 0 : RecordCount(*row_) - firstResponse_ + 1;
  }
  std::string_view ResponseField(int i) const { return Value(firstResponse_ + i); }

 private:
  static constexpr int kItemIndex = 4;  // after ID, date and trial number

  TrialRead(const FieldRecord& row, std::int16_t number) : row_(&row), number_(number) {}
  std::string_view Value(int index) const {
    return index > 0 && index <= RecordCount(*row_) ? (*row_)[index] : std::string_view();
  }

  const FieldRecord* row_;
  std::int16_t number_;
  const Decimal* rt_ = nullptr;
  std::string_view itemRt_;
  int rtIndex_ = 0;
  int cotIndex_ = 0;
  char errorCode_ = 0;
  int firstResponse_ = 0;
  bool noResponses_ = false;
};

// What the readers met that the user is told about.
enum class ReaderAnomaly {
  LineWithoutRt,         // an AZK line without a reaction time: no trial
  LineWithoutCot,        // an AZK trial line without the COT value asked for
  ItemLineWithoutField,  // a ZIL item line without its trial ID, COT or ZOR reaction time
  PassedOverHeader,      // a line with "refresh" but not "Subject" between subjects
  DamagedDate,           // a subject header whose date is no month/day/year date
};

// Takes what the readers read, subject by subject. The composite file is written by one such
// consumer; the analysis of a run is another. The readers know none of them.
class TrialConsumer {
 public:
  virtual ~TrialConsumer() = default;
  // The block of `subject` begins (its header line whole is subject.HeaderLine).
  virtual void SubjectStarted(const CurrentSubject& subject) { (void)subject; }
  virtual void Trial(const TrialRead& trial) = 0;
  // Every line of the block that is neither a trial line nor a response line: "!" lines,
  // DMDX's banners, lines the reader passes over. Only handed on when asked for.
  virtual bool WantsOtherLines() const { return false; }
  virtual void OtherLine(std::string_view line) { (void)line; }
  virtual void Anomaly(ReaderAnomaly kind, std::string_view line) {
    (void)kind;
    (void)line;
  }
  // The block has ended; the subject's counts are final.
  virtual void SubjectEnded(const SubjectCounts& counts) { (void)counts; }
};

// Hands everything the readers read to each consumer attached, in the order attached.
class TrialStream {
 public:
  void Attach(TrialConsumer& consumer);
  void Detach(TrialConsumer& consumer);

  void SubjectStarted(const CurrentSubject& subject) {
    for (TrialConsumer* consumer : consumers_) {
      consumer->SubjectStarted(subject);
    }
  }
  void Trial(const TrialRead& trial) {
    for (TrialConsumer* consumer : consumers_) {
      consumer->Trial(trial);
    }
  }
  bool WantsOtherLines() const { return wantsOtherLines_; }
  void OtherLine(std::string_view line) {
    for (TrialConsumer* consumer : consumers_) {
      if (consumer->WantsOtherLines()) {
        consumer->OtherLine(line);
      }
    }
  }
  void Anomaly(ReaderAnomaly kind, std::string_view line) {
    for (TrialConsumer* consumer : consumers_) {
      consumer->Anomaly(kind, line);
    }
  }
  void SubjectEnded(const SubjectCounts& counts) {
    for (TrialConsumer* consumer : consumers_) {
      consumer->SubjectEnded(counts);
    }
  }

 private:
  std::vector<TrialConsumer*> consumers_;
  bool wantsOtherLines_ = false;
};

// Attaches a consumer for as long as this object lives.
class AttachedConsumer {
 public:
  AttachedConsumer(TrialStream& stream, TrialConsumer& consumer)
      : stream_(stream), consumer_(consumer) {
    stream_.Attach(consumer_);
  }
  ~AttachedConsumer() { stream_.Detach(consumer_); }
  AttachedConsumer(const AttachedConsumer&) = delete;
  AttachedConsumer& operator=(const AttachedConsumer&) = delete;

 private:
  TrialStream& stream_;
  TrialConsumer& consumer_;
};

}  // namespace trelvox
