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

// The text before position `end` of the rest, which then starts after it; the whole rest when
// `end` is npos.
std::string_view TakeField(std::string_view& rest, std::size_t end) {
  const std::string_view field = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return field;
}

std::string_view NextBlankField(std::string_view& rest) {
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    rest.remove_prefix(rest.size());
    return rest;  // blanks only: one empty field
  }
  rest.remove_prefix(start);
  return TakeField(rest, rest.find(' '));
}

std::string_view NextTabField(std::string_view& rest) {
  return TakeField(rest, rest.find('\t'));
}

void GrowCapacity(int& capacity) {
  if (capacity + kCapacityStep > kInt16Max) {
    throw OverflowError("Overflow: a line holds more than 32700 fields.");
  }
  capacity += kCapacityStep;
}

}  // namespace

void ParseString(std::string_view line, FieldRecord& record, std::string_view identifier, Ui& ui) {
  const bool blanks = identifier == "S";
  const bool tabs = identifier == "T";
  // The fields are views into the record's own copy of the line.
  std::string_view rest = record.HoldLine(line);
  int capacity = kCapacityStep;
  int count = 0;
  while (!rest.empty()) {
    if (!blanks && !tabs) {
      MakeEmpty(record);
      ui.Message("Error in ParseString(), Unknown Identifier: " + std::string(identifier));
      return;
    }
    const std::string_view field = blanks ? NextBlankField(rest) : NextTabField(rest);
    ++count;
    if (count > capacity) {
      GrowCapacity(capacity);
    }
    record.AddField(field);
  }
}

}  // namespace trelvox
