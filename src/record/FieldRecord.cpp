#include "record/FieldRecord.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <span>

#include "platform/FileChannels.h"
#include "platform/Int16.h"
#include "platform/Ui.h"

namespace trelvox {

namespace {

void RequireRoomForOneMore(int count) {
  if (count >= kInt16Max) {
    throw OverflowError("Overflow: a record cannot hold more than 32767 values.");
  }
}

}  // namespace

FieldRecord EmptyRecord() {
  return FieldRecord{"0"};
}

void MakeEmpty(FieldRecord& record) {
  record.resize(1);
  record[0].assign(1, '0');  // not = "0": GCC 12 -O3 then warns falsely (-Wrestrict)
}

int RecordCount(const FieldRecord& record) {
  if (record.empty() || record[0].empty()) {
    return 0;
  }
  // Plain decimal digits only; at most five, since a count never passes 32767.
  const std::string& text = record[0];
  if (text.size() > 5) {
    return 0;
  }
  int count = 0;
  for (const char digit : text) {
    if (digit < '0' || digit > '9') {
      return 0;
    }
    count = count * 10 + (digit - '0');
  }
  // Never trust a count beyond the values actually held.
  return std::min(count, static_cast<int>(record.size()) - 1);
}

void SetRecordCount(FieldRecord& record, int count) {
  if (record.empty()) {
    record.emplace_back();
  }
  char digits[8];
  const auto result = std::to_chars(digits, digits + sizeof digits, count);
  const auto length = static_cast<std::size_t>(result.ptr - digits);
  std::string& text = record[0];
  text.resize(length);  // a short count stays in the string's own storage
  std::memcpy(text.data(), digits, length);
}

void WriteRecord(FileChannels& files, std::int16_t channel, const FieldRecord& record) {
  const int count = RecordCount(record);
  files.WriteJoined(channel, std::span<const std::string>(record).subspan(1, count), '\t');
}

void AppendValueToRecord(FieldRecord& record, std::string_view value) {
  const int count = RecordCount(record);
  RequireRoomForOneMore(count);
  record.resize(static_cast<std::size_t>(count) + 2);
  SetRecordCount(record, count + 1);
  record[count + 1].assign(value);
}

void DeleteValueInRecord(FieldRecord& record, int index) {
  const int count = RecordCount(record);
  if (count == 0) {
    MakeEmpty(record);
    return;
  }
  for (int i = 1; i <= count - 1; ++i) {
    if (i >= index) {
      record[i] = std::move(record[i + 1]);
    }
  }
  record.resize(static_cast<std::size_t>(count));
  SetRecordCount(record, count - 1);
}

void InsertValueInRecord(FieldRecord& record, std::string_view value, int index, Ui& ui) {
  const int count = RecordCount(record);
  if (index < 1 || index > count + 1) {
    ui.Message("Error in InsertValueInRecord: Index out of range!");
    return;
  }
  RequireRoomForOneMore(count);
  record.resize(static_cast<std::size_t>(count) + 1);
  record.emplace(record.begin() + index, value);
  SetRecordCount(record, count + 1);
}

void InsertLeadingValues(FieldRecord& record, std::initializer_list<std::string_view> values) {
  const int count = RecordCount(record);
  const int added = static_cast<int>(values.size());
  if (count > kInt16Max - added) {
    throw OverflowError("Overflow: a record cannot hold more than 32767 values.");
  }
  record.resize(static_cast<std::size_t>(count) + 1);
  record.insert(record.begin() + 1, values.begin(), values.end());
  SetRecordCount(record, count + added);
}

void ReplaceChar(std::string& text, std::string_view search, std::string_view replacement) {
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
