#include "output/OutputFormats.h"

#include "platform/Text.h"

namespace trelvox {

std::string ApplyDatExtension(std::string_view name) {
  const std::string_view ending = name.size() >= 4 ? name.substr(name.size() - 4) : name;
  std::string result(name);
  if (UpperCase(ending) != ".DAT") {
    result += ".dat";
  }
  return result;
}

std::string AzkCompositeHeader(bool cotIncluded) {
  return cotIncluded ? "SubID\tDate\tTrialNum\tTrialID\tRT\tCOT\tError"
                     : "SubID\tDate\tTrialNum\tTrialID\tRT\tError";
}

std::string ZilCompositeHeader(bool cotIncluded, bool zorFormat, int maxResponses) {
  std::string header = "SubID\tDate\tTrialNum\tTrialID";
  if (cotIncluded) {
    header += "\tCOT";
  }
  if (zorFormat) {
    header += "\tZOR_RT";
  }
  // An int counts the pairs, so the largest answer, 32767, still ends after its last pair.
  for (int i = 1; i <= maxResponses; ++i) {
    const std::string number = std::to_string(i);
    header += "\tRT" + number + "\tBUT" + number;
  }
  return header;
}

std::string CounterHeader() {
  return "SubID\tDate\tIndex\tCntType\tCntValue";
}

std::optional<std::string> CompositeHeaderFor(InputType type, const RunOptions& options,
                                              int maxResponses) {
  switch (type) {
    case InputType::Zil:
      return ZilCompositeHeader(options.COTIncluded, options.ZORFormat, maxResponses);
    case InputType::Azk:
      return AzkCompositeHeader(options.COTIncluded);
    case InputType::Unknown:
      break;
  }
  return std::nullopt;
}

}  // namespace trelvox
