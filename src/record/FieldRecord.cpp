#include "record/FieldRecord.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/FileChannels.h"
#include "platform/Int16.h"
#include "platform/Ui.h"

namespace trelvox {

namespace {

// Values removed or replaced leave their bytes in the arena until the next row starts it
// afresh; a record edited for long without that is compacted once this much is wasted.
constexpr std::size_t kWasteBeforeCompacting = 64 * 1024;

void RequireRoomFor(int count, int added) {
  if (count > kInt16Max - added) {
    throw OverflowError("Overflow: a record cannot hold more than 32767 values.");
  }
}

}  // namespace

FieldRecord::FieldRecord(std::initializer_list<std::string_view> values) {
  for (const std::string_view value : values) {
    Append(value);
  }
}

std::string_view FieldRecord::operator[](int index) const {
  const Span& span = spans_[static_cast<std::size_t>(index - 1)];
  return std::string_view(arena_).substr(span.offset, span.size);
}

std::vector<std::string> FieldRecord::Values() const {
  std::vector<std::string> values;
  values.reserve(spans_.size());
  for (int i = 1; i <= Count(); ++i) {
    values.emplace_back((*this)[i]);
  }
  return values;
}

void FieldRecord::Clear() {
  arena_.clear();
  spans_.clear();
  heldBytes_ = 0;
}

FieldRecord::Span FieldRecord::Store(std::string_view value) {
  // The value may be one of this record's own: note where it lies before the arena grows.
  const bool own = !value.empty() && std::less_equal<>()(arena_.data(), value.data()) &&
                   std::less<>()(value.data(), arena_.data() + arena_.size());
  const Span span{arena_.size(), value.size()};
  if (own) {
    const auto from = static_cast<std::size_t>(value.data() - arena_.data());
    arena_.append(arena_, from, value.size());
  } else {
    arena_.append(value);
  }
  heldBytes_ += value.size();
  return span;
}

void FieldRecord::CompactIfWasteful() {
  if (arena_.size() - heldBytes_ < kWasteBeforeCompacting) {
    return;
  }
  std::string compact;
  compact.reserve(heldBytes_);
  for (Span& span : spans_) {
    const std::size_t offset = compact.size();
    compact.append(arena_, span.offset, span.size);
    span.offset = offset;
  }
  arena_ = std::move(compact);
}

void FieldRecord::Append(std::string_view value) {
  spans_.push_back(Store(value));
  CompactIfWasteful();
}

void FieldRecord::Insert(int index, std::string_view value) {
  const Span span = Store(value);
  spans_.insert(spans_.begin() + (index - 1), span);
  CompactIfWasteful();
}

void FieldRecord::Erase(int index) {
  const auto at = spans_.begin() + (index - 1);
  heldBytes_ -= at->size;
  spans_.erase(at);
}

std::string_view FieldRecord::HoldLine(std::string_view line) {
  Clear();
  arena_.assign(line);
  return arena_;
}

void FieldRecord::AddField(std::string_view fieldOfHeldLine) {
  const auto offset = static_cast<std::size_t>(fieldOfHeldLine.data() - arena_.data());
  spans_.push_back({offset, fieldOfHeldLine.size()});
  heldBytes_ += fieldOfHeldLine.size();
}

std::size_t FieldRecord::JoinedSize() const {
  std::size_t size = spans_.empty() ? 0 : spans_.size() - 1;
  for (const Span& span : spans_) {
    size += span.size;
  }
  return size;
}

char* FieldRecord::JoinInto(char* out, char separator) const {
  const char* bytes = arena_.data();
  for (std::size_t i = 0; i < spans_.size(); ++i) {
    if (i > 0) {
      *out++ = separator;
    }
    std::memcpy(out, bytes + spans_[i].offset, spans_[i].size);
    out += spans_[i].size;
  }
  return out;
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

int RecordCount(const FieldRecord& record) {
  return record.Count();
}

void WriteRecord(FileChannels& files, std::int16_t channel, const FieldRecord& record) {
  const std::size_t size = record.JoinedSize();
  record.JoinInto(files.BeginLine(channel, size), '\t');
  files.EndLine(channel);
}

void AppendValueToRecord(FieldRecord& record, std::string_view value) {
  RequireRoomFor(record.Count(), 1);
  record.Append(value);
}

void DeleteValueInRecord(FieldRecord& record, int index) {
  const int count = record.Count();
  if (count == 0) {
    return;
  }
  record.Erase(std::clamp(index, 1, count));
}

void InsertValueInRecord(FieldRecord& record, std::string_view value, int index, Ui& ui) {
  const int count = record.Count();
  if (index < 1 || index > count + 1) {
    ui.Message("Error in InsertValueInRecord: Index out of range!");
    return;
  }
  RequireRoomFor(count, 1);
  record.Insert(index, value);
}

void InsertLeadingValues(FieldRecord& record, std::initializer_list<std::string_view> values) {
  RequireRoomFor(record.Count(), static_cast<int>(values.size()));
  int index = 1;
  for (const std::string_view value : values) {
    record.Insert(index++, value);
  }
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
