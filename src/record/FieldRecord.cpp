#include "record/FieldRecord.h"

#include <algorithm>
#include <charconv>

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
  const std::string& text = record[0];
  int count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end != text.data() + text.size() || count < 0) {
    return 0;
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
  record[0].assign(digits, result.ptr);
}

std::string JoinRecord(const FieldRecord& record) {
  const int count = RecordCount(record);
  std::size_t size = 0;
  for (int i = 1; i <= count; ++i) {
    size += record[i].size() + 1;
  }
  std::string line;
  line.reserve(size);
  for (int i = 1; i <= count; ++i) {
    line += record[i];
    if (count > i) {
      line += '\t';
    }
  }
  return line;
}

void WriteRecord(FileChannels& files, std::int16_t channel, const FieldRecord& record) {
  files.WriteLine(channel, JoinRecord(record));
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
