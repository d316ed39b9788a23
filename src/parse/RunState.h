#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "parse/ParseNotices.h"
#include "platform/Locale.h"

namespace trelvox {

// A subject's date: the calendar date of its header, or, when the header's date text did not
// convert, that text as found so the output still shows what the file said.
struct SubjectDateValue {
  std::optional<Date> date;
  std::string unconverted;
};

// The date as written to output rows and messages: the locale's short date form.
std::string DateText(const SubjectDateValue& value, const Locale& locale);

// The four switches of the options dialog; every start of the program clears them.
struct RunOptions {
  bool SaveIndFiles = false;
  bool SaveCounters = false;
  bool COTIncluded = false;
  bool ZORFormat = false;
};

// The answers to the number questions of a run.
struct NumberAnswers {
  std::int16_t MaxResponses = 0;  // responses per trial (ZIL input): the header's RT/BUT pairs
  std::int16_t TimeOut = 0;       // the time-out (AZK input): minus it is no response
};

// What the input is, by the last three characters of its path: "AZK", "ZIL" (any letter case),
// or anything else, which is unknown. The file's content is never looked at.
enum class InputType { Azk, Zil, Unknown };

// The files of a run: each path as chosen and the channel it was opened on (0: none yet).
struct RunFiles {
  std::int16_t InFileNum = 0;
  std::string InFileName;
  InputType InFileType = InputType::Unknown;
  std::string CompFileName;
  std::int16_t CompFileNum = 0;
  std::int16_t SubjFileNum = 0;
  std::string SubjFileName;
  std::string CntFileName;
  std::int16_t CntFileNum = 0;
};

// The subject being converted, as the scanner or the lookup found it.
struct CurrentSubject {
  std::string HeaderLine;     // the header line whole, as found
  std::string SubjectHeader;  // the header line from its date on
  SubjectDateValue SubjectDate;
  std::string SubjectID;
};

// The current subject's counts, reset by the trial parser at its start and reported after it.
struct SubjectCounts {
  std::int16_t TrialCount = 0;
  std::int16_t CounterCount = 0;  // numbers the counter rows
  std::int16_t NoResponseCount = 0;
  std::int16_t ErrorCount = 0;  // AZK input only
};

// The shared state of a parse run. The application owns exactly one and hands it by reference;
// it is never copied or cleared as a whole, each field is overwritten by the step that owns it.
struct RunState {
  RunState() = default;
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  RunOptions options;
  NumberAnswers answers;
  RunFiles files;
  CurrentSubject subject;
  SubjectCounts counts;
  // Problem lines and long trials met on the way, told once per subject and once per run.
  ParseNotices notices;
};

InputType InputTypeOf(std::string_view path);
// The last three characters of the path, upper-cased (the whole path when shorter): what the
// input type is called, also when it is unknown ("TXT").
std::string InputTypeLetters(std::string_view path);

// Start-up: every option off, in the order SaveCounters, SaveIndFiles, ZORFormat, COTIncluded.
void ClearOptions(RunOptions& options);

}  // namespace trelvox
