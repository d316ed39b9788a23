#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelvox::analysis {

// What the data-quality report shows, gathered by the analysis: aggregated figures only (bins,
// per-subject, per-item and per-key counts), never a point per trial, so the page stays small
// whatever the size of the inputs.

struct ReportInput {
  std::string name;  // the file name, without folder
  std::uintmax_t bytes = 0;
  long subjects = 0;
  long trials = 0;
};

// One option of the analysis as the user gave it ("--timeout", "2000"), in command-line order.
struct ReportOption {
  std::string name;
  std::string value;  // empty for a switch
};

// A subject's line of the subjects table and its point in the error-rate/mean-RT plot.
struct ReportSubject {
  std::string subject;
  long trials = 0;
  long correct = 0;
  long errors = 0;
  long noResponses = 0;
  std::optional<double> errorRate;  // of the trials with an outcome
  std::optional<double> meanRt;     // correct, untrimmed trials
  std::optional<double> medianRt;
  std::optional<double> sdRt;
  long trimmed = 0;
  bool excluded = false;
  std::string reason;  // why excluded, in words; empty when not
};

// A bin of the distribution of correct, untrimmed reaction times in one cell of the --by
// columns ("all" without --by).
struct ReportRtBin {
  std::string cell;
  double from = 0;  // ms, inclusive
  double to = 0;    // ms, exclusive
  long count = 0;
};

// Mean RT of correct, untrimmed trials at one trial position (1, 2, ... within a block).
struct ReportPosition {
  int position = 0;
  double meanRt = 0;
  long trials = 0;
};

struct ReportItem {
  std::string item;
  long presentations = 0;
  std::optional<double> errorRate;
  std::optional<double> meanRt;
};

// A kind of anomaly met in one subject's block, with how often: what the readers reported
// ("Lines without a reaction time", "Passed-over header", "Damaged date") and what DMDX itself
// wrote about lost data ("Data loss banner", "Display error", "Refused video flips").
struct ReportAnomaly {
  std::string subject;  // empty: between two blocks
  std::string kind;
  long count = 0;
  std::string example;  // the first line as found
  std::string file;     // the input, without folder
};

// ZIL: how many trials had n recorded events.
struct ReportResponsesPerTrial {
  int responses = 0;
  long trials = 0;
};

// ZIL: presses and releases per key ("Bit1", "Space").
struct ReportKey {
  std::string key;
  long presses = 0;
  long releases = 0;
};

struct ReportData {
  std::string version;     // Trelvox's
  std::string analysedAt;  // ISO 8601 date and time of the analysis
  std::vector<ReportInput> inputs;
  std::vector<ReportOption> options;

  std::vector<ReportSubject> subjects;
  std::optional<double> maxErrorRate;  // --max-error-rate, drawn as a line

  std::vector<std::string> cells;  // the --by cells in order of first appearance
  std::vector<ReportRtBin> rtBins;
  std::optional<double> minRt;  // --min-rt and --max-rt, drawn as cutoffs
  std::optional<double> maxRt;
  std::optional<double> sdCutoff;  // --sd K, told (its cutoffs differ per subject and cell)
  std::vector<ReportPosition> positions;

  std::vector<ReportItem> items;
  std::vector<std::string> itemsNotInList;     // in the data, not in --items
  std::vector<std::string> itemsNotPresented;  // in --items, never presented

  std::vector<ReportAnomaly> anomalies;

  bool hasZil = false;
  std::vector<ReportResponsesPerTrial> responsesPerTrial;
  std::vector<ReportKey> keys;
};

}  // namespace trelvox::analysis
