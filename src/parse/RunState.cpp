#include "parse/RunState.h"

#include "platform/Text.h"

namespace trelvox {

std::string DateText(const SubjectDateValue& value, const Locale& locale) {
  return value.date ? locale.ShortDate(*value.date) : value.unconverted;
}

std::string InputTypeLetters(std::string_view path) {
  return UpperCase(path.size() <= 3 ? path : path.substr(path.size() - 3));
}

InputType InputTypeOf(std::string_view path) {
  const std::string letters = InputTypeLetters(path);
  if (letters == "AZK") {
    return InputType::Azk;
  }
  return letters == "ZIL" ? InputType::Zil : InputType::Unknown;
}

void ClearOptions(RunOptions& options) {
  options.SaveCounters = false;
  options.SaveIndFiles = false;
  options.ZORFormat = false;
  options.COTIncluded = false;
}

}  // namespace trelvox
