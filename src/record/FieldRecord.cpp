#include "record/FieldRecord.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <utility>

#include "platform/Bytes.h"
#include "platform/FileChannels.h"
#include "platform/Int16.h"
#include "platform/Ui.h"

namespace trelvox {

FieldRecord::FieldRecord(std::initializer_list<std::string_view> values) {
  for (const std::string_view value : values) {
    Append(value);
  }
}

FieldRecord::FieldRecord(const FieldRecord& other) {
  *this = other;
}

FieldRecord& FieldRecord::operator=(const FieldRecord& other) {
  if (this != &other) {
    Clear();
    for (int i = 1; i <= other.Count(); ++i) {
      Append(other[i]);
    }
  }
  return *this;
}

FieldRecord::FieldRecord(FieldRecord&& other) noexcept {
  *this = std::move(other);
}

FieldRecord& FieldRecord::operator=(FieldRecord&& other) noexcept {
  if (this != &other) {
    arena_ = std::move(other.arena_);
    used_ = std::exchange(other.used_, 0);
    heldBytes_ = std::exchange(other.heldBytes_, 0);
    spans_ = std::move(other.spans_);
    spanCount_ = std::exchange(other.spanCount_, 0);
    spanCapacity_ = std::exchange(other.spanCapacity_, 0);
    first_ = std::exchange(other.first_, 0);
  }
  return *this;
}

std::vector<std::string> FieldRecord::Values() const {
  std::vector<std::string> values;
  values.reserve(static_cast<std::size_t>(Count()));
  for (int i = 1; i <= Count(); ++i) {
    values.emplace_back((*this)[i]);
  }
  return values;
}

void FieldRecord::GrowSpans() {
  const std::size_t capacity = std::max<std::size_t>(spanCapacity_ * 2, 16);
  auto larger = std::make_unique_for_overwrite<Span[]>(capacity);
  if (spanCount_ > 0) {
    std::memcpy(larger.get(), spans_.get(), spanCount_ * sizeof(Span));
  }
  spans_ = std::move(larger);
  spanCapacity_ = capacity;
}

void FieldRecord::Grow(std::size_t size) {
  arena_.Reallocate(std::max({arena_.Capacity() * 2, used_ + size, std::size_t{240}}), used_);
}

FieldRecord::Span FieldRecord::StoreGrowing(std::string_view value) {
  // The value may be one of this record's own: note where it lies before the arena moves.
  const char* bytes = arena_.Data();
  const bool own = !value.empty() && std::less_equal<>()(bytes, value.data()) &&
                   std::less<>()(value.data(), bytes + used_);
  const auto ownOffset = own ? static_cast<std::size_t>(value.data() - bytes) : 0;
  char* room = Reserve(value.size());
  MoveBytes(room, own ? arena_.Data() + ownOffset : value.data(), value.size());
  const Span span{used_, value.size()};
  used_ += value.size();
  heldBytes_ += value.size();
  return span;
}

void FieldRecord::Compact() {
  SlackBuffer compact(heldBytes_);
  std::size_t used = 0;
  for (std::size_t i = first_; i < spanCount_; ++i) {
    std::memcpy(compact.Data() + used, arena_.Data() + spans_[i].offset, spans_[i].size);
    spans_[i].offset = used;
    used += spans_[i].size;
  }
  arena_ = std::move(compact);
  used_ = used;
}

void FieldRecord::InsertBefore(int index, std::string_view value) {
  const Span span = Store(value);
  if (index == 1 && first_ > 0) {
    spans_[--first_] = span;
  } else {
    if (spanCount_ == spanCapacity_) {
      GrowSpans();
    }
    Span* at = spans_.get() + first_ + (index - 1);
    std::memmove(at + 1, at,
                 static_cast<std::size_t>(spans_.get() + spanCount_ - at) * sizeof(Span));
    *at = span;
    ++spanCount_;
  }
  CompactIfWasteful();
}

void FieldRecord::InsertFrontSlowly(std::initializer_list<std::string_view> values) {
  // The values may be this record's own, which a growing arena would leave behind: copied first.
  const std::vector<std::string> copies(values.begin(), values.end());
  for (auto value = copies.rbegin(); value != copies.rend(); ++value) {
    Insert(1, *value);
  }
}

void FieldRecord::Erase(int index) {
  Span* at = spans_.get() + first_ + (index - 1);
  heldBytes_ -= at->size;
  std::memmove(at, at + 1,
               static_cast<std::size_t>(spans_.get() + spanCount_ - at - 1) * sizeof(Span));
  --spanCount_;
}

bool operator==(const FieldRecord& a, const FieldRecord& b) {
  if (a.Count() != b.Count()) {
    return false;
  }
  for (int i = 1; i <= a.Count(); ++i) {
    if (a[i] != b[i]) {
      return false;
    }
  }
  return true;
}

FieldRecord EmptyRecord() {
  return FieldRecord();
}

void MakeEmpty(FieldRecord& record) {
  record.Clear();
}

void DeleteValueInRecord(FieldRecord& record, int index) {
  const int count = record.Count();
  if (count == 0) {
    return;
  }
  record.Erase(std::clamp(index, 1, count));
}

void ThrowRecordFull() {
  throw OverflowError("Overflow: a record cannot hold more than 32767 values.");
}

void ReportIndexOutOfRange(Ui& ui) {
  ui.Message(MessageId::IndexOutOfRange, "Error in InsertValueInRecord: Index out of range!");
}

void ReplaceChar(std::string& text, std::string_view search, std::string_view replacement) {
  if (search.size() == 1 && replacement.size() == 1) {
    std::replace(text.begin(), text.end(), search.front(), replacement.front());
    return;
  }
  std::string result;
  result.reserve(text.size());
  const std::string_view rest(text);
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest.substr(i).starts_with(search)) {
      result += replacement;
    } else {
      result += rest[i];
    }
  }
  text = std::move(result);
}

}  // namespace trelvox
