#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "parse/ParseNotices.h"
#include "platform/Locale.h"
#include "record/FieldRecord.h"

namespace trelvox {

// A subject's date: the calendar date of its header, or, when the header's date text did not
// convert, that text as found so the output still shows what the file said.
struct SubjectDateValue {
  std::optional<Date> date;
  std::string unconverted;
};

// The date as written to output rows and messages: the locale's short date form.
std::string DateText(const SubjectDateValue& value, const Locale& locale);

// The shared state of a parse run. The application owns exactly one and hands it by reference;
// it is never copied or cleared as a whole, each field is overwritten by the step that owns it.
struct RunState {
  RunState() = default;
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  std::int16_t InFileNum = 0;
  std::string InFileName;
  std::string CompFileName;
  std::int16_t CompFileNum = 0;
  std::int16_t SubjFileNum = 0;
  std::string SubjFileName;
  std::string CntFileName;
  std::int16_t CntFileNum = 0;
  std::string SubjectHeader;
  FieldRecord TrialRecord = EmptyRecord();
  FieldRecord CounterRecord = EmptyRecord();
  std::string InFileType;
  std::int16_t TrialCount = 0;
  std::int16_t CounterCount = 0;
  std::int16_t NoResponseCount = 0;
  std::int16_t ErrorCount = 0;
  SubjectDateValue SubjectDate;
  std::string SubjectID;
  std::int16_t MaxResponses = 0;
  std::int16_t TimeOut = 0;
  bool SaveIndFiles = false;
  bool SaveCounters = false;
  bool COTIncluded = false;
  bool ZORFormat = false;
  // Problem lines and long trials met on the way, told once per subject and once per run.
  ParseNotices Notices;
};

// The input type: the last three characters of the path, upper-cased ("AZK", "ZIL", or any
// other text, which is unknown). The file's content is never looked at.
std::string InputTypeOf(std::string_view path);

// Start-up: every option off, in the order SaveCounters, SaveIndFiles, ZORFormat, COTIncluded.
void ClearOptions(RunState& state);

}  // namespace trelvox
