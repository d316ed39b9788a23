#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/ReportData.h"

namespace trelvox {
class ByteWriter;
class Locale;
}  // namespace trelvox

namespace trelvox::analysis {

// What to analyse and how: the command line of `trelvox-batch analyze`, or the Analyze window.
struct AnalysisRequest {
  std::vector<std::string> inputs;        // .azk, .zil, or composite files
  std::string outputFolder;               // created when missing
  std::optional<std::int16_t> timeout;    // ms; needed when an input is AZK
  std::optional<std::int16_t> responses;  // ZIL: expected events per trial
  std::string itemList;                   // empty: none
  std::vector<std::string> by;            // item-list columns that make the cells
  std::optional<double> minRt;            // ms
  std::optional<double> maxRt;            // ms
  std::optional<double> sd;               // K standard deviations
  std::optional<double> maxErrorRate;     // 0 to 1
  bool cot = false;
  bool zor = false;
  bool report = true;  // report.html beside the tables; false: --no-report
};

// The field of the request a failure concerns, so that a window can show the message beside it.
enum class AnalysisField {
  Inputs,
  OutputFolder,
  Timeout,
  Responses,
  ItemList,
  By,
  MinRt,
  MaxRt,
  Sd,
  MaxErrorRate,
};

enum class FailureKind {
  Usage,   // the request itself cannot run (trelvox-batch: status 2)
  Input,   // an input or the item list could not be read (status 1)
  Output,  // the output folder or a file in it could not be written (status 1)
};

struct AnalysisFailure {
  FailureKind kind = FailureKind::Usage;
  AnalysisField field = AnalysisField::Inputs;
  std::string path;     // the input or file concerned, when there is one
  std::string message;  // what went wrong and what to do, one line
};

enum class AnalysisStatus { Completed, Failed, Cancelled };

struct AnalysisSummary {
  long subjects = 0;
  long trials = 0;
  long excluded = 0;
  long anomalies = 0;
};

struct AnalysisResult {
  AnalysisStatus status = AnalysisStatus::Failed;
  std::optional<AnalysisFailure> failure;  // when Failed
  AnalysisSummary summary;
  // What the command tells its user, in order: per subject, the anomalies, the items missing
  // from the list or the data, duplicate blocks, where the files went.
  std::vector<std::string> lines;
  ReportData report;
  std::vector<std::string> written;  // the paths of the files written, once renamed
};

// How far a run has got: bytes read over every pass over all inputs. A run reads its inputs
// twice when the exclusion or the SD trims need figures of the whole input before the rows,
// once otherwise.
struct AnalysisProgress {
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
  std::string_view file;  // the input being read, without folder
  int pass = 1;           // with two: 1 the figures flags depend on, 2 the rows
  int passes = 1;
};

// Told how a run proceeds, and asked whether to stop. Called on the thread that runs the
// analysis; a window's observer hands the progress on to its own thread.
class AnalysisObserver {
 public:
  virtual ~AnalysisObserver() = default;
  virtual void Progress(const AnalysisProgress& progress) { (void)progress; }
  // Asked at every line read: true stops the run there, and nothing is replaced.
  virtual bool CancelRequested() { return false; }
};

// What a run takes from its surroundings besides the request.
struct AnalysisEnvironment {
  const Locale* locale = nullptr;  // reads the dates of composite files; null: the system's
  std::string version;             // Trelvox's; empty: this build's
  std::string analysedAt;          // ISO 8601; empty: now
  ByteWriter* writer = nullptr;    // where output bytes go; null: the disk
};

// The request's own mistakes, found before any file is touched: no input, an AZK input without
// a time-out, --by without an item list, values out of range.
std::optional<AnalysisFailure> CheckRequest(const AnalysisRequest& request);

// The trelvox-batch command line that runs `request`, for the data package and for users of the
// window who want to repeat an analysis in a script.
std::vector<std::string> CommandLineOf(const AnalysisRequest& request);

// Reads every input (twice when flags depend on figures of the whole input), writes the tables,
// the data package and the data-quality report (report.html) into the output folder under temporary
// names and renames them only when everything succeeded: a failure or a cancel replaces nothing.
// Everything the run needs is made by the run; it may run on any thread.
AnalysisResult RunAnalysis(const AnalysisRequest& request, AnalysisObserver& observer,
                           const AnalysisEnvironment& environment = {});

}  // namespace trelvox::analysis
