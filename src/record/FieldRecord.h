#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bytes.h"
#include "platform/FileChannels.h"
#include "platform/Int16.h"
#include "platform/SlackBuffer.h"

namespace trelvox {

class Ui;

// An ordered list of text values, numbered from 1, with its count n in front of it. Every row
// read from a DMDX file or written to an output file passes through one.
//
// Built for one row after another: the count is held as a number, and the values are spans of
// one byte arena that the record reuses from row to row, so cutting a line, putting values in
// front of it and writing it costs no allocation once the record has seen a row of that size.
class FieldRecord {
 public:
  // The record without values.
  FieldRecord() = default;
  FieldRecord(std::initializer_list<std::string_view> values);
  FieldRecord(const FieldRecord& other);
  FieldRecord& operator=(const FieldRecord& other);
  FieldRecord(FieldRecord&& other) noexcept;
  FieldRecord& operator=(FieldRecord&& other) noexcept;
  ~FieldRecord() = default;

  int Count() const { return static_cast<int>(spanCount_ - first_); }
  // Value `index`, 1 to Count(). The view lasts until the record is next changed.
  std::string_view operator[](int index) const {
    const Span& span = spans_[first_ + static_cast<std::size_t>(index - 1)];
    return std::string_view(arena_.Data() + span.offset, span.size);
  }
  std::vector<std::string> Values() const;

  // The edits below keep the record's count rule; the routines of this header build on them.
  void Clear() { StartRow(); }
  void Append(std::string_view value) {
    const Span span = Store(value);
    AddSpan(span);
    CompactIfWasteful();
  }
  void Insert(int index, std::string_view value) {
    if (index == Count() + 1) {
      Append(value);  // the error code of a row without COT: no value moves
    } else {
      InsertBefore(index, value);
    }
  }
  void Erase(int index);
  // Puts the values before value 1, in their order.
  void InsertFront(std::initializer_list<std::string_view> values) {
    if (first_ < values.size()) {
      InsertFrontSlowly(values);
      return;
    }
    // The common case, a row's leading ID, date and number: each value copied behind the others
    // and given its slot, no value of the row moved; nothing is kept until all have fitted.
    // Locals, as the byte stores could otherwise make the compiler reload the members.
    Span* slot = spans_.get() + first_ - values.size();
    char* const bytes = arena_.Data();
    const std::size_t start = used_;
    std::size_t used = start;
    for (const std::string_view value : values) {
      if (arena_.Capacity() - used <= value.size()) {  // as HasRoomFor
        InsertFrontSlowly(values);                     // the arena must grow first
        return;
      }
      MoveBytes(bytes + used, value.data(), value.size());
      *slot++ = {used, value.size()};
      used += value.size();
    }
    first_ -= values.size();
    used_ = used;
    heldBytes_ += used - start;
    CompactIfWasteful();
  }
  // Makes the record's values the fields of `line`: `line` is copied into the arena once, and
  // AddField then takes each field as the bytes [start, start + size) of that copy (see
  // ParseString).
  std::string_view HoldLine(std::string_view line) {
    StartRow();
    // A line that is one of this record's values fits the arena it lies in: no growth moves it.
    char* room = Reserve(line.size());
    MoveBytes(room, line.data(), line.size());
    used_ = line.size();
    return std::string_view(room, line.size());
  }
  void AddField(std::size_t start, std::size_t size) {
    AddSpan({start, size});  // the held line starts the arena
    heldBytes_ += size;
  }
  // The length of the values joined by one separator each, and the joining itself.
  std::size_t JoinedSize() const { return heldBytes_ + (Count() > 0 ? Count() - 1 : 0); }
  char* JoinInto(char* out, char separator) const {
    // Locals, so that the bytes stored through `out` cannot make the compiler reload them.
    const char* const bytes = arena_.Data();
    const Span* span = spans_.get() + first_;
    const Span* const end = spans_.get() + spanCount_;
    if (span == end) {
      return out;
    }
    out = CopyInBlocks(out, bytes + span->offset, span->size);
    for (++span; span != end; ++span) {
      *out++ = separator;
      out = CopyInBlocks(out, bytes + span->offset, span->size);
    }
    return out;
  }

  friend bool operator==(const FieldRecord& a, const FieldRecord& b);

 private:
  struct Span {
    std::size_t offset;
    std::size_t size;
  };
  // Slots kept free in front of value 1 when a row starts: the subject's ID, date and trial
  // number go there without moving the values.
  static constexpr std::size_t kFrontRoom = 4;
  // More room than `size` bytes, not just as much: so a record that has never allocated its
  // arena (no capacity, no slack) has room for no value, not even an empty one.
  bool HasRoomFor(std::size_t size) const { return arena_.Capacity() - used_ > size; }
  // Copies the value behind the others; the span it then has.
  Span Store(std::string_view value) {
    if (!HasRoomFor(value.size())) {
      return StoreGrowing(value);
    }
    const std::size_t used = used_;  // not reloaded after the byte stores
    MoveBytes(arena_.Data() + used, value.data(), value.size());
    used_ = used + value.size();
    heldBytes_ += value.size();
    return {used, value.size()};
  }
  Span StoreGrowing(std::string_view value);
  void InsertBefore(int index, std::string_view value);
  // InsertFront when there is no room in front or the arena must grow.
  void InsertFrontSlowly(std::initializer_list<std::string_view> values);
  // Copies in whole blocks of kLineSlack bytes, so that a short value (most are) costs one load
  // and one store. Both sides must have that slack after the copied bytes: the arena
  // keeps that much free behind its last value, and so does an output line's room.
  static char* CopyInBlocks(char* out, const char* from, std::size_t size) {
    std::memcpy(out, from, kLineSlack);
    for (std::size_t done = kLineSlack; done < size; done += kLineSlack) {
      std::memcpy(out + done, from + done, kLineSlack);
    }
    return out + size;
  }
  void AddSpan(Span span) {
    if (spanCount_ == spanCapacity_) {
      GrowSpans();
    }
    spans_[spanCount_++] = span;
  }
  void GrowSpans();
  char* Reserve(std::size_t size) {
    if (!HasRoomFor(size)) {
      Grow(size);
    }
    return arena_.Data() + used_;
  }
  void Grow(std::size_t size);
  void StartRow() {
    used_ = 0;
    heldBytes_ = 0;
    if (spanCapacity_ < kFrontRoom) {
      GrowSpans();
    }
    spanCount_ = kFrontRoom;
    first_ = kFrontRoom;
  }
  void CompactIfWasteful() {
    if (used_ - heldBytes_ >= kWasteBeforeCompacting) {
      Compact();
    }
  }
  void Compact();

  // Values removed or replaced leave their bytes in the arena until the next row starts it
  // afresh; a record edited for long without that is compacted once this much is wasted.
  static constexpr std::size_t kWasteBeforeCompacting = 64 * 1024;

  // The bytes of the values, and of values no longer held; the slack behind them lets values be
  // copied and scanned in whole blocks, as into an output line's room.
  SlackBuffer arena_;
  std::size_t used_ = 0;
  std::size_t heldBytes_ = 0;
  // Value i is spans_[first_ + i - 1]; a plain array, as the spans are set and read once per
  // value of every row.
  std::unique_ptr<Span[]> spans_;
  std::size_t spanCount_ = 0;
  std::size_t spanCapacity_ = 0;
  std::size_t first_ = 0;
};

// The record without values: count 0.
FieldRecord EmptyRecord();
void MakeEmpty(FieldRecord& record);

inline int RecordCount(const FieldRecord& record) {
  return record.Count();
}

// Writes the values joined by single tabs as one line with CR LF.
inline void WriteRecord(FileChannels& files, std::int16_t channel, const FieldRecord& record) {
  char* end = record.JoinInto(files.LineRoom(channel, record.JoinedSize() + 2), '\t');
  end[0] = '\r';
  end[1] = '\n';
}

// Raises OverflowError: a record holds at most 32767 values.
[[noreturn]] void ThrowRecordFull();
// Shows "Error in InsertValueInRecord: Index out of range!".
void ReportIndexOutOfRange(Ui& ui);

// Adds the value after the last one; raises OverflowError when 32767 values are held already.
inline void AppendValueToRecord(FieldRecord& record, std::string_view value) {
  if (record.Count() >= kInt16Max) {
    ThrowRecordFull();
  }
  record.Append(value);
}
// Removes one value: an index of 0 or less removes the first value, one past the end the last.
// A record without values stays empty.
void DeleteValueInRecord(FieldRecord& record, int index);
// Puts the value at index 1 to n + 1. Any other index shows
// "Error in InsertValueInRecord: Index out of range!" and leaves the record unchanged.
inline void InsertValueInRecord(FieldRecord& record, std::string_view value, int index, Ui& ui) {
  const int count = record.Count();
  if (index < 1 || index > count + 1) {
    ReportIndexOutOfRange(ui);
    return;
  }
  if (count >= kInt16Max) {
    ThrowRecordFull();
  }
  record.Insert(index, value);
}
// Puts the values at indexes 1, 2, 3, ... in one step, as inserting each in turn at its index
// would; the record's values follow them.
inline void InsertLeadingValues(FieldRecord& record,
                                std::initializer_list<std::string_view> values) {
  if (record.Count() > kInt16Max - static_cast<int>(values.size())) {
    ThrowRecordFull();
  }
  record.InsertFront(values);
}
// Replaces every occurrence of `search` that starts at a position by `replacement`, consuming
// only the first character of the occurrence each time. A one-character search and
// replacement (the comma of a ZIL line) works in place.
void ReplaceChar(std::string& text, std::string_view search, std::string_view replacement);

}  // namespace trelvox
