#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/BatchOptions.h"

namespace trelvox {
class Locale;
}

namespace trelvox::batch {

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kProgramName = "trelvox-batch";

struct CommandLine {
  std::optional<BatchOptions> options;  // set when there is a command to run
  int exitStatus = kExitCompleted;      // otherwise: 0 after --help or --version, 2 on misuse
  std::string out;                      // for standard output: the help or the version
  std::string err;                      // for standard error: the one-line usage message
};

// Parses the arguments after the program name. Every misuse found here is reported before any
// file is touched: unknown flags, missing arguments, and answers the inputs will need (a
// time-out for AZK input, the responses per trial for ZIL input) that are missing or no number.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const Locale& locale);

// The reason the options cannot run, or nothing when they can. Input types follow InputTypeOf.
std::optional<std::string> UsageProblem(const BatchOptions& options, const Locale& locale);

// True when `text` reads as a number under the locale that rounds (half to even) into -32768 to
// 32767, the range of the typed numbers.
bool IsTypedNumber(std::string_view text, const Locale& locale);

}  // namespace trelvox::batch
