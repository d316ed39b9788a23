#pragma once

#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "platform/Locale.h"
#include "support/FullDisk.h"
#include "support/TempDir.h"

namespace trelvox::analysis::testing {

using trelvox::testing::FullDisk;
using trelvox::testing::ReadFile;
using trelvox::testing::TempDir;
using trelvox::testing::WriteFile;

// An observer that records the progress it is told and asks to stop after `cancelAfter` lines.
class RecordingObserver final : public AnalysisObserver {
 public:
  explicit RecordingObserver(long cancelAfter = -1) : cancelAfter_(cancelAfter) {}
  void Progress(const AnalysisProgress& progress) override {
    last = progress;
    ++reports;
  }
  bool CancelRequested() override { return cancelAfter_ >= 0 && ++lines > cancelAfter_; }

  AnalysisProgress last;
  long reports = 0;
  long lines = 0;

 private:
  long cancelAfter_;
};

// A folder of inputs, and an analysis of them into its subfolder "out", with a U.S. locale and a
// fixed time.
class AnalysisFixture {
 public:
  std::string Input(const std::string& name, const std::string& bytes) {
    WriteFile(dir.File(name), bytes);
    return dir.File(name);
  }
  AnalysisRequest Request(std::vector<std::string> inputs) const {
    AnalysisRequest request;
    request.inputs = std::move(inputs);
    request.outputFolder = dir.File("out");
    request.timeout = 2000;
    return request;
  }
  AnalysisResult Analyse(const AnalysisRequest& request) {
    RecordingObserver observer;
    return Analyse(request, observer);
  }
  AnalysisResult Analyse(const AnalysisRequest& request, AnalysisObserver& observer) {
    AnalysisEnvironment environment;
    environment.locale = &locale;
    environment.analysedAt = "2026-12-09T10:00:00Z";
    environment.writer = &disk;
    return RunAnalysis(request, observer, environment);
  }
  std::string Out(const std::string& name) const { return ReadFile(dir.File("out/" + name)); }
  // The cells of one column of an output table, row by row, without the header.
  std::vector<std::string> Column(const std::string& table, const std::string& name) const;
  // The cells of one row (1: the first after the header).
  std::vector<std::string> Row(const std::string& table, std::size_t row) const;

  TempDir dir;
  FixedLocale locale;
  FullDisk disk;
};

// Tab-separated cells of a line.
std::vector<std::string> Cells(const std::string& line);

}  // namespace trelvox::analysis::testing
