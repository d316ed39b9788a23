#include "record/Tokenizer.h"

#include <string>

#include "platform/Errors.h"
#include "platform/Int16.h"
#include "platform/Ui.h"

namespace trelvox {

namespace {

// The record grows in steps of 100 slots; the capacity is a 16-bit number, so the last step
// that fits leaves room for 32700 fields.
constexpr int kCapacityStep = 100;

std::string_view NextBlankField(std::string_view& rest) {
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    rest = {};
    return {};  // blanks only: one empty field
  }
  rest.remove_prefix(start);
  const std::size_t blank = rest.find(' ');
  if (blank == std::string_view::npos) {
    const std::string_view field = rest;
    rest = {};
    return field;
  }
  const std::string_view field = rest.substr(0, blank);
  rest.remove_prefix(blank + 1);
  return field;
}

std::string_view NextTabField(std::string_view& rest) {
  const std::size_t tab = rest.find('\t');
  if (tab == std::string_view::npos) {
    const std::string_view field = rest;
    rest = {};
    return field;
  }
  const std::string_view field = rest.substr(0, tab);
  rest.remove_prefix(tab + 1);
  return field;
}

void GrowCapacity(FieldRecord& record, int& capacity) {
  if (capacity + kCapacityStep > kInt16Max) {
    throw OverflowError("Overflow: a line holds more than 32700 fields.");
  }
  capacity += kCapacityStep;
  record.reserve(static_cast<std::size_t>(capacity) + 1);
}

}  // namespace

void ParseString(std::string_view line, FieldRecord& record, std::string_view identifier, Ui& ui) {
  const bool blanks = identifier == "S";
  const bool tabs = identifier == "T";
  record.resize(1);
  int capacity = kCapacityStep;
  record.reserve(static_cast<std::size_t>(capacity) + 1);
  int count = 0;
  std::string_view rest = line;
  while (!rest.empty()) {
    if (!blanks && !tabs) {
      MakeEmpty(record);
      ui.Message("Error in ParseString(), Unknown Identifier: " + std::string(identifier));
      return;
    }
    const std::string_view field = blanks ? NextBlankField(rest) : NextTabField(rest);
    ++count;
    if (count > capacity) {
      GrowCapacity(record, capacity);
    }
    record.emplace_back(field);
  }
  SetRecordCount(record, count);
}

}  // namespace trelvox
