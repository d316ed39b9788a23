#include "parse/RunState.h"

#include "record/FileHelpers.h"

namespace trelvox {

std::string DateText(const SubjectDateValue& value, const Locale& locale) {
  return value.date ? locale.ShortDate(*value.date) : value.unconverted;
}

std::string InputTypeOf(std::string_view path) {
  return UpperCase(path.size() <= 3 ? path : path.substr(path.size() - 3));
}

void ClearOptions(RunOptions& options) {
  options.SaveCounters = false;
  options.SaveIndFiles = false;
  options.ZORFormat = false;
  options.COTIncluded = false;
}

}  // namespace trelvox
