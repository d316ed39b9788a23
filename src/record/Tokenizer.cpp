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

// The position of the first `separator` in the text, or npos. Fields are short: a plain loop
// beats a call to memchr.
std::size_t FindSeparator(std::string_view text, char separator) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == separator) {
      return i;
    }
  }
  return std::string_view::npos;
}

// The text before position `end` of the rest, which then starts after it; the whole rest when
// `end` is npos.
std::string_view TakeField(std::string_view& rest, std::size_t end) {
  if (end == std::string_view::npos) {
    const std::string_view field = rest;
    rest.remove_prefix(rest.size());
    return field;
  }
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return field;
}

std::string_view NextBlankField(std::string_view& rest) {
  std::size_t start = 0;
  while (start < rest.size() && rest[start] == ' ') {
    ++start;
  }
  rest.remove_prefix(start);
  if (rest.empty()) {
    return rest;  // blanks only: one empty field
  }
  return TakeField(rest, FindSeparator(rest, ' '));
}

std::string_view NextTabField(std::string_view& rest) {
  return TakeField(rest, FindSeparator(rest, '\t'));
}

void GrowCapacity(int& capacity) {
  if (capacity + kCapacityStep > kInt16Max) {
    throw OverflowError("Overflow: a line holds more than 32700 fields.");
  }
  capacity += kCapacityStep;
}

}  // namespace

void ParseString(std::string_view line, FieldRecord& record, std::string_view identifier, Ui& ui) {
  const bool blanks = identifier.size() == 1 && identifier.front() == 'S';
  const bool tabs = identifier.size() == 1 && identifier.front() == 'T';
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
