#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/Analysis.h"

namespace trelvox::batch {

enum class BatchCommand { ParseAll, ParseOne, Analyze };

// How "Is this a new file?" and "Is this a new counter file?" are answered.
enum class HeaderChoice {
  Auto,  // Yes when the file is missing or empty before the run opens it
  Yes,
  No,
};

// The command line, once parsed: what to run and the flags that answer its boxes.
struct BatchOptions {
  BatchCommand command = BatchCommand::ParseAll;
  std::vector<std::string> inputs;  // parse-one takes exactly one
  std::string composite;
  std::optional<std::string> counters;    // "Save Counter File" on
  std::optional<std::string> subjectDir;  // "Save Individual Subject Files" on
  std::optional<std::string> timeout;     // AZK input
  std::optional<std::string> responses;   // ZIL input
  bool cot = false;
  bool zor = false;
  HeaderChoice header = HeaderChoice::Auto;
  std::string missingId;
  std::vector<std::string> ids;  // parse-one, in the order requested
  bool todayOnly = false;        // parse-one
  bool quiet = false;
  analysis::AnalysisRequest analysis;  // analyze
};

// The answer to a header question: Yes or No as chosen, or for Auto whether the file was missing
// or empty.
bool AnswersNewFile(HeaderChoice choice, bool fileMissingOrEmpty);

// True when nothing is at `path`, or an empty file.
bool FileMissingOrEmpty(const std::string& path);

}  // namespace trelvox::batch
